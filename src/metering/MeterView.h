// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// What the meter shows: its counters, the link's state, the package and the
// user's share of the month. The console window implements it; tests implement
// it with a recorder.
class MeterView {
public:
    virtual ~MeterView() = default;

    // The month, day and user counters (Txtmois, TxtDay, TextId).
    virtual void showCounters(const QString &month, const QString &day, const QString &user) = 0;
    // The percentage bar: its fill and frame shown or hidden, the fill's width in
    // pixels and the text over it.
    virtual void setPercentBarVisible(bool visible) = 0;
    virtual void setPercentBar(int fillWidthPixels, const QString &caption) = 0;
    // The package-exceeded indicator (shown until the month is cleared) and the
    // alert window.
    virtual void showPackageIndicator() = 0;
    virtual void hidePackageIndicator() = 0;
    virtual void openPackageAlert() = 0;

    // The text of a text holder: a word of the language in force.
    virtual QString holderText(const QString &holder) const = 0;
    // The status line (Text1) and the tool tip of the console's surface (Label8).
    virtual void setStatus(const QString &text) = 0;
    virtual void setSurfaceToolTip(const QString &text) = 0;
};
