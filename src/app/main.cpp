// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/DisplayPlatform.h"
#include "MeterApplication.h"
#include "store/Version.h"

#include <QApplication>

#include <cstdio>
#include <vector>

int main(int argc, char *argv[])
{
    const displayplatform::Choice platform = displayplatform::choose(displayplatform::fromProcess());
    // With no display at all the meter still meters, journals and stores.
    if (platform == displayplatform::Choice::Offscreen)
        std::fputs("dialmeter: no display found; running without windows (offscreen).\n", stderr);

    // The platform goes to Qt as arguments, not through the environment, so
    // that programs the meter opens (a browser for its web site) choose their
    // own. They come first: a -platform given on the command line still wins.
    std::vector<QByteArray> added;
    for (const QString &argument : displayplatform::qtArguments(platform, QString::fromLatin1(version::AppId)))
        added.push_back(argument.toLocal8Bit());
    std::vector<char *> arguments{argv[0]};
    for (QByteArray &argument : added)
        arguments.push_back(argument.data());
    arguments.insert(arguments.end(), argv + 1, argv + argc);
    arguments.push_back(nullptr);
    int count = static_cast<int>(arguments.size()) - 1;

    QApplication app(count, arguments.data());
    QApplication::setApplicationName(QStringLiteral("dialmeter"));
    QApplication::setDesktopFileName(QString::fromLatin1(version::AppId));
    QApplication::setQuitOnLastWindowClosed(false);

    MeterApplication meter;
    if (!meter.start())
        return 1;
    return QApplication::exec();
}
