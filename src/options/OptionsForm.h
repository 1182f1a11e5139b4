// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The Options dialog's controls as the rules see them: what each shows and
// whether it can be used.
struct OptionsForm {
    QString language = QStringLiteral("Français"); // LangageCombo
    bool launchAtStartup = true;                  // WinLaunchChk
    bool percentBar = true;                       // PourcentChk
    bool alarm = true;                            // AlarmChk
    bool alarmEnabled = true;
    bool customPackage = false;                   // ForfCustOpt (else IllimitOpt)
    QString hours = QStringLiteral("1");          // List1
    QString packageTime;                          // TempsForfait
    bool customResetDay = false;                  // RazCustOpt (else Raz1erOpt)
    QString resetDay = QStringLiteral("2");       // List2
    bool popup = true;                            // ChkPop
    bool onTop = false;                           // ChkTop
    bool hideCompletely = false;                  // ChkHide
    bool hideCompletelyEnabled = true;
    bool indivisible = false;                     // ChkIndivisible
    bool laterButtonsEnabled = false;             // Annuler, Position par défaut, Déplacer la console
};
