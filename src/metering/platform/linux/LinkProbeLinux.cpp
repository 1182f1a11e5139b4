#include "metering/LinkProbe.h"

#include <algorithm>
#include <fstream>
#include <map>

#include <fnmatch.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <net/if_arp.h>

namespace {

// The dial-up links are the links of hardware type PPP, or those named by the
// patterns, taken in interface-index order. Connected means up and running as
// the kernel reports it (the sysfs flags never show "running").
class LinuxLinkProbe final : public LinkProbe {
public:
    State firstLinkState() override
    {
        ifaddrs *list = nullptr;
        if (getifaddrs(&list) != 0)
            return State::Failed;
        // Each link appears once per address family; its flags are the same.
        std::map<unsigned, std::pair<std::string, unsigned>> links; // index -> name, flags
        for (const ifaddrs *entry = list; entry; entry = entry->ifa_next) {
            if (!entry->ifa_name)
                continue;
            const unsigned index = if_nametoindex(entry->ifa_name);
            if (index != 0)
                links.emplace(index, std::make_pair(std::string(entry->ifa_name), entry->ifa_flags));
        }
        freeifaddrs(list);

        for (const auto &[index, link] : links) {
            if (!isDialUp(link.first))
                continue;
            const unsigned flags = link.second;
            return (flags & IFF_UP) && (flags & IFF_RUNNING) ? State::Connected : State::NotConnected;
        }
        return State::NotConnected;
    }

    void setLinkPatterns(std::vector<std::string> patterns) override { patterns_ = std::move(patterns); }

private:
    bool isDialUp(const std::string &name) const
    {
        if (!patterns_.empty()) {
            return std::any_of(patterns_.begin(), patterns_.end(), [&](const std::string &pattern) {
                return fnmatch(pattern.c_str(), name.c_str(), 0) == 0;
            });
        }
        std::ifstream type("/sys/class/net/" + name + "/type");
        int hardware = 0;
        return (type >> hardware) && hardware == ARPHRD_PPP;
    }

    std::vector<std::string> patterns_;
};

} // namespace

LinkProbe &platformLinkProbe()
{
    static LinuxLinkProbe probe;
    return probe;
}
