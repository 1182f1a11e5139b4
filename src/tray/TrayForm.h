// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "DesktopNotifier.h"
#include "PopupView.h"
#include "TrayView.h"
#include "language/CatalogueWindow.h"

#include <memory>

class ConsoleWindow;
class Language;
class PopupAnimation;
class QStringListModel;
class QSystemTrayIcon;
class TrayCommands;
class YearReport;

// The tray form ("Form2"): it owns the notification-area icon and its menu, the
// periodic pop-up window and its animation timer, and, when shown, it is the
// Connection Viewer. Closing the viewer only hides it.
class TrayForm final : public CatalogueWindow, public TrayView, public PopupView {
    Q_OBJECT
public:
    TrayForm(const Language &language, ConsoleWindow &console);
    ~TrayForm() override;

    // From now on the icon, the menu's resets, the pop-up timer and the year box
    // go to these.
    void attach(TrayCommands &commands, PopupAnimation &popup, YearReport &report);
    // The Connection Viewer's list: the report of the year in the year box.
    void showYearReport();
    // Whether the desktop has a notification area to show the icon in, as it
    // had when the meter started.
    bool hasTray() const { return hasTray_; }
    // The desktop's notifications, for what no window of the meter can show.
    DesktopNotifier &notice() { return notice_; }
    // A message on the tray icon; false when there is no tray to show it on.
    bool showBalloon(const QString &title, const QString &text);
    // The pop-up window, once a pop-up has come.
    CatalogueWindow *popupWindow() const { return popupWindow_.get(); }

    QString holderText(const QString &holder) const override;
    bool askYesNo(const QString &title, const QString &question) override;
    void openMenu() override;

    QSize screenPixels() const override;
    QRect taskbarPixels() const override;
    void loadPopup(const QString &total, const QString &since) override;
    void showPopup() override;
    void unloadPopup() override;
    void placePopup(qint64 leftTwips, qint64 topTwips) override;
    void setPopupAlpha(int alpha) override;
    void setPopupOnTop(bool onTop) override;
    void showNotice(const QString &total, const QString &since) override;
    void setTimerRunning(bool running) override;
    void sendConsoleToBottom() override;

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void itemViewsBuilt() override;

private:
    const Language &language_;
    ConsoleWindow &console_;
    std::unique_ptr<QSystemTrayIcon> icon_;
    std::unique_ptr<CatalogueWindow> popupWindow_;
    PopupAnimation *popup_ = nullptr;
    YearReport *report_ = nullptr;
    QStringListModel *reportLines_;
    DesktopNotifier notice_{5000}; // the pop-up's figures, shown a few seconds
    // Asked once: on a panel of StatusNotifierItems each question costs a
    // connection to the session bus.
    const bool hasTray_;
    // The panel shows the menu itself (a StatusNotifierItem host): a right
    // click on the icon reaches the panel, not the meter.
    bool menuOnPanel_ = false;
    bool noticeFailureTold_ = false;
};
