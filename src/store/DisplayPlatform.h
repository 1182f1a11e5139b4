// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// Which of Qt's display platforms the meter runs on, and what that platform
// lets it do with its windows.
namespace displayplatform {

// The variables of the environment the choice depends on.
struct Environment {
    QString qtPlatform;     // QT_QPA_PLATFORM
    QString x11Display;     // DISPLAY
    QString waylandDisplay; // WAYLAND_DISPLAY
};

Environment fromProcess();

enum class Choice {
    Qt,        // the user's QT_QPA_PLATFORM, or Qt's own default
    X11,       // Qt's xcb platform: a Wayland session that also offers X11
    Offscreen, // no display at all: the meter runs without windows
};

Choice choose(const Environment &environment);

// The arguments that start Qt on the chosen platform, to add to the program's
// own ones: the platform, and the X11 window instance name that matches the
// desktop entry (`appId`), so that panels show the entry's icon and name.
QStringList qtArguments(Choice choice, const QString &appId);

// Whether the compositor, not the program, places its windows (a native
// Wayland client): no absolute positions, no sliding windows, no drag by
// moving the window, no whole-window opacity.
bool placedByCompositor(const QString &platformName);

// Whether the window system cuts a window to the mask given to it (X11,
// Windows): elsewhere a mask takes input only, or nothing.
bool cutsWindowsToMasks(const QString &platformName);

} // namespace displayplatform
