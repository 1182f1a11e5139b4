// SPDX-License-Identifier: GPL-3.0-or-later
#include "tray/TaskbarPosition.h"

#include <windows.h>

#include <shellapi.h>

std::optional<TaskbarRect> systemTaskbarRect()
{
    APPBARDATA bar{};
    bar.cbSize = sizeof bar;
    if (!SHAppBarMessage(ABM_GETTASKBARPOS, &bar) || bar.rc.right <= bar.rc.left || bar.rc.bottom <= bar.rc.top)
        return std::nullopt;
    return TaskbarRect{bar.rc.left, bar.rc.top, bar.rc.right, bar.rc.bottom};
}
