// SPDX-License-Identifier: GPL-3.0-or-later
#include "JournalItems.h"

#include "language/IniFile.h"
#include "store/DataFile.h"

#include <QFile>
#include <QFileInfo>

JournalItems JournalItems::read(const QString &path)
{
    JournalItems items;
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return items;
    QFile file(path);
    if (!datafile::open(file, QIODevice::ReadOnly, &items.error_))
        return items;
    QByteArray bytes = file.read(MaxBytes);
    const bool longer = !file.atEnd();
    if (longer) {
        // Whole lines only.
        const qsizetype lineEnd = bytes.lastIndexOf('\n');
        bytes.truncate(lineEnd < 0 ? 0 : lineEnd + 1);
    }
    items = parse(std::move(bytes));
    items.cut_ = items.cut_ || longer;
    return items;
}

JournalItems JournalItems::parse(QByteArray bytes)
{
    JournalItems items;
    items.bytes_ = std::move(bytes);
    const char *data = items.bytes_.constData();
    const qsizetype size = items.bytes_.size();
    items.spans_.reserve(static_cast<size_t>(std::min<qsizetype>(size / 40, MaxRows)));

    qsizetype pos = 0;
    qsizetype cutAt = size;
    while (pos < size && !items.cut_) {
        // One line, without its end (CR LF, LF or CR).
        qsizetype end = pos;
        while (end < size && data[end] != '\n' && data[end] != '\r')
            ++end;
        qsizetype at = pos;
        do {
            if (items.spans_.size() >= static_cast<size_t>(MaxRows)) {
                // A line may hold millions of commas: the cap counts items.
                items.cut_ = true;
                cutAt = at;
                break;
            }
            while (at < end && (data[at] == ' ' || data[at] == '\t'))
                ++at;
            if (at < end && data[at] == '"') {
                const qsizetype start = at + 1;
                qsizetype close = start;
                while (close < end && data[close] != '"')
                    ++close;
                items.spans_.push_back({start, close - start});
                // What follows the closing quote, up to the next comma, is dropped.
                at = close;
                while (at < end && data[at] != ',')
                    ++at;
            } else {
                const qsizetype start = at;
                while (at < end && data[at] != ',')
                    ++at;
                qsizetype length = at - start;
                while (length > 0 && (data[start + length - 1] == ' ' || data[start + length - 1] == '\t'))
                    --length;
                items.spans_.push_back({start, length});
            }
            if (at < end)
                ++at; // past the comma: another item follows on this line
            else
                break;
        } while (true);
        pos = end;
        if (pos < size && data[pos] == '\r')
            ++pos;
        if (pos < size && data[pos] == '\n')
            ++pos;
    }
    if (items.cut_) {
        // What is not listed is not kept either.
        items.bytes_.truncate(cutAt);
        items.bytes_.squeeze();
    }
    return items;
}

QString JournalItems::item(int row) const
{
    if (row < 0 || row >= count())
        return {};
    const Span &span = spans_[static_cast<size_t>(row)];
    return decodeLegacyText(QByteArray::fromRawData(bytes_.constData() + span.start, span.length));
}
