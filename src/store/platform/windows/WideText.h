// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// UTF-8 text (the backends' interfaces) to and from the UTF-16 text of the
// Windows API.

#include <string>

#include <windows.h>

namespace wide {

inline std::wstring fromUtf8(const std::string &text)
{
    if (text.empty())
        return {};
    const int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring result(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), result.data(), length);
    return result;
}

inline std::string toUtf8(const std::wstring &text)
{
    if (text.empty())
        return {};
    const int length =
        WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), result.data(), length, nullptr, nullptr);
    return result;
}

// The system's text for an error code, in UTF-8, without its line break.
inline std::string errorText(LONG code)
{
    wchar_t *buffer = nullptr;
    const DWORD length = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM
                                            | FORMAT_MESSAGE_IGNORE_INSERTS,
                                        nullptr, static_cast<DWORD>(code), 0, reinterpret_cast<wchar_t *>(&buffer), 0,
                                        nullptr);
    std::wstring message = length ? std::wstring(buffer, length) : std::wstring();
    LocalFree(buffer);
    while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' || message.back() == L' '))
        message.pop_back();
    return message.empty() ? "error " + std::to_string(code) : toUtf8(message) + " (" + std::to_string(code) + ")";
}

} // namespace wide
