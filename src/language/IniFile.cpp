// SPDX-License-Identifier: GPL-3.0-or-later
#include "IniFile.h"

#include <QFile>
#include <QStringDecoder>

#include <algorithm>

QString decodeLegacyText(const QByteArray &bytes)
{
    QStringDecoder utf8(QStringConverter::Utf8);
    QString text = utf8(bytes);
    if (!utf8.hasError())
        return text;
    QStringDecoder windows1252("windows-1252");
    if (windows1252.isValid())
        return windows1252(bytes);
    return QString::fromLatin1(bytes);
}

namespace {

constexpr qint64 ReadChunk = 64 * 1024;

QString cleanValue(QString value)
{
    value = value.trimmed();
    if (value.size() >= 2 && (value.front() == QLatin1Char('"') || value.front() == QLatin1Char('\''))
        && value.back() == value.front())
        value = value.mid(1, value.size() - 2);
    const int nul = value.indexOf(QChar(0));
    if (nul >= 0)
        value.truncate(nul);
    if (value.size() > IniFile::MaxValueLength) {
        int cut = IniFile::MaxValueLength;
        // Never leave half of a character behind.
        if (value.at(cut - 1).isHighSurrogate())
            --cut;
        value.truncate(cut);
    }
    return value;
}

} // namespace

bool IniFile::load(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.exists()) {
        parse({});
        return true;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("%1 : %2").arg(path, file.errorString());
        return false;
    }
    return load(file, error);
}

bool IniFile::load(QFile &file, QString *error)
{
    if (file.size() > MaxFileSize) {
        *error = QStringLiteral("%1 : fichier trop volumineux").arg(file.fileName());
        return false;
    }
    // As much as the file holds, up to the limit: reading the limit at once
    // would reserve a buffer of the whole limit for every file read.
    QByteArray bytes;
    while (bytes.size() < MaxFileSize) {
        const QByteArray chunk = file.read(std::min<qint64>(ReadChunk, MaxFileSize - bytes.size()));
        if (chunk.isEmpty())
            break;
        bytes += chunk;
    }
    parse(bytes);
    return true;
}

QString IniFile::indexKey(const QString &section, const QString &key)
{
    return (section + QChar(0) + key).toCaseFolded();
}

void IniFile::parse(const QByteArray &bytes)
{
    entries_.clear();
    index_.clear();
    const QString text = decodeLegacyText(bytes);
    // At most one entry a line: the entries are never moved while growing.
    entries_.reserve(bytes.count('\n') + bytes.count('\r') + 1);
    QString section;
    bool inSection = false;
    // Lines end at CR, LF or CR LF; the empty line between CR and LF is skipped
    // as every empty line is.
    const qsizetype size = text.size();
    for (qsizetype start = 0, end = 0; start < size; start = end + 1) {
        end = start;
        while (end < size && text.at(end) != QLatin1Char('\n') && text.at(end) != QLatin1Char('\r'))
            ++end;
        const QStringView line = QStringView(text).mid(start, end - start).trimmed();
        if (line.startsWith(QLatin1Char('['))) {
            const int close = line.indexOf(QLatin1Char(']'));
            section = (close < 0 ? line.mid(1) : line.mid(1, close - 1)).trimmed().toString();
            inSection = true;
            continue;
        }
        const int equals = line.indexOf(QLatin1Char('='));
        if (!inSection || equals <= 0)
            continue;
        entries_.append({section, line.left(equals).trimmed().toString(), cleanValue(line.mid(equals + 1).toString())});
        // The first entry of a section and key is the one read.
        const QString key = indexKey(section, entries_.constLast().key);
        if (!index_.contains(key))
            index_.insert(key, entries_.size() - 1);
    }
}

QString IniFile::value(const QString &key, const QString &defaultValue, const QString &section) const
{
    const auto found = index_.constFind(indexKey(section, key));
    if (found == index_.cend())
        return defaultValue;
    const QString &value = entries_.at(*found).value;
    return value.isEmpty() ? defaultValue : value;
}
