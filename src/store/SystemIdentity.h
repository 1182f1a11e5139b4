// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

// Who runs the meter and on what: the log-on name and the Windows major version
// (0 on systems that are not Windows). Plain C++ types so that each platform
// backend can be built without Qt.
class SystemIdentity {
public:
    virtual ~SystemIdentity() = default;
    virtual std::string logOnName() const = 0;
    virtual int windowsMajorVersion() const = 0;
};

// The backend of the platform the program is built for.
SystemIdentity &platformIdentity();
