// SPDX-License-Identifier: GPL-3.0-or-later
#include "Journal.h"

#include "store/Clock.h"
#include "store/DataFile.h"
#include "PrintLine.h"
#include "metering/DateText.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>

Journal::Journal(QString folder, const Clock &clock)
    : folder_(std::move(folder))
    , clock_(clock)
{
}

QString Journal::currentFile() const
{
    return folder_ + QLatin1Char('/') + QString::number(clock_.now().date().year()) + QStringLiteral(".txt");
}

bool Journal::ensureCurrentFile() const
{
    QFile file(currentFile());
    if (datafile::open(file, QIODevice::ReadOnly, &lastError_))
        return true;
    return datafile::open(file, QIODevice::Append, &lastError_);
}

bool Journal::erase(const QString &path) const
{
    if (QFile::remove(path))
        return true;
    // A link that could not be removed is still there, even when it leads
    // nowhere; it is refused below, never written through.
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return true;
    QFile file(path);
    return datafile::open(file, QIODevice::WriteOnly | QIODevice::Truncate, &lastError_);
}

bool Journal::appendOpening(const QString &user, const QString &word) const
{
    const QDateTime now = clock_.now();
    return append({datetext::date(now.date()), datetext::time(now.time()), user, word}, false);
}

bool Journal::appendClosing(const QString &user, const QString &word, const QString &duration) const
{
    const QDateTime now = clock_.now();
    return append({datetext::date(now.date()), datetext::time(now.time()), user,
                   word + QLatin1Char(' ') + duration},
                  true);
}

bool Journal::append(const QStringList &items, bool spacer) const
{
    QStringList clean;
    for (QString item : items) {
        // Line breaks and commas would split the entry for the journal viewer.
        item.replace(QLatin1Char(','), QLatin1Char(';')).replace(QLatin1Char('\r'), QLatin1Char(' '))
            .replace(QLatin1Char('\n'), QLatin1Char(' '));
        clean << item;
    }
    QString line = printline::join(clean) + QStringLiteral("\r\n");
    if (spacer)
        line += QStringLiteral(" \r\n");

    QFile file(currentFile());
    if (!datafile::open(file, QIODevice::Append, &lastError_))
        return false;
    const QByteArray bytes = line.toUtf8();
    const bool written = file.write(bytes) == bytes.size();
    if (file.flush() && written)
        return true;
    lastError_ = QStringLiteral("%1 : %2").arg(file.fileName(), file.errorString());
    return false;
}
