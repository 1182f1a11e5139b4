// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "OptionsForm.h"

#include <QString>

#include <optional>

class ConsoleCore;

// The Options dialog's rules: what it shows when it opens, what "OK" writes, and
// its buttons that act at once.
class OptionsLogic {
public:
    explicit OptionsLogic(ConsoleCore &console);

    // The controls as loaded from the store. A first run (FirstBoot "1") shows
    // the designed defaults with only "OK" to press.
    void load(OptionsForm &form) const;

    // Checks the typed texts; nothing when they can be written, otherwise the
    // message that names the field to put right.
    std::optional<QString> refusal(const OptionsForm &form) const;

    // Writes every option from the controls and applies the position ones.
    // Refused (false, nothing written) when refusal() has something to say.
    bool saveOptions(OptionsForm &form);

    // "OK": the options, the end of any moving, then either the options applied
    // to the console, or, at the first run, the console shown. Returns false
    // when refused.
    bool ok(OptionsForm &form);

    // "Position par défaut": the console 3550 twips from the screen's right edge,
    // 400 from its top.
    void defaultPosition();
    // "Déplacer la console": unlocks a locked console, locks an unlocked one.
    // Returns whether the console can now be moved.
    bool toggleMoving();

    bool firstRun() const;

    // The package for a number of hours ("1.5" or "1,5"): "01:30:00".
    static std::optional<QString> packageFor(const QString &hours);

private:
    void anchor();

    ConsoleCore &console_;
};
