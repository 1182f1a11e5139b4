// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/StartupEntry.h"

#include "RegistryStoreBackend.h"

#include <algorithm>

namespace {

// The machine-wide Run key: Windows starts every program listed there when a
// user logs on. The entry's name is "Dialmeter 3"; its data the program's full
// path with backslashes, no quotes and no arguments.
class RunKeyEntry final : public StartupEntry {
public:
    std::optional<std::string> read() override { return registry_.read(LocalMachine, RunKey, EntryName); }

    bool write(const std::string &program, std::string *error) override
    {
        std::string path = program;
        std::replace(path.begin(), path.end(), '/', '\\');
        return registry_.write(LocalMachine, RunKey, EntryName, path, error);
    }

    void remove() override { registry_.removeValue(LocalMachine, RunKey, EntryName); }

private:
    static constexpr int LocalMachine = 2;
    static constexpr const char *RunKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
    static constexpr const char *EntryName = "Dialmeter 3";
    RegistryStoreBackend registry_;
};

} // namespace

StartupEntry &platformStartupEntry()
{
    static RunKeyEntry entry;
    return entry;
}
