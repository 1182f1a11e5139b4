// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "console/ConsoleView.h"
#include "language/LanguageTargets.h"
#include "metering/LinkProbe.h"
#include "store/Clock.h"
#include "store/SettingsStore.h"
#include "store/SqliteStoreBackend.h"
#include "store/StartupEntry.h"
#include "store/SystemIdentity.h"

#include <QMap>
#include <QRect>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>

// A clock that stands still until a test moves it. Time that passes moves both
// the date and the running time; setting the date, as a user or a time server
// would, moves the date alone, and so does a suspend.
class FakeClock final : public Clock {
public:
    explicit FakeClock(QDateTime now = QDateTime(QDate(2004, 3, 15), QTime(12, 0)))
        : now_(std::move(now))
    {
    }
    QDateTime now() const override { return now_; }
    qint64 runningMilliseconds() const override { return running_; }
    void set(const QDateTime &now) { now_ = now; }
    void advanceSeconds(qint64 seconds) { advanceMilliseconds(seconds * 1000); }
    void advanceMilliseconds(qint64 milliseconds)
    {
        now_ = now_.addMSecs(milliseconds);
        running_ += milliseconds;
    }

private:
    QDateTime now_;
    qint64 running_ = 0;
};

class FakeIdentity final : public SystemIdentity {
public:
    std::string logOnName() const override { return name.toStdString(); }
    int windowsMajorVersion() const override { return majorVersion; }

    QString name = QStringLiteral("alice");
    int majorVersion = 0;
};

// A store backend that can be told to refuse every write, as a read-only file or
// a full disk would, to fail every read (or the reads of one value name), as a
// store busy past its retries would, or to start no transaction.
class RefusingBackend final : public StoreBackend {
public:
    explicit RefusingBackend(StoreBackend &inner)
        : inner_(inner)
    {
    }
    std::optional<std::string> read(int root, const std::string &key, const std::string &name) override
    {
        return fails(name) ? std::nullopt : inner_.read(root, key, name);
    }
    Lookup lookup(int root, const std::string &key, const std::string &name) override
    {
        return fails(name) ? Lookup{ReadStatus::Failed, {}} : inner_.lookup(root, key, name);
    }
    bool hasTransactions() const override { return inner_.hasTransactions(); }
    bool begin() override { return !busy && inner_.begin(); }
    bool commit() override { return inner_.commit(); }
    void rollback() override { inner_.rollback(); }
    bool write(int root, const std::string &key, const std::string &name, const std::string &text,
               std::string *error) override
    {
        if (refuse) {
            *error = "attempt to write a readonly database";
            return false;
        }
        return inner_.write(root, key, name, text, error);
    }
    void removeValue(int root, const std::string &key, const std::string &name) override
    {
        inner_.removeValue(root, key, name);
    }
    void removeKey(int root, const std::string &key) override { inner_.removeKey(root, key); }
    bool keyExists(int root, const std::string &key) override { return inner_.keyExists(root, key); }
    std::vector<Value> list(int root, const std::string &key) override
    {
        return failLists ? std::vector<Value>{} : inner_.list(root, key);
    }

    bool refuse = false;
    bool failReads = false;
    bool failLists = false; // a listing cut short by a busy store
    std::string unreadableName;
    bool busy = false;

private:
    bool fails(const std::string &name) const { return failReads || (!name.empty() && name == unreadableName); }
    StoreBackend &inner_;
};

// A fresh SQLite store in a temporary folder.
struct TempStore {
    TempStore();
    QString file() const { return dir.filePath(QStringLiteral("registry.db")); }

    QTemporaryDir dir;
    SqliteStoreBackend backend;
    SettingsStore store{backend};
};

// Every call the console's logic makes on its window.
class RecordingConsoleView final : public ConsoleView {
public:
    void showCounters(const QString &month, const QString &day, const QString &user) override
    {
        counters = {month, day, user};
    }
    void setUserHeading(const QString &text) override { userHeading = text; }
    void showConsole() override { ++consoleShown; }
    void placeLeft(qint64 twips) override { left = twips; }
    void placeTop(qint64 twips) override { top = twips; }
    qint64 leftTwips() const override { return left; }
    qint64 topTwips() const override { return top; }
    bool fitsOnScreen(qint64 l, qint64 t) const override { return screen.intersects(QRect(l / 15, t / 15, 250, 101)); }
    void startSystemMove() override { ++systemMoves; }
    void setOpacity(int a) override { alphas << a; }
    void setOnTop(bool on) override { onTop = on; }
    void setMovableCursor(bool m) override { movableCursor = m; }
    void setTimerRunning(Timer timer, bool running) override
    {
        timers[timer] = running;
        if (timer == Timer::PopupFade && running)
            ++popupFadesStarted;
    }
    void offerShow(bool show) override { offersShow = show; }
    void openMenuAt(const QPoint &global) override { menus << global; }
    void requestPopup() override { ++popups; }
    void setPercentBarVisible(bool visible) override { barVisible = visible; }
    void setPercentBar(int fillWidthPixels, const QString &caption) override
    {
        barWidth = fillWidthPixels;
        barCaption = caption;
    }
    void showPackageIndicator() override { indicatorShown = true; }
    void hidePackageIndicator() override { indicatorShown = false; }
    void openPackageAlert() override { ++alertsOpened; }
    QString holderText(const QString &holder) const override { return holders.value(holder, QStringLiteral("Label16")); }
    void setStatus(const QString &text) override { status = text; }
    void setSurfaceToolTip(const QString &text) override { toolTip = text; }

