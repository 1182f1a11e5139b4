// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The records the Remote Access Service fills, in their oldest published 8-bit
// text forms (the Windows 95/NT 4 versions of RASCONNA and RASCONNSTATUSA). The
// service tells versions apart by the size field, so the layout is spelled here
// rather than taken from <ras.h>, whose records grow with WINVER.

#include <windows.h>

namespace ras {

struct Connection {
    DWORD size;
    HANDLE handle;
    char entryName[257];
    char deviceType[17];
    char deviceName[129];
};
// 412 bytes in a 32-bit program; the handle is 8 bytes wide in a 64-bit one.
static_assert(sizeof(Connection) == (sizeof(void *) == 4 ? 412 : 424), "RASCONNA of Windows NT 4");

struct Status {
    DWORD size;
    DWORD state;
    DWORD error;
    char deviceType[17];
    char deviceName[129];
};
static_assert(sizeof(Status) == 160, "RASCONNSTATUSA of Windows NT 4");

constexpr int Records = 256;
constexpr DWORD Connected = 0x2000; // RASCS_Connected

using EnumConnections = DWORD(WINAPI *)(Connection *, DWORD *size, DWORD *count);
using GetConnectStatus = DWORD(WINAPI *)(HANDLE, Status *);

} // namespace ras
