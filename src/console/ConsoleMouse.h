// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPoint>

class ConsoleCore;

// The mouse on the console's surface: a left-button drag moves an unanchored
// console, with the point grabbed staying under the pointer; the right button's
// release opens the menu; a double click hides or shows the console. Positions
// are screen pixels. Where the compositor places the windows, it does the drag.
class ConsoleMouse {
public:
    enum class Button { Left, Right, Other };

    explicit ConsoleMouse(ConsoleCore &console);

    void pressed(Button button, const QPoint &global);
    void moved(const QPoint &global);
    void released(Button button, const QPoint &global);
    void doubleClicked();

private:
    ConsoleCore &console_;
    bool blMove_ = false;
    QPoint grab_; // the pointer's place on the console when the drag began
};
