#include "ConsoleWindow.h"

#include "Twips.h"

#include <QContextMenuEvent>
#include <QLabel>

ConsoleWindow::ConsoleWindow(QWidget *parent)
    : CatalogueWindow(catalogue::reg(), parent, Qt::Tool)
{
}

void ConsoleWindow::setLabel(const char *name, const QString &text)
{
    if (auto *label = control<QLabel>(QString::fromLatin1(name)))
        label->setText(text);
}

void ConsoleWindow::showCounters(const QString &month, const QString &day, const QString &user)
{
    setLabel("Txtmois", month);
    setLabel("TxtDay", day);
    setLabel("TextId", user);
}

void ConsoleWindow::setUserHeading(const QString &text)
{
    setLabel("Label4", text);
}

void ConsoleWindow::placeLeft(qint64 left)
{
    move(static_cast<int>(twips::toPixels(left)), y());
}

void ConsoleWindow::placeTop(qint64 top)
{
    move(x(), static_cast<int>(twips::toPixels(top)));
}

void ConsoleWindow::hideAtOnce()
{
    hide();
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

void ConsoleWindow::openPackageAlert()
{
    emit packageAlertRequested();
}

QString ConsoleWindow::holderText(const QString &holder) const
{
    const auto *label = control<QLabel>(holder);
    return label ? label->text() : QString();
}

void ConsoleWindow::setStatus(const QString &text)
{
    setLabel("Text1", text);
}

void ConsoleWindow::setSurfaceToolTip(const QString &text)
{
    control<QWidget>(QStringLiteral("Label8"))->setToolTip(text);
}

void ConsoleWindow::cacher2()
{
    emit popupFadeRequested();
}

void ConsoleWindow::contextMenuEvent(QContextMenuEvent *event)
{
    emit menuRequested(event->globalPos());
}
