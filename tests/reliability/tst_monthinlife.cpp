// SPDX-License-Identifier: GPL-3.0-or-later
// A month in the life of a meter: a seeded random sequence of what a user, the
// clock and the link do (links up and down, seconds passing, the clock moved
// forwards and back, a suspend with the link up, "OK" in the Options dialog, the
// tray's resets, kills and restarts) run against the real core on a real store,
// and checked after every event against a small model that knows the rules of
// the accounting: what every counter, working copy and archived month holds.
//
// DIALMETER_MODEL_SEEDS and DIALMETER_MODEL_EVENTS set the size of the run
// (scripts/model-run.sh runs a long one). A failing seed prints its events.
#include "support/TestSupport.h"

#include "metering/DateText.h"
#include "options/OptionsLogic.h"
#include "tray/TrayCommands.h"
#include "tray/TrayView.h"

#include <QRandomGenerator>

#include <map>
#include <memory>
#include <optional>

namespace {

constexpr int HKLM = SettingsStore::LocalMachine;
const QString kProduct = QStringLiteral("SOFTWARE\\Dialmeter\\");
constexpr qint64 kPackage = 6 * 60; // seconds: a package of a tenth of an hour

int envNumber(const char *name, int fallback)
{
    bool ok = false;
    const int value = qEnvironmentVariableIntValue(name, &ok);
    return ok && value > 0 ? value : fallback;
}

class YesTray final : public TrayView {
public:
    QString holderText(const QString &) const override { return {}; }
    bool askYesNo(const QString &, const QString &) override { return true; }
    void openMenu() override {}
};

// The real store, in a process that can be killed after a number of changes:
// from then on nothing reaches the file, and a transaction under way is lost.
// Without transactions it lands every change at once, in order, as a store
// such as the Windows registry does.
class MortalStore final : public StoreBackend {
public:
    explicit MortalStore(bool transactions)
        : transactions_(transactions)
    {
    }
    bool open(const QString &file)
    {
        QString notice, error;
        return store.open(file, &notice, &error);
    }
    std::optional<std::string> read(int root, const std::string &key, const std::string &name) override
    {
        return store.read(root, key, name);
    }
    Lookup lookup(int root, const std::string &key, const std::string &name) override
    {
        return store.lookup(root, key, name);
    }
    bool write(int root, const std::string &key, const std::string &name, const std::string &text,
               std::string *error) override
    {
        return !survives() || store.write(root, key, name, text, error);
    }
    void removeValue(int root, const std::string &key, const std::string &name) override
    {
        if (survives())
            store.removeValue(root, key, name);
    }
    void removeKey(int root, const std::string &key) override
    {
        if (survives())
            store.removeKey(root, key);
    }
    bool keyExists(int root, const std::string &key) override { return store.keyExists(root, key); }
    std::vector<Value> list(int root, const std::string &key) override { return store.list(root, key); }
    bool hasTransactions() const override { return transactions_; }
    bool begin() override { return dead || !transactions_ || store.begin(); }
    bool commit() override { return dead || !transactions_ || store.commit(); }
    void rollback() override
    {
        if (!dead && transactions_)
            store.rollback();
    }

    SqliteStoreBackend store;
    int changesBeforeDeath = -1; // -1: never dies
    bool dead = false;

private:
    bool transactions_;
    bool survives()
    {
        if (!dead && changesBeforeDeath == 0) {
            dead = true;
            store.rollback();
        }
        if (changesBeforeDeath > 0)
            --changesBeforeDeath;
        return !dead;
    }
};

// One run of the meter on the shared data folder, clock and link.
struct Process {
    Process(const QString &folder, FakeClock &clock, ScriptedLinkProbe &link, const QString &user, bool transactions)
        : backend(transactions)
        , journal(folder, clock)
        , language({folder})
        , probe(link)
        , meter({store, identity, view, language, probe, journal, clock,
                 [this](const QString &message) { told << message; }})
        , core({store, view, language, windows, startupEntry, [this](const QString &message) { told << message; }},
               meter)
    {
        opened = backend.open(folder + QStringLiteral("/registry.db"));
        identity.name = user;
        runEntryProcedure(store, identity, journal, 1280 * 15);
        core.load(1280 * 15);
    }

    MortalStore backend;
    SettingsStore store{backend};
    FakeIdentity identity;
    Journal journal;
    RecordingConsoleView view;
    Language language;
    FakeLanguageTargets windows;
    ConnectionProbe probe;
    MemoryStartupEntry startupEntry;
    QStringList told;
    Meter meter;
    ConsoleCore core;
    MeteringTick tick{meter};
    OptionsLogic options{core};
    YesTray trayView;
    TrayCommands tray{core, trayView};
    bool opened = false;
};

// What the store and the meter must hold, by the rules alone.
struct Model {
    // Stored counters by name ("Total", "Jour", user names); absent: no value.
    std::map<QString, qint64> stored;
    // The working copies of the running meter.
    qint64 month = 0, day = 0, user = 0;
    QString currentUser;
    // Archived months: "year\month\name" -> seconds.
    std::map<QString, qint64> archive;
    QDate checkedDate; // Compte Rendu\Date
    QDate lastSeen;    // the date the running meter last looked at
    int resetDay = 1;
    std::optional<QDate> nextReset;
    bool wasConnected = false;
    int ticksSinceSave = 0;
    bool indicator = false;
    QStringList users; // slots 1..

