// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "language/CatalogueWindow.h"
#include "OptionsForm.h"

class Language;
class OptionsLogic;

// The Options dialog ("Form1"). Its rules are OptionsLogic's; the dialog moves
// the controls' states in and out and follows the controls' events.
class OptionsDialog final : public CatalogueWindow {
    Q_OBJECT
public:
    OptionsDialog(OptionsLogic &logic, const Language &language);

    // Loads the stored options into the controls (after the language), then shows
    // the dialog.
    void reload();
    // Loads without showing.
    void loadValues();

    OptionsForm form() const;

signals:
    // "OK" was refused: the message names the field to put right.
    void refused(const QString &message);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void show(const OptionsForm &form);
    void ok();
    void toggleMoving();

    OptionsLogic &logic_;
    const Language &language_;
};
