#include "ConsoleWindow.h"

#include "Twips.h"

#include <QContextMenuEvent>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QStyle>

namespace {

const QColor kPanel(0xB2, 0xC8, 0xD2);
const QColor kInk(0x40, 0x40, 0x40);

QFont figureFont()
{
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(8.25);
    font.setBold(true);
    return font;
}

QFrame *addShape(QWidget *parent, const char *name, const QRect &geometry, bool filled)
{
    auto *shape = new QFrame(parent);
    shape->setObjectName(QString::fromLatin1(name));
    shape->setGeometry(geometry);
    shape->setStyleSheet(QStringLiteral("QFrame { border: 1px solid %1; background: %2; }")
                             .arg(kInk.name(), filled ? kInk.name() : QStringLiteral("transparent")));
    return shape;
}

} // namespace

ConsoleWindow::ConsoleWindow(QWidget *parent)
    : QWidget(parent, Qt::FramelessWindowHint | Qt::Tool)
{
    setObjectName(QStringLiteral("reg"));
    setWindowTitle(QStringLiteral("Form1"));
    setFixedSize(twips::rect(0, 0, 3750, 1515).size());

    auto *skin = new QLabel(this);
    skin->setObjectName(QStringLiteral("picMainSkin"));
    skin->setGeometry(twips::rect(0, 0, 4875, 2085));
    skin->setStyleSheet(QStringLiteral("QLabel#picMainSkin { background: %1; }").arg(kInk.name()));

    auto *panel = addShape(skin, "Shape1", twips::rect(200, 210, 3350, 1060), false);
    panel->setStyleSheet(QStringLiteral("QFrame { border: 1px solid %1; background: %2; }").arg(kInk.name(), kPanel.name()));

    addLabel(skin, "Text1", QStringLiteral("Please Wait ..."), twips::rect(330, 240, 3150, 255), Qt::AlignHCenter);
    addLabel(skin, "Label3", QStringLiteral("Ce mois :"), twips::rect(375, 480, 1080, 255), Qt::AlignHCenter);
    txtMois_ = addLabel(skin, "Txtmois", {}, twips::rect(1440, 480, 855, 255), Qt::AlignRight);
    addLabel(skin, "Label9", QStringLiteral("Aujourd'hui :"), twips::rect(345, 720, 1095, 255), Qt::AlignHCenter);
    txtDay_ = addLabel(skin, "TxtDay", {}, twips::rect(1440, 720, 855, 255), Qt::AlignRight);
    label4_ = addLabel(skin, "Label4", QStringLiteral("User"), twips::rect(360, 960, 1095, 255), Qt::AlignHCenter);
    textId_ = addLabel(skin, "TextId", {}, twips::rect(1440, 960, 855, 255), Qt::AlignRight);

    shape4_ = addShape(skin, "Shape4", twips::rect(2760, 1000, 495, 135), true);
    shape2_ = addShape(skin, "Shape2", twips::rect(2760, 1000, 495, 135), false);
    shape4_->hide();
    shape2_->hide();
    label1_ = addLabel(skin, "Label1", QStringLiteral("100 %"), twips::rect(2760, 1020, 495, 135), Qt::AlignHCenter);
    QFont small(QStringLiteral("Arial"));
    small.setPointSizeF(5.25);
    label1_->setFont(small);
    label1_->setStyleSheet(QStringLiteral("color: %1; background: transparent;").arg(kPanel.name()));

    picture1_ = new QLabel(skin);
    picture1_->setObjectName(QStringLiteral("Picture1"));
    picture1_->setGeometry(twips::rect(2780, 360, 495, 495));
    picture1_->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(32, 32));
    picture1_->setToolTip(QStringLiteral("Forfait internet dépassé !"));
    picture1_->hide();

    menu_ = new QMenu(this);
    QAction *quit = menu_->addAction(QStringLiteral("Quitter"));
    quit->setObjectName(QStringLiteral("MnuQuitter"));
    connect(quit, &QAction::triggered, this, &ConsoleWindow::quitRequested);
}

QLabel *ConsoleWindow::addLabel(QWidget *parent, const char *name, const QString &text, const QRect &geometry,
                                Qt::Alignment alignment)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(geometry);
    label->setAlignment(alignment | Qt::AlignVCenter);
    label->setFont(figureFont());
    label->setStyleSheet(QStringLiteral("color: %1; background: transparent;").arg(kInk.name()));
    return label;
}

void ConsoleWindow::showCounters(const QString &month, const QString &day, const QString &user)
{
    txtMois_->setText(month);
    txtDay_->setText(day);
    textId_->setText(user);
}

void ConsoleWindow::setUserHeading(const QString &text)
{
    label4_->setText(text);
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
    shape4_->setVisible(visible);
    shape2_->setVisible(visible);
}

void ConsoleWindow::setPercentBar(int fillWidthPixels, const QString &caption)
{
    shape4_->resize(fillWidthPixels, shape4_->height());
    label1_->setText(caption);
}

void ConsoleWindow::showPackageIndicator()
{
    picture1_->show();
}

void ConsoleWindow::openPackageAlert()
{
    auto *box = new QMessageBox(QMessageBox::Warning, QStringLiteral("Dialmeter"),
                                QStringLiteral("Attention, votre forfait internet est dépassé"), QMessageBox::Ok, this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

void ConsoleWindow::contextMenuEvent(QContextMenuEvent *event)
{
    menu_->popup(event->globalPos());
}
