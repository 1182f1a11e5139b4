// SPDX-License-Identifier: GPL-3.0-or-later
#include "language/CatalogueWindow.h"
#include "language/Language.h"
#include "support/TestSupport.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <map>

namespace {

// One window of each design, built once for the whole test and gone before the
// application is.
std::map<QString, std::unique_ptr<CatalogueWindow>> gWindows;

CatalogueWindow &windowNamed(const QString &name)
{
    auto &window = gWindows[name];
    if (!window) {
        for (const catalogue::Window *design : catalogue::all()) {
            if (design->name == name)
                window = std::make_unique<CatalogueWindow>(*design);
        }
    }
    return *window;
}

QString shownText(QObject *control)
{
    if (auto *label = qobject_cast<QLabel *>(control))
        return label->text();
    if (auto *button = qobject_cast<QAbstractButton *>(control))
        return button->text();
    if (auto *frame = qobject_cast<QGroupBox *>(control))
        return frame->title();
    if (auto *combo = qobject_cast<QComboBox *>(control))
        return combo->currentText();
    if (auto *action = qobject_cast<QAction *>(control))
        return action->text();
    return {};
}

// "hidden", "disabled", "checked", separated by blanks; empty for a visible,
// enabled, cleared control.
QString stateOf(QObject *control)
{
    QStringList state;
    if (auto *widget = qobject_cast<QWidget *>(control)) {
        if (widget->isHidden())
            state << "hidden";
        if (!widget->isEnabled())
            state << "disabled";
    }
    if (auto *action = qobject_cast<QAction *>(control)) {
        // A hidden action always reads as disabled: look at it shown.
        const bool visible = action->isVisible();
        action->setVisible(true);
        if (!visible)
            state << "hidden";
        if (!action->isEnabled())
            state << "disabled";
        action->setVisible(visible);
    }
    if (const auto *button = qobject_cast<QAbstractButton *>(control); button && button->isChecked())
        state << "checked";
    return state.join(' ');
}

// The tray form, counting the choices of its year box.
class ChoiceCounter final : public CatalogueWindow {
public:
    explicit ChoiceCounter(int &count)
        : CatalogueWindow(catalogue::trayForm())
    {
        whenChosen(control<QComboBox>("Combo1"), [&count] { ++count; });
    }
};

} // namespace

class TestCatalogue : public QObject {
    Q_OBJECT
private slots:
    void cleanupTestCase() { gWindows.clear(); }
    void windows_data();
    void windows();
    void controls_data();
    void controls();
    void placesInPixels_data();
    void placesInPixels();
    void timers_data();
    void timers();
    void trayMenuTree();
    void comboChoicesStopWhenTheWindowGoes();
    void optionGroupsAreIndependent();
    void languageFileChangesOnlyWhatItGives();
    void itemViewsComeWhenFirstNeeded();
    void opensOnItsFirstControl_data();
    void opensOnItsFirstControl();
};

void TestCatalogue::windows_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QSize>("client");
    QTest::addColumn<bool>("frameless");

    QTest::newRow("reg") << "reg" << "Form1" << QSize(250, 101) << true;
    QTest::newRow("Form1") << "Form1" << "  Options de Dialmeter" << QSize(472, 354) << false;
    QTest::newRow("Form2") << "Form2" << " Connection Viewer" << QSize(512, 333) << true;
    QTest::newRow("Form3") << "Form3" << "  A propos de Dialmeter" << QSize(358, 179) << false;
    QTest::newRow("Form4") << "Form4" << "  Dialmeter" << QSize(245, 103) << false;
    QTest::newRow("Form5") << "Form5" << "   Journal des connexions" << QSize(568, 343) << false;
    QTest::newRow("Form6") << "Form6" << "Form6" << QSize(235, 49) << true;
    QTest::newRow("Form7") << "Form7" << "Form7" << QSize(312, 206) << false;
    QTest::newRow("Form9") << "Form9" << "  Graphique de l'année" << QSize(720, 480) << false;
}

