// SPDX-License-Identifier: GPL-3.0-or-later
// The year report for 100 users over 12 months, and the journal viewer's load of
// a journal of a million lines and of 64 MB of commas (one row per comma).

#include "BenchMeter.h"
#include "records/JournalItems.h"
#include "records/YearReport.h"

#include <QFile>

#include <benchmark/benchmark.h>

namespace {

// A store with 100 users, each with a figure for every month of 2004.
struct Store : bench::MeterParts {
    Store()
    {
        store.write(2, "SOFTWARE\\Dialmeter\\User\\0", "Total");
        for (int user = 1; user <= 100; ++user) {
            const QString name = QStringLiteral("user%1").arg(user);
            store.write(2, QStringLiteral("SOFTWARE\\Dialmeter\\User\\%1").arg(user), name);
            for (int month = 1; month <= 12; ++month)
                store.write(2, QStringLiteral("SOFTWARE\\Dialmeter\\Compte Rendu\\2004\\%1\\%2").arg(month).arg(name),
                            "01:02:03");
        }
        for (int month = 1; month <= 12; ++month)
            store.write(2, QStringLiteral("SOFTWARE\\Dialmeter\\Compte Rendu\\2004\\%1\\Total").arg(month), "99:00:00");
    }
    YearReport report{meter, dir.filePath("log.txt")};
};

void YearReportOf100UsersOver12Months(benchmark::State &state)
{
    Store s;
    qsizetype lines = 0;
    for (auto _ : state)
        lines = s.report.reportLines("2004", "Année ").size();
    state.counters["lines"] = static_cast<double>(lines);
}
BENCHMARK(YearReportOf100UsersOver12Months)->Unit(benchmark::kMillisecond);

// Reads the journal as the viewer does, again and again.
void loadJournal(benchmark::State &state, const QString &path)
{
    int rows = 0;
    for (auto _ : state) {
        const JournalItems items = JournalItems::read(path);
        rows = items.count();
        benchmark::DoNotOptimize(items.item(rows / 2));
    }
    state.counters["rows"] = rows;
}

void JournalViewerLoadOfAMillionLines(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("2005.txt");
    {
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        const QByteArray opening = "01/06/2005    12:00:00      alice         Connexion\r\n";
        const QByteArray closing = "01/06/2005    12:10:00      alice         Déconnexion 00:10:00\r\n \r\n";
        for (int i = 0; i < 1000000 / 3; ++i)
            file.write(opening + closing);
    }
    loadJournal(state, path);
}
BENCHMARK(JournalViewerLoadOfAMillionLines)->Unit(benchmark::kMillisecond);

void JournalViewerLoadOf64MBOfCommas(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("2005.txt");
    {
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(QByteArray(64 * 1024 * 1024, ','));
    }
    loadJournal(state, path);
}
BENCHMARK(JournalViewerLoadOf64MBOfCommas)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char *argv[])
{
    return bench::runCoreBenchmarks(argc, argv);
}
