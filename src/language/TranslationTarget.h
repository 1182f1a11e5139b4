// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <optional>

// A window as a language file sees it: its name (the section), its caption, and
// its controls in the window's own order, each with a caption and/or a text.
class TranslationTarget {
public:
    virtual ~TranslationTarget() = default;

    virtual QString windowName() const = 0;
    virtual QString caption() const = 0;
    virtual void setCaption(const QString &caption) = 0;

    virtual int controlCount() const = 0;
    virtual QString controlName(int control) const = 0;
    // The index of a control that is an element of a control array; 0 otherwise.
    virtual int controlIndex(int control) const = 0;
    // Nothing when the control has no caption (or no text) at all.
    virtual std::optional<QString> controlCaption(int control) const = 0;
    virtual void setControlCaption(int control, const QString &caption) = 0;
    virtual std::optional<QString> controlText(int control) const = 0;
    virtual void setControlText(int control, const QString &text) = 0;
};
