// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

#include <optional>

// The layout of every window as designed: each window's own properties and its
// controls in the window's order, with kind, text, place and size (twips,
// relative to the container), initial state and look. Pure data: the windows
// are built from it, language files are checked against it, and the language
// is applied in its order.
namespace catalogue {

enum class Kind { Label, Button, CheckBox, OptionButton, Frame, ComboBox, ListBox, PictureBox, Image, Shape, Timer, MenuItem,
                  TextBox, ProgressBar };

// A colour: a plain RGB value or one of the system colours the layout names.
struct Colour {
    enum class Source { Rgb, Highlight, ActiveBorder };
    Source source = Source::Rgb;
    quint32 rgb = 0; // 0xRRGGBB

    static Colour fromRgb(quint32 rgb) { return {Source::Rgb, rgb}; }
    static Colour highlight() { return {Source::Highlight, 0}; }
    static Colour activeBorder() { return {Source::ActiveBorder, 0}; }
};

enum class Align { Left, Centre, Right };

struct Font {
    QString family;
    double pointSize = 0;
    bool bold = false;
};

struct Control {
    QString name;
    Kind kind = Kind::Label;
    QString container; // empty: the window itself; for menu entries, the parent entry
    QString text;      // caption, or the text of a combo box
    QStringList items; // combo boxes
    int left = 0, top = 0, width = 0, height = 0; // twips
    bool visible = true;
    bool enabled = true;
    bool checked = false; // check boxes: value 1; option buttons: true
    int tab = -1;
    int interval = 0;     // timers, in milliseconds
    bool running = false; // timers that are enabled from the start
    bool transparent = false;
    bool wordWrap = false;
    bool handCursor = false;
    bool submenu = false; // a menu entry that opens a sub-menu
    // A work field or placeholder whose caption is no text for the user: no
    // language file translates it.
    bool workField = false;
    Align align = Align::Left;
    std::optional<Font> font;
    std::optional<Colour> fore, back, border;
    int borderWidth = 1;
    QString toolTip;
    QString picture; // resource of the picture shown

    // Whether language files address this control's caption or its text.
    bool hasCaption() const;
    bool hasText() const;
};

enum class Border { None, FixedSingle, FixedDialog, Sizable };

struct Window {
    QString name;
    QString caption;
    Border border = Border::None;
    bool minMaxButtons = false;
    int clientWidth = 0, clientHeight = 0; // twips
    int left = 0, top = 0; // the designed place on the screen, twips
    bool centred = false;
    bool icon = true;
    std::optional<Colour> back;
    QVector<Control> controls;

    const Control *control(const QString &name) const;
};

// The design of each window; its object name ("reg", "Form1" ... "Form9") is
// what language files address.
const Window &console();            // "reg": the console
const Window &optionsDialog();      // "Form1": the Options dialog
const Window &trayForm();           // "Form2": the tray form and Connection Viewer
const Window &aboutBox();           // "Form3": the About box
const Window &packageAlert();       // "Form4": the package alert
const Window &journalViewer();      // "Form5": the journal viewer
const Window &popup();              // "Form6": the periodic pop-up
const Window &transparencyHolder(); // "Form7": the transparency holder
const Window &periodOutlook();      // "Form8": the period outlook
const Window &yearChart();          // "Form9": the chart of a year (its own program)

// Every window, in the order above.
QVector<const Window *> all();
// The windows a language file may address (all but the transparency holder).
QVector<const Window *> translatable();

} // namespace catalogue
