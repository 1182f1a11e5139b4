// SPDX-License-Identifier: GPL-3.0-or-later
// A complete language file applied to every window of the meter, as a start or a
// change of language in the Options dialog does; and the same file behind a
// million other keys (4 MB, the largest file read).

#include "BenchMeter.h"
#include "app/WindowSet.h"
#include "language/Catalogue.h"
#include "language/Language.h"
#include "options/OptionsLogic.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <benchmark/benchmark.h>

namespace {

// A meter's windows, with every window that a language reaches at once created
// as a user opens them.
struct LanguageBench {
    explicit LanguageBench(Language &language)
        : windows(language)
        , options(parts.core)
    {
        windows.setOptionsLogic(options);
        windows.setJournal(parts.journal);
        for (const catalogue::Window *design : {&catalogue::optionsDialog(), &catalogue::aboutBox(), &catalogue::journalViewer()})
            windows.window(*design);
        targets = windows.windowsToTranslate();
    }
    WindowSet windows;
    bench::MeterParts parts;
    OptionsLogic options;
    QList<TranslationTarget *> targets;
};

void ApplyLanguageToAllWindows(benchmark::State &state)
{
    Language language({QStringLiteral(DIALMETER_RESOURCES)});
    LanguageBench bench(language);
    const QList<TranslationTarget *> &targets = bench.targets;
    bool english = false;
    for (auto _ : state) {
        // Alternating, so that every text really changes each time.
        english = !english;
        language.select(english ? QStringLiteral("English") : QStringLiteral("Français"));
        language.apply(targets);
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
    LanguageBench bench(language);
    const QList<TranslationTarget *> &targets = bench.targets;
    language.select(QStringLiteral("Big"));
    for (auto _ : state)
        language.apply(targets);
    state.counters["windows"] = targets.size();
}
BENCHMARK(ApplyAMillionKeyLanguageToAllWindows)->Unit(benchmark::kMillisecond)->Iterations(2);

} // namespace