    void save()
    {
        stored["Total"] = month;
        stored["Jour"] = day;
        stored[currentUser] = user;
    }
    void reload()
    {
        for (const QString &name : {QStringLiteral("Total"), QStringLiteral("Jour"), currentUser})
            stored.try_emplace(name, 0);
        month = stored["Total"];
        day = stored["Jour"];
        user = stored[currentUser];
    }
    void clearMonth(const QDate &filedUnder)
    {
        for (const QString &name : QStringList{QStringLiteral("Total")} + users) {
            const auto counted = stored.find(name);
            if (counted != stored.end())
                archive[QStringLiteral("%1\\%2\\%3").arg(filedUnder.year()).arg(filedUnder.month()).arg(name)] +=
                    counted->second;
        }
        stored.clear();
        stored["Total"] = stored["Jour"] = stored[currentUser] = 0;
        month = day = user = 0;
        indicator = false;
    }
    void dateCheck(const QDate &today)
    {
        lastSeen = today;
        if (checkedDate.isValid() && today < checkedDate)
            return;
        if (checkedDate.isValid()) {
            if (resetDay != 1) {
                if (!nextReset) {
                    nextReset = nextOccurrenceAfter(today, resetDay);
                } else if (today >= *nextReset) {
                    clearMonth(*nextReset);
                    const QDate next = today.addMonths(1);
                    nextReset = QDate(next.year(), next.month(), resetDay);
                }
            } else if (today.year() != checkedDate.year() || today.month() != checkedDate.month()) {
                clearMonth(checkedDate);
            }
            if (today != checkedDate)
                stored["Jour"] = day = 0;
        }
        checkedDate = today;
    }
    static QDate nextOccurrenceAfter(const QDate &date, int day)
    {
        const QDate thisMonth(date.year(), date.month(), day);
        if (thisMonth > date)
            return thisMonth;
        const QDate next = date.addMonths(1);
        return QDate(next.year(), next.month(), day);
    }
    void start(const QString &name, const QDate &today)
    {
        currentUser = name;
        if (!users.contains(name))
            users << name;
        wasConnected = false;
        ticksSinceSave = 0;
        reload();
        dateCheck(today);
        indicator = month > kPackage;
    }
    void tick(const QDate &today, bool connected)
    {
        if (today != lastSeen) {
            if (wasConnected)
                save();
            dateCheck(today);
        }
        if (connected && !wasConnected) {
            reload();
            ticksSinceSave = 0;
        } else if (!connected && wasConnected) {
            save();
            ticksSinceSave = 0;
        }
        if (connected) {
            ++month;
            ++day;
            ++user;
            if (month >= kPackage)
                indicator = true;
            if (++ticksSinceSave >= MeteringTick::SaveEverySeconds) {
                ticksSinceSave = 0;
                save();
            }
        }
        wasConnected = connected;
    }
    void optionsOk(const QDate &clockDate, int chosenDay)
    {
        const QDate today = checkedDate.isValid() && checkedDate > clockDate ? checkedDate : clockDate;
        if (chosenDay != 1) {
            // The same day in the same mode keeps the date the meter set, while
            // it is still ahead; anything else starts from the next such day.
            const bool keep = resetDay == chosenDay && nextReset && *nextReset >= today;
            if (!keep)
                nextReset = nextOccurrenceAfter(today, chosenDay);
        }
        resetDay = chosenDay;
    }
};

class MonthInTheLife {
public:
    MonthInTheLife(quint32 seed, bool transactions)
        : random_(seed)
        , transactions_(transactions)
    {
        clock_.set(QDateTime(QDate(2004, 3, 10), QTime(8, 0)));
        start(QStringLiteral("alice"));
    }

    // Runs the events; the first disagreement with the model, or nothing.
    QString run(int events)
    {
        for (int i = 0; i < events; ++i) {
            step();
            const QString wrong = check();
            if (!wrong.isEmpty())
                return wrong;
        }
        return {};
    }
    const QStringList &events() const { return log_; }

private:
    void start(const QString &user)
    {
        meter_.reset();
        meter_ = std::make_unique<Process>(dir_.path(), clock_, link_, user, transactions_);
        // A package, its alert and the bar, as a careful user sets them.
        for (const auto &[name, text] : {std::pair{"Forfait", "00:06:00"}, {"Forf", "0.1"}, {"Alarm", "1"}, {"Pourcent", "1"}})
            meter_->store.write(HKLM, kProduct + "Options\\" + name, text);
        meter_->meter.setPackageTime(QStringLiteral("00:06:00"));
        meter_->meter.readOptions();
        model_.start(user, clock_.now().date());
    }
    QDate date() const { return clock_.now().date(); }
    int between(int low, int high) { return random_.bounded(low, high + 1); }

