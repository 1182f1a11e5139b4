// SPDX-License-Identifier: GPL-3.0-or-later
#include "PopupAnimation.h"

#include "PopupView.h"
#include "console/ConsoleCore.h"
#include "language/Twips.h"
#include "metering/Meter.h"
#include "store/Schema.h"
#include "store/SettingsStore.h"

PopupAnimation::PopupAnimation(ConsoleCore &console, PopupView &view)
    : console_(console)
    , view_(view)
{
}

void PopupAnimation::fadeStep(int delta)
{
    fade_ = qBound(0, fade_ + delta, 255);
    if (!console_.oldWindows)
        view_.setPopupAlpha(fade_);
}

void PopupAnimation::place()
{
    view_.placePopup(left_, top_);
}

void PopupAnimation::decideEdge()
{
    const QSize screen = view_.screenPixels();
    const QRect bar = view_.taskbarPixels();
    const int W = screen.width(), H = screen.height();
    const int L = bar.left(), T = bar.top(), R = bar.left() + bar.width(), B = bar.top() + bar.height();
    tbLeft_ = twips::fromPixels(L);
    tbTop_ = twips::fromPixels(T);
    tbRight_ = twips::fromPixels(R);
    tbBottom_ = twips::fromPixels(B);
    screenWidth_ = twips::fromPixels(W);
    screenHeight_ = twips::fromPixels(H);

    // Tried in this order; a later match wins.
    Edge found = Edge::None;
    if (L == 0 && T == 0 && B == H)
        found = Edge::Left;
    if (T == 0 && L > 1)
        found = Edge::Right;
    if (T == 0 && B < H && R == W)
        found = Edge::Top;
    if (L == 0 && R == W && B == H)
        found = Edge::Bottom;
    if (found != Edge::None)
        edge_ = found;
    // A taskbar no rule recognises: the pop-up comes from the bottom edge
    // rather than standing still for ever.
    if (edge_ == Edge::None) {
        edge_ = Edge::Bottom;
        tbLeft_ = 0;
        tbRight_ = screenWidth_;
        tbTop_ = tbBottom_ = screenHeight_;
    }
}

void PopupAnimation::startPopup()
{
    // Where the compositor places the windows, nothing can slide in over the
    // taskbar: the desktop shows the figures among its notifications.
    if (console_.compositorPlaces) {
        view_.showNotice(console_.meter().monthTotal(), console_.meter().surfaceToolTip());
        return;
    }
    // Dropping the request would leave the console faded out for the pop-up
    // that never comes, and no pop-up would ever come again.
    if (running_) {
        queued_ = true;
        return;
    }
    // Transparent and out of sight before it is first seen.
    view_.loadPopup(console_.meter().monthTotal(), console_.meter().surfaceToolTip());
    if (!console_.oldWindows)
        view_.setPopupAlpha(0);
    arrived_ = false;
    leaving_ = false;
    decideEdge();
    switch (edge_) {
    case Edge::Left:
        top_ = 0;
        left_ = -Width;
        break;
    case Edge::Right:
        top_ = 0;
        left_ = screenWidth_;
        break;
    case Edge::Top:
        top_ = -Height;
        left_ = screenWidth_ - Width - screenWidth_ / 80;
        break;
    case Edge::Bottom:
    case Edge::None:
        top_ = screenHeight_;
        left_ = screenWidth_ - Width - screenWidth_ / 80;
        break;
    }
    place();
    view_.showPopup();
    running_ = true;
    view_.setTimerRunning(true);
}

void PopupAnimation::step()
{
    if (!arrived_) {
        if (leaving_)
            arrived_ = true;
        holding_ = false;
        slideTicks_ = qMin(slideTicks_ + 1, FadeInAfterTicks);
        if (slideTicks_ >= FadeInAfterTicks && fade_ < 255)
            fadeStep(FadeStep);
        bool resting = false;
        switch (edge_) {
        case Edge::Left:
            left_ += SlideStepTwips;
            if ((resting = left_ >= tbRight_))
                left_ = tbRight_;
            break;
        case Edge::Right:
            left_ -= SlideStepTwips;
            if ((resting = left_ <= tbLeft_ - Width))
                left_ = tbLeft_ - Width;
            break;
        case Edge::Top:
            top_ += SlideStepTwips;
            if ((resting = top_ >= tbBottom_))
                top_ = tbBottom_;
            break;
        case Edge::Bottom:
        case Edge::None: {
            top_ -= SlideStepTwips;
            const qint64 rest = screenHeight_ - Height - (tbBottom_ - tbTop_);
            if ((resting = top_ <= rest))
                top_ = rest;
            break;
        }
        }
        place();
        if (resting) {
            arrived_ = true;
            holding_ = true;
            view_.setPopupOnTop(true);
        }
    } else if (holding_) {
        if (fade_ < 255)
            fadeStep(FadeStep);
        if (++holdCount_ >= RestTicks) {
            holdCount_ = 0;
            leaving_ = true;
            console_.hiding().fadeInAfterPopup();
            holding_ = false;
            view_.setPopupOnTop(false);
        }
    }

    if (!leaving_)
        return;
    if (fade_ > 0)
        fadeStep(-FadeStep);
    bool out = false;
    switch (edge_) {
    case Edge::Left:
        left_ -= SlideStepTwips;
        out = left_ <= -Width;
        break;
    case Edge::Right:
        left_ += SlideStepTwips;
        out = left_ >= screenWidth_;
        break;
    case Edge::Top:
        top_ -= SlideStepTwips;
        out = top_ <= -Height;
        break;
    case Edge::Bottom:
    case Edge::None:
        top_ += SlideStepTwips;
        out = top_ >= screenHeight_;
        break;
    }
    place();
    if (out) {
        view_.unloadPopup();
        running_ = false;
        view_.setTimerRunning(false);
    }
    // A console that is not to stay on top goes behind the others meanwhile.
    if (console_.services().store.value(SettingsStore::LocalMachine, schema::options::Top.path) == schema::FlagOff)
        view_.sendConsoleToBottom();
    if (out && queued_) {
        queued_ = false;
        startPopup();
    }
}

void PopupAnimation::withdrawPopup()
{
    console_.hiding().fadeInAfterPopup();
    view_.setPopupOnTop(false);
    leaving_ = true;
}
