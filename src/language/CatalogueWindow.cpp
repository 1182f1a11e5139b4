// SPDX-License-Identifier: GPL-3.0-or-later
#include "CatalogueWindow.h"

#include "ResourceImage.h"
#include "ToolWindows.h"
#include "language/Twips.h"

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QPalette>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTimer>
#include <QWindow>

#include <algorithm>

using catalogue::Kind;

namespace {

Qt::WindowFlags flagsFor(const catalogue::Window &design)
{
    switch (design.border) {
    case catalogue::Border::None:
        return Qt::Window | Qt::FramelessWindowHint;
    case catalogue::Border::FixedSingle:
    case catalogue::Border::FixedDialog:
        return (design.border == catalogue::Border::FixedDialog ? Qt::Dialog : Qt::Window) | Qt::CustomizeWindowHint
            | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint;
    case catalogue::Border::Sizable:
        return design.minMaxButtons ? Qt::Window : Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                | Qt::WindowCloseButtonHint;
    }
    return Qt::Window;
}

QColor colourOf(const catalogue::Colour &colour)
{
    switch (colour.source) {
    case catalogue::Colour::Source::Highlight:
        return QGuiApplication::palette().color(QPalette::Highlight);
    case catalogue::Colour::Source::ActiveBorder:
        return QGuiApplication::palette().color(QPalette::Mid);
    case catalogue::Colour::Source::Rgb:
        break;
    }
    return QColor::fromRgb(colour.rgb);
}

Qt::Alignment alignmentOf(catalogue::Align align)
{
    switch (align) {
    case catalogue::Align::Centre:
        return Qt::AlignHCenter | Qt::AlignTop;
    case catalogue::Align::Right:
        return Qt::AlignRight | Qt::AlignTop;
    case catalogue::Align::Left:
        break;
    }
    return Qt::AlignLeft | Qt::AlignTop;
}

// The look of a control through its palette: colours, fill and border. Style
// sheets would do as well, but would bring Qt's style sheet engine into a
// meter that runs all day. A control with a look of its own takes every
// colour from it or from the application, none from its container.
void giveLook(QWidget &widget, const catalogue::Control &c)
{
    const bool fills = c.back && !c.transparent;
    if (!c.fore && !fills && !c.border && !c.transparent && c.kind != Kind::Shape)
        return;
    QPalette palette = QGuiApplication::palette();
    if (c.fore) {
        palette.setColor(QPalette::WindowText, colourOf(*c.fore));
        palette.setColor(QPalette::Text, colourOf(*c.fore));
    }
    if (fills)
        palette.setColor(QPalette::Window, colourOf(*c.back));
    auto *frame = qobject_cast<QFrame *>(&widget);
    if (c.border && frame) {
        // A plain box is drawn in the text colour.
        palette.setColor(QPalette::WindowText, colourOf(*c.border));
        frame->setFrameStyle(QFrame::Box | QFrame::Plain);
        frame->setLineWidth(c.borderWidth);
    }
    palette.setResolveMask(~QPalette::ResolveMask(0));
    widget.setPalette(palette);
    widget.setAutoFillBackground(fills);
}

// Enter in a combo box's text, as a choice of that text.
class EnterKeyFilter final : public QObject {
public:
    EnterKeyFilter(std::function<void()> entered, QObject *parent)
        : QObject(parent)
        , entered_(std::move(entered))
    {
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent *>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                entered_();
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> entered_;
};

} // namespace

CatalogueWindow::CatalogueWindow(const catalogue::Window &design, QWidget *parent, Qt::WindowFlags extraFlags)
    : QWidget(parent, flagsFor(design) | extraFlags)
    , design_(design)
{
    setObjectName(design.name);
    setWindowTitle(design.caption);
    // The layout was designed for an 8-point dialog font: a larger desktop font
    // would cut the designed texts.
    QFont dialogFont(QStringLiteral("Arial"));
    dialogFont.setPointSizeF(8);
    setFont(dialogFont);
    const QSize client = twips::rect(0, 0, design.clientWidth, design.clientHeight).size();
    if (design.border == catalogue::Border::Sizable)
        resize(client);
    else
        setFixedSize(client);
    if (design.icon)
        setWindowIcon(resourceimage::icon(QStringLiteral(":/images/dialmeter-48.png")));
    if (design.back) {
        QPalette back = palette();
        back.setColor(QPalette::Window, colourOf(*design.back));
        setPalette(back);
        setAutoFillBackground(true);
    }

    controls_.reserve(design.controls.size());
    for (int i = 0; i < design.controls.size(); ++i) {
        const catalogue::Control &c = design.controls.at(i);
        if (c.kind == Kind::ComboBox)
            laterTexts_.insert(i, c.text);
        controls_.append(buildsLater(c) ? nullptr : build(c));
    }

    // Labels, images and shapes are drawn on their container, under every
    // control that is a window of its own (an image behind a list box is not
    // seen), in their designed order among themselves.
    for (int i = controls_.size() - 1; i >= 0; --i) {
        const Kind kind = design.controls.at(i).kind;
        if (kind == Kind::Label || kind == Kind::Image || kind == Kind::Shape)
            qobject_cast<QWidget *>(controls_.at(i))->lower();
    }
    orderTabs();
    itemViewsBuilt_ = !controls_.contains(nullptr);
}

bool CatalogueWindow::buildsLater(const catalogue::Control &design)
{
    return design.kind == Kind::ComboBox || design.kind == Kind::ListBox;
}

void CatalogueWindow::buildItemViews() const
{
    if (itemViewsBuilt_)
        return;
    itemViewsBuilt_ = true;
    // Built on first use, as if they had been there from the start.
    auto *self = const_cast<CatalogueWindow *>(this);
    for (int i = 0; i < controls_.size(); ++i) {
        if (controls_.at(i))
            continue;
        controls_[i] = self->build(design_.controls.at(i));
        if (auto *combo = qobject_cast<QComboBox *>(controls_.at(i)))
            combo->setCurrentText(laterTexts_.value(i));
    }
    self->laterTexts_.clear();
    self->orderTabs();
    self->itemViewsBuilt();
}

void CatalogueWindow::setVisible(bool visible)
{
    if (visible)
        buildItemViews();
    QWidget::setVisible(visible);
}

QVector<QWidget *> CatalogueWindow::inTabOrder() const
{
    QVector<std::pair<int, QWidget *>> focusable;
    for (int i = 0; i < controls_.size(); ++i) {
        auto *widget = qobject_cast<QWidget *>(controls_.at(i));
        if (widget && design_.controls.at(i).tab >= 0 && widget->focusPolicy() != Qt::NoFocus)
            focusable.append({design_.controls.at(i).tab, widget});
    }
    std::sort(focusable.begin(), focusable.end(), [](const auto &a, const auto &b) { return a.first < b.first; });
    QVector<QWidget *> widgets;
    for (const auto &entry : focusable)
        widgets.append(entry.second);
    return widgets;
}

void CatalogueWindow::orderTabs()
{
    // The keyboard follows the designed tab order.
    const QVector<QWidget *> widgets = inTabOrder();
    for (int i = 1; i < widgets.size(); ++i)
        setTabOrder(widgets.at(i - 1), widgets.at(i));
}

void CatalogueWindow::focusFirstControl()
{
    // Boxes built late stand last in the toolkit's focus chain: the window
    // opens on its first control in the designed order, as it would with
    // every control built at once.
    if (focusWidget())
        return;
    for (QWidget *widget : inTabOrder()) {
        if (widget->isEnabled() && widget->isVisibleTo(this) && (widget->focusPolicy() & Qt::TabFocus)) {
            widget->setFocus();
            return;
        }
    }
}

void CatalogueWindow::showEvent(QShowEvent *event)
{
    // A window designed to open centred does so the first time it is shown.
    if (design_.centred && !placed_) {
        if (const QScreen *target = screen())
            move(target->availableGeometry().center() - rect().center());
    }
    placed_ = true;
    focusFirstControl();
    if (windowType() == Qt::Tool)
        keepOutOfTaskSwitchers(*this);
    QWidget::showEvent(event);
}

void CatalogueWindow::setAlpha(int alpha)
{
    setWindowOpacity(qBound(0, alpha, 255) / 255.0);
    // The X11 backend queues the opacity without sending it; the repaint that
    // follows sends it along, or a fade would show only when something else
    // is drawn.
    update();
}

void CatalogueWindow::setStaysOnTop(bool onTop)
{
    Qt::WindowFlags flags = windowFlags();
    flags.setFlag(Qt::WindowStaysOnTopHint, onTop);
    if (flags == windowFlags())
        return;
    // QWidget::setWindowFlags() would destroy the native window and make a new
    // one (hidden, at another place, with its opacity lost): tell the widget
    // and change the live window instead.
    overrideWindowFlags(flags);
    if (QWindow *window = windowHandle())
        window->setFlags(flags);
}

QObject *CatalogueWindow::control(const QString &name) const
{
    for (int i = 0; i < controls_.size(); ++i) {
        if (design_.controls.at(i).name == name) {
            if (!controls_.at(i))
                buildItemViews();
            return controls_.at(i);
        }
    }
    return nullptr;
}

QString CatalogueWindow::labelText(const QString &name) const
{
    const auto *label = control<QLabel>(name);
    return label ? label->text() : QString();
}

QMenu *CatalogueWindow::menuOf(const QString &entry) const
{
    auto *action = control<QAction>(entry);
    return action ? action->menu() : nullptr;
}

QObject *CatalogueWindow::build(const catalogue::Control &c)
{
    if (c.kind == Kind::Timer) {
        auto *timer = new QTimer(this);
        timer->setObjectName(c.name);
        timer->setInterval(c.interval);
        timer->setTimerType(Qt::PreciseTimer);
        if (c.running)
            timer->start();
        return timer;
    }
    if (c.kind == Kind::MenuItem) {
        QAction *action = nullptr;
        QMenu *parentMenu = c.container.isEmpty() ? nullptr : menuOf(c.container);
        if (c.submenu) {
            auto *menu = new QMenu(c.text, this);
            action = menu->menuAction();
            if (parentMenu)
                parentMenu->addMenu(menu);
        } else {
            action = new QAction(c.text, this);
            if (parentMenu)
                parentMenu->addAction(action);
        }
        action->setObjectName(c.name);
        action->setVisible(c.visible);
        action->setEnabled(c.enabled);
        return action;
    }

    QWidget *parent = c.container.isEmpty() ? this : control<QWidget>(c.container);
    QWidget *widget = nullptr;
    switch (c.kind) {
    case Kind::Label: {
        auto *label = new QLabel(c.text, parent);
        label->setAlignment(alignmentOf(c.align));
        label->setWordWrap(c.wordWrap);
        widget = label;
        break;
    }
    case Kind::Button:
        widget = new QPushButton(c.text, parent);
        break;
    case Kind::CheckBox: {
        auto *box = new QCheckBox(c.text, parent);
        box->setChecked(c.checked);
        widget = box;
        break;
    }
    case Kind::OptionButton: {
        // Option buttons are exclusive among the buttons of their own container
        // only. Qt's automatic exclusivity would also reach into the containers
        // below the parent, so each container gets a group of its own.
        auto *button = new QRadioButton(c.text, parent);
        QButtonGroup *&group = optionGroups_[parent];
        if (!group)
            group = new QButtonGroup(parent);
        group->addButton(button);
        button->setChecked(c.checked);
        widget = button;
        break;
    }
    case Kind::Frame:
        widget = new QGroupBox(c.text, parent);
        break;
    case Kind::ComboBox: {
        auto *combo = new QComboBox(parent);
        combo->setEditable(true);
        // A typed text is taken as typed: no completion from the items (a year
        // "200" would become "2003"), and Enter adds it to none of the lists.
        combo->setCompleter(nullptr);
        combo->setInsertPolicy(QComboBox::NoInsert);
        combo->addItems(c.items);
        combo->setCurrentText(c.text);
        widget = combo;
        break;
    }
    case Kind::ListBox: {
        // A list over a model: a year of journal lines stays light.
        auto *list = new QListView(parent);
        list->setUniformItemSizes(true);
        list->setEditTriggers(QAbstractItemView::NoEditTriggers);
        widget = list;
        break;
    }
    case Kind::PictureBox:
    case Kind::Image: {
        auto *picture = new QLabel(parent);
        picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        if (!c.picture.isEmpty()) {
            const QPixmap pixmap = resourceimage::pixmap(c.picture);
            picture->setPixmap(c.kind == Kind::Image ? pixmap.scaled(twips::rect(0, 0, c.width, c.height).size())
                                                     : pixmap);
        }
        widget = picture;
        break;
    }
    case Kind::Shape:
        widget = new QFrame(parent);
        break;
    case Kind::TextBox:
        widget = new QLineEdit(parent);
        break;
    case Kind::ProgressBar: {
        auto *bar = new QProgressBar(parent);
        bar->setRange(0, 100);
        widget = bar;
        break;
    }
    case Kind::Timer:
    case Kind::MenuItem:
        break;
    }
    widget->setObjectName(c.name);
    widget->setGeometry(twips::rect(c.left, c.top, c.width, c.height));
    if (c.font) {
        QFont font(c.font->family);
        font.setPointSizeF(c.font->pointSize);
        font.setBold(c.font->bold);
        widget->setFont(font);
    }
    giveLook(*widget, c);
    if (!c.toolTip.isEmpty())
        widget->setToolTip(c.toolTip);
    if (c.handCursor)
        widget->setCursor(Qt::PointingHandCursor);
    widget->setEnabled(c.enabled);
    if (!c.visible)
        widget->hide();
    return widget;
}

std::optional<QString> CatalogueWindow::controlCaption(int i) const
{
    if (!design_.controls.at(i).hasCaption())
        return std::nullopt;
    QObject *object = controls_.at(i);
    if (auto *label = qobject_cast<QLabel *>(object))
        return label->text();
    if (auto *button = qobject_cast<QAbstractButton *>(object))
        return button->text();
    if (auto *frame = qobject_cast<QGroupBox *>(object))
        return frame->title();
    if (auto *action = qobject_cast<QAction *>(object))
        return action->text();
    return std::nullopt;
}

void CatalogueWindow::setControlCaption(int i, const QString &text)
{
    QObject *object = controls_.at(i);
    if (auto *label = qobject_cast<QLabel *>(object))
        label->setText(text);
    else if (auto *button = qobject_cast<QAbstractButton *>(object))
        button->setText(text);
    else if (auto *frame = qobject_cast<QGroupBox *>(object))
        frame->setTitle(text);
    else if (auto *action = qobject_cast<QAction *>(object))
        action->setText(text);
}

std::optional<QString> CatalogueWindow::controlText(int i) const
{
    if (laterTexts_.contains(i))
        return laterTexts_.value(i);
    auto *combo = qobject_cast<QComboBox *>(controls_.at(i));
    return combo ? std::optional<QString>(combo->currentText()) : std::nullopt;
}

void CatalogueWindow::setControlText(int i, const QString &text)
{
    if (laterTexts_.contains(i))
        laterTexts_[i] = text;
    else if (auto *combo = qobject_cast<QComboBox *>(controls_.at(i)))
        combo->setCurrentText(text);
}

CatalogueWindow::~CatalogueWindow()
{
    *whole_ = false;
}

void CatalogueWindow::whenChosen(QComboBox *box, std::function<void()> chosen)
{
    auto run = [whole = whole_, chosen = std::move(chosen)] {
        if (*whole)
            chosen();
    };
    connect(box, QOverload<int>::of(&QComboBox::activated), this, run);
    box->installEventFilter(new EnterKeyFilter(run, box));
}