    void ticks(int count)
    {
        for (int i = 0; i < count; ++i) {
            meter_->tick.onTick();
            model_.tick(date(), link_.state == LinkProbe::State::Connected);
            clock_.advanceSeconds(1);
        }
    }
    void moveClock(qint64 secs, const QString &what)
    {
        clock_.set(clock_.now().addSecs(secs));
        log_ << QStringLiteral("%1 %2 s, to %3").arg(what).arg(secs).arg(clock_.now().toString(Qt::ISODate));
    }

    void step()
    {
        const int kind = between(0, 99);
        if (kind < 14) {
            const bool up = link_.state != LinkProbe::State::Connected;
            link_.state = up ? LinkProbe::State::Connected : LinkProbe::State::NotConnected;
            log_ << (up ? "link up" : "link down");
            ticks(1);
        } else if (kind < 50) {
            const int count = kind < 45 ? between(1, 60) : between(60, 240);
            log_ << QStringLiteral("%1 ticks").arg(count);
            ticks(count);
        } else if (kind < 60) {
            // Forward: minutes, hours, days or months; then the meter ticks.
            static const qint64 spans[] = {60, 3600, 86400, 86400 * 31};
            const qint64 span = spans[between(0, 3)];
            moveClock(span * between(1, span == 86400 * 31 ? 3 : 40) + between(0, 59), "clock forward");
            ticks(between(1, 3));
        } else if (kind < 66) {
            static const qint64 spans[] = {60, 3600, 86400};
            const qint64 span = spans[between(0, 2)];
            moveClock(-span * between(1, span == 86400 ? 5 : 30), "clock back");
            ticks(between(1, 3));
        } else if (kind < 72) {
            link_.state = LinkProbe::State::Connected;
            moveClock(between(600, 3 * 86400), "suspended with the link up");
            ticks(between(1, 3));
        } else if (kind < 79) {
            // The first of the month, the day already chosen, or another day.
            const int chosen = between(0, 3) == 0                          ? 1
                : (between(0, 1) == 0 && model_.resetDay != 1) ? model_.resetDay
                                                               : between(2, 28);
            log_ << QStringLiteral("Options OK, reset day %1").arg(chosen);
            OptionsForm form;
            meter_->options.load(form);
            form.customResetDay = chosen != 1;
            form.resetDay = QString::number(chosen);
            meter_->options.ok(form);
            model_.optionsOk(date(), chosen);
        } else if (kind < 86) {
            const int which = between(0, 2);
            log_ << QStringLiteral("tray reset %1").arg(QStringList{"user", "day", "all"}.at(which));
            if (which == 0) {
                meter_->tray.resetUser();
                model_.stored[model_.currentUser] = model_.user = 0;
            } else if (which == 1) {
                meter_->tray.resetDay();
                model_.stored["Jour"] = model_.day = 0;
            } else {
                meter_->tray.resetAll();
                model_.stored.clear();
                model_.stored["Total"] = model_.stored["Jour"] = model_.stored[model_.currentUser] = 0;
                model_.month = model_.day = model_.user = 0;
                model_.indicator = false;
            }
        } else if (kind < 90) {
            killedDuringANewDate();
        } else {
            const bool clean = kind < 95;
            const QString user = between(0, 3) == 0 ? QStringLiteral("bob") : QStringLiteral("alice");
            log_ << QStringLiteral("%1 restart as %2").arg(clean ? "clean" : "kill and").arg(user);
            if (clean) {
                meter_->core.shutdown();
                model_.save();
            }
            start(user);
        }
    }

    // The link dropped, then the process killed part-way through the first tick
    // of a new day or month, and started again.
    void killedDuringANewDate()
    {
        link_.state = LinkProbe::State::NotConnected;
        ticks(1);
        const int changes = between(0, 12);
        moveClock(86400 * between(1, 40), QStringLiteral("link down, killed after %1 changes at").arg(changes));
        meter_->backend.changesBeforeDeath = changes;
        Model before = model_;
        ticks(1);
        // What died with the process never reached the store: the model as it
        // was, unless the tick was over before its time came.
        if (meter_->backend.dead)
            model_ = before;
        start(model_.currentUser);
    }

