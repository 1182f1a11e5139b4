// A complete language file applied to every window of the meter, as a start or a
// change of language in the Options dialog does.

#include "BenchMeter.h"
#include "app/WindowSet.h"
#include "options/OptionsLogic.h"
#include "options/Catalogue.h"
#include "options/Language.h"

#include <QApplication>

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

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
