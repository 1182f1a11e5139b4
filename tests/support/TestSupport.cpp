// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestSupport.h"

#include "metering/DurationText.h"

#include <QDir>
#include <QFile>
#include <QTest>

TempStore::TempStore()
{
    QString notice, error;
    if (!backend.open(file(), &notice, &error))
        qFatal("cannot open a temporary store: %s", qPrintable(error));
}

qint64 secondsOf(const QString &durationText)
{
    return duration::toSeconds(durationText.trimmed()).value_or(-1);
}

QStringList readJournal(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList lines = QString::fromUtf8(file.readAll()).split(QStringLiteral("\r\n"));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

void writeLanguageFile(const QString &folder, const QString &name, const QByteArray &content)
{
    QVERIFY(QDir(folder).mkpath(QStringLiteral("lang")));
    QFile file(folder + QStringLiteral("/lang/") + name + QStringLiteral(".lang"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
}
