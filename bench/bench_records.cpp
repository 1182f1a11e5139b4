// The year report for 100 users over 12 months, and the journal viewer's load of
// a journal of a million lines.

#include "app/Clock.h"
#include "app/EntryProcedure.h"
#include "app/SettingsStore.h"
#include "app/SqliteStoreBackend.h"
#include "app/StartupEntry.h"
#include "app/SystemIdentity.h"
#include "console/ConsoleCore.h"
#include "console/ConsoleView.h"
#include "metering/ConnectionProbe.h"
#include "metering/LinkProbe.h"
#include "options/Language.h"
#include "options/LanguageTargets.h"
#include "records/Journal.h"
#include "records/JournalItems.h"
#include "records/YearReport.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

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
    void setOpacity(int) override {}
    void setOnTop(bool) override {}
    void setMovableCursor(bool) override {}
    void setTimerRunning(Timer, bool) override {}
    void offerShow(bool) override {}
    void openMenuAt(const QPoint &) override {}
    void afficherPop() override {}
    void setPercentBarVisible(bool) override {}
    void setPercentBar(int, const QString &) override {}
    void showPackageIndicator() override {}
    void openPackageAlert() override {}
    QString holderText(const QString &) const override { return {}; }
    void setStatus(const QString &) override {}
    void setSurfaceToolTip(const QString &) override {}
};

class FixedClock final : public Clock {
public:
    QDateTime now() const override { return QDateTime(QDate(2005, 6, 1), QTime(12, 0)); }
};

class NoLink final : public LinkProbe {
public:
    State firstLinkState() override { return State::NotConnected; }
    void setLinkPatterns(std::vector<std::string>) override {}
};

class NoEntry final : public StartupEntry {
public:
    std::optional<std::string> read() override { return std::nullopt; }
    bool write(const std::string &, std::string *) override { return true; }
    void remove() override {}
};

class NoWindows final : public LanguageTargets {
public:
    QList<TranslationTarget *> windowsForLancer() override { return {}; }
};

// A store with 100 users, each with a figure for every month of 2004.
struct Store {
    Store()
    {
        QString notice, error;
        backend.open(dir.filePath("registry.db"), &notice, &error);
        store.Ecrit(2, "SOFTWARE\\Dialmeter\\User\\0", "Total");
        for (int user = 1; user <= 100; ++user) {
            const QString name = QStringLiteral("user%1").arg(user);
            store.Ecrit(2, QStringLiteral("SOFTWARE\\Dialmeter\\User\\%1").arg(user), name);
            for (int month = 1; month <= 12; ++month)
                store.Ecrit(2, QStringLiteral("SOFTWARE\\Dialmeter\\Compte Rendu\\2004\\%1\\%2").arg(month).arg(name),
                            "01:02:03");
        }
        for (int month = 1; month <= 12; ++month)
            store.Ecrit(2, QStringLiteral("SOFTWARE\\Dialmeter\\Compte Rendu\\2004\\%1\\Total").arg(month), "99:00:00");
    }
    QTemporaryDir dir;
    SqliteStoreBackend backend;
    SettingsStore store{backend};
    FixedClock clock;
    NoView view;
    Language language{{}};
    NoWindows windows;
    NoLink link;
    ConnectionProbe probe{link};
    Journal journal{dir.path(), clock};
    NoEntry entry;
    ConsoleCore core{{store, platformIdentity(), view, language, windows, probe, journal, clock, entry, {}}};
    YearReport report{core, dir.filePath("log.txt")};
};

void YearReportOf100UsersOver12Months(benchmark::State &state)
{
    Store s;
    qsizetype lines = 0;
    for (auto _ : state)
        lines = s.report.ChargementDesValeurs("2004", "Année ").size();
    state.counters["lines"] = static_cast<double>(lines);
}
BENCHMARK(YearReportOf100UsersOver12Months)->Unit(benchmark::kMillisecond);

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
    int rows = 0;
    for (auto _ : state) {
        const JournalItems items = JournalItems::read(path);
        rows = items.count();
        benchmark::DoNotOptimize(items.item(rows / 2));
    }
    state.counters["rows"] = rows;
}
BENCHMARK(JournalViewerLoadOfAMillionLines)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
