// SPDX-License-Identifier: GPL-3.0-or-later
#include "language/ToolWindows.h"

// Qt gives a tool window the WS_EX_TOOLWINDOW style on Windows, which keeps it
// out of the taskbar and of Alt+Tab: there is nothing to add.
void keepOutOfTaskSwitchers(QWidget &)
{
}
