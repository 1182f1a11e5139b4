// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>

// The system's entry that starts the meter when the user's session starts.
// Plain C++ types so that each platform backend can be built without Qt.
class StartupEntry {
public:
    virtual ~StartupEntry() = default;
    // The program the entry starts, or nothing when there is no entry.
    virtual std::optional<std::string> read() = 0;
    // Makes an entry that starts this program; false, with *error, when refused.
    virtual bool write(const std::string &program, std::string *error) = 0;
    virtual void remove() = 0;
};

// The backend of the platform the program is built for.
StartupEntry &platformStartupEntry();
