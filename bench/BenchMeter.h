// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A meter's logic wired for benchmarks: a real SQLite store in a temporary
// folder, a fixed clock, and nothing shown.

#include "console/ConsoleCore.h"
#include "console/ConsoleView.h"
#include "language/Language.h"
#include "language/LanguageTargets.h"
#include "metering/ConnectionProbe.h"
#include "metering/LinkProbe.h"
#include "metering/Meter.h"
#include "records/Journal.h"
#include "store/Clock.h"
#include "store/SettingsStore.h"
#include "store/SqliteStoreBackend.h"
#include "store/StartupEntry.h"
#include "store/SystemIdentity.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace bench {

class NoView final : public ConsoleView {
public:
    void showCounters(const QString &, const QString &, const QString &) override {}
    void setUserHeading(const QString &) override {}
    void showConsole() override {}
    void placeLeft(qint64) override {}
    void placeTop(qint64) override {}
    qint64 leftTwips() const override { return 0; }
    qint64 topTwips() const override { return 0; }
    bool fitsOnScreen(qint64, qint64) const override { return true; }
    void startSystemMove() override {}
    void setOpacity(int) override {}
    void setOnTop(bool) override {}
    void setMovableCursor(bool) override {}
    void setTimerRunning(Timer, bool) override {}
    void offerShow(bool) override {}
    void openMenuAt(const QPoint &) override {}
    void requestPopup() override {}
    void setPercentBarVisible(bool) override {}
    void setPercentBar(int, const QString &) override {}
    void showPackageIndicator() override {}
    void hidePackageIndicator() override {}
    void openPackageAlert() override {}
    QString holderText(const QString &) const override { return {}; }
    void setStatus(const QString &) override {}
    void setSurfaceToolTip(const QString &) override {}
};

// A fixed date; the running time moves a second each time a benchmark says a
// second has passed, as the meter's timer would.
class FixedClock final : public Clock {
public:
    QDateTime now() const override { return QDateTime(QDate(2005, 6, 1), QTime(12, 0)); }
    qint64 runningMilliseconds() const override { return running_; }
    void secondPassed() { running_ += 1000; }

private:
    qint64 running_ = 0;
};

class NoEntry final : public StartupEntry {
public:
    std::optional<std::string> read() override { return std::nullopt; }
    bool write(const std::string &, std::string *) override { return true; }
    void remove() override {}
};

class NoWindows final : public LanguageTargets {
public:
    QList<TranslationTarget *> windowsToTranslate() override { return {}; }
};

class NoLink final : public LinkProbe {
public:
    State firstLinkState() override { return State::NotConnected; }
    void setLinkPatterns(std::vector<std::string>) override {}
};

// With no link given, the link is never up.
struct MeterParts {
    explicit MeterParts(LinkProbe *link = nullptr)
        : probe(link ? *link : noLink)
    {
        QString notice, error;
        backend.open(dir.filePath("registry.db"), &notice, &error);
    }
    QTemporaryDir dir;
    SqliteStoreBackend backend;
    SettingsStore store{backend};
    FixedClock clock;
    NoView view;
    Language language{{}};
    NoWindows windows;
    NoLink noLink;
    ConnectionProbe probe;
    Journal journal{dir.path(), clock};
    NoEntry entry;
    ::Meter meter{{store, platformIdentity(), view, language, probe, journal, clock, {}}};
    ConsoleCore core{{store, view, language, windows, entry, {}}, meter};
};

// The main of a benchmark program of the core: no display needed.
inline int runCoreBenchmarks(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}

} // namespace bench
