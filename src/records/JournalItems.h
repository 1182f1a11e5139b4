// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

#include <vector>

// A journal file read as the journal viewer lists it: one row per item, where an
// item runs to the next comma or the end of its line, blanks before it are
// skipped, and an item that begins with a double quote runs to the closing
// quote. An entry is one row; a spacer line is an empty row.
//
// The file's bytes are kept as they are and each row only points into them, so
// that a year of journal (a million lines) loads quickly and costs little
// memory; a row's text is made when it is asked for, from UTF-8 or, for lines
// written in the older 8-bit form, from Windows-1252.
//
// Whatever the file, the work is bounded: at most MaxBytes of it are read and at
// most MaxRows rows listed, and what lies beyond is left out (cut() says so).
class JournalItems {
public:
    static constexpr qint64 MaxBytes = 64 * 1024 * 1024;
    static constexpr int MaxRows = 2'000'000;

    // Reads the file; a file that does not exist gives no rows. A file that may
    // not be read (a link, say) gives no rows and the reason in error().
    static JournalItems read(const QString &path);
    static JournalItems parse(QByteArray bytes);

    int count() const { return static_cast<int>(spans_.size()); }
    QString item(int row) const;

    // Whether the file goes on beyond what is listed.
    bool cut() const { return cut_; }
    QString error() const { return error_; }

private:
    struct Span {
        qsizetype start;
        qsizetype length;
    };
    QByteArray bytes_;
    std::vector<Span> spans_;
    bool cut_ = false;
    QString error_;
};