    bool running(Timer timer) const { return timers.value(timer, false); }

    QRect screen{0, 0, 1280, 1024}; // pixels
    int consoleShown = 0;
    QStringList counters;
    QString userHeading;
    qint64 left = -1;
    qint64 top = -1;
    int systemMoves = 0;
    QList<int> alphas;
    bool onTop = false;
    bool movableCursor = false;
    QMap<Timer, bool> timers;
    std::optional<bool> offersShow;
    QList<QPoint> menus;
    int popups = 0;
    int popupFadesStarted = 0;
    bool barVisible = false;
    int barWidth = -1;
    QString barCaption;
    bool indicatorShown = false;
    int alertsOpened = 0;
    QMap<QString, QString> holders; // language words by text holder
    QString status;
    QString toolTip;
};

// A session start-up entry kept in memory.
class MemoryStartupEntry final : public StartupEntry {
public:
    std::optional<std::string> read() override { return entry; }
    bool write(const std::string &program, std::string *) override
    {
        entry = program;
        ++writes;
        return true;
    }
    void remove() override { entry.reset(); }

    std::optional<std::string> entry;
    int writes = 0;
};

// A link whose state the test sets, and that counts how often it is asked.
class ScriptedLinkProbe final : public LinkProbe {
public:
    State firstLinkState() override
    {
        ++asked;
        return state;
    }
    void setLinkPatterns(std::vector<std::string> p) override { patterns = std::move(p); }

    State state = State::NotConnected;
    std::vector<std::string> patterns;
    int asked = 0;
};

// The windows the console hands to the language: whatever a test puts here.
class FakeLanguageTargets final : public LanguageTargets {
public:
    QList<TranslationTarget *> windowsToTranslate() override { return windows; }
    QList<TranslationTarget *> windows;
};

#include "app/EntryProcedure.h"
#include "console/ConsoleCore.h"
#include "language/Language.h"
#include "metering/ConnectionProbe.h"
#include "metering/Meter.h"
#include "metering/MeteringTick.h"
#include "records/Journal.h"

// The lines of a journal file, without their CR LF.
QStringList readJournal(const QString &path);

// The seconds of a duration text; -1 when it is not one.
qint64 secondsOf(const QString &durationText);

// Writes lang/<name>.lang in a folder.
void writeLanguageFile(const QString &folder, const QString &name, const QByteArray &content);

// A meter on a fresh store with a fake clock, user and link: the console's
// logic and its tick, shown through `View` (a recorder, or the real window).
// run() is a whole start.
template <typename View>
struct BasicConsoleFixture {
    static constexpr qint64 Screen1280 = 1280 * 15;

    explicit BasicConsoleFixture(const QString &user = QStringLiteral("alice"))
    {
        identity.name = user;
        probe.setFailureHandler([this](const QString &message) { told << message; });
    }

    StartupOutcome run(qint64 screenWidthTwips = Screen1280)
    {
        const auto outcome = runEntryProcedure(meterStore, identity, journal, screenWidthTwips);
        core.oldWindows = outcome.oldWindows;
        core.load(screenWidthTwips);
        return outcome;
    }
    // Paths below SOFTWARE\Dialmeter\.
    void set(const QString &path, const QString &text)
    {
        QVERIFY(t.store.write(SettingsStore::LocalMachine, QStringLiteral("SOFTWARE\\Dialmeter\\") + path, text));
    }
    QString get(const QString &path) const
    {
        return t.store.value(SettingsStore::LocalMachine, QStringLiteral("SOFTWARE\\Dialmeter\\") + path);
    }

    // The values in a key below SOFTWARE\\Dialmeter\\, as "name=text", sorted.
    QStringList valuesIn(const QString &key)
    {
        QStringList values;
        for (const auto &v : t.backend.list(SettingsStore::LocalMachine, ("SOFTWARE\\Dialmeter\\" + key).toStdString()))
            values << QString::fromStdString(v.name + "=" + v.text);
        return values;
    }

    void ticks(int count)
    {
        for (int i = 0; i < count; ++i) {
            tick.onTick();
            clock.advanceSeconds(1);
        }
    }
    void linkUp() { link.state = LinkProbe::State::Connected; }
    void linkDown() { link.state = LinkProbe::State::NotConnected; }
    // The lines of a journal file, without their CR LF.
    QStringList journalLines(int year) const { return readJournal(t.dir.filePath(QString::number(year) + ".txt")); }

    TempStore t;
    FakeClock clock;
    FakeIdentity identity;
    Journal journal{t.dir.path(), clock};
    View view;
    Language language{{t.dir.path()}};
    FakeLanguageTargets windows;
    ScriptedLinkProbe link;
    ConnectionProbe probe{link};
    QStringList told;
    MemoryStartupEntry startupEntry;
    // The meter's own way to the store, which a test may make fail.
    RefusingBackend gate{t.backend};
    SettingsStore meterStore{gate};
    Meter meter{{meterStore, identity, view, language, probe, journal, clock,
                 [this](const QString &message) { told << message; }}};
    ConsoleCore core{{meterStore, view, language, windows, startupEntry, [this](const QString &message) { told << message; }},
                     meter};
    MeteringTick tick{meter};
};

using ConsoleFixture = BasicConsoleFixture<RecordingConsoleView>;