void TestCatalogue::windows()
{
    QFETCH(QString, window);
    QFETCH(QString, caption);
    QFETCH(QSize, client);
    QFETCH(bool, frameless);
    CatalogueWindow &w = windowNamed(window);
    QCOMPARE(w.objectName(), window);
    QCOMPARE(w.windowTitle(), caption);
    QCOMPARE(w.size(), client);
    QCOMPARE(w.windowFlags().testFlag(Qt::FramelessWindowHint), frameless);
}

void TestCatalogue::controls_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("state");

    const auto row = [](const char *window, const char *control, const char *kind, const QString &text,
                        const char *state = "") {
        QTest::addRow("%s.%s", window, control) << window << QString::fromUtf8(control) << kind << text << state;
    };
    row("reg", "picMainSkin", "QLabel", "");
    row("reg", "Shape1", "QFrame", "");
    row("reg", "Text1", "QLabel", "Please Wait ...");
    row("reg", "Label3", "QLabel", "Ce mois :");
    row("reg", "Txtmois", "QLabel", "");
    row("reg", "Label9", "QLabel", "Aujourd'hui :");
    row("reg", "TxtDay", "QLabel", "");
    row("reg", "Label4", "QLabel", "User");
    row("reg", "TextId", "QLabel", "");
    row("reg", "Shape4", "QFrame", "", "hidden");
    row("reg", "Shape2", "QFrame", "", "hidden");
    row("reg", "Label1", "QLabel", "100 %");
    row("reg", "Picture1", "QLabel", "", "hidden");
    row("reg", "Label8", "QLabel", "");
    row("reg", "Label2", "QLabel", "", "hidden");
    for (const char *holder : {"indivisible", "Déconnecté", "ConnectéC", "PasConnecté", "Depuis", "Déconnexion",
                               "Connexion"})
        row("reg", holder, "QLabel", "Label16");
    for (const char *field : {"Label15", "Label14", "Label13"})
        row("reg", field, "QLabel", field);
    for (const char *field : {"Label12", "Label11", "Label10", "Label7", "Label6", "Label5"})
        row("reg", field, "QLabel", field, "hidden");

    row("Form2", "Combo1", "QComboBox", "");
    row("Form2", "Label1", "QLabel", "Compte rendu de l'année :");
    row("Form2", "Command1", "QPushButton", "Effacer");
    row("Form2", "List1", "QListView", "");
    row("Form2", "Image1", "QLabel", "");
    row("Form2", "Sur", "QLabel", "Etes-vous sûr ?", "hidden");
    row("Form2", "AnnéeC", "QLabel", "Année ", "hidden");
    row("Form2", "Label8", "QLabel", "", "hidden");
    for (const char *field : {"Label2", "Label3", "Label4", "Label5", "Label6", "Label7"})
        row("Form2", field, "QLabel", field);
    row("Form2", "Menu", "QAction", "&Menu", "hidden");
    row("Form2", "MnuAbout", "QAction", "A propos");
    row("Form2", "MnuViewer", "QAction", "Connect Viewer");
    row("Form2", "MnuJournal", "QAction", "Journal");
    row("Form2", "MnuBilan", "QAction", "Bilan de la période");
    row("Form2", "Mnuréglages", "QAction", "Réglages");
    row("Form2", "MnuOption", "QAction", "Options");
    row("Form2", "MnuZero", "QAction", "Remise a zéro");
    row("Form2", "MnuzeroUtilisateur", "QAction", "Utilisateur");
    row("Form2", "MnuZerojour", "QAction", "Jour");
    row("Form2", "MnuAll", "QAction", "Globale");
    row("Form2", "MnuMaximize", "QAction", "Montrer", "hidden");
    row("Form2", "MnuMinimize", "QAction", "Cacher");
    row("Form2", "MnuMinimize2", "QAction", "null", "hidden disabled");
    row("Form2", "MnuQuitter", "QAction", "Quitter");

    row("Form1", "Picture1", "QLabel", "");
    row("Form1", "Raz1erOpt", "QRadioButton", "Tous les 1er du mois", "checked");
    row("Form1", "RazCustOpt", "QRadioButton", "Tous les");
    row("Form1", "Command1", "QPushButton", "OK");
    row("Form1", "Command2", "QPushButton", "Annuler", "disabled");
    row("Form1", "Frame1", "QGroupBox", "Forfait ");
    row("Form1", "Frame2", "QGroupBox", "Préférences ");
    row("Form1", "IllimitOpt", "QRadioButton", "  Forfait illimité", "checked");
    row("Form1", "ForfCustOpt", "QRadioButton", "");
    row("Form1", "Command3", "QPushButton", "Position par défaut", "disabled");
    row("Form1", "Ancrable", "QPushButton", "Déplacer la console", "disabled");
    row("Form1", "WinLaunchChk", "QCheckBox", "  Lancer avec windows", "checked");
    row("Form1", "PourcentChk", "QCheckBox", "  Afficher la barre de pourcentage ", "checked");
    row("Form1", "ChkPop", "QCheckBox", "  Pop up toutes les 10 min", "checked");
    row("Form1", "ChkTop", "QCheckBox", "  Toujours au premier plan");
    row("Form1", "ChkHide", "QCheckBox", "  Masquage total de la console");
    row("Form1", "Label3", "QLabel", "Langue:");
    row("Form1", "LangageCombo", "QComboBox", "Français");
    row("Form1", "List1", "QComboBox", "1");
    row("Form1", "Label2", "QLabel", "heure(s) par mois");
    row("Form1", "TempsForfait", "QLabel", "", "hidden");
    row("Form1", "AlarmChk", "QCheckBox", " Alerte de dépassement du forfait.", "checked");
    row("Form1", "ChkIndivisible", "QCheckBox", "  Première minute indivisible");
    row("Form1", "Label4", "QLabel", "Remise a zéro automatique:");
    row("Form1", "List2", "QComboBox", "2");
    row("Form1", "Label5", "QLabel", "de chaque mois");

    row("Form3", "Label1", "QLabel", "Version");
    row("Form3", "Label3", "QLabel", "www.example.org");
    row("Form3", "Label2", "QLabel",
        QStringLiteral("Merci de l'intéret que vous portez à mon soft.") + QString(35, ' ')
            + QStringLiteral("N'hésitez pas à me faire part de vos remarques, critiques ou suggestions:"));
    row("Form3", "Label4", "QLabel", "info@example.org");
    row("Form3", "Label5", "QLabel", "bla bla");
    row("Form3", "Label6", "QLabel", "( Ou si vous trouvez que les traductions actuelles craignent !!! )");
    row("Form3", "Command1", "QPushButton", "OK");

    row("Form4", "Picture1", "QLabel", "");
    row("Form4", "Label1", "QLabel", "Attention, votre forfait internet est dépassé");
    row("Form4", "Command1", "QPushButton", "OK");

    row("Form5", "List1", "QListView", "");
    row("Form5", "Command1", "QPushButton", "OK");
    row("Form5", "Command2", "QPushButton", "Effacer");

    row("Form6", "Label1", "QLabel", "  Dialmeter");
    row("Form6", "Shape1", "QFrame", "");
    row("Form6", "Label4", "QLabel", "Total: ");
    row("Form6", "Label2", "QLabel", "10:00:12");
    row("Form6", "Label5", "QLabel", "");
    row("Form6", "Label3", "QLabel", "");
}

