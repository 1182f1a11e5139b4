// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <functional>

class LinkProbe;

// Whether a dial-up connection is up, as the meter asks it several times a
// second. A probe that cannot ask the system counts as not connected; the user is
// told ("ERREUR") once when it starts failing, and again only after it has
// worked in between.
class ConnectionProbe {
public:
    explicit ConnectionProbe(LinkProbe &probe);

    // 1 when the first dial-up link is connected, 0 otherwise.
    int connectionState();

    // Sets the links that count as dial-up links from the stored option: a
    // comma-separated list of shell patterns; empty or missing: the PPP links.
    void setLinkPatterns(const QString &option);

    void setFailureHandler(std::function<void(const QString &)> handler) { onFailure_ = std::move(handler); }

private:
    LinkProbe &probe_;
    std::function<void(const QString &)> onFailure_;
    bool failureReported_ = false;
};
