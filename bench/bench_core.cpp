// SPDX-License-Identifier: GPL-3.0-or-later
// The meter's hot paths: one second of metering (a connected tick with the SQLite
// store and the real link probe), the duration procedures, the store's reads
// and writes, and the period outlook's figures.

#include "BenchMeter.h"
#include "e2e/TunLink.h"
#include "metering/DurationText.h"
#include "metering/MeteringTick.h"
#include "outlook/PeriodOutlook.h"


#include <benchmark/benchmark.h>

namespace {

// A tick as the meter makes it each second, on a real link that is up (a TUN
// interface, when this runs as root) or on the machine's links as they are.
// `total` is the month when it starts, against `package` ("00:00:00": none).
void tickWith(benchmark::State &state, const char *total, const char *package)
{
    TunLink link;
    const bool connected = link.problem().isEmpty() && link.setUp(true);
    bench::MeterParts parts(&platformLinkProbe());
    if (connected)
        parts.store.write(2, "SOFTWARE\\Dialmeter\\Options\\Interfaces", link.name());
    parts.store.write(2, "SOFTWARE\\Dialmeter\\Variables\\Total", total);
    parts.store.write(2, "SOFTWARE\\Dialmeter\\Options\\Forfait", package);
    parts.core.load(1280 * 15);
    MeteringTick tick(parts.meter);
    for (auto _ : state) {
        parts.clock.secondPassed();
        tick.onTick();
    }
    state.SetLabel(connected ? "connected (TUN link)" : "no link up (not root)");
}

void ConnectedTick(benchmark::State &state)
{
    tickWith(state, "00:00:00", "00:00:00");
}
BENCHMARK(ConnectedTick)->Unit(benchmark::kMicrosecond);

// The same past a warning threshold of the package, both warned of: each tick
// also reads the thresholds and those given.
void ConnectedTickPastAWarning(benchmark::State &state)
{
    tickWith(state, "95:00:00", "100:00:00");
}
BENCHMARK(ConnectedTickPastAWarning)->Unit(benchmark::kMicrosecond);

// The figures the period outlook shows, made again each second while it is open.
void PeriodOutlookFigures(benchmark::State &state)
{
    bench::MeterParts parts;
    parts.store.write(2, "SOFTWARE\\Dialmeter\\Variables\\Total", "12:34:56");
    parts.store.write(2, "SOFTWARE\\Dialmeter\\Options\\Forfait", "20:00:00");
    parts.core.load(1280 * 15);
    for (auto _ : state)
        benchmark::DoNotOptimize(PeriodOutlook::of(parts.meter));
}
BENCHMARK(PeriodOutlookFigures)->Unit(benchmark::kMicrosecond);

// The link probe alone, the part of a tick that asks the kernel.
void LinkProbeAsk(benchmark::State &state)
{
    LinkProbe &probe = platformLinkProbe();
    for (auto _ : state)
        benchmark::DoNotOptimize(probe.firstLinkState());
}
BENCHMARK(LinkProbeAsk)->Unit(benchmark::kMicrosecond);

void DurationAddSecond(benchmark::State &state)
{
    QString counter = QStringLiteral("123:59:58");
    for (auto _ : state)
        benchmark::DoNotOptimize(duration::addSecond(counter));
}
BENCHMARK(DurationAddSecond);

void DurationCompare(benchmark::State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(duration::compare(QStringLiteral("123:59:58"), QStringLiteral("124:00:00")));
}
BENCHMARK(DurationCompare);

void StoreRead(benchmark::State &state)
{
    bench::MeterParts parts;
    parts.store.write(2, "SOFTWARE\\Dialmeter\\Variables\\Total", "12:34:56");
    for (auto _ : state)
        benchmark::DoNotOptimize(parts.store.value(2, "SOFTWARE\\Dialmeter\\Variables\\Total"));
}
BENCHMARK(StoreRead)->Unit(benchmark::kMicrosecond);

void StoreWrite(benchmark::State &state)
{
    bench::MeterParts parts;
    int second = 0;
    for (auto _ : state)
        parts.store.write(2, "SOFTWARE\\Dialmeter\\Variables\\Total", QString::number(++second % 60) + "2:34:56");
}
BENCHMARK(StoreWrite)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char *argv[])
{
    return bench::runCoreBenchmarks(argc, argv);
}
