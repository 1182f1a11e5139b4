// SPDX-License-Identifier: GPL-3.0-or-later
#include "OptionsDialog.h"

#include "language/Language.h"
#include "OptionsLogic.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

namespace {
constexpr int HoursItems = 150;
constexpr int DayItems = 27;
} // namespace

OptionsDialog::OptionsDialog(OptionsLogic &logic, const Language &language)
    : CatalogueWindow(catalogue::optionsDialog())
    , logic_(logic)
    , language_(language)
{
    connect(control<QPushButton>(QStringLiteral("Command1")), &QPushButton::clicked, this, &OptionsDialog::ok);
    connect(control<QPushButton>(QStringLiteral("Command2")), &QPushButton::clicked, this, &QWidget::hide);
    connect(control<QPushButton>(QStringLiteral("Command3")), &QPushButton::clicked, this,
            [this] { logic_.defaultPosition(); });
    connect(control<QPushButton>(QStringLiteral("Ancrable")), &QPushButton::clicked, this,
            &OptionsDialog::toggleMoving);
    auto *alarm = control<QCheckBox>(QStringLiteral("AlarmChk"));
    connect(control<QRadioButton>(QStringLiteral("IllimitOpt")), &QRadioButton::clicked, alarm,
            [alarm] { alarm->setEnabled(false); });
    connect(control<QRadioButton>(QStringLiteral("ForfCustOpt")), &QRadioButton::clicked, alarm,
            [alarm] { alarm->setEnabled(true); });
    // Going into a list chooses what the list is for.
    control<QWidget>(QStringLiteral("List1"))->installEventFilter(this);
    control<QWidget>(QStringLiteral("List2"))->installEventFilter(this);
}

bool OptionsDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusIn) {
        if (watched == control(QStringLiteral("List1"))) {
            control<QRadioButton>(QStringLiteral("ForfCustOpt"))->setChecked(true);
            control<QCheckBox>(QStringLiteral("AlarmChk"))->setEnabled(true);
        } else if (watched == control(QStringLiteral("List2"))) {
            control<QRadioButton>(QStringLiteral("RazCustOpt"))->setChecked(true);
        }
    }
    return CatalogueWindow::eventFilter(watched, event);
}

void OptionsDialog::loadValues()
{
    language_.apply({this});
    auto *hours = control<QComboBox>(QStringLiteral("List1"));
    if (hours->count() < 100) {
        for (int i = 1; i <= HoursItems; ++i)
            hours->addItem(QString::number(i));
    }
    auto *days = control<QComboBox>(QStringLiteral("List2"));
    if (days->count() < 20) {
        for (int i = 2; i < 2 + DayItems; ++i)
            days->addItem(QString::number(i));
    }
    OptionsForm loaded = form();
    logic_.load(loaded);
    show(loaded);
}

void OptionsDialog::reload()
{
    loadValues();
    QWidget::show();
    raise();
    activateWindow();
}

OptionsForm OptionsDialog::form() const
{
    const auto checked = [this](const char *name) {
        return control<QAbstractButton>(QString::fromLatin1(name))->isChecked();
    };
    const auto text = [this](const char *name) { return control<QComboBox>(QString::fromLatin1(name))->currentText(); };
    OptionsForm form;
    form.language = text("LangageCombo");
    form.launchAtStartup = checked("WinLaunchChk");
    form.percentBar = checked("PourcentChk");
    form.alarm = checked("AlarmChk");
    form.alarmEnabled = control<QWidget>(QStringLiteral("AlarmChk"))->isEnabled();
    form.customPackage = checked("ForfCustOpt");
    form.hours = text("List1");
    form.packageTime = control<QLabel>(QStringLiteral("TempsForfait"))->text();
    form.customResetDay = checked("RazCustOpt");
    form.resetDay = text("List2");
    form.popup = checked("ChkPop");
    form.onTop = checked("ChkTop");
    form.hideCompletely = checked("ChkHide");
    form.hideCompletelyEnabled = control<QWidget>(QStringLiteral("ChkHide"))->isEnabled();
    form.indivisible = checked("ChkIndivisible");
    form.laterButtonsEnabled = control<QWidget>(QStringLiteral("Command2"))->isEnabled();
    return form;
}

void OptionsDialog::show(const OptionsForm &form)
{
    const auto check = [this](const char *name, bool on) {
        control<QAbstractButton>(QString::fromLatin1(name))->setChecked(on);
    };
    control<QComboBox>(QStringLiteral("LangageCombo"))->setCurrentText(form.language);
    check("WinLaunchChk", form.launchAtStartup);
    check("PourcentChk", form.percentBar);
    check("AlarmChk", form.alarm);
    control<QWidget>(QStringLiteral("AlarmChk"))->setEnabled(form.alarmEnabled);
    check(form.customPackage ? "ForfCustOpt" : "IllimitOpt", true);
    control<QComboBox>(QStringLiteral("List1"))->setCurrentText(form.hours);
    control<QLabel>(QStringLiteral("TempsForfait"))->setText(form.packageTime);
    check(form.customResetDay ? "RazCustOpt" : "Raz1erOpt", true);
    control<QComboBox>(QStringLiteral("List2"))->setCurrentText(form.resetDay);
    check("ChkPop", form.popup);
    check("ChkTop", form.onTop);
    check("ChkHide", form.hideCompletely);
    control<QWidget>(QStringLiteral("ChkHide"))->setEnabled(form.hideCompletelyEnabled);
    check("ChkIndivisible", form.indivisible);
    for (const char *button : {"Command2", "Command3", "Ancrable"})
        control<QWidget>(QString::fromLatin1(button))->setEnabled(form.laterButtonsEnabled);
}

void OptionsDialog::ok()
{
    OptionsForm current = form();
    if (const auto message = logic_.refusal(current)) {
        emit refused(*message);
        return;
    }
    logic_.ok(current);
    control<QLabel>(QStringLiteral("TempsForfait"))->setText(current.packageTime);
    control<QPushButton>(QStringLiteral("Ancrable"))->setText(QStringLiteral("Déplacer la console"));
    hide();
}

void OptionsDialog::toggleMoving()
{
    const bool movable = logic_.toggleMoving();
    control<QPushButton>(QStringLiteral("Ancrable"))
        ->setText(movable ? QStringLiteral("Fin du déplacement") : QStringLiteral("Déplacer la console"));
}
