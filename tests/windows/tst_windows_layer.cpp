// SPDX-License-Identifier: GPL-3.0-or-later
// The Windows platform layer against the real Windows API (run under Wine): the
// registry store keeps the rules every store backend keeps, the Run-key entry,
// the Remote Access probe through a scripted rasapi32.dll, the user's identity
// the taskbar's rectangle and the running clock. Exits non-zero when any check fails.

#include "metering/LinkProbe.h"
#include "store/RunningTime.h"
#include "store/StartupEntry.h"
#include "store/SystemIdentity.h"
#include "store/platform/windows/RegistryStoreBackend.h"
#include "support/StoreBackendRules.h"
#include "tray/TaskbarPosition.h"

#include <windows.h>

#include <cstdio>
#include <string>

namespace {

int failures = 0;

void check(bool holds, const std::string &what)
{
    std::printf("%s: %s\n", holds ? "PASS" : "FAIL", what.c_str());
    if (!holds)
        ++failures;
}

void storeRules()
{
    RegistryStoreBackend registry;
    const auto broken = checkStoreBackendRules(registry, "SOFTWARE\\Dialmeter Rules");
    for (const std::string &rule : broken)
        check(false, "registry store: " + rule);
    check(broken.empty(), "registry store keeps every store rule");
}

void startupEntry()
{
    StartupEntry &entry = platformStartupEntry();
    RegistryStoreBackend registry;
    const char *run = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
    entry.remove();
    check(!entry.read(), "no entry reads as none");
    std::string error;
    check(entry.write("C:/Program Files/Dialmeter/dialmeter.exe", &error), "the entry is written " + error);
    check(entry.read() == std::string("C:\\Program Files\\Dialmeter\\dialmeter.exe"),
          "the entry holds the program's path with backslashes, no quotes");
    check(registry.read(2, run, "DIALMETER 3") == entry.read(), "it is the value \"Dialmeter 3\" of the machine's Run key");
    HKEY key = nullptr;
    DWORD type = 0;
    const bool isText = RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run", 0,
                                      KEY_QUERY_VALUE, &key) == ERROR_SUCCESS
        && RegQueryValueExW(key, L"Dialmeter 3", nullptr, &type, nullptr, nullptr) == ERROR_SUCCESS && type == REG_SZ;
    if (key)
        RegCloseKey(key);
    check(isText, "its type is REG_SZ");
    entry.remove();
    check(!entry.read(), "a removed entry reads as none");
    entry.remove();
    check(!entry.read(), "removing no entry changes nothing");
}

void probe()
{
    LinkProbe &probe = platformLinkProbe();
    const struct {
        const char *played;
        LinkProbe::State expected;
        const char *what;
    } cases[] = {
        {"none", LinkProbe::State::NotConnected, "no connection: not connected"},
        {"connected", LinkProbe::State::Connected, "one connection up: connected"},
        {"dialling", LinkProbe::State::NotConnected, "one connection still dialling: not connected"},
        {"second", LinkProbe::State::NotConnected, "the first dialling, the second up: not connected"},
        {"failing", LinkProbe::State::Failed, "the service failing: the question fails"},
        {"connected", LinkProbe::State::Connected, "up again after a failure: connected"},
    };
    for (const auto &c : cases) {
        SetEnvironmentVariableA("FAKE_RAS_CASE", c.played);
        check(probe.firstLinkState() == c.expected, std::string("probe, ") + c.what);
    }
}

void identity()
{
    const SystemIdentity &who = platformIdentity();
    char name[256] = {};
    DWORD length = sizeof name;
    GetUserNameA(name, &length);
    check(!who.logOnName().empty() && who.logOnName() == name, "the log-on name is the system's: " + who.logOnName());
    const int major = who.windowsMajorVersion();
    check(major >= 5, "the major version is a modern one: " + std::to_string(major));
}

void taskbar()
{
    const auto bar = systemTaskbarRect();
    const int width = GetSystemMetrics(SM_CXVIRTUALSCREEN), height = GetSystemMetrics(SM_CYVIRTUALSCREEN);
    check(!bar || (bar->right > bar->left && bar->bottom > bar->top && bar->right - bar->left <= width + 2
                   && bar->bottom - bar->top <= height + 2),
          bar ? "the taskbar lies on the screen" : "no taskbar here: the desktop's free area will tell");
}

// The running clock goes forward with time and never back.
void runningTime()
{
    const long long start = platformRunningMilliseconds();
    long long last = start;
    bool backwards = false;
    for (int i = 0; i < 200 && last - start < 50; ++i) {
        Sleep(5);
        const long long now = platformRunningMilliseconds();
        backwards = backwards || now < last;
        last = now;
    }
    check(!backwards && last > start, "the running clock goes forward, never back");
}

} // namespace

int main()
{
    storeRules();
    startupEntry();
    probe();
    identity();
    taskbar();
    runningTime();
    std::printf("%d failed\n", failures);
    return failures == 0 ? 0 : 1;
}
