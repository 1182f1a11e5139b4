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
// memory; a row's text is made when it is asked for.
class JournalItems {
public:
    // Reads the file; a file that does not exist gives no rows.
    static JournalItems read(const QString &path);
    static JournalItems parse(QByteArray bytes);

    int count() const { return static_cast<int>(spans_.size()); }
    QString item(int row) const;

private:
    struct Span {
        qsizetype start;
        qsizetype length;
    };
    QByteArray bytes_;
    std::vector<Span> spans_;
};
