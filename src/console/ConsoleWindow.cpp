// SPDX-License-Identifier: GPL-3.0-or-later
#include "ConsoleWindow.h"

#include "ConsoleCore.h"
#include "SkinShape.h"
#include "language/Twips.h"
#include "store/DisplayPlatform.h"

#include <algorithm>

#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QStyle>
#include <QTimer>
#include <QWindow>

namespace {

ConsoleMouse::Button buttonOf(Qt::MouseButton button)
{
    switch (button) {
    case Qt::LeftButton:
        return ConsoleMouse::Button::Left;
    case Qt::RightButton:
        return ConsoleMouse::Button::Right;
    default:
        return ConsoleMouse::Button::Other;
    }
}

// A figure is drawn as its label would draw it, fill and text in one painter:
// the label's frame pass and the toolkit's separate background painter cost
// more than the text itself, every second.
void paintFigure(QLabel &figure)
{
    QPainter painter(&figure);
    painter.fillRect(figure.rect(), figure.palette().brush(figure.backgroundRole()));
    painter.drawText(figure.contentsRect(), QStyle::visualAlignment(figure.layoutDirection(), figure.alignment()),
                     figure.text());
}

} // namespace

ConsoleWindow::ConsoleWindow(QWidget *parent)
    : CatalogueWindow(catalogue::console(), parent, Qt::Tool)
    , placed_(twips::toWindowPixels(catalogue::console().left), twips::toWindowPixels(catalogue::console().top))
    , placedByCompositor_(displayplatform::placedByCompositor(QGuiApplication::platformName()))
{
    // Until the console is placed from the store it stands where it was
    // designed to (a console hidden by fading keeps that left edge).
    move(placed_);
    // The console's outline is its skin's: the pure red around it is cut away.
    const auto *skin = control<QLabel>(QStringLiteral("picMainSkin"));
    const QRegion outline = outlineRegion(skinBox(skin->pixmap().toImage(), skin->size()));
    if (displayplatform::cutsWindowsToMasks(QGuiApplication::platformName())) {
        // The windowing system cuts the window to its outline. A widget mask
        // would also clip each repaint of the figures to this many-sided
        // region, which costs more than painting them.
        create();
        windowHandle()->setMask(outline);
    } else {
        // Elsewhere the widget's own mask keeps the red from being painted.
        setMask(outline);
    }

    surface_ = control<QLabel>(QStringLiteral("Label8"));
    surface_->installEventFilter(this);
    control<QWidget>(QStringLiteral("Picture1"))->installEventFilter(this);

    // The figures keep their designed size: a new text then does not post the
    // skin a request to lay out its children again, every second. Digits and
    // colons need no shaping, which would be most of the cost of drawing them.
    // Each fills its whole box, so nothing beneath it is painted again.
    const char *const names[] = {"Txtmois", "TxtDay", "TextId"};
    for (std::size_t i = 0; i < figures_.size(); ++i) {
        QLabel *figure = control<QLabel>(QString::fromLatin1(names[i]));
        figure->setFixedSize(figure->size());
        QFont font = figure->font();
        font.setStyleStrategy(QFont::PreferNoShaping);
        figure->setFont(font);
        figure->setAttribute(Qt::WA_OpaquePaintEvent);
        figure->installEventFilter(this);
        figures_[i] = figure;
    }
}

void ConsoleWindow::attach(ConsoleCore &core)
{
    core_ = &core;
    ConsoleHiding &hiding = core.hiding();
    connect(control<QTimer>(QStringLiteral("Timer2")), &QTimer::timeout, this, [&hiding] { hiding.slideStep(); });
    connect(control<QTimer>(QStringLiteral("Timer3")), &QTimer::timeout, this, [&hiding] { hiding.hideFadeStep(); });
    connect(control<QTimer>(QStringLiteral("Timer4")), &QTimer::timeout, this, [&hiding] { hiding.popupFadeStep(); });
}

bool ConsoleWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (auto *figure = std::find(figures_.begin(), figures_.end(), watched); figure != figures_.end()) {
        if (event->type() != QEvent::Paint)
            return false;
        paintFigure(**figure);
        return true;
    }
    if (!core_)
        return false;
    const bool surface = watched == surface_;
    switch (event->type()) {
    case QEvent::Paint:
        // The surface catches the mouse over the whole console and shows
        // nothing: every repaint of the figures beneath it would paint it too.
        return surface && surface_->text().isEmpty();
    case QEvent::MouseButtonDblClick:
        core_->mouse().doubleClicked();
        return true;
    case QEvent::MouseButtonPress:
        if (surface) {
            auto *mouse = static_cast<QMouseEvent *>(event);
            core_->mouse().pressed(buttonOf(mouse->button()), mouse->globalPosition().toPoint());
        }
        return surface;
    case QEvent::MouseMove:
        if (surface)
            core_->mouse().moved(static_cast<QMouseEvent *>(event)->globalPosition().toPoint());
        return surface;
    case QEvent::MouseButtonRelease:
        if (surface) {
            auto *mouse = static_cast<QMouseEvent *>(event);
            core_->mouse().released(buttonOf(mouse->button()), mouse->globalPosition().toPoint());
        }
        return surface;
    default:
        return false;
    }
}

