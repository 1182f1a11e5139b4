// A complete language file applied to every window of the meter, as a start or a
// change of language in the Options dialog does; and the same file behind a
// million other keys (4 MB, the largest file read).

#include "BenchMeter.h"
#include "app/WindowSet.h"
#include "options/OptionsLogic.h"
#include "options/Catalogue.h"
#include "options/Language.h"

#include <QApplication>
#include <QDir>
#include <QFile>

#include <benchmark/benchmark.h>

namespace {

void ApplyLanguageToAllWindows(benchmark::State &state)
{
    Language language({QStringLiteral(DIALMETER_RESOURCES)});
    WindowSet windows(language);
    bench::Meter meter;
    OptionsLogic options(meter.core);
    windows.setOptionsLogic(options);
    windows.setJournal(meter.journal);
    // Every window that a language reaches at once, created as a user opens them.
    for (const catalogue::Window *design : {&catalogue::form1(), &catalogue::form3(), &catalogue::form5()})
        windows.window(*design);
    const QList<TranslationTarget *> targets = windows.windowsForLancer();
    bool english = false;
    for (auto _ : state) {
        // Alternating, so that every text really changes each time.
        english = !english;
        language.SelectLanguage(english ? QStringLiteral("English") : QStringLiteral("Français"));
        language.ApplyLanguage(targets);
    }
    state.counters["windows"] = targets.size();
}
BENCHMARK(ApplyLanguageToAllWindows)->Unit(benchmark::kMillisecond);

void ApplyAMillionKeyLanguageToAllWindows(benchmark::State &state)
{
    QTemporaryDir dir;
    QDir(dir.path()).mkpath(QStringLiteral("lang"));
    {
        QFile english(QStringLiteral(DIALMETER_RESOURCES "/lang/English.lang"));
        QFile big(dir.filePath(QStringLiteral("lang/Big.lang")));
        english.open(QIODevice::ReadOnly);
        big.open(QIODevice::WriteOnly);
        big.write(QByteArray("[Padding]\n") + QByteArray("k=v\n").repeated(1'000'000) + english.readAll());
    }
    Language language({dir.path()});
    WindowSet windows(language);
    bench::Meter meter;
    OptionsLogic options(meter.core);
    windows.setOptionsLogic(options);
    windows.setJournal(meter.journal);
    for (const catalogue::Window *design : {&catalogue::form1(), &catalogue::form3(), &catalogue::form5()})
        windows.window(*design);
    const QList<TranslationTarget *> targets = windows.windowsForLancer();
    language.SelectLanguage(QStringLiteral("Big"));
    for (auto _ : state)
        language.ApplyLanguage(targets);
    state.counters["windows"] = targets.size();
}
BENCHMARK(ApplyAMillionKeyLanguageToAllWindows)->Unit(benchmark::kMillisecond)->Iterations(2);

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
