// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// What the tray's logic asks of the tray form: its words, a yes/no question, and
// its menu.
class TrayView {
public:
    virtual ~TrayView() = default;
    // The text of one of the tray form's text holders ("Sur").
    virtual QString holderText(const QString &holder) const = 0;
    // Asks a question with Yes and No; true for Yes.
    virtual bool askYesNo(const QString &title, const QString &question) = 0;
    // Opens the menu at the pointer, "Quitter" as its default entry; returns
    // when the menu has closed.
    virtual void openMenu() = 0;
};
