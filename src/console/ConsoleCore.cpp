#include "ConsoleCore.h"

#include "ConsoleView.h"
#include "app/Schema.h"
#include "app/SettingsStore.h"
#include "app/SystemIdentity.h"
#include "metering/DurationText.h"
#include "options/Language.h"
#include "options/LanguageTargets.h"

namespace {
constexpr int HKLM = SettingsStore::LocalMachine;
constexpr int kPercentBarWidth = 33; // pixels: the frame of the bar
} // namespace

ConsoleCore::ConsoleCore(SettingsStore &store, const SystemIdentity &identity, ConsoleView &view, Language &language,
                         LanguageTargets &windows)
    : store_(store)
    , identity_(identity)
    , view_(view)
    , language_(language)
    , windows_(windows)
{
}

QString ConsoleCore::NomUtilisateur() const
{
    return QString::fromStdString(identity_.logOnName());
}

QString ConsoleCore::loadCounter(const QString &path)
{
    // A counter that is missing, or that is not a duration text (a hand edit, a
    // damaged store), counts from zero and the store is repaired.
    const QString text = store_.Lit(HKLM, path);
    if (duration::isDurationText(text))
        return text;
    store_.Ecrit(HKLM, path, duration::Zero);
    return duration::Zero;
}

qint64 ConsoleCore::storedPosition(const QString &path, qint64 fallback) const
{
    bool ok = false;
    const double twips = store_.Lit(HKLM, path).trimmed().toDouble(&ok);
    return ok && qAbs(twips) < 1e9 ? qRound64(twips) : fallback;
}

void ConsoleCore::load(qint64 screenWidthTwips)
{
    OldHideWay = schema::readTruth(store_.Lit(HKLM, schema::options::OldHideWay.path), true);
    if (schema::readTruth(store_.Lit(HKLM, schema::options::Cache.path), false)) {
        Cache = true;
        view_.hideAtOnce();
    } else {
        view_.placeLeft(storedPosition(schema::options::X.path, schema::defaultConsoleLeft(screenWidthTwips)));
    }
    view_.placeTop(storedPosition(schema::options::Y.path, schema::options::Y.defaultText.toLongLong()));

    UserId = NomUtilisateur();
    view_.setUserHeading(UserId + QStringLiteral(" :"));
    Txtmois = loadCounter(schema::variables::Total.path);
    TempsForfait = loadCounter(schema::options::Forfait.path);
    TxtDay = loadCounter(schema::variables::Jour.path);
    TextId = loadCounter(schema::variables::user(UserId).path);
    view_.showCounters(Txtmois, TxtDay, TextId);

    // Before the alert is armed only the indicator can show: the alert window
    // waits for a connection.
    if (TempsForfait != duration::Zero && duration::CompareDurees(Txtmois, TempsForfait) == -1)
        ForfaitDepasse();
    alertArmed = true;
    Label14 = schema::FlagOff;
    loaded_ = true;

    Lancer();
}

void ConsoleCore::Lancer()
{
    // A meter that never had its language chosen speaks French, the language of
    // its built-in texts and of its journal words.
    QString langage = store_.Lit(HKLM, schema::options::Langage.path);
    if (langage == SettingsStore::Erreur)
        langage = Language::DefaultName;
    language_.SelectLanguage(langage);
    language_.ApplyLanguage(windows_.windowsForLancer());

    indivisible = store_.Lit(HKLM, schema::options::Indivisible.path);
    Pourcent = store_.Lit(HKLM, schema::options::Pourcent.path);
    const bool barShown = Pourcent == schema::FlagOn;
    view_.setPercentBarVisible(barShown);
    if (barShown)
        Calcul();
}

void ConsoleCore::ForfaitDepasse()
{
    view_.showPackageIndicator();
    if (store_.Lit(HKLM, schema::options::Alarm.path) == schema::FlagOff)
        return;
    if (alertArmed)
        view_.openPackageAlert();
}

void ConsoleCore::ForfaitJusteDepasse()
{
    view_.showPackageIndicator();
    if (store_.Lit(HKLM, schema::options::Alarm.path) != schema::FlagOff)
        view_.openPackageAlert();
}

void ConsoleCore::Calcul()
{
    const auto month = duration::parse(Txtmois);
    const auto user = duration::parse(TextId);
    if (!month || !user)
        return;
    const auto thousands = [](const duration::Fields &f) {
        return 3.6 * f.hours + 0.06 * f.minutes + 0.001 * f.seconds;
    };
    const double monthThousands = thousands(*month);
    // An empty month has no share: the bar keeps what it showed.
    if (monthThousands == 0)
        return;
    const double share = thousands(*user) / monthThousands;
    // The share is not limited to 100 %; the bounds only keep the conversions defined.
    const int width = static_cast<int>(qBound(0.0, share * 100 / 3, 1e6));
    const qint64 percent = static_cast<qint64>(qBound(0.0, share * 100, 1e12));
    view_.setPercentBar(width, QString::number(percent) + QLatin1Char('%'));
}

void ConsoleCore::shutdown()
{
    if (shutdownDone_)
        return;
    shutdownDone_ = true;
    saveState();
}

void ConsoleCore::saveState()
{
    // A console that never loaded has no counters to save: writing its empty
    // working copies would wipe the stored ones.
    if (!loaded_)
        return;
    store_.Ecrit(HKLM, schema::options::Cache.path, schema::truthText(Cache));
    UserId = NomUtilisateur();
    store_.Ecrit(HKLM, schema::variables::user(UserId).path, TextId);
    store_.Ecrit(HKLM, schema::variables::Total.path, Txtmois);
    store_.Ecrit(HKLM, schema::variables::Jour.path, TxtDay);
}
