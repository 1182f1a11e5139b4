// SPDX-License-Identifier: GPL-3.0-or-later
// A stand-in for the Remote Access Service's library, loaded in place of the
// system's one (WINEDLLOVERRIDES=rasapi32=n,b). The case it plays comes from the
// environment variable FAKE_RAS_CASE, read at every call:
//   none        no connection
//   connected   one connection, connected
//   dialling    one connection, still authenticating
//   second      two connections, the first dialling and the second connected
//   failing     the service cannot be reached
// Like the real service it checks the record sizes it is given.

#include "metering/platform/windows/RasRecords.h"

#include <cstring>
#include <string>

namespace {

constexpr DWORD BufferTooSmall = 603;  // ERROR_BUFFER_TOO_SMALL
constexpr DWORD InvalidSize = 632;     // ERROR_INVALID_SIZE
constexpr DWORD CannotInit = 711;      // ERROR_RASMAN_CANNOT_INITIALIZE
constexpr DWORD InvalidHandle = 6;     // ERROR_INVALID_HANDLE
constexpr DWORD Authenticate = 0x0008; // RASCS_Authenticate

std::string playedCase()
{
    char text[64] = {};
    GetEnvironmentVariableA("FAKE_RAS_CASE", text, sizeof text);
    return text;
}

} // namespace

extern "C" __declspec(dllexport) DWORD WINAPI RasEnumConnectionsA(ras::Connection *buffer, DWORD *size, DWORD *count)
{
    if (!buffer || !size || !count || buffer[0].size != sizeof(ras::Connection))
        return InvalidSize;
    const std::string played = playedCase();
    if (played == "failing")
        return CannotInit;
    const DWORD wanted = played == "second" ? 2 : played == "none" ? 0 : 1;
    if (*size < wanted * sizeof(ras::Connection)) {
        *size = wanted * sizeof(ras::Connection);
        return BufferTooSmall;
    }
    for (DWORD i = 0; i < wanted; ++i) {
        buffer[i].size = sizeof(ras::Connection);
        buffer[i].handle = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(i + 1));
        std::strcpy(buffer[i].entryName, i == 0 ? "Fournisseur" : "Secours");
    }
    *count = wanted;
    return 0;
}

extern "C" __declspec(dllexport) DWORD WINAPI RasGetConnectStatusA(HANDLE connection, ras::Status *status)
{
    if (!status || status->size != sizeof(ras::Status))
        return InvalidSize;
    const std::string played = playedCase();
    const INT_PTR handle = reinterpret_cast<INT_PTR>(connection);
    if (handle < 1 || handle > 2)
        return InvalidHandle;
    const bool connected = played == "connected" || (played == "second" && handle == 2);
    status->state = connected ? ras::Connected : Authenticate;
    return 0;
}
