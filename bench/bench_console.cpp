// SPDX-License-Identifier: GPL-3.0-or-later
// The console repainted after a connected second: its three figures change and
// the toolkit paints them and whatever shows through them. This is most of what
// a running meter costs each second; a figure routed through a style sheet, or
// one that lets the skin beneath be painted again, shows here.

#include "console/ConsoleWindow.h"
#include "metering/DurationText.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>

namespace {

void ConsoleRepaintOfASecond(benchmark::State &state)
{
    ConsoleWindow console;
    console.show();
    QCoreApplication::processEvents();
    qint64 seconds = 0;
    for (auto _ : state) {
        const QString figure = duration::fromSeconds(++seconds);
        console.showCounters(figure, figure, figure);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
    }
}
BENCHMARK(ConsoleRepaintOfASecond)->Unit(benchmark::kMicrosecond);

} // namespace