void ConsoleWindow::setLabel(const char *name, const QString &text)
{
    if (auto *label = control<QLabel>(QString::fromLatin1(name)))
        label->setText(text);
}

void ConsoleWindow::showCounters(const QString &month, const QString &day, const QString &user)
{
    const QString *texts[] = {&month, &day, &user};
    for (std::size_t i = 0; i < figures_.size(); ++i)
        figures_[i]->setText(*texts[i]);
}

void ConsoleWindow::setUserHeading(const QString &text)
{
    setLabel("Label4", text);
}

void ConsoleWindow::placeLeft(qint64 left)
{
    placed_.setX(twips::toWindowPixels(left));
    move(placed_);
}

void ConsoleWindow::placeTop(qint64 top)
{
    placed_.setY(twips::toWindowPixels(top));
    move(placed_);
}

qint64 ConsoleWindow::leftTwips() const
{
    return twips::fromPixels(placed_.x());
}

qint64 ConsoleWindow::topTwips() const
{
    return twips::fromPixels(placed_.y());
}

bool ConsoleWindow::fitsOnScreen(qint64 left, qint64 top) const
{
    const QRect place(twips::toWindowPixels(left), twips::toWindowPixels(top), width(), height());
    const auto screens = QGuiApplication::screens();
    return std::any_of(screens.begin(), screens.end(),
                       [&](const QScreen *screen) { return screen->geometry().intersects(place); });
}

void ConsoleWindow::startSystemMove()
{
    if (QWindow *window = windowHandle())
        window->startSystemMove();
}

void ConsoleWindow::setOpacity(int alpha)
{
    if (!placedByCompositor_) {
        setAlpha(alpha);
        return;
    }
    putAway_ = alpha == 0;
    CatalogueWindow::setVisible(wanted_ && !putAway_);
}

void ConsoleWindow::setVisible(bool visible)
{
    wanted_ = visible;
    CatalogueWindow::setVisible(visible && !putAway_);
}

void ConsoleWindow::setOnTop(bool onTop)
{
    setStaysOnTop(onTop);
}

void ConsoleWindow::setMovableCursor(bool movable)
{
    surface_->setCursor(movable ? Qt::SizeAllCursor : Qt::ArrowCursor);
}

void ConsoleWindow::setTimerRunning(Timer timer, bool running)
{
    const char *name = timer == Timer::Slide ? "Timer2" : timer == Timer::HideFade ? "Timer3" : "Timer4";
    auto *t = control<QTimer>(QString::fromLatin1(name));
    if (running)
        t->start();
    else
        t->stop();
}

void ConsoleWindow::offerShow(bool show)
{
    emit offerShowChanged(show);
}

void ConsoleWindow::openMenuAt(const QPoint &globalPixels)
{
    emit menuRequested(globalPixels);
}

void ConsoleWindow::requestPopup()
{
    emit popupRequested();
}

void ConsoleWindow::setPercentBarVisible(bool visible)
{
    control<QWidget>(QStringLiteral("Shape4"))->setVisible(visible);
    control<QWidget>(QStringLiteral("Shape2"))->setVisible(visible);
}

void ConsoleWindow::setPercentBar(int fillWidthPixels, const QString &caption)
{
    auto *fill = control<QWidget>(QStringLiteral("Shape4"));
    fill->resize(fillWidthPixels, fill->height());
    setLabel("Label1", caption);
}

void ConsoleWindow::showPackageIndicator()
{
    control<QWidget>(QStringLiteral("Picture1"))->show();
}

void ConsoleWindow::hidePackageIndicator()
{
    control<QWidget>(QStringLiteral("Picture1"))->hide();
}

void ConsoleWindow::openPackageAlert()
{
    emit packageAlertRequested();
}

QString ConsoleWindow::holderText(const QString &holder) const
{
    return labelText(holder);
}

void ConsoleWindow::setStatus(const QString &text)
{
    setLabel("Text1", text);
}

void ConsoleWindow::setSurfaceToolTip(const QString &text)
{
    surface_->setToolTip(text);
}
