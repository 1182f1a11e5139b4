// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// A TUN interface held open by the test: up and running while it is set up, as
// a dial-up link is while connected. Needs root and /dev/net/tun.
class TunLink {
public:
    // The kernel names it from the pattern ("dmtest0", "dmtest1"...).
    explicit TunLink(const char *namePattern = "dmtest%d");
    ~TunLink();
    TunLink(const TunLink &) = delete;
    TunLink &operator=(const TunLink &) = delete;

    // Empty when the link exists; otherwise why it could not be made.
    QString problem() const { return problem_; }
    QString name() const { return name_; }

    bool setUp(bool up);

private:
    int fd_ = -1;
    QString name_;
    QString problem_;
};
