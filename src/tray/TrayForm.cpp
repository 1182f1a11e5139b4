// SPDX-License-Identifier: GPL-3.0-or-later
#include "TrayForm.h"

#include "PopupAnimation.h"
#include "TaskbarPosition.h"
#include "TrayCommands.h"
#include "console/ConsoleWindow.h"
#include "language/Language.h"
#include "language/ResourceImage.h"
#include "language/Twips.h"
#include "records/YearReport.h"
#include "store/DisplayPlatform.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QListView>
#include <QPushButton>
#include <QStringListModel>
#include <QCursor>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QScreen>
#include <QSystemTrayIcon>
#include <QTimer>

#include <cstdio>

namespace {

// The icon's activations as the mouse messages the menu logic knows.
int messageOf(QSystemTrayIcon::ActivationReason reason)
{
    switch (reason) {
    case QSystemTrayIcon::Trigger:
        return TrayCommands::LeftUp;
    case QSystemTrayIcon::Context:
        return TrayCommands::RightUp;
    case QSystemTrayIcon::DoubleClick:
        return TrayCommands::LeftDouble;
    default:
        return TrayCommands::MouseMove;
    }
}

// Whether a panel hosts StatusNotifierItems on the session bus (KDE Plasma,
// waybar, GNOME with its AppIndicator extension): Qt's tray icon is then one of
// those items, which the panel draws with its menu.
bool statusNotifierHostPresent()
{
    const QString watcher = QStringLiteral("org.kde.StatusNotifierWatcher");
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !bus.interface()->isServiceRegistered(watcher))
        return false;
    QDBusMessage get = QDBusMessage::createMethodCall(watcher, QStringLiteral("/StatusNotifierWatcher"),
                                                     QStringLiteral("org.freedesktop.DBus.Properties"),
                                                     QStringLiteral("Get"));
    get << watcher << QStringLiteral("IsStatusNotifierHostRegistered");
    constexpr int patienceMs = 2000;
    const QDBusMessage answer = bus.call(get, QDBus::Block, patienceMs);
    return answer.type() == QDBusMessage::ReplyMessage && !answer.arguments().isEmpty()
        && answer.arguments().constFirst().value<QDBusVariant>().variant().toBool();
}

const QScreen *screenOf(const QWidget &widget)
{
    const QScreen *screen = widget.screen();
    return screen ? screen : QGuiApplication::primaryScreen();
}

} // namespace

TrayForm::TrayForm(const Language &language, ConsoleWindow &console)
    : CatalogueWindow(catalogue::trayForm())
    , language_(language)
    , console_(console)
    , icon_(std::make_unique<QSystemTrayIcon>(resourceimage::icon(QStringLiteral(":/images/dialmeter-32.png"))))
    , reportLines_(new QStringListModel(this))
    , hasTray_(QSystemTrayIcon::isSystemTrayAvailable())
{
    connect(control<QPushButton>(QStringLiteral("Command1")), &QPushButton::clicked, reportLines_,
            [this] { reportLines_->setStringList({}); });
    icon_->setToolTip(TrayCommands::tipText());
    QMenu *menu = menuOf(QStringLiteral("Menu"));
    menu->setDefaultAction(control<QAction>(QStringLiteral("MnuQuitter")));
    // A panel that hosts the icon as a StatusNotifierItem opens its menu
    // itself, from the menu the icon exports; elsewhere the meter opens it.
    // Such a panel makes a tray for Qt: without a tray none is asked for, and
    // the session bus is left alone.
    if (hasTray_ && statusNotifierHostPresent()) {
        icon_->setContextMenu(menu);
        menuOnPanel_ = true;
    }
}

TrayForm::~TrayForm()
{
    // The pop-up's events pass through this form's filter while the pop-up is
    // destroyed: it goes while the form is whole and no longer knows it.
    popupWindow_.reset();
}

void TrayForm::attach(TrayCommands &commands, PopupAnimation &popup, YearReport &report)
{
    popup_ = &popup;
    report_ = &report;
    connect(icon_.get(), &QSystemTrayIcon::activated, this, [this, &commands](QSystemTrayIcon::ActivationReason reason) {
        if (!(menuOnPanel_ && reason == QSystemTrayIcon::Context))
            commands.iconMessage(messageOf(reason));
    });
    connect(control<QTimer>(QStringLiteral("Timer3")), &QTimer::timeout, this, [&popup] { popup.step(); });
    connect(control<QAction>(QStringLiteral("MnuzeroUtilisateur")), &QAction::triggered, this,
            [&commands] { commands.resetUser(); });
    connect(control<QAction>(QStringLiteral("MnuZerojour")), &QAction::triggered, this,
            [&commands] { commands.resetDay(); });
    connect(control<QAction>(QStringLiteral("MnuAll")), &QAction::triggered, this,
            [&commands] { commands.resetAll(); });
    // A Wayland compositor has no tray but the panels' StatusNotifierItems:
    // without one of those the icon would have nowhere to go.
    if (hasTray() || !displayplatform::placedByCompositor(QGuiApplication::platformName()))
        icon_->show();
}

