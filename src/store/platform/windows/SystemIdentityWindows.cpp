// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/SystemIdentity.h"

#include "WideText.h"

#include <lmcons.h>

namespace {

class WindowsIdentity final : public SystemIdentity {
public:
    std::string logOnName() const override
    {
        wchar_t name[UNLEN + 1];
        DWORD length = UNLEN + 1;
        if (GetUserNameW(name, &length) && length > 1)
            return wide::toUtf8(std::wstring(name, length - 1));
        return "Utilisateur";
    }

    // The real major version: GetVersionEx answers what the program's manifest
    // allows it to know, RtlGetVersion what the system is.
    int windowsMajorVersion() const override
    {
        using RtlGetVersion = LONG(WINAPI *)(OSVERSIONINFOW *);
        OSVERSIONINFOW info{};
        info.dwOSVersionInfoSize = sizeof info;
        const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
        const auto get = ntdll ? reinterpret_cast<RtlGetVersion>(
                                     reinterpret_cast<void *>(GetProcAddress(ntdll, "RtlGetVersion")))
                               : nullptr;
        if (get && get(&info) == 0)
            return static_cast<int>(info.dwMajorVersion);
        return 0;
    }
};

} // namespace

SystemIdentity &platformIdentity()
{
    static WindowsIdentity identity;
    return identity;
}
