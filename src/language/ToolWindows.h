// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QWidget;

// Keeps a tool window (the console, the pop-up) out of the desktop's taskbars,
// pagers and task switchers. Called before the window is shown.
void keepOutOfTaskSwitchers(QWidget &window);
