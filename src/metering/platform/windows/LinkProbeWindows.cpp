// SPDX-License-Identifier: GPL-3.0-or-later
#include "metering/LinkProbe.h"

#include "RasRecords.h"

#include <vector>

namespace {

// The Remote Access Service's first connection: connected when its state is
// RASCS_Connected. Only the first record counts, as it always has; with no
// connection its handle stays 0, the status call fails and the state stays 0.
class RasLinkProbe final : public LinkProbe {
public:
    State firstLinkState() override
    {
        if (!resolved_)
            resolve();
        if (!enumerate_ || !status_)
            return State::Failed;

        std::vector<ras::Connection> connections(ras::Records);
        connections[0].size = sizeof(ras::Connection);
        DWORD size = sizeof(ras::Connection) * ras::Records;
        DWORD count = 0;
        if (enumerate_(connections.data(), &size, &count) != 0)
            return State::Failed;

        ras::Status first{};
        first.size = sizeof(ras::Status);
        status_(connections[0].handle, &first);
        return first.state == ras::Connected ? State::Connected : State::NotConnected;
    }

    // Every RAS connection is a dial-up link: names do not choose among them.
    void setLinkPatterns(std::vector<std::string>) override {}

private:
    // The service's library is loaded when first needed: a system without it
    // (or with it broken) fails the question, not the program's start.
    void resolve()
    {
        resolved_ = true;
        const HMODULE library = LoadLibraryW(L"rasapi32.dll");
        if (!library)
            return;
        enumerate_ = reinterpret_cast<ras::EnumConnections>(
            reinterpret_cast<void *>(GetProcAddress(library, "RasEnumConnectionsA")));
        status_ = reinterpret_cast<ras::GetConnectStatus>(
            reinterpret_cast<void *>(GetProcAddress(library, "RasGetConnectStatusA")));
    }

    bool resolved_ = false;
    ras::EnumConnections enumerate_ = nullptr;
    ras::GetConnectStatus status_ = nullptr;
};

} // namespace

LinkProbe &platformLinkProbe()
{
    static RasLinkProbe probe;
    return probe;
}
