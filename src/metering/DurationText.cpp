// SPDX-License-Identifier: GPL-3.0-or-later
#include "DurationText.h"

#include <charconv>
#include <limits>
#include <tuple>

namespace duration {
namespace {

// Views and a character buffer: the meter reads and writes three of these
// texts every second, and the string copies of left()/mid()/arg() cost more
// than the arithmetic.
std::optional<qint16> toField(QStringView text)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok, 10);
    if (!ok || value < 0 || value > std::numeric_limits<qint16>::max())
        return std::nullopt;
    return static_cast<qint16>(value);
}

QString formatFields(qint64 hours, int minutes, int seconds)
{
    char text[32];
    char *end = text;
    for (const qint64 field : {hours, qint64(minutes), qint64(seconds)}) {
        if (end != text)
            *end++ = ':';
        if (field < 10)
            *end++ = '0';
        end = std::to_chars(end, text + sizeof text, field).ptr;
    }
    return QString::fromLatin1(text, end - text);
}

std::optional<QString> format(int hours, int minutes, int seconds)
{
    if (hours > std::numeric_limits<qint16>::max())
        return std::nullopt;
    return formatFields(hours, minutes, seconds);
}

// Adds one minute and/or one second, carrying only on the exact value 60.
std::optional<QString> advance(const QString &text, int addMinutes, int addSeconds)
{
    const auto f = parse(text);
    if (!f)
        return std::nullopt;
    int h = f->hours, m = f->minutes + addMinutes, s = f->seconds + addSeconds;
    if (s == 60) {
        ++m;
        s = 0;
    }
    if (m == 60) {
        ++h;
        m = 0;
    }
    if (m > std::numeric_limits<qint16>::max() || s > std::numeric_limits<qint16>::max())
        return std::nullopt;
    return format(h, m, s);
}

} // namespace

std::optional<Fields> parse(const QString &text)
{
    if (text.size() < 6)
        return std::nullopt;
    const QStringView view(text);
    const auto hours = toField(view.first(view.size() - 6));
    const auto minutes = toField(view.sliced(view.size() - 5, 2));
    const auto seconds = toField(view.last(2));
    if (!hours || !minutes || !seconds)
        return std::nullopt;
    return Fields{*hours, *minutes, *seconds};
}

bool isDurationText(const QString &text)
{
    return parse(text).has_value();
}

std::optional<qint16> hoursOf(const QString &text)
{
    const auto f = parse(text);
    return f ? std::optional<qint16>(f->hours) : std::nullopt;
}

std::optional<qint16> minutesOf(const QString &text)
{
    const auto f = parse(text);
    return f ? std::optional<qint16>(f->minutes) : std::nullopt;
}

std::optional<qint16> secondsOf(const QString &text)
{
    const auto f = parse(text);
    return f ? std::optional<qint16>(f->seconds) : std::nullopt;
}

std::optional<QString> addSecond(const QString &text)
{
    return advance(text, 0, 1);
}

std::optional<QString> addMinute(const QString &text)
{
    return advance(text, 1, 0);
}

std::optional<int> compare(const QString &a, const QString &b)
{
    const auto fa = parse(a);
    const auto fb = parse(b);
    if (!fa || !fb)
        return std::nullopt;
    const auto ka = std::make_tuple(fa->hours, fa->minutes, fa->seconds);
    const auto kb = std::make_tuple(fb->hours, fb->minutes, fb->seconds);
    if (ka == kb)
        return 0;
    return ka > kb ? -1 : 1;
}

std::optional<QString> sum(const QString &a, const QString &b)
{
    const auto fa = parse(a);
    const auto fb = parse(b);
    if (!fa || !fb)
        return std::nullopt;
    const qint64 total = (fa->hours + fb->hours) * 3600LL + (fa->minutes + fb->minutes) * 60LL + fa->seconds + fb->seconds;
    if (total / 3600 > std::numeric_limits<qint16>::max())
        return std::nullopt;
    return format(int(total / 3600), int(total / 60 % 60), int(total % 60));
}

std::optional<qint64> toSeconds(const QString &text)
{
    const auto f = parse(text);
    return f ? std::optional<qint64>(f->hours * 3600LL + f->minutes * 60LL + f->seconds) : std::nullopt;
}

QString fromSeconds(qint64 seconds)
{
    seconds = qMax<qint64>(seconds, 0);
    return formatFields(seconds / 3600, int(seconds / 60 % 60), int(seconds % 60));
}

QString orZero(const QString &text)
{
    return isDurationText(text) ? text : Zero;
}

} // namespace duration