    QString check()
    {
        const auto mismatch = [](const QString &what, const QString &actual, const QString &expected) {
            return QStringLiteral("%1: %2, the model says %3").arg(what, actual, expected);
        };
        const Meter &meter = meter_->meter;
        const auto text = [](qint64 s) {
            return QStringLiteral("%1:%2:%3")
                .arg(s / 3600, 2, 10, QLatin1Char('0'))
                .arg(s / 60 % 60, 2, 10, QLatin1Char('0'))
                .arg(s % 60, 2, 10, QLatin1Char('0'));
        };
        for (const auto &[what, actual, expected] :
             {std::tuple{"month working copy", meter.monthTotal(), model_.month},
              {"day working copy", meter.dayTotal(), model_.day},
              {"user working copy", meter.userMonth(), model_.user}}) {
            if (secondsOf(actual) != expected)
                return mismatch(what, actual, text(expected));
        }

        std::map<QString, qint64> variables, archive;
        QString date, anniversary;
        for (const auto &v : meter_->backend.store.list(HKLM, "SOFTWARE\\Dialmeter")) {
            const QString key = QString::fromStdString(v.key).section('\\', 2);
            const QString name = QString::fromStdString(v.name);
            const QString value = QString::fromStdString(v.text);
            if (key.compare("Variables", Qt::CaseInsensitive) == 0)
                variables[name] = secondsOf(value);
            else if (key.startsWith("Compte Rendu\\", Qt::CaseInsensitive) && value != SettingsStore::ErrorText)
                archive[key.section('\\', 1) + '\\' + name] = secondsOf(value);
            else if (key == "Compte Rendu" && name == "Date")
                date = value;
            else if (key == "Options" && name == "Anniversaire")
                anniversary = value;
        }
        const auto listed = [&text](const std::map<QString, qint64> &values) {
            QStringList out;
            for (const auto &[name, value] : values)
                out << name + '=' + text(value);
            return out.join(QStringLiteral(", "));
        };
        std::map<QString, qint64> archivedInModel;
        for (const auto &[name, value] : model_.archive)
            archivedInModel[name] = value;
        if (variables != model_.stored)
            return mismatch("stored counters", listed(variables), listed(model_.stored));
        if (archive != archivedInModel)
            return mismatch("archived months", listed(archive), listed(archivedInModel));
        if (date != datetext::date(model_.checkedDate))
            return mismatch("date of the last check", date, datetext::date(model_.checkedDate));
        if (model_.resetDay != 1 && anniversary != datetext::date(model_.nextReset.value_or(QDate())))
            return mismatch("next reset", anniversary, datetext::date(model_.nextReset.value_or(QDate())));
        if (meter_->view.indicatorShown != model_.indicator)
            return mismatch("package indicator", QString::number(meter_->view.indicatorShown),
                            QString::number(model_.indicator));
        if (model_.month > 0 && meter_->view.barCaption != QString::number(100 * model_.user / model_.month) + '%'
            && log_.last().endsWith("ticks"))
            return mismatch("share of the month", meter_->view.barCaption,
                            QString::number(100 * model_.user / model_.month) + '%');
        return {};
    }

    QTemporaryDir dir_;
    FakeClock clock_;
    ScriptedLinkProbe link_;
    QRandomGenerator random_;
    std::unique_ptr<Process> meter_;
    Model model_;
    QStringList log_;
    bool transactions_;
};

} // namespace

class TestMonthInTheLife : public QObject {
    Q_OBJECT
private slots:
    void everyCountedSecondIsWhereTheRulesPutIt_data();
    void everyCountedSecondIsWhereTheRulesPutIt();
};

void TestMonthInTheLife::everyCountedSecondIsWhereTheRulesPutIt_data()
{
    QTest::addColumn<bool>("transactions");
    QTest::addRow("store with transactions") << true;
    QTest::addRow("store writing in order") << false;
}

void TestMonthInTheLife::everyCountedSecondIsWhereTheRulesPutIt()
{
    const int seeds = envNumber("DIALMETER_MODEL_SEEDS", 250);
    const int events = envNumber("DIALMETER_MODEL_EVENTS", 100);
    const int first = envNumber("DIALMETER_MODEL_FIRST_SEED", 1);
    QFETCH(bool, transactions);
    for (int seed = first; seed < first + seeds; ++seed) {
        MonthInTheLife life(static_cast<quint32>(seed), transactions);
        const QString wrong = life.run(events);
        if (!wrong.isEmpty()) {
            const QStringList &log = life.events();
            qWarning().noquote() << "seed" << seed << "fails after" << log.size() << "events:\n  "
                                 << log.join(QStringLiteral("\n  "));
            QFAIL(qPrintable(QStringLiteral("seed %1: %2").arg(seed).arg(wrong)));
        }
    }
    qInfo("%d seeds of %d events each", seeds, events);
}

QTEST_GUILESS_MAIN(TestMonthInTheLife)
#include "tst_monthinlife.moc"
