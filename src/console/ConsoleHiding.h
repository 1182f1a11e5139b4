// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class ConsoleCore;

// Putting the console away and bringing it back, always animated: sliding
// sideways (Timer2) or fading out where it stands (Timer3), in the style chosen
// in the Options dialog; and the fade around the periodic pop-up (Timer4), which
// leaves the hidden state alone. The window runs the timers and applies the
// positions and opacities; the steps are counted here.
class ConsoleHiding {
public:
    static constexpr int SlideSteps = 45;
    static constexpr int SlideStepTwips = 75;
    static constexpr int FadeStep = 15;

    explicit ConsoleHiding(ConsoleCore &console);

    // Hides a shown console, shows a hidden one.
    void toggleHidden();
    // Puts the console straight into the hidden state, for a hidden start.
    void hideAtStart();
    // Fades the console out, then asks for the pop-up.
    void fadeOutForPopup();
    // Fades the console back in after the pop-up.
    void fadeInAfterPopup();

    void slideStep();
    void hideFadeStep();
    void popupFadeStep();

    bool popupShown() const { return popupShown_; }

private:
    void refreshHidden();
    void finish(bool hidden);
    void setAlpha(int alpha);

    ConsoleCore &console_;
    int slideCount_ = 0;
    int hideFade_ = 0;
    int popupFade_ = 0;
    bool popupOut_ = false;
    bool popupShown_ = false;
};
