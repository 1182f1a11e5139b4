// SPDX-License-Identifier: GPL-3.0-or-later
#include "metering/LinkProbe.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <optional>
#include <vector>

#include <fnmatch.h>
#include <linux/netlink.h>
#include <linux/rtnetlink.h>
#include <net/if.h>
#include <net/if_arp.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// The dial-up links are the links of hardware type PPP, or those named by the
// patterns, taken in interface-index order. Connected means up and running as
// the kernel reports it.
//
// Which link is the first dial-up link changes only when links come, go or are
// renamed, and the kernel announces each of those on a routing socket: the
// probe looks for the link again only after such an announcement, and otherwise
// asks for the flags of the link it found, so that a second costs two system
// calls rather than a walk through every link.
class LinuxLinkProbe final : public LinkProbe {
public:
    LinuxLinkProbe()
    {
        sock_ = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        announcements_ = socket(AF_NETLINK, SOCK_RAW | SOCK_CLOEXEC | SOCK_NONBLOCK, NETLINK_ROUTE);
        sockaddr_nl address{};
        address.nl_family = AF_NETLINK;
        address.nl_groups = RTMGRP_LINK;
        if (announcements_ >= 0 && bind(announcements_, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0)
            stopListening();
    }
    ~LinuxLinkProbe() override
    {
        stopListening();
        if (sock_ >= 0)
            close(sock_);
    }
    LinuxLinkProbe(const LinuxLinkProbe &) = delete;
    LinuxLinkProbe &operator=(const LinuxLinkProbe &) = delete;

    State firstLinkState() override
    {
        if (sock_ < 0)
            sock_ = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        if (sock_ < 0)
            return State::Failed;
        if (linksMayHaveChanged() || !found_) {
            found_.reset();
            if (!findFirstDialUpLink())
                return State::Failed;
        }
        if (found_->empty())
            return State::NotConnected;
        ifreq request{};
        std::strncpy(request.ifr_name, found_->c_str(), IFNAMSIZ - 1);
        if (ioctl(sock_, SIOCGIFFLAGS, &request) != 0) {
            // Gone between its announcement and this question: look again next time.
            found_.reset();
            return State::Failed;
        }
        return (request.ifr_flags & IFF_UP) && (request.ifr_flags & IFF_RUNNING) ? State::Connected
                                                                                 : State::NotConnected;
    }

    // Given again with every reading of the options: the same patterns keep
    // the link found.
    void setLinkPatterns(std::vector<std::string> patterns) override
    {
        if (patterns == patterns_)
            return;
        patterns_ = std::move(patterns);
        found_.reset();
    }

private:
    // Reads every announcement waiting; true when there was one, when some were
    // lost, or when there is no way to hear them.
    bool linksMayHaveChanged()
    {
        if (announcements_ < 0)
            return true;
        bool changed = false;
        char buffer[8192];
        for (;;) {
            const ssize_t length = recv(announcements_, buffer, sizeof buffer, MSG_DONTWAIT);
            if (length > 0 || (length < 0 && errno == ENOBUFS)) {
                changed = true;
                continue;
            }
            if (length < 0 && errno == EINTR)
                continue;
            if (length < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
                return changed;
            stopListening();
            return true;
        }
    }

    void stopListening()
    {
        if (announcements_ >= 0)
            close(announcements_);
        announcements_ = -1;
    }

    // The name of the first dial-up link, or an empty name when there is none;
    // false when the system could not be asked.
    bool findFirstDialUpLink()
    {
        struct if_nameindex *links = if_nameindex();
        if (!links)
            return false;
        std::vector<const struct if_nameindex *> ordered;
        for (const struct if_nameindex *entry = links; entry->if_index != 0 && entry->if_name; ++entry)
            ordered.push_back(entry);
        std::sort(ordered.begin(), ordered.end(),
                  [](const struct if_nameindex *a, const struct if_nameindex *b) { return a->if_index < b->if_index; });
        const auto first = std::find_if(ordered.begin(), ordered.end(),
                                        [this](const struct if_nameindex *entry) { return isDialUp(entry->if_name); });
        found_ = first == ordered.end() ? std::string() : std::string((*first)->if_name);
        if_freenameindex(links);
        return true;
    }

    bool isDialUp(const char *name) const
    {
        if (!patterns_.empty()) {
            return std::any_of(patterns_.begin(), patterns_.end(), [&](const std::string &pattern) {
                return fnmatch(pattern.c_str(), name, 0) == 0;
            });
        }
        ifreq request{};
        std::strncpy(request.ifr_name, name, IFNAMSIZ - 1);
        return ioctl(sock_, SIOCGIFHWADDR, &request) == 0 && request.ifr_hwaddr.sa_family == ARPHRD_PPP;
    }

    int sock_ = -1;
    int announcements_ = -1;
    std::vector<std::string> patterns_;
    std::optional<std::string> found_;
};

} // namespace

LinkProbe &platformLinkProbe()
{
    static LinuxLinkProbe probe;
    return probe;
}