void TestCatalogue::controls()
{
    QFETCH(QString, window);
    QFETCH(QString, control);
    QFETCH(QString, kind);
    QFETCH(QString, text);
    QFETCH(QString, state);

    CatalogueWindow &w = windowNamed(window);
    QObject *object = w.control(control);
    QVERIFY2(object, qPrintable(control));
    QCOMPARE(object->objectName(), control);
    QCOMPARE(QString::fromLatin1(object->metaObject()->className()), kind);
    QCOMPARE(shownText(object), text);
    QCOMPARE(stateOf(object), state);
    // Language files and the program find controls by name in the window.
    QCOMPARE(w.findChild<QObject *>(control), object);
}

void TestCatalogue::placesInPixels_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("container");
    QTest::addColumn<QRect>("geometry");

    QTest::newRow("console figure") << "reg" << "Txtmois" << "picMainSkin" << QRect(96, 32, 57, 17);
    QTest::newRow("mouse surface left of the window") << "reg" << "Label8" << "picMainSkin" << QRect(-48, 0, 329, 129);
    QTest::newRow("text holder below the console") << "reg" << "Connexion" << "reg" << QRect(192, 232, 121, 17);
    QTest::newRow("check box in its frame") << "Form1" << "WinLaunchChk" << "Frame2" << QRect(16, 24, 169, 17);
    QTest::newRow("reset pair on the window") << "Form1" << "RazCustOpt" << "Form1" << QRect(176, 256, 65, 17);
    QTest::newRow("report holder below the viewer") << "Form2" << "Label2" << "Form2" << QRect(32, 496, 201, 41);
}