void TrayForm::itemViewsBuilt()
{
    control<QListView>(QStringLiteral("List1"))->setModel(reportLines_);
    // The year box reports a picked year, or a typed one when Enter is pressed.
    whenChosen(control<QComboBox>(QStringLiteral("Combo1")), [this] { showYearReport(); });
}

void TrayForm::showYearReport()
{
    if (report_) {
        reportLines_->setStringList(report_->reportLines(
            control<QComboBox>(QStringLiteral("Combo1"))->currentText(), holderText(QStringLiteral("AnnéeC"))));
    }
}

bool TrayForm::showBalloon(const QString &title, const QString &text)
{
    if (!hasTray() || !icon_->isVisible())
        return false;
    icon_->showMessage(title, text, icon_->icon());
    return true;
}

QString TrayForm::holderText(const QString &holder) const
{
    return labelText(holder);
}

bool TrayForm::askYesNo(const QString &title, const QString &question)
{
    QMessageBox box(QMessageBox::NoIcon, title, question, QMessageBox::Yes | QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

void TrayForm::openMenu()
{
    // The menu closes when the user clicks elsewhere.
    activateWindow();
    menuOf(QStringLiteral("Menu"))->exec(QCursor::pos());
}

QSize TrayForm::screenPixels() const
{
    return screenOf(*this)->geometry().size();
}

QRect TrayForm::taskbarPixels() const
{
    const QScreen *screen = screenOf(*this);
    if (const auto bar = systemTaskbarRect()) {
        return QRect(QPoint(bar->left, bar->top), QPoint(bar->right - 1, bar->bottom - 1))
            .translated(-screen->geometry().topLeft());
    }
    // Elsewhere the taskbar is what the screen has and the desktop does not offer.
    const QRect all = screen->geometry().translated(-screen->geometry().topLeft());
    const QRect free = screen->availableGeometry().translated(-screen->geometry().topLeft());
    if (free.bottom() < all.bottom())
        return QRect(0, free.bottom() + 1, all.width(), all.bottom() - free.bottom());
    if (free.left() > 0)
        return QRect(0, 0, free.left(), all.height());
    if (free.right() < all.right())
        return QRect(free.right() + 1, 0, all.right() - free.right(), all.height());
    if (free.top() > 0)
        return QRect(0, 0, all.width(), free.top());
    return QRect(0, all.height(), all.width(), 0);
}

void TrayForm::loadPopup(const QString &total, const QString &since)
{
    if (!popupWindow_) {
        popupWindow_ = std::make_unique<CatalogueWindow>(catalogue::popup(), nullptr, Qt::Tool);
        language_.apply({popupWindow_.get()});
        popupWindow_->control<QWidget>(QStringLiteral("Label3"))->installEventFilter(this);
    }
    popupWindow_->control<QLabel>(QStringLiteral("Label2"))->setText(total);
    popupWindow_->control<QLabel>(QStringLiteral("Label5"))->setText(since);
}

void TrayForm::showPopup()
{
    if (popupWindow_)
        popupWindow_->show();
}

void TrayForm::unloadPopup()
{
    if (popupWindow_)
        popupWindow_->hide();
}

void TrayForm::placePopup(qint64 leftTwips, qint64 topTwips)
{
    if (popupWindow_) {
        const QPoint origin = screenOf(*this)->geometry().topLeft();
        popupWindow_->move(origin + QPoint(twips::toWindowPixels(leftTwips), twips::toWindowPixels(topTwips)));
    }
}

void TrayForm::setPopupAlpha(int alpha)
{
    if (popupWindow_)
        popupWindow_->setAlpha(alpha);
}

void TrayForm::setPopupOnTop(bool onTop)
{
    if (popupWindow_)
        popupWindow_->setStaysOnTop(onTop);
}

void TrayForm::showNotice(const QString &total, const QString &since)
{
    // The pop-up window, never shown, gives the words of the language in force.
    loadPopup(total, since);
    const QString title = popupWindow_->labelText(QStringLiteral("Label1")).trimmed();
    const QString text = popupWindow_->labelText(QStringLiteral("Label4")) + total + QLatin1Char('\n') + since;
    notice_.show(title, text, [this](const QString &why) {
        // Said once: the figures stay on the console meanwhile.
        if (!noticeFailureTold_)
            std::fprintf(stderr, "dialmeter: the desktop shows no notifications (%s)\n", qPrintable(why));
        noticeFailureTold_ = true;
    });
}

void TrayForm::setTimerRunning(bool running)
{
    auto *timer = control<QTimer>(QStringLiteral("Timer3"));
    if (running)
        timer->start();
    else
        timer->stop();
}

void TrayForm::sendConsoleToBottom()
{
    console_.lower();
}

void TrayForm::closeEvent(QCloseEvent *event)
{
    // The form lives as long as the program: closing the viewer hides it.
    event->ignore();
    hide();
}

bool TrayForm::eventFilter(QObject *watched, QEvent *event)
{
    if (popup_ && popupWindow_ && watched == popupWindow_->control(QStringLiteral("Label3"))
        && event->type() == QEvent::MouseButtonRelease) {
        popup_->withdrawPopup();
        return true;
    }
    return CatalogueWindow::eventFilter(watched, event);
}
