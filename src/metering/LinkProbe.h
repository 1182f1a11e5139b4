// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

// Asks the system about its dial-up links. Only the first dial-up link counts,
// as it always has: with two links, the state of the second one is not seen.
// Plain C++ types so that each platform backend can be built without Qt.
class LinkProbe {
public:
    enum class State { Connected, NotConnected, Failed };

    virtual ~LinkProbe() = default;

    // The state of the first dial-up link; NotConnected when there is none and
    // Failed when the system could not be asked.
    virtual State firstLinkState() = 0;

    // Shell patterns ("wwan*", "ppp0") naming the links that count as dial-up
    // links. Empty: the platform's own kind of dial-up link.
    virtual void setLinkPatterns(std::vector<std::string> patterns) = 0;
};

// The backend of the platform the program is built for.
LinkProbe &platformLinkProbe();
