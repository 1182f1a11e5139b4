// SPDX-License-Identifier: GPL-3.0-or-later
#include "tray/TaskbarPosition.h"

// Desktop panels have no common question for their place: the screen's free area
// tells it instead.
std::optional<TaskbarRect> systemTaskbarRect()
{
    return std::nullopt;
}
