#include "metering/LinkProbe.h"

#include <algorithm>
#include <map>

#include <fnmatch.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <net/if_arp.h>
#include <netpacket/packet.h>

namespace {

// The dial-up links are the links of hardware type PPP, or those named by the
// patterns, taken in interface-index order. Connected means up and running as
// the kernel reports it.
class LinuxLinkProbe final : public LinkProbe {
public:
    State firstLinkState() override
    {
        ifaddrs *list = nullptr;
        if (getifaddrs(&list) != 0)
            return State::Failed;
        // Each link appears once as a packet-level entry, which carries its index
        // and hardware type: no further question to the kernel per link.
        struct Link {
            std::string name;
            unsigned flags;
            unsigned short hardware;
        };
        std::map<int, Link> links; // by interface index
        for (const ifaddrs *entry = list; entry; entry = entry->ifa_next) {
            if (!entry->ifa_name || !entry->ifa_addr || entry->ifa_addr->sa_family != AF_PACKET)
                continue;
            const auto *packet = reinterpret_cast<const sockaddr_ll *>(entry->ifa_addr);
            links.emplace(packet->sll_ifindex, Link{entry->ifa_name, entry->ifa_flags, packet->sll_hatype});
        }
        freeifaddrs(list);

        for (const auto &[index, link] : links) {
            if (!isDialUp(link.name, link.hardware))
                continue;
            return (link.flags & IFF_UP) && (link.flags & IFF_RUNNING) ? State::Connected : State::NotConnected;
        }
        return State::NotConnected;
    }

    void setLinkPatterns(std::vector<std::string> patterns) override { patterns_ = std::move(patterns); }

private:
    bool isDialUp(const std::string &name, unsigned short hardware) const
    {
        if (patterns_.empty())
            return hardware == ARPHRD_PPP;
        return std::any_of(patterns_.begin(), patterns_.end(), [&](const std::string &pattern) {
            return fnmatch(pattern.c_str(), name.c_str(), 0) == 0;
        });
    }

    std::vector<std::string> patterns_;
};

} // namespace

LinkProbe &platformLinkProbe()
{
    static LinuxLinkProbe probe;
    return probe;
}
