// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/TestSupport.h"

#include "console/ConsoleWindow.h"
#include "options/AboutBox.h"
#include "options/OptionsDialog.h"
#include "options/OptionsLogic.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>

namespace {

struct Dialog : ConsoleFixture {
    explicit Dialog(bool firstRun)
    {
        if (firstRun)
            set("Options\\FirstBoot", "1");
        run();
        dialog.reload();
    }
    template <typename T>
    T *control(const char *name) { return dialog.control<T>(QString::fromLatin1(name)); }
    void click(const char *name)
    {
        auto *button = control<QAbstractButton>(name);
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
    }
    OptionsLogic logic{core};
    OptionsDialog dialog{logic, language};
};


} // namespace

class TestOptionsDialog : public QObject {
    Q_OBJECT
private slots:
    void firstRun();
    void listsAreFilledOnce();
    void typedTextsAreKeptAndAddNoItem_data();
    void typedTextsAreKeptAndAddNoItem();
    void refusedOkWritesNothing();
    void controlEvents();
    void movingButtonCaption();
    void aboutBoxShowsTheVersionAfterTheLanguage();
    void alertOkShowsTheIndicator();
};

void TestOptionsDialog::firstRun()
{
    Dialog d(true);
    QVERIFY(d.dialog.isVisible());
    QVERIFY(!d.control<QWidget>("Command2")->isEnabled());
    QVERIFY(!d.control<QWidget>("AlarmChk")->isEnabled());
    QVERIFY(d.control<QRadioButton>("IllimitOpt")->isChecked());
    QCOMPARE(d.control<QComboBox>("List1")->currentText(), QStringLiteral("1"));
    QCOMPARE(d.control<QComboBox>("List2")->currentText(), QStringLiteral("2"));
    d.click("Command1");
    QVERIFY(!d.dialog.isVisible());
    QCOMPARE(d.get("Options\\FirstBoot"), QStringLiteral("0"));
    QCOMPARE(d.view.consoleShown, 1);
    QCOMPARE(d.get("Options\\Raz"), QStringLiteral("1"));
}

void TestOptionsDialog::listsAreFilledOnce()
{
    Dialog d(false);
    d.dialog.reload();
    QCOMPARE(d.control<QComboBox>("List1")->count(), 150);
    QCOMPARE(d.control<QComboBox>("List2")->count(), 27);
    QCOMPARE(d.control<QComboBox>("List1")->itemText(149), QStringLiteral("150"));
    QCOMPARE(d.control<QComboBox>("List2")->itemText(0), QStringLiteral("2"));
    QVERIFY(d.control<QWidget>("Command2")->isEnabled());
}

void TestOptionsDialog::typedTextsAreKeptAndAddNoItem_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("items");
    QTest::addRow("hours, a fraction") << "List1" << "7.5" << 150;
    QTest::addRow("hours, a listed beginning") << "List1" << "1" << 150;
    QTest::addRow("day") << "List2" << "31" << 27;
    QTest::addRow("language") << "LangageCombo" << "Eng" << 2;
}

void TestOptionsDialog::typedTextsAreKeptAndAddNoItem()
{
    QFETCH(QString, box);
    QFETCH(QString, typed);
    QFETCH(int, items);
    Dialog d(false);
    auto *combo = d.dialog.control<QComboBox>(box);
    combo->setFocus();
    combo->clearEditText();
    QTest::keyClicks(combo, typed);
    QTest::keyClick(combo, Qt::Key_Return);
    QCOMPARE(combo->currentText(), typed);
    QCOMPARE(combo->count(), items);
}

void TestOptionsDialog::refusedOkWritesNothing()
{
    Dialog d(false);
    QSignalSpy refused(&d.dialog, &OptionsDialog::refused);
    d.control<QRadioButton>("ForfCustOpt")->setChecked(true);
    d.control<QComboBox>("List1")->setCurrentText("trois");
    d.click("Command1");
    QCOMPARE(refused.count(), 1);
    QVERIFY(refused.front().front().toString().contains("trois"));
    QVERIFY(d.dialog.isVisible());
    QCOMPARE(d.get("Options\\Forf"), QStringLiteral("Erreur"));
}

void TestOptionsDialog::controlEvents()
{
    Dialog d(false);
    d.click("ForfCustOpt");
    QVERIFY(d.control<QWidget>("AlarmChk")->isEnabled());
    d.click("IllimitOpt");
    QVERIFY(!d.control<QWidget>("AlarmChk")->isEnabled());
    d.control<QWidget>("List1")->setFocus();
    QTRY_VERIFY(d.control<QRadioButton>("ForfCustOpt")->isChecked());
    QVERIFY(d.control<QWidget>("AlarmChk")->isEnabled());
    d.control<QWidget>("List2")->setFocus();
    QTRY_VERIFY(d.control<QRadioButton>("RazCustOpt")->isChecked());
    QVERIFY(d.control<QRadioButton>("ForfCustOpt")->isChecked()); // the other group keeps its choice
}

void TestOptionsDialog::movingButtonCaption()
{
    Dialog d(false);
    d.click("Ancrable");
    QCOMPARE(d.control<QPushButton>("Ancrable")->text(), QStringLiteral("Fin du déplacement"));
    QCOMPARE(d.get("Options\\Ancrage"), QStringLiteral("0"));
    d.click("Ancrable");
    QCOMPARE(d.control<QPushButton>("Ancrable")->text(), QStringLiteral("Déplacer la console"));
    QCOMPARE(d.get("Options\\Ancrage"), QStringLiteral("1"));
}

void TestOptionsDialog::aboutBoxShowsTheVersionAfterTheLanguage()
{
    QTemporaryDir dir;
    writeLanguageFile(dir.path(), "English", "[Form3]\nCaption=About\nLabel1_Caption=Version\nLabel5_Caption=Counts your time\n");
    Language language({dir.path()});
    QVERIFY(language.select("English"));
    AboutBox about(language);
    QCOMPARE(about.windowTitle(), QStringLiteral("About"));
    QCOMPARE(about.control<QLabel>("Label5")->text(), QStringLiteral("Counts your time"));
    QCOMPARE(about.control<QLabel>("Label1")->text(), QStringLiteral("Dialmeter v3.6.2"));
    QVERIFY(about.control<QLabel>("Label3")->font().underline());
}

void TestOptionsDialog::alertOkShowsTheIndicator()
{
    QTemporaryDir dir;
    writeLanguageFile(dir.path(), "English", "[Form4]\nLabel1_Caption=Your package is used up\n");
    Language language({dir.path()});
    QVERIFY(language.select("English"));
    ConsoleWindow console;
    console.show();
    auto *alert = new AlertWindow(language);
    QCOMPARE(alert->control<QLabel>("Label1")->text(), QStringLiteral("Your package is used up"));
    QObject::connect(alert, &AlertWindow::acknowledged, &console, &ConsoleWindow::showPackageIndicator);
    QPointer<AlertWindow> watched(alert);
    alert->show();
    QTest::mouseClick(alert->control<QPushButton>("Command1"), Qt::LeftButton);
    QVERIFY(console.control<QWidget>("Picture1")->isVisible());
    QTRY_VERIFY(!watched); // closed and destroyed
}

QTEST_MAIN(TestOptionsDialog)
#include "tst_optionsdialog.moc"
