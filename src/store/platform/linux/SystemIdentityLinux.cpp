// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/SystemIdentity.h"

#include <cstdlib>
#include <pwd.h>
#include <unistd.h>

namespace {

class LinuxIdentity final : public SystemIdentity {
public:
    std::string logOnName() const override
    {
        if (const passwd *entry = getpwuid(geteuid()); entry && entry->pw_name && *entry->pw_name)
            return entry->pw_name;
        // A user missing from the password database (some containers) is still
        // told apart from the others by its number.
        return "uid" + std::to_string(geteuid());
    }

    int windowsMajorVersion() const override { return 0; }
};

} // namespace

SystemIdentity &platformIdentity()
{
    static LinuxIdentity identity;
    return identity;
}
