// SPDX-License-Identifier: GPL-3.0-or-later
// Duration texts as a stored counter may hold them: every procedure on any text.
#include "metering/DurationText.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const qsizetype half = bytes.size() / 2;
    const QString a = QString::fromUtf8(bytes.left(half));
    const QString b = QString::fromUtf8(bytes.mid(half));
    duration::hoursOf(a);
    duration::minutesOf(a);
    duration::secondsOf(a);
    duration::addSecond(a);
    duration::addMinute(a);
    duration::compare(a, b);
    // A well-formed counter advanced by one second is one second longer.
    const auto fields = duration::parse(a);
    if (fields && fields->hours >= 0 && fields->hours < 32767 && fields->minutes >= 0 && fields->minutes < 60
        && fields->seconds >= 0 && fields->seconds < 60) {
        const auto next = duration::addSecond(a);
        const auto after = next ? duration::parse(*next) : std::nullopt;
        const auto total = [](const duration::Fields &f) { return f.hours * 3600 + f.minutes * 60 + f.seconds; };
        if (!after || total(*after) != total(*fields) + 1)
            __builtin_trap();
    }
    duration::orZero(b);
    return 0;
}
