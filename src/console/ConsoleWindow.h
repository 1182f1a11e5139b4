#pragma once

#include "ConsoleView.h"
#include "options/CatalogueWindow.h"

class QLabel;

// The console window ("reg"): the small frameless window with the month, day and
// user figures. It shows what ConsoleCore holds and forwards the user's commands.
class ConsoleWindow final : public CatalogueWindow, public ConsoleView {
    Q_OBJECT
public:
    explicit ConsoleWindow(QWidget *parent = nullptr);

    void showCounters(const QString &month, const QString &day, const QString &user) override;
    void setUserHeading(const QString &text) override;
    void placeLeft(qint64 twips) override;
    void placeTop(qint64 twips) override;
    void hideAtOnce() override;
    void setPercentBarVisible(bool visible) override;
    void setPercentBar(int fillWidthPixels, const QString &caption) override;
    void showPackageIndicator() override;
    void openPackageAlert() override;
    QString holderText(const QString &holder) const override;
    void setStatus(const QString &text) override;
    void setSurfaceToolTip(const QString &text) override;
    void cacher2() override;

signals:
    // The user asks for the menu (right button), at that point of the screen.
    void menuRequested(const QPoint &globalPos);
    void packageAlertRequested();
    // The console's fade-out before the periodic pop-up is asked for.
    void popupFadeRequested();

protected:
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    void setLabel(const char *name, const QString &text);
};
