// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFile>
#include <QHash>
#include <QString>
#include <QVector>

// An INI file read the way language files have always been read: "[section]"
// lines open sections, "key=value" lines give keys; section and key names match
// without regard to case; the first matching key wins; a value is trimmed, loses
// one pair of enclosing quotes, and is cut at 127 characters; an empty value
// counts as absent. The bytes are UTF-8 when they are valid UTF-8, and
// Windows-1252 otherwise.
class IniFile {
public:
    static constexpr int MaxValueLength = 127;
    // Larger files are refused rather than read into memory.
    static constexpr qint64 MaxFileSize = 4 * 1024 * 1024;

    // Reads a file. A missing file reads as empty; a file that exists but cannot
    // be read gives false, with the reason in *error.
    bool load(const QString &path, QString *error);
    // Reads a file that is already open.
    bool load(QFile &file, QString *error);
    void parse(const QByteArray &bytes);

    // The value of a key, or `defaultValue` when it is absent or empty.
    QString value(const QString &key, const QString &defaultValue, const QString &section) const;

    // Every section with its keys, in file order (for checks of whole files).
    struct Entry {
        QString section;
        QString key;
        QString value;
    };
    const QVector<Entry> &entries() const { return entries_; }

private:
    static QString indexKey(const QString &section, const QString &key);

    QVector<Entry> entries_;
    // Each folded section and key, with the position of its first entry: a
    // window applies hundreds of keys, and a file may hold a million.
    QHash<QString, qsizetype> index_;
};

// Decodes text that is UTF-8 when valid, Windows-1252 otherwise.
QString decodeLegacyText(const QByteArray &bytes);
