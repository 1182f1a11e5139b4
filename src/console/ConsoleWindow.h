// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ConsoleView.h"
#include "language/CatalogueWindow.h"

#include <array>

class QLabel;
class ConsoleCore;

// The console window ("reg"): the small skinned window with the month, day and
// user figures, cut to the shape of its skin. It shows what ConsoleCore holds
// and hands the mouse and its animation timers to it.
class ConsoleWindow final : public CatalogueWindow, public ConsoleView {
    Q_OBJECT
public:
    explicit ConsoleWindow(QWidget *parent = nullptr);

    // From now on the mouse on the console and the animation timers go to `core`.
    void attach(ConsoleCore &core);

    void showCounters(const QString &month, const QString &day, const QString &user) override;
    void setUserHeading(const QString &text) override;
    void showConsole() override { show(); }
    void placeLeft(qint64 twips) override;
    void placeTop(qint64 twips) override;
    qint64 leftTwips() const override;
    qint64 topTwips() const override;
    bool fitsOnScreen(qint64 leftTwips, qint64 topTwips) const override;
    void startSystemMove() override;
    void setOpacity(int alpha) override;
    void setOnTop(bool onTop) override;
    void setMovableCursor(bool movable) override;
    void setTimerRunning(Timer timer, bool running) override;
    void offerShow(bool show) override;
    void openMenuAt(const QPoint &globalPixels) override;
    void requestPopup() override;
    void setPercentBarVisible(bool visible) override;
    void setPercentBar(int fillWidthPixels, const QString &caption) override;
    void showPackageIndicator() override;
    void hidePackageIndicator() override;
    void openPackageAlert() override;
    QString holderText(const QString &holder) const override;
    void setStatus(const QString &text) override;
    void setSurfaceToolTip(const QString &text) override;

    // Shown or not as asked, unless it is put away where the desktop has no
    // window opacity.
    void setVisible(bool visible) override;

signals:
    // The user asks for the menu, at that point of the screen.
    void menuRequested(const QPoint &globalPos);
    void packageAlertRequested();
    // The menu is to offer "Montrer" (true) or "Cacher".
    void offerShowChanged(bool show);
    // The console has faded out: the periodic pop-up may come.
    void popupRequested();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void setLabel(const char *name, const QString &text);

    ConsoleCore *core_ = nullptr;
    // The transparent label over the whole console that takes the mouse.
    QLabel *surface_ = nullptr;
    // The month's, the day's and the user's figures, in that order.
    std::array<QLabel *, 3> figures_{};
    // Where the console was last put. Some window managers report a frameless
    // window's place relative to their own frame (0, 0), so the window's own
    // idea of its position cannot be read back.
    QPoint placed_;
    // Where the compositor places the windows it makes none transparent
    // either: a console faded out is put away instead, until it fades in.
    const bool placedByCompositor_;
    bool putAway_ = false;
    bool wanted_ = false;
};
