// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Milliseconds from an arbitrary start on the platform's clock that only runs
// forward: setting the date and time does not move it, and it stands still while
// the machine is suspended. Plain C++ so that each platform backend can be built
// without Qt.
long long platformRunningMilliseconds();
