// SPDX-License-Identifier: GPL-3.0-or-later
#include "ConnectionProbe.h"

#include "LinkProbe.h"

#include <QStringList>

ConnectionProbe::ConnectionProbe(LinkProbe &probe)
    : probe_(probe)
{
}

int ConnectionProbe::connectionState()
{
    switch (probe_.firstLinkState()) {
    case LinkProbe::State::Connected:
        failureReported_ = false;
        return 1;
    case LinkProbe::State::NotConnected:
        failureReported_ = false;
        return 0;
    case LinkProbe::State::Failed:
        break;
    }
    if (!failureReported_ && onFailure_) {
        failureReported_ = true;
        onFailure_(QStringLiteral("ERREUR"));
    }
    return 0;
}

void ConnectionProbe::setLinkPatterns(const QString &option)
{
    std::vector<std::string> patterns;
    for (const QString &pattern : option.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        if (!pattern.trimmed().isEmpty())
            patterns.push_back(pattern.trimmed().toStdString());
    }
    probe_.setLinkPatterns(std::move(patterns));
}
