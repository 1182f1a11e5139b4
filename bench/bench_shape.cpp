// The console's shape built from its skin box, against Qt's own conversion of
// the same picture into a region through a mask bitmap. Prints the ratio.

#include "console/SkinShape.h"

#include <QBitmap>
#include <QGuiApplication>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>

namespace {

const QImage &box()
{
    static const QImage image = skinBox(QImage(QStringLiteral(":/images/skin.bmp")), QSize(325, 139));
    return image;
}

void MakeRegionFromSkinBox(benchmark::State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(MakeRegion(box()));
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

// Keeps each benchmark's time per iteration, to print their ratio at the end.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run> &runs) override
    {
        for (const Run &run : runs)
            times[run.benchmark_name()] = run.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> times;
};

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double ours = reporter.times["MakeRegionFromSkinBox"];
    const double qt = reporter.times["QtRegionFromMaskBitmap"];
    if (ours > 0 && qt > 0)
        std::printf("shape from the skin box: %.2f times the time of Qt's mask-to-region conversion\n", ours / qt);
    return 0;
}
