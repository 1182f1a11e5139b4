// SPDX-License-Identifier: GPL-3.0-or-later
// The console's shape built from its skin box, against Qt's own conversion of
// the same picture into a region through a mask bitmap (bench/ratios prints
// their ratio).

#include "console/SkinShape.h"

#include <QBitmap>
#include <QGuiApplication>

#include <benchmark/benchmark.h>

namespace {

const QImage &box()
{
    static const QImage image = skinBox(QImage(QStringLiteral(":/images/skin.bmp")), QSize(325, 139));
    return image;
}

void MakeRegionFromSkinBox(benchmark::State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(outlineRegion(box()));
}
BENCHMARK(MakeRegionFromSkinBox);

void QtRegionFromMaskBitmap(benchmark::State &state)
{
    for (auto _ : state) {
        const QBitmap mask = QBitmap::fromImage(box().createMaskFromColor(qRgb(255, 0, 0), Qt::MaskInColor));
        benchmark::DoNotOptimize(QRegion(mask));
    }
}
BENCHMARK(QtRegionFromMaskBitmap);

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
