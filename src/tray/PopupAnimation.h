// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

class ConsoleCore;
class PopupView;

// The periodic pop-up: it slides in from the screen's edge where the taskbar
// lies, rests against the taskbar fading in, stays 200 ticks (two seconds at
// 10 ms), then fades out and slides back out of sight. A click sends it away at
// once. Positions are in twips (15 to a pixel).
class PopupAnimation {
public:
    enum class Edge { None = 0, Left = 1, Right = 2, Top = 3, Bottom = 4 };

    static constexpr int SlideStepTwips = 50;
    static constexpr int FadeStep = 15;
    static constexpr int RestTicks = 200;
    // The first pop-up of a run starts fading in on its 16th slide-in tick.
    static constexpr int FadeInAfterTicks = 16;
    // The pop-up window's size, in twips.
    static constexpr qint64 Width = 3525;
    static constexpr qint64 Height = 735;

    PopupAnimation(ConsoleCore &console, PopupView &view);

    // Places and starts the pop-up. A request while one is under way is kept
    // and served when that one has left.
    void startPopup();
    // One step of the animation (the tray form's Timer3, every 10 ms).
    void step();
    // Sends the pop-up away at once (a click on it).
    void withdrawPopup();

    bool running() const { return running_; }
    Edge edge() const { return edge_; }
    int fadeLevel() const { return fade_; }
    bool arrived() const { return arrived_; }
    bool holding() const { return holding_; }
    bool leaving() const { return leaving_; }

private:
    void decideEdge();
    void fadeStep(int delta);
    void place();

    ConsoleCore &console_;
    PopupView &view_;
    Edge edge_ = Edge::None;
    bool running_ = false;
    bool queued_ = false;
    bool arrived_ = false;
    bool leaving_ = false;
    bool holding_ = false;
    int holdCount_ = 0;
    int fade_ = 0;
    int slideTicks_ = 0;
    qint64 left_ = 0;
    qint64 top_ = 0;
    // The taskbar and the screen in twips, as found by the last startPopup.
    qint64 tbLeft_ = 0, tbTop_ = 0, tbRight_ = 0, tbBottom_ = 0;
    qint64 screenWidth_ = 0, screenHeight_ = 0;
};
