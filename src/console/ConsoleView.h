#pragma once

#include <QString>

// What the console's logic asks of the console window. The window implements it;
// tests implement it with a recorder.
class ConsoleView {
public:
    virtual ~ConsoleView() = default;

    // The month, day and user counters (Txtmois, TxtDay, TextId).
    virtual void showCounters(const QString &month, const QString &day, const QString &user) = 0;
    // The heading of the user line (Label4).
    virtual void setUserHeading(const QString &text) = 0;
    virtual void placeLeft(qint64 twips) = 0;
    virtual void placeTop(qint64 twips) = 0;
    // Puts the console away at once, without animation.
    virtual void hideAtOnce() = 0;
    // The percentage bar: its fill and frame shown or hidden, the fill's width in
    // pixels and the text over it.
    virtual void setPercentBarVisible(bool visible) = 0;
    virtual void setPercentBar(int fillWidthPixels, const QString &caption) = 0;
    // The package-exceeded indicator (stays shown once shown) and the alert window.
    virtual void showPackageIndicator() = 0;
    virtual void openPackageAlert() = 0;

    // The text of a text holder: a word of the language in force.
    virtual QString holderText(const QString &holder) const = 0;
    // The status line (Text1) and the tool tip of the console's surface (Label8).
    virtual void setStatus(const QString &text) = 0;
    virtual void setSurfaceToolTip(const QString &text) = 0;
    // The console fades out and the periodic pop-up comes.
    virtual void cacher2() = 0;
};
