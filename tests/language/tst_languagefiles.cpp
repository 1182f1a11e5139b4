// SPDX-License-Identifier: GPL-3.0-or-later
#include "language/Catalogue.h"
#include "language/IniFile.h"

#include <QFile>
#include <QMap>
#include <QSet>
#include <QTest>

class TestLanguageFiles : public QObject {
    Q_OBJECT
private slots:
    void shippedFiles_data();
    void everyTextHasAKey();
    void everyTextHasAKey_data() { shippedFiles_data(); }
    void everyKeyNamesAControl();
    void everyKeyNamesAControl_data() { shippedFiles_data(); }
    void everyMessageHasItsPlaceholders();
    void everyMessageHasItsPlaceholders_data() { shippedFiles_data(); }

private:
    static IniFile load(const QString &language);
};

namespace {

// The messages the program asks the language for, with how many arguments each
// one is given ("%1", "%2").
const QMap<QString, int> kMessages{{"PackageRefused", 1}, {"ResetDayRefused", 1}, {"JournalNotWritten", 1},
                                   {"CounterAtLimit", 1}, {"StoreNotSaved", 2},   {"NoTray", 0},
                                   {"JournalNotRead", 1}, {"JournalCut", 1},  {"JournalNotErased", 1},
                                   {"ThresholdTitle", 1}, {"ThresholdText", 5}, {"ThresholdsRefused", 1},
                                   {"ChartNotStarted", 2}};

} // namespace

void TestLanguageFiles::shippedFiles_data()
{
    QTest::addColumn<QString>("language");
    QTest::newRow("Français") << QStringLiteral("Français");
    QTest::newRow("English") << QStringLiteral("English");
}

IniFile TestLanguageFiles::load(const QString &language)
{
    IniFile file;
    QString error;
    const QString path = QStringLiteral(DIALMETER_LANG_DIR "/") + language + QStringLiteral(".lang");
    if (!QFile::exists(path) || !file.load(path, &error))
        qFatal("cannot read %s %s", qPrintable(path), qPrintable(error));
    return file;
}

void TestLanguageFiles::everyTextHasAKey()
{
    QFETCH(QString, language);
    const IniFile file = load(language);
    for (const catalogue::Window *window : catalogue::translatable()) {
        const auto value = [&](const QString &key) { return file.value(key, {}, window->name); };
        QVERIFY2(!value("Caption").isEmpty(), qPrintable(window->name + " Caption"));
        for (const catalogue::Control &control : window->controls) {
            if (control.workField || control.text.isEmpty())
                continue;
            const QString key = control.name + (control.hasText() ? "_Text" : "_Caption");
            if (control.hasCaption() || control.hasText())
                QVERIFY2(!value(key).isEmpty(), qPrintable(window->name + " " + key));
            // A sentence with places for figures keeps every one of them.
            for (int argument = 1; argument <= 9; ++argument) {
                const QString place = QLatin1Char('%') + QString::number(argument);
                QVERIFY2(value(key).contains(place) == control.text.contains(place),
                         qPrintable(window->name + " " + key + " " + place));
            }
        }
    }
}

void TestLanguageFiles::everyKeyNamesAControl()
{
    QFETCH(QString, language);
    const IniFile file = load(language);
    QVERIFY(!file.entries().isEmpty());
    for (const IniFile::Entry &entry : file.entries()) {
        const QString where = entry.section + " " + entry.key;
        // A value at the limit may have been cut: every text must fit in it.
        QVERIFY2(entry.value.size() < IniFile::MaxValueLength, qPrintable("too long: " + where));
        if (entry.section == QLatin1String("Messages")) {
            QVERIFY2(kMessages.contains(entry.key), qPrintable("no such message: " + where));
            continue;
        }
        const catalogue::Window *window = nullptr;
        for (const catalogue::Window *w : catalogue::translatable()) {
            if (w->name == entry.section)
                window = w;
        }
        QVERIFY2(window, qPrintable("no window " + where));
        if (entry.key == QLatin1String("Caption"))
            continue;
        const bool caption = entry.key.endsWith("_Caption");
        QVERIFY2(caption || entry.key.endsWith("_Text"), qPrintable("neither caption nor text: " + where));
        const catalogue::Control *control = window->control(entry.key.section('_', 0, -2));
        QVERIFY2(control, qPrintable("no control for " + where));
        QVERIFY2(caption ? control->hasCaption() : control->hasText(), qPrintable("wrong property: " + where));
        QVERIFY2(!control->workField, qPrintable("a work field is no text: " + where));
    }
}

void TestLanguageFiles::everyMessageHasItsPlaceholders()
{
    QFETCH(QString, language);
    const IniFile file = load(language);
    for (auto message = kMessages.cbegin(); message != kMessages.cend(); ++message) {
        const QString text = file.value(message.key(), {}, QStringLiteral("Messages"));
        QVERIFY2(!text.isEmpty(), qPrintable("no message " + message.key()));
        for (int argument = 1; argument <= 5; ++argument) {
            const bool expected = argument <= message.value();
            QVERIFY2(text.contains(QLatin1Char('%') + QString::number(argument)) == expected,
                     qPrintable(message.key() + " %" + QString::number(argument)));
        }
    }
}

QTEST_GUILESS_MAIN(TestLanguageFiles)
#include "tst_languagefiles.moc"
