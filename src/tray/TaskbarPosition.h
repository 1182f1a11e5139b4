// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>

// The taskbar's rectangle in screen pixels (right and bottom exclusive), as the
// system tells it where it has such a question (Windows); nothing elsewhere, and
// the desktop's free area then shows where the panel is. Plain C++ so that each
// platform backend can be built without Qt.
struct TaskbarRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

std::optional<TaskbarRect> systemTaskbarRect();
