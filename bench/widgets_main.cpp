// SPDX-License-Identifier: GPL-3.0-or-later
// The main of the benchmarks that build windows: a headless QApplication.

#include <QApplication>

#include <benchmark/benchmark.h>

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