void TestCatalogue::placesInPixels()
{
    QFETCH(QString, window);
    QFETCH(QString, control);
    QFETCH(QString, container);
    QFETCH(QRect, geometry);
    auto *widget = windowNamed(window).control<QWidget>(control);
    QCOMPARE(widget->parentWidget()->objectName(), container);
    QCOMPARE(widget->geometry(), geometry);
}

void TestCatalogue::timers_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("timer");
    QTest::addColumn<int>("interval");
    QTest::addColumn<bool>("running");

    QTest::newRow("metering tick") << "reg" << "Timer1" << 1000 << true;
    QTest::newRow("slide") << "reg" << "Timer2" << 1 << false;
    QTest::newRow("hiding fade") << "reg" << "Timer3" << 10 << false;
    QTest::newRow("pop-up fade") << "reg" << "Timer4" << 10 << false;
    QTest::newRow("pop-up slide") << "Form2" << "Timer3" << 10 << false;
}

void TestCatalogue::timers()
{
    QFETCH(QString, window);
    QFETCH(QString, timer);
    QFETCH(int, interval);
    QFETCH(bool, running);
    auto *t = windowNamed(window).control<QTimer>(timer);
    QVERIFY(t);
    QCOMPARE(t->interval(), interval);
    QCOMPARE(t->isActive(), running);
}

void TestCatalogue::comboChoicesStopWhenTheWindowGoes()
{
    int chosen = 0;
    auto *window = new ChoiceCounter(chosen);
    window->show();
    QApplication::setActiveWindow(window);
    auto *box = window->control<QComboBox>("Combo1");
    box->setFocus();
    QTRY_VERIFY(box->hasFocus());
    box->clearEditText();
    QTest::keyClicks(box, "2005");
    QTest::keyClick(box, Qt::Key_Return);
    QCOMPARE(chosen, 1);
    // A year of the list typed and not chosen: closing the shown window takes
    // the focus from the box, which takes such a text as picked.
    box->clearEditText();
    QTest::keyClicks(box, "2004");
    QCOMPARE(chosen, 1);
    delete window;
    QCOMPARE(chosen, 1);
}

void TestCatalogue::trayMenuTree()
{
    CatalogueWindow &trayForm = windowNamed("Form2");
    const auto names = [](QMenu *menu) {
        QStringList list;
        for (QAction *action : menu->actions())
            list << action->objectName();
        return list;
    };
    QCOMPARE(names(trayForm.menuOf("Menu")), QStringList({"MnuAbout", "MnuViewer", "MnuGraphique", "MnuJournal", "MnuBilan", "Mnuréglages",
                                                       "MnuMaximize", "MnuMinimize", "MnuMinimize2", "MnuQuitter"}));
    QCOMPARE(names(trayForm.menuOf("Mnuréglages")), QStringList({"MnuOption", "MnuZero"}));
    QCOMPARE(names(trayForm.menuOf("MnuZero")), QStringList({"MnuzeroUtilisateur", "MnuZerojour", "MnuAll"}));
    // Exactly one of "Montrer" and "Cacher" is offered.
    QVERIFY(trayForm.control<QAction>("MnuMaximize")->isVisible() != trayForm.control<QAction>("MnuMinimize")->isVisible());
}

