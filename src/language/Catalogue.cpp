// SPDX-License-Identifier: GPL-3.0-or-later
#include "Catalogue.h"

#include "store/Version.h"

namespace catalogue {

bool Control::hasCaption() const
{
    switch (kind) {
    case Kind::Label:
    case Kind::Button:
    case Kind::CheckBox:
    case Kind::OptionButton:
    case Kind::Frame:
    case Kind::MenuItem:
        return true;
    default:
        return false;
    }
}

bool Control::hasText() const
{
    return kind == Kind::ComboBox;
}

const Control *Window::control(const QString &controlName) const
{
    for (const Control &c : controls) {
        if (c.name == controlName)
            return &c;
    }
    return nullptr;
}

namespace {

// Colours are designed as 0x00BBGGRR values.
Colour bgr(quint32 value)
{
    return Colour::fromRgb(((value & 0xFF) << 16) | (value & 0xFF00) | ((value >> 16) & 0xFF));
}

const Colour kPanel = bgr(0xD2C8B2);
const Colour kInk = bgr(0x404040);
const Font kFigures{QStringLiteral("Arial"), 8.25, true};

// A control being described, one property at a time.
struct C : Control {
    C(const QString &controlName, Kind controlKind, const QString &caption, int l, int t, int w, int h)
    {
        name = controlName;
        kind = controlKind;
        text = caption;
        left = l;
        top = t;
        width = w;
        height = h;
    }
    C &in(const QString &parent) { container = parent; return *this; }
    C &hidden() { visible = false; return *this; }
    C &disabled() { enabled = false; return *this; }
    C &ticked() { checked = true; return *this; }
    C &tabAt(int index) { tab = index; return *this; }
    C &centre() { align = Align::Centre; return *this; }
    C &right() { align = Align::Right; return *this; }
    C &with(const Font &f) { font = f; return *this; }
    C &ink(Colour c) { fore = c; return *this; }
    C &on(Colour c) { back = c; return *this; }
    C &framed(Colour c, int widthPixels = 1) { border = c; borderWidth = widthPixels; return *this; }
    C &clear() { transparent = true; return *this; }
    C &wrapped() { wordWrap = true; return *this; }
    C &work() { workField = true; return *this; }
    C &tip(const QString &t) { toolTip = t; return *this; }
    C &showing(const QString &resource) { picture = resource; return *this; }
    C &hand() { handCursor = true; return *this; }
    C &listing(const QStringList &entries) { items = entries; return *this; }
};

C label(const QString &n, const QString &caption, int l, int t, int w, int h) { return C(n, Kind::Label, caption, l, t, w, h); }
C button(const QString &n, const QString &caption, int l, int t, int w, int h) { return C(n, Kind::Button, caption, l, t, w, h); }
C check(const QString &n, const QString &caption, int l, int t, int w, int h) { return C(n, Kind::CheckBox, caption, l, t, w, h); }
C option(const QString &n, const QString &caption, int l, int t, int w, int h) { return C(n, Kind::OptionButton, caption, l, t, w, h); }
C frame(const QString &n, const QString &caption, int l, int t, int w, int h) { return C(n, Kind::Frame, caption, l, t, w, h); }
C combo(const QString &n, const QString &text, int l, int t, int w, int h) { return C(n, Kind::ComboBox, text, l, t, w, h); }
C list(const QString &n, int l, int t, int w, int h) { return C(n, Kind::ListBox, {}, l, t, w, h); }
C picture(const QString &n, int l, int t, int w, int h) { return C(n, Kind::PictureBox, {}, l, t, w, h); }
C image(const QString &n, int l, int t, int w, int h) { return C(n, Kind::Image, {}, l, t, w, h); }
C shape(const QString &n, int l, int t, int w, int h) { return C(n, Kind::Shape, {}, l, t, w, h); }
C textBox(const QString &n, int l, int t, int w, int h) { return C(n, Kind::TextBox, {}, l, t, w, h); }
C progressBar(const QString &n, int l, int t, int w, int h) { return C(n, Kind::ProgressBar, {}, l, t, w, h); }

C timer(const QString &n, int milliseconds, bool enabledFromStart)
{
    C c(n, Kind::Timer, {}, 0, 0, 0, 0);
    c.interval = milliseconds;
    c.running = enabledFromStart;
    return c;
}

C menu(const QString &n, const QString &caption, const QString &parent = {})
{
    C c(n, Kind::MenuItem, caption, 0, 0, 0, 0);
    c.container = parent;
    return c;
}

C submenu(const QString &n, const QString &caption, const QString &parent)
{
    C c = menu(n, caption, parent);
    c.submenu = true;
    return c;
}

// A console figure: bold, dark on the panel.
C figure(const QString &n, const QString &caption, int l, int t, int w, int h)
{
    return label(n, caption, l, t, w, h).in(QStringLiteral("picMainSkin")).with(kFigures).ink(kInk).on(kPanel);
}

Window makeConsoleDesign()
{
    Window w;
    w.name = QStringLiteral("reg");
    w.caption = QStringLiteral("Form1");
    w.border = Border::None;
    w.clientWidth = 3750;
    w.clientHeight = 1515;
    w.left = 4995;
    w.top = 5265;
    const QString skin = QStringLiteral("picMainSkin");
    w.controls = {
        picture(skin, 0, 0, 4875, 2085).on(bgr(0x0000FF)).ink(kPanel).showing(QStringLiteral(":/images/skin.bmp")),
        shape(QStringLiteral("Shape1"), 200, 210, 3350, 1060).in(skin).on(kPanel).framed(bgr(0x404040)),
        figure(QStringLiteral("Text1"), QStringLiteral("Please Wait ..."), 330, 240, 3150, 255).centre().clear().tabAt(3),
        figure(QStringLiteral("Label3"), QStringLiteral("Ce mois :"), 375, 480, 1080, 255).centre().tabAt(1),
        figure(QStringLiteral("Txtmois"), {}, 1440, 480, 855, 255).right().tabAt(2),
        figure(QStringLiteral("Label9"), QStringLiteral("Aujourd'hui :"), 345, 720, 1095, 255).centre().tabAt(4),
        // Filled with the colour of the panel it lies within: it looks the
        // same as see-through, and its repaint each second leaves the panel
        // beneath alone.
        figure(QStringLiteral("TxtDay"), {}, 1440, 720, 855, 255).right().tabAt(15),
        // The user's name replaces this heading at start-up: no language file may overwrite it.
        figure(QStringLiteral("Label4"), QStringLiteral("User"), 360, 960, 1095, 255).centre().work().tabAt(12),
        figure(QStringLiteral("TextId"), {}, 1440, 960, 855, 255).right().tabAt(5),
        shape(QStringLiteral("Shape4"), 2760, 1000, 495, 135).in(skin).hidden().on(kInk).framed(kInk),
        shape(QStringLiteral("Shape2"), 2760, 1000, 495, 135).in(skin).hidden().framed(kInk),
        label(QStringLiteral("Label1"), QStringLiteral("100 %"), 2760, 1020, 495, 135)
            .in(skin).centre().with({QStringLiteral("Arial"), 5.25, false}).ink(kPanel).clear().work().tabAt(6),
        picture(QStringLiteral("Picture1"), 2780, 360, 495, 495)
            .in(skin).hidden().on(kPanel).tip(QStringLiteral("Forfait internet dépassé !"))
            .showing(QStringLiteral(":/images/indicator.png")).tabAt(16),
        label(QStringLiteral("Label8"), {}, -720, 0, 4935, 1935).in(skin).clear().tabAt(11),
        label(QStringLiteral("Label2"), {}, 4800, 2040, 375, 135).in(skin).hidden().clear().tabAt(7),
        timer(QStringLiteral("Timer1"), 1000, true),
        timer(QStringLiteral("Timer2"), 1, false),
        timer(QStringLiteral("Timer3"), 10, false),
        timer(QStringLiteral("Timer4"), 10, false),
        label(QStringLiteral("indivisible"), QStringLiteral("Label16"), 480, 2400, 2055, 255).work().tabAt(27),
        label(QStringLiteral("Déconnecté"), QStringLiteral("Label16"), 2880, 3360, 855, 255).tabAt(26),
        label(QStringLiteral("ConnectéC"), QStringLiteral("Label16"), 3000, 3360, 1455, 255).tabAt(25),
        label(QStringLiteral("PasConnecté"), QStringLiteral("Label16"), 3000, 3480, 1095, 255).tabAt(24),
        label(QStringLiteral("Depuis"), QStringLiteral("Label16"), 3000, 3480, 975, 375).tabAt(23),
        label(QStringLiteral("Déconnexion"), QStringLiteral("Label16"), 2640, 3480, 1695, 255).tabAt(22),
        label(QStringLiteral("Connexion"), QStringLiteral("Label16"), 2880, 3480, 1815, 255).tabAt(21),
        label(QStringLiteral("Label15"), QStringLiteral("Label15"), 3600, 3360, 975, 135).work().tabAt(20),
        label(QStringLiteral("Label14"), QStringLiteral("Label14"), 4080, 3480, 735, 495).work().tabAt(19),
        label(QStringLiteral("Label13"), QStringLiteral("Label13"), 4560, 3360, 1095, 375).work().tabAt(18),
        label(QStringLiteral("Label12"), QStringLiteral("Label12"), 3840, 3360, 1335, 255).work().hidden().tabAt(17),
        label(QStringLiteral("Label11"), QStringLiteral("Label11"), 3000, 3360, 1455, 255).work().hidden().tabAt(14),
        label(QStringLiteral("Label10"), QStringLiteral("Label10"), 3360, 3360, 1455, 255).work().hidden().tabAt(13),
        label(QStringLiteral("Label7"), QStringLiteral("Label7"), 3840, 3360, 1815, 495).work().hidden().tabAt(10),
        label(QStringLiteral("Label6"), QStringLiteral("Label6"), 2640, 3240, 3495, 495).work().hidden().tabAt(9),
        label(QStringLiteral("Label5"), QStringLiteral("Label5"), 2880, 3360, 2895, 375).work().hidden().tabAt(8),
    };
    return w;
}

Window makeTrayFormDesign()
{
    Window w;
    w.name = QStringLiteral("Form2");
    w.caption = QStringLiteral(" Connection Viewer");
    w.border = Border::None;
    w.clientWidth = 7680;
    w.clientHeight = 4995;
    w.centred = true;
    const QString root = QStringLiteral("Menu");
    const QString settings = QStringLiteral("Mnuréglages");
    const QString reset = QStringLiteral("MnuZero");
    w.controls = {
        combo(QStringLiteral("Combo1"), {}, 2400, 480, 3255, 315)
            .listing({QStringLiteral("2003"), QStringLiteral("2004"), QStringLiteral("2005"), QStringLiteral("...")})
            .tabAt(0),
        label(QStringLiteral("Label1"), QStringLiteral("Compte rendu de l'année :"), 240, 540, 1935, 255).tabAt(1),
        button(QStringLiteral("Command1"), QStringLiteral("Effacer"), 6120, 480, 1215, 375).tabAt(9),
        list(QStringLiteral("List1"), 120, 1080, 7455, 3765).tabAt(8),
        image(QStringLiteral("Image1"), 6120, 3360, 240, 240).showing(QStringLiteral(":/images/dialmeter-16.png")),
        label(QStringLiteral("Sur"), QStringLiteral("Etes-vous sûr ?"), 2760, 120, 1575, 135).hidden().tabAt(12),
        label(QStringLiteral("AnnéeC"), QStringLiteral("Année "), 480, 120, 1215, 375).hidden().tabAt(11),
        label(QStringLiteral("Label8"), {}, 720, 120, 1455, 255).hidden().clear().tabAt(10),
        label(QStringLiteral("Label2"), QStringLiteral("Label2"), 480, 7440, 3015, 615).work().tabAt(2),
        label(QStringLiteral("Label3"), QStringLiteral("Label3"), 4440, 7320, 1935, 615).work().tabAt(3),
        label(QStringLiteral("Label4"), QStringLiteral("Label4"), 2760, 6840, 375, 255).work().tabAt(4),
        label(QStringLiteral("Label5"), QStringLiteral("Label5"), 3120, 7560, 375, 375).work().tabAt(5),
        label(QStringLiteral("Label6"), QStringLiteral("Label6"), 3960, 7920, 375, 255).work().tabAt(6),
        label(QStringLiteral("Label7"), QStringLiteral("Label7"), 5160, 8040, 495, 255).work().tabAt(7),
        timer(QStringLiteral("Timer3"), 10, false),
        submenu(root, QStringLiteral("&Menu"), {}).hidden(),
        menu(QStringLiteral("MnuAbout"), QStringLiteral("A propos"), root),
        menu(QStringLiteral("MnuViewer"), QStringLiteral("Connect Viewer"), root),
        menu(QStringLiteral("MnuGraphique"), QStringLiteral("Graphique de l'année"), root),
        menu(QStringLiteral("MnuJournal"), QStringLiteral("Journal"), root),
        menu(QStringLiteral("MnuBilan"), QStringLiteral("Bilan de la période"), root),
        submenu(settings, QStringLiteral("Réglages"), root),
        menu(QStringLiteral("MnuOption"), QStringLiteral("Options"), settings),
        submenu(reset, QStringLiteral("Remise a zéro"), settings),
        menu(QStringLiteral("MnuzeroUtilisateur"), QStringLiteral("Utilisateur"), reset),
        menu(QStringLiteral("MnuZerojour"), QStringLiteral("Jour"), reset),
        menu(QStringLiteral("MnuAll"), QStringLiteral("Globale"), reset),
        menu(QStringLiteral("MnuMaximize"), QStringLiteral("Montrer"), root).hidden(),
        menu(QStringLiteral("MnuMinimize"), QStringLiteral("Cacher"), root),
        menu(QStringLiteral("MnuMinimize2"), QStringLiteral("null"), root).hidden().disabled().work(),
        menu(QStringLiteral("MnuQuitter"), QStringLiteral("Quitter"), root),
    };
    return w;
}

Window makeOptionsDialogDesign()
{
    Window w;
    w.name = QStringLiteral("Form1");
    w.caption = QStringLiteral("  Options de Dialmeter");
    w.border = Border::Sizable;
    w.minMaxButtons = true;
    w.clientWidth = 7080;
    w.clientHeight = 5310;
    w.centred = true;
    const QString back = QStringLiteral("Picture1");
    const QString package = QStringLiteral("Frame1");
    const QString preferences = QStringLiteral("Frame2");
    w.controls = {
        picture(back, 0, 0, 7215, 5535).tabAt(0),
        option(QStringLiteral("Raz1erOpt"), QStringLiteral("Tous les 1er du mois"), 2640, 3480, 2055, 255).ticked().tabAt(16),
        option(QStringLiteral("RazCustOpt"), QStringLiteral("Tous les"), 2640, 3840, 975, 255).tabAt(15),
        button(QStringLiteral("Command1"), QStringLiteral("OK"), 4440, 4680, 1095, 495).tabAt(3),
        button(QStringLiteral("Command2"), QStringLiteral("Annuler"), 5760, 4680, 1095, 495).disabled().tabAt(4),
        frame(package, QStringLiteral("Forfait "), 240, 1920, 6615, 2535).in(back).tabAt(1),
        frame(preferences, QStringLiteral("Préférences "), 240, 120, 6615, 1575).in(back).tabAt(2),
        option(QStringLiteral("IllimitOpt"), QStringLiteral("  Forfait illimité"), 480, 2280, 1695, 195).in(back).ticked().tabAt(11),
        option(QStringLiteral("ForfCustOpt"), {}, 480, 2640, 195, 195).in(back).tabAt(12),
        button(QStringLiteral("Command3"), QStringLiteral("Position par défaut"), 1920, 4680, 1575, 495).in(back).disabled().tabAt(21),
        button(QStringLiteral("Ancrable"), QStringLiteral("Déplacer la console"), 120, 4680, 1695, 495).in(back).disabled().tabAt(22),
        check(QStringLiteral("WinLaunchChk"), QStringLiteral("  Lancer avec windows"), 240, 360, 2535, 255).in(preferences).ticked().tabAt(7),
        check(QStringLiteral("PourcentChk"), QStringLiteral("  Afficher la barre de pourcentage "), 3480, 360, 2775, 255).in(preferences).ticked().tabAt(8),
        check(QStringLiteral("ChkPop"), QStringLiteral("  Pop up toutes les 10 min"), 240, 720, 2415, 255).in(preferences).ticked().tabAt(23),
        check(QStringLiteral("ChkTop"), QStringLiteral("  Toujours au premier plan"), 3480, 720, 2655, 255).in(preferences).tabAt(20),
        check(QStringLiteral("ChkHide"), QStringLiteral("  Masquage total de la console"), 240, 1080, 2775, 255).in(preferences).tabAt(25),
        label(QStringLiteral("Label3"), QStringLiteral("Langue:"), 3480, 1080, 735, 255).in(preferences).tabAt(9),
        combo(QStringLiteral("LangageCombo"), QStringLiteral("Français"), 4200, 1080, 1575, 315)
            .in(preferences).listing({QStringLiteral("Français"), QStringLiteral("English")}).tabAt(10),
        combo(QStringLiteral("List1"), QStringLiteral("1"), 600, 700, 855, 315).in(package).work().tabAt(18),
        label(QStringLiteral("Label2"), QStringLiteral("heure(s) par mois"), 1560, 750, 1215, 255).in(package).tabAt(5),
        label(QStringLiteral("TempsForfait"), {}, 4920, 900, 1575, 255).in(package).hidden().tabAt(19),
        check(QStringLiteral("AlarmChk"), QStringLiteral(" Alerte de dépassement du forfait."), 240, 1080, 3495, 255).in(package).ticked().tabAt(6),
        check(QStringLiteral("ChkIndivisible"), QStringLiteral("  Première minute indivisible"), 3480, 1080, 2895, 255).in(package).tabAt(24),
        label(QStringLiteral("Label4"), QStringLiteral("Remise a zéro automatique:"), 240, 1560, 2055, 255).in(package).tabAt(13),
        combo(QStringLiteral("List2"), QStringLiteral("2"), 3480, 1900, 615, 315).in(package).work().tabAt(17),
        label(QStringLiteral("Label5"), QStringLiteral("de chaque mois"), 4200, 1950, 1215, 255).in(package).tabAt(14),
    };
    return w;
}

Window makeAboutBoxDesign()
{
    Window w;
    w.name = QStringLiteral("Form3");
    w.caption = QStringLiteral("  A propos de Dialmeter");
    w.border = Border::FixedDialog;
    w.clientWidth = 5370;
    w.clientHeight = 2685;
    w.centred = true;
    const Colour blue = bgr(0xFF0000);
    w.controls = {
        // Replaced by the version when the box opens.
        label(QStringLiteral("Label1"), QStringLiteral("Version"), 240, 240, 3855, 255).clear().work().tabAt(0),
        label(QStringLiteral("Label3"), QString::fromLatin1(version::WebSite), 3480, 240, 1710, 195)
            .ink(blue).hand().tip(QStringLiteral("Site web")).tabAt(3),
        label(QStringLiteral("Label2"),
              QStringLiteral("Merci de l'intéret que vous portez à mon soft.") + QString(35, QLatin1Char(' '))
                  + QStringLiteral("N'hésitez pas à me faire part de vos remarques, critiques ou suggestions:"),
              240, 600, 4815, 615)
            .clear().wrapped().tabAt(1),
        label(QStringLiteral("Label4"), QString::fromLatin1(version::Contact), 2040, 1080, 1350, 195)
            .centre().ink(blue).hand().tip(QStringLiteral("e-mail")).tabAt(4),
        label(QStringLiteral("Label5"), QStringLiteral("bla bla"), 240, 1440, 4815, 495).clear().tabAt(5),
        label(QStringLiteral("Label6"), QStringLiteral("( Ou si vous trouvez que les traductions actuelles craignent !!! )"),
              240, 1800, 4455, 255)
            .clear().tabAt(6),
        button(QStringLiteral("Command1"), QStringLiteral("OK"), 1920, 2160, 1575, 375).tabAt(2),
    };
    return w;
}

Window makePackageAlertDesign()
{
    Window w;
    w.name = QStringLiteral("Form4");
    w.caption = QStringLiteral("  Dialmeter");
    w.border = Border::FixedDialog;
    w.clientWidth = 3675;
    w.clientHeight = 1545;
    w.centred = true;
    w.controls = {
        picture(QStringLiteral("Picture1"), 270, 240, 495, 615).showing(QStringLiteral(":/images/alert.png")).tabAt(0),
        label(QStringLiteral("Label1"), QStringLiteral("Attention, votre forfait internet est dépassé"), 990, 360, 2415, 615)
            .wrapped().tabAt(2),
        button(QStringLiteral("Command1"), QStringLiteral("OK"), 1170, 960, 1335, 375).tabAt(1),
    };
    return w;
}

Window makeJournalViewerDesign()
{
    Window w;
    w.name = QStringLiteral("Form5");
    w.caption = QStringLiteral("   Journal des connexions");
    w.border = Border::FixedSingle;
    w.clientWidth = 8520;
    w.clientHeight = 5145;
    w.centred = true;
    w.controls = {
        list(QStringLiteral("List1"), 120, 120, 8295, 4350).tabAt(0),
        button(QStringLiteral("Command1"), QStringLiteral("OK"), 7200, 4560, 1215, 495).tabAt(1),
        button(QStringLiteral("Command2"), QStringLiteral("Effacer"), 5760, 4560, 1215, 495).tabAt(2),
    };
    return w;
}

Window makePopupDesign()
{
    Window w;
    w.name = QStringLiteral("Form6");
    w.caption = QStringLiteral("Form6");
    w.border = Border::None;
    w.clientWidth = 3525;
    w.clientHeight = 735;
    w.icon = false;
    w.back = Colour::activeBorder();
    w.controls = {
        label(QStringLiteral("Label1"), QStringLiteral("  Dialmeter"), 0, 0, 3615, 255)
            .with({QStringLiteral("Arial"), 12, true}).ink(Colour::fromRgb(0xFFFFFF)).on(Colour::highlight()).tabAt(0),
        shape(QStringLiteral("Shape1"), 0, 240, 3495, 495).framed(Colour::highlight(), 5).on(Colour::fromRgb(0xFFFFFF)),
        label(QStringLiteral("Label4"), QStringLiteral("Total: "), 120, 360, 495, 255).clear().tabAt(3),
        label(QStringLiteral("Label2"), QStringLiteral("10:00:12"), 600, 360, 855, 255).clear().work().tabAt(1),
        label(QStringLiteral("Label5"), {}, 1440, 360, 2505, 255).clear().tabAt(4),
        label(QStringLiteral("Label3"), {}, 0, 0, 3615, 855).clear().tabAt(2),
    };
    return w;
}

Window makeTransparencyHolderDesign()
{
    Window w;
    w.name = QStringLiteral("Form7");
    w.caption = QStringLiteral("Form7");
    w.border = Border::Sizable;
    w.minMaxButtons = true;
    w.clientWidth = 4680;
    w.clientHeight = 3090;
    w.icon = false;
    return w;
}

// The period outlook: what is used and left of the package, the daily allowance,
// the pace and where it leads, and the warning thresholds. Its sentences are
// made from the hidden text holders below the visible area.
Window makePeriodOutlookDesign()
{
    Window w;
    w.name = QStringLiteral("Form8");
    w.caption = QStringLiteral("  Bilan de la période");
    w.border = Border::FixedSingle;
    w.clientWidth = 6600;
    w.clientHeight = 4260;
    w.centred = true;
    const QString warnings = QStringLiteral("Frame1");
    const auto sentence = [](const QString &n, int top, int height) {
        return label(n, {}, 240, top, 6120, height).wrapped().work();
    };
    const auto holder = [](const QString &n, const QString &text, int top) {
        return label(n, text, 240, top, 6120, 255).hidden();
    };
    w.controls = {
        sentence(QStringLiteral("Label1"), 240, 255).tabAt(0),
        sentence(QStringLiteral("Label2"), 600, 255).tabAt(1),
        progressBar(QStringLiteral("Bar1"), 240, 930, 6120, 255).tabAt(2),
        sentence(QStringLiteral("Label3"), 1320, 255).tabAt(3),
        sentence(QStringLiteral("Label4"), 1680, 435).tabAt(4),
        sentence(QStringLiteral("Label5"), 2160, 435).tabAt(5),
        frame(warnings, QStringLiteral("Avertissements "), 240, 2700, 6120, 855).tabAt(6),
        label(QStringLiteral("Label6"), QStringLiteral("Avertir à (% du forfait) :"), 240, 390, 2415, 255).in(warnings).tabAt(7),
        textBox(QStringLiteral("Text1"), 2700, 330, 1695, 315).in(warnings).tabAt(8),
        button(QStringLiteral("Command2"), QStringLiteral("Appliquer"), 4560, 300, 1335, 375).in(warnings).tabAt(9),
        button(QStringLiteral("Command1"), QStringLiteral("OK"), 5025, 3720, 1335, 375).tabAt(10),
        timer(QStringLiteral("Timer1"), 1000, false),
        holder(QStringLiteral("Période"), QStringLiteral("Du %1 au %2 : %3 jour(s) restant(s), aujourd'hui compris."), 4560),
        holder(QStringLiteral("Utilisé"), QStringLiteral("Utilisé : %1 sur %2 (%3 %)."), 4560),
        holder(QStringLiteral("SansForfait"), QStringLiteral("Utilisé : %1, sans forfait."), 4560),
        holder(QStringLiteral("Reste"), QStringLiteral("Reste : %1, soit %2 par jour jusqu'à la fin de la période."), 4560),
        holder(QStringLiteral("Epuisé"), QStringLiteral("Le forfait est épuisé : %1 de plus."), 4560),
        holder(QStringLiteral("Rythme"), QStringLiteral("Moyenne : %1 par jour écoulé ; à ce rythme, %2 sur la période."), 4560),
        holder(QStringLiteral("Suffit"), QStringLiteral("À ce rythme, le forfait suffit : il en resterait %1."), 4560),
        holder(QStringLiteral("Dépassé"),
               QStringLiteral("À ce rythme, le forfait sera dépassé de %1 : il serait épuisé le %2 vers %3."), 4560),
        holder(QStringLiteral("AuDelà"), QStringLiteral("À ce rythme, la période finira %1 au-delà du forfait."), 4560),
        holder(QStringLiteral("TropTôt"),
               QStringLiteral("Moins d'une heure de la période est passée : pas encore de moyenne ni de prévision."), 4560),
    };
    return w;
}

Window makeYearChartDesign()
{
    Window w;
    w.name = QStringLiteral("Form9");
    w.caption = QStringLiteral("  Graphique de l'année");
    w.border = Border::FixedSingle;
    w.clientWidth = 10800;
    w.clientHeight = 7200;
    w.centred = true;
    const auto holder = [](const QString &n, const QString &text) {
        return label(n, text, 240, 7440, 6120, 255).hidden();
    };
    w.controls = {
        label(QStringLiteral("Label1"), QStringLiteral("Année :"), 240, 300, 1215, 255).tabAt(0),
        combo(QStringLiteral("Combo1"), {}, 1440, 240, 1455, 315).tabAt(1),
        picture(QStringLiteral("Picture1"), 120, 720, 10560, 5760).tabAt(2),
        button(QStringLiteral("Command1"), QStringLiteral("Enregistrer l'image…"), 6960, 6660, 2175, 375).tabAt(3),
        button(QStringLiteral("Command2"), QStringLiteral("Fermer"), 9270, 6660, 1335, 375).tabAt(4),
        holder(QStringLiteral("Titre"), QStringLiteral("Connexions de %1")),
        holder(QStringLiteral("Heures"), QStringLiteral("Heures")),
        holder(QStringLiteral("Forfait"), QStringLiteral("Forfait")),
        holder(QStringLiteral("EnCours"), QStringLiteral("%1 •")),
        holder(QStringLiteral("Survol"), QStringLiteral("%1, %2 : %3")),
        holder(QStringLiteral("Enregistrer"), QStringLiteral("Enregistrer le graphique")),
        holder(QStringLiteral("Filtres"), QStringLiteral("Image PNG (*.png);;Image SVG (*.svg)")),
        holder(QStringLiteral("NonEnregistré"), QStringLiteral("L'image n'a pas pu être enregistrée : %1")),
        holder(QStringLiteral("AnnéeRefusée"), QStringLiteral("Une année est un nombre de 1 à 9999 : « %1 » ne convient pas.")),
    };
    return w;
}

} // namespace

const Window &console() { static const Window w = makeConsoleDesign(); return w; }
const Window &optionsDialog() { static const Window w = makeOptionsDialogDesign(); return w; }
const Window &trayForm() { static const Window w = makeTrayFormDesign(); return w; }
const Window &aboutBox() { static const Window w = makeAboutBoxDesign(); return w; }
const Window &packageAlert() { static const Window w = makePackageAlertDesign(); return w; }
const Window &journalViewer() { static const Window w = makeJournalViewerDesign(); return w; }
const Window &popup() { static const Window w = makePopupDesign(); return w; }
const Window &transparencyHolder() { static const Window w = makeTransparencyHolderDesign(); return w; }
const Window &periodOutlook() { static const Window w = makePeriodOutlookDesign(); return w; }
const Window &yearChart() { static const Window w = makeYearChartDesign(); return w; }

QVector<const Window *> all()
{
    return {&console(), &optionsDialog(), &trayForm(), &aboutBox(), &packageAlert(), &journalViewer(), &popup(), &transparencyHolder(), &periodOutlook(), &yearChart()};
}

QVector<const Window *> translatable()
{
    QVector<const Window *> windows = all();
    windows.removeOne(&transparencyHolder());
    return windows;
}

} // namespace catalogue
