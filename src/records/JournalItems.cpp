#include "JournalItems.h"

#include <QFile>

JournalItems JournalItems::read(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return parse(file.readAll());
}

JournalItems JournalItems::parse(QByteArray bytes)
{
    JournalItems items;
    items.bytes_ = std::move(bytes);
    const char *data = items.bytes_.constData();
    const qsizetype size = items.bytes_.size();
    items.spans_.reserve(static_cast<size_t>(size / 40));

    qsizetype pos = 0;
    while (pos < size) {
        // One line, without its end (CR LF, LF or CR).
        qsizetype end = pos;
        while (end < size && data[end] != '\n' && data[end] != '\r')
            ++end;
        qsizetype at = pos;
        do {
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
    return items;
}

QString JournalItems::item(int row) const
{
    if (row < 0 || row >= count())
        return {};
    const Span &span = spans_[static_cast<size_t>(row)];
    return QString::fromUtf8(bytes_.constData() + span.start, span.length);
}