void TestCatalogue::optionGroupsAreIndependent()
{
    CatalogueWindow optionsDialog(catalogue::optionsDialog());
    optionsDialog.show();
    auto *first = optionsDialog.control<QRadioButton>("Raz1erOpt");
    auto *chosenDay = optionsDialog.control<QRadioButton>("RazCustOpt");
    auto *unlimited = optionsDialog.control<QRadioButton>("IllimitOpt");
    auto *package = optionsDialog.control<QRadioButton>("ForfCustOpt");

    QTest::mouseClick(chosenDay, Qt::LeftButton, {}, QPoint(4, chosenDay->height() / 2));
    QVERIFY(chosenDay->isChecked());
    QVERIFY(!first->isChecked());
    QVERIFY(unlimited->isChecked());

    QTest::mouseClick(package, Qt::LeftButton, {}, QPoint(4, package->height() / 2));
    QVERIFY(package->isChecked());
    QVERIFY(!unlimited->isChecked());
    QVERIFY(chosenDay->isChecked());
}

void TestCatalogue::languageFileChangesOnlyWhatItGives()
{
    QTemporaryDir dir;
    writeLanguageFile(dir.path(), "English", "[Form1]\nCommand2_Caption=Cancel\n");

    CatalogueWindow optionsDialog(catalogue::optionsDialog());
    Language language({dir.path()});
    QVERIFY(language.select("English"));
    language.apply({&optionsDialog});

    QCOMPARE(optionsDialog.windowTitle(), catalogue::optionsDialog().caption);
    for (const catalogue::Control &design : catalogue::optionsDialog().controls) {
        const QString expected = design.name == "Command2" ? QStringLiteral("Cancel") : design.text;
        QCOMPARE(shownText(optionsDialog.control(design.name)), expected);
    }
}

// List and combo boxes are built when the window is first shown or one is asked
// for, as they would have been with the window: with the text a language gave
// them, shown, in the designed tab order.
void TestCatalogue::itemViewsComeWhenFirstNeeded()
{
    CatalogueWindow viewer(catalogue::trayForm());
    int yearBox = 0;
    while (viewer.controlName(yearBox) != QStringLiteral("Combo1"))
        ++yearBox;
    QCOMPARE(viewer.controlText(yearBox), std::optional<QString>(QString()));
    viewer.setControlText(yearBox, QStringLiteral("2010"));
    QCOMPARE(viewer.controlText(yearBox), std::optional<QString>(QStringLiteral("2010")));
    QVERIFY(!viewer.findChild<QComboBox *>());
    QVERIFY(!viewer.findChild<QListView *>());
    viewer.show();
    QVERIFY(QTest::qWaitForWindowExposed(&viewer));
    auto *years = viewer.findChild<QComboBox *>(QStringLiteral("Combo1"));
    auto *lines = viewer.findChild<QListView *>(QStringLiteral("List1"));
    QVERIFY(years && lines);
    QCOMPARE(viewer.control(QStringLiteral("Combo1")), years);
    QCOMPARE(years->currentText(), QStringLiteral("2010"));
    QVERIFY(years->isVisible() && lines->isVisible());
    viewer.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&viewer));
    years->setFocus();
    QTest::keyClick(&viewer, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), lines);
    QTest::keyClick(&viewer, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), viewer.control<QWidget>(QStringLiteral("Command1")));

    CatalogueWindow hidden(catalogue::trayForm());
    QVERIFY(hidden.control<QListView>(QStringLiteral("List1")));
    QVERIFY(hidden.findChild<QComboBox *>(QStringLiteral("Combo1")));
    QVERIFY(!hidden.isVisible());
}

void TestCatalogue::opensOnItsFirstControl_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("first");

    QTest::newRow("a year box built late") << "Form2" << "Combo1";
    QTest::newRow("a list built late") << "Form5" << "List1";
    QTest::newRow("a button built at once") << "Form1" << "Command1";
}

void TestCatalogue::opensOnItsFirstControl()
{
    QFETCH(QString, window);
    QFETCH(QString, first);
    const catalogue::Window *design = nullptr;
    for (const catalogue::Window *candidate : catalogue::all()) {
        if (candidate->name == window)
            design = candidate;
    }
    CatalogueWindow w(*design);
    w.show();
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QCOMPARE(QApplication::focusWidget(), w.control<QWidget>(first));
}

QTEST_MAIN(TestCatalogue)
#include "tst_catalogue.moc"
