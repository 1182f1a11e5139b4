// SPDX-License-Identifier: GPL-3.0-or-later
#include "metering/LinkProbe.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include <fnmatch.h>
#include <net/if.h>
#include <net/if_arp.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// The dial-up links are the links of hardware type PPP, or those named by the
// patterns, taken in interface-index order. Connected means up and running as
// the kernel reports it.
class LinuxLinkProbe final : public LinkProbe {
public:
    State firstLinkState() override
    {
        // The links in index order, from one question to the kernel; then, for
        // each, its hardware type and flags through a socket, until the first
        // dial-up link.
        struct if_nameindex *links = if_nameindex();
        if (!links)
            return State::Failed;
        const int sock = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        if (sock < 0) {
            if_freenameindex(links);
            return State::Failed;
        }
        std::vector<const struct if_nameindex *> ordered;
        for (const struct if_nameindex *entry = links; entry->if_index != 0 && entry->if_name; ++entry)
            ordered.push_back(entry);
        std::sort(ordered.begin(), ordered.end(),
                  [](const struct if_nameindex *a, const struct if_nameindex *b) { return a->if_index < b->if_index; });

        State state = State::NotConnected;
        for (const struct if_nameindex *entry : ordered) {
            if (!isDialUp(sock, entry->if_name))
                continue;
            ifreq request{};
            std::strncpy(request.ifr_name, entry->if_name, IFNAMSIZ - 1);
            if (ioctl(sock, SIOCGIFFLAGS, &request) != 0)
                state = State::Failed;
            else
                state = (request.ifr_flags & IFF_UP) && (request.ifr_flags & IFF_RUNNING) ? State::Connected
                                                                                           : State::NotConnected;
            break;
        }
        close(sock);
        if_freenameindex(links);
        return state;
    }

    void setLinkPatterns(std::vector<std::string> patterns) override { patterns_ = std::move(patterns); }

private:
    bool isDialUp(int sock, const char *name) const
    {
        if (!patterns_.empty()) {
            return std::any_of(patterns_.begin(), patterns_.end(), [&](const std::string &pattern) {
                return fnmatch(pattern.c_str(), name, 0) == 0;
            });
        }
        ifreq request{};
        std::strncpy(request.ifr_name, name, IFNAMSIZ - 1);
        return ioctl(sock, SIOCGIFHWADDR, &request) == 0 && request.ifr_hwaddr.sa_family == ARPHRD_PPP;
    }

    std::vector<std::string> patterns_;
};

} // namespace

LinkProbe &platformLinkProbe()
{
    static LinuxLinkProbe probe;
    return probe;
}
