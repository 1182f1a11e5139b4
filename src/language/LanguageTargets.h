// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>

class TranslationTarget;

// The windows that take the language when the console applies its options: the
// console, the Options dialog, the tray form, the About box, the journal viewer
// and the pop-up, in that order, as far as they exist. A window created later
// takes the language when it is created.
class LanguageTargets {
public:
    virtual ~LanguageTargets() = default;
    virtual QList<TranslationTarget *> windowsToTranslate() = 0;
};
