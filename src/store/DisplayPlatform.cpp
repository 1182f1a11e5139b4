// SPDX-License-Identifier: GPL-3.0-or-later
#include "DisplayPlatform.h"

#include <QtGlobal>

namespace displayplatform {

Environment fromProcess()
{
    return {qEnvironmentVariable("QT_QPA_PLATFORM"), qEnvironmentVariable("DISPLAY"),
            qEnvironmentVariable("WAYLAND_DISPLAY")};
}

Choice choose(const Environment &environment)
{
    if (!environment.qtPlatform.isEmpty())
        return Choice::Qt;
    // Every designed behaviour (the console's place, its drag and slide, the
    // pop-up over the taskbar) needs absolute positions, which only X11 gives:
    // a Wayland session that runs XWayland is used through it.
    if (!environment.x11Display.isEmpty())
        return Choice::X11;
    if (!environment.waylandDisplay.isEmpty())
        return Choice::Qt;
    return Choice::Offscreen;
}

QStringList qtArguments(Choice choice, const QString &appId)
{
    switch (choice) {
    case Choice::X11:
        return {QStringLiteral("-platform"), QStringLiteral("xcb"), QStringLiteral("-name"), appId};
    case Choice::Offscreen:
        return {QStringLiteral("-platform"), QStringLiteral("offscreen")};
    case Choice::Qt:
        break;
    }
    // The instance name is read by the X11 platform only; the others ignore it.
    return {QStringLiteral("-name"), appId};
}

bool placedByCompositor(const QString &platformName)
{
    return platformName.startsWith(QLatin1String("wayland"));
}

bool cutsWindowsToMasks(const QString &platformName)
{
    return platformName == QLatin1String("xcb") || platformName == QLatin1String("windows");
}

} // namespace displayplatform
