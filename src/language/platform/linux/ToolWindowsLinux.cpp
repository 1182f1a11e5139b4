// SPDX-License-Identifier: GPL-3.0-or-later
#include "language/ToolWindows.h"

#include <QGuiApplication>
#include <QWidget>

#include <xcb/xcb.h>

#include <array>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

xcb_atom_t atom(xcb_connection_t *connection, const char *name)
{
    const xcb_intern_atom_cookie_t cookie = xcb_intern_atom(connection, 0, static_cast<uint16_t>(std::strlen(name)), name);
    xcb_intern_atom_reply_t *reply = xcb_intern_atom_reply(connection, cookie, nullptr);
    const xcb_atom_t found = reply ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
    std::free(reply);
    return found;
}

} // namespace

void keepOutOfTaskSwitchers(QWidget &window)
{
    // X11 taskbars differ on utility windows (some list them): the window says
    // so itself. A Wayland compositor has no such request, and decides alone.
    // (The offscreen platform answers as an X11 one too, with no connection.)
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t *connection = x11 ? x11->connection() : nullptr;
    if (QGuiApplication::platformName() != QLatin1String("xcb") || !connection)
        return;
    const auto id = static_cast<xcb_window_t>(window.winId());
    const xcb_atom_t state = atom(connection, "_NET_WM_STATE");
    const std::array<xcb_atom_t, 2> wanted{atom(connection, "_NET_WM_STATE_SKIP_TASKBAR"),
                                           atom(connection, "_NET_WM_STATE_SKIP_PAGER")};
    if (state == XCB_ATOM_NONE || wanted[0] == XCB_ATOM_NONE || wanted[1] == XCB_ATOM_NONE)
        return;

    // Set on the window before it is mapped, beside the states it already has:
    // Qt keeps them when it maps the window.
    std::vector<xcb_atom_t> states;
    const xcb_get_property_cookie_t cookie = xcb_get_property(connection, 0, id, state, XCB_ATOM_ATOM, 0, 1024);
    if (xcb_get_property_reply_t *reply = xcb_get_property_reply(connection, cookie, nullptr)) {
        if (reply->type == XCB_ATOM_ATOM && reply->format == 32) {
            const auto *held = static_cast<const xcb_atom_t *>(xcb_get_property_value(reply));
            states.assign(held, held + xcb_get_property_value_length(reply) / sizeof(xcb_atom_t));
        }
        std::free(reply);
    }
    for (const xcb_atom_t add : wanted) {
        if (std::find(states.begin(), states.end(), add) == states.end())
            states.push_back(add);
    }
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id, state, XCB_ATOM_ATOM, 32,
                        static_cast<uint32_t>(states.size()), states.data());
    xcb_flush(connection);
}
