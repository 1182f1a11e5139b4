#pragma once

#include "ConsoleView.h"

#include <QWidget>

class QFrame;
class QLabel;
class QMenu;

// The console window: a small frameless window with the month, day and user
// figures. It shows what ConsoleCore holds and forwards the user's commands.
class ConsoleWindow final : public QWidget, public ConsoleView {
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

signals:
    void quitRequested();

protected:
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    QLabel *addLabel(QWidget *parent, const char *name, const QString &text, const QRect &geometry,
                     Qt::Alignment alignment);

    QLabel *txtMois_ = nullptr;
    QLabel *txtDay_ = nullptr;
    QLabel *textId_ = nullptr;
    QLabel *label4_ = nullptr;
    QLabel *label1_ = nullptr;
    QFrame *shape4_ = nullptr;
    QFrame *shape2_ = nullptr;
    QLabel *picture1_ = nullptr;
    QMenu *menu_ = nullptr;
};
