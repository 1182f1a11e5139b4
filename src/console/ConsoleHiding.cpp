// SPDX-License-Identifier: GPL-3.0-or-later
#include "ConsoleHiding.h"

#include "ConsoleCore.h"
#include "ConsoleView.h"
#include "store/Schema.h"
#include "store/SettingsStore.h"

namespace {
constexpr int HKLM = SettingsStore::LocalMachine;
constexpr int Opaque = 255;
} // namespace

ConsoleHiding::ConsoleHiding(ConsoleCore &console)
    : console_(console)
{
}

void ConsoleHiding::refreshHidden()
{
    console_.hidden = schema::readTruth(console_.services().store.value(HKLM, schema::options::Cache.path), false);
}

void ConsoleHiding::setAlpha(int alpha)
{
    // Old systems have no layered windows: the animation runs, the look stays.
    if (!console_.oldWindows)
        console_.services().view.setOpacity(alpha);
}

void ConsoleHiding::finish(bool hidden)
{
    console_.hidden = hidden;
    console_.services().store.write(HKLM, schema::options::Cache.path, schema::truthText(hidden));
    console_.services().view.offerShow(hidden);
}

void ConsoleHiding::toggleHidden()
{
    refreshHidden();
    console_.services().view.setTimerRunning(
        console_.slides() ? ConsoleView::Timer::Slide : ConsoleView::Timer::HideFade, true);
}

void ConsoleHiding::slideStep()
{
    ConsoleView &view = console_.services().view;
    if (slideCount_ >= SlideSteps) {
        slideCount_ = 0;
        finish(!console_.hidden);
        view.setTimerRunning(ConsoleView::Timer::Slide, false);
        return;
    }
    ++slideCount_;
    view.placeLeft(view.leftTwips() + (console_.hidden ? -SlideStepTwips : SlideStepTwips));
}

void ConsoleHiding::hideFadeStep()
{
    // 17 steps of 15 reach 255; the 18th tick ends the fade.
    if (hideFade_ > Opaque - FadeStep) {
        hideFade_ = 0;
        finish(!console_.hidden);
        console_.services().view.setTimerRunning(ConsoleView::Timer::HideFade, false);
        return;
    }
    hideFade_ += FadeStep;
    setAlpha(console_.hidden ? hideFade_ : Opaque - hideFade_);
}

void ConsoleHiding::hideAtStart()
{
    refreshHidden();
    ConsoleView &view = console_.services().view;
    if (console_.slides()) {
        // The slid-away place, in a wide integer: a left edge near 32767 twips
        // does not overflow.
        view.placeLeft(console_.shownLeft() + SlideSteps * SlideStepTwips);
    } else {
        setAlpha(0);
    }
    view.offerShow(true);
}

void ConsoleHiding::fadeOutForPopup()
{
    refreshHidden();
    // The figures come as a notification beside the console, which stays.
    if (console_.compositorPlaces) {
        console_.services().view.requestPopup();
        return;
    }
    popupOut_ = true;
    if (!popupShown_)
        console_.services().view.setTimerRunning(ConsoleView::Timer::PopupFade, true);
}

void ConsoleHiding::fadeInAfterPopup()
{
    refreshHidden();
    popupOut_ = false;
    console_.services().view.setTimerRunning(ConsoleView::Timer::PopupFade, true);
}

void ConsoleHiding::popupFadeStep()
{
    ConsoleView &view = console_.services().view;
    if (popupOut_) {
        if (console_.hidden || popupFade_ >= Opaque) {
            popupFade_ = 0;
            view.setTimerRunning(ConsoleView::Timer::PopupFade, false);
            popupShown_ = true;
            view.requestPopup();
            return;
        }
        popupFade_ += FadeStep;
        setAlpha(Opaque - popupFade_);
        return;
    }
    if (!console_.hidden && popupFade_ < Opaque) {
        popupFade_ += FadeStep;
        setAlpha(popupFade_);
        return;
    }
    popupFade_ = 0;
    view.setTimerRunning(ConsoleView::Timer::PopupFade, false);
    popupShown_ = false;
}
