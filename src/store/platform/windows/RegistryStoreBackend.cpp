// SPDX-License-Identifier: GPL-3.0-or-later
#include "RegistryStoreBackend.h"

#include "WideText.h"

#include <algorithm>

namespace {

HKEY rootKey(int root)
{
    switch (root) {
    case 0: return HKEY_CLASSES_ROOT;
    case 1: return HKEY_CURRENT_USER;
    case 2: return HKEY_LOCAL_MACHINE;
    case 3: return HKEY_USERS;
    case 4: return HKEY_CURRENT_CONFIG;
    default: return nullptr;
    }
}

// An open key that closes itself.
class Key {
public:
    Key(int root, const std::string &path, REGSAM access)
    {
        if (const HKEY parent = rootKey(root))
            status_ = RegOpenKeyExW(parent, wide::fromUtf8(path).c_str(), 0, access, &key_);
    }
    ~Key()
    {
        if (key_)
            RegCloseKey(key_);
    }
    Key(const Key &) = delete;
    Key &operator=(const Key &) = delete;
    explicit operator bool() const { return key_ != nullptr; }
    HKEY handle() const { return key_; }
    // Why the key did not open: ERROR_FILE_NOT_FOUND when it does not exist.
    LONG status() const { return status_; }

private:
    HKEY key_ = nullptr;
    LONG status_ = ERROR_FILE_NOT_FOUND;
};

// The text of a value as it was read: text types as they are, a DWORD as its
// decimal digits, anything else has no text.
std::optional<std::string> textOf(DWORD type, const std::vector<BYTE> &data)
{
    if (type == REG_SZ || type == REG_EXPAND_SZ) {
        std::wstring text(reinterpret_cast<const wchar_t *>(data.data()), data.size() / sizeof(wchar_t));
        while (!text.empty() && text.back() == L'\0')
            text.pop_back();
        return wide::toUtf8(text);
    }
    if (type == REG_DWORD && data.size() == sizeof(DWORD)) {
        DWORD number = 0;
        std::copy(data.begin(), data.end(), reinterpret_cast<BYTE *>(&number));
        return std::to_string(number);
    }
    return std::nullopt;
}

// The value's text; a value that does not exist, or has no text, is missing,
// and any other error of the registry is a failed read.
StoreBackend::Lookup lookupValue(HKEY key, const std::wstring &name)
{
    using Status = StoreBackend::ReadStatus;
    DWORD type = 0, size = 0;
    LONG result = RegQueryValueExW(key, name.c_str(), nullptr, &type, nullptr, &size);
    if (result == ERROR_SUCCESS) {
        std::vector<BYTE> data(size);
        result = RegQueryValueExW(key, name.c_str(), nullptr, &type, data.data(), &size);
        if (result == ERROR_SUCCESS) {
            data.resize(size);
            auto text = textOf(type, data);
            return text ? StoreBackend::Lookup{Status::Found, std::move(*text)} : StoreBackend::Lookup{};
        }
    }
    return {result == ERROR_FILE_NOT_FOUND ? Status::Missing : Status::Failed, {}};
}

std::optional<std::string> readValue(HKEY key, const std::wstring &name)
{
    auto found = lookupValue(key, name);
    return found.status == StoreBackend::ReadStatus::Found ? std::optional<std::string>(std::move(found.text))
                                                           : std::nullopt;
}

std::string lowered(const std::string &utf8)
{
    std::wstring text = wide::fromUtf8(utf8);
    if (!text.empty())
        CharLowerBuffW(text.data(), static_cast<DWORD>(text.size()));
    return wide::toUtf8(text);
}

void listInto(int root, const std::string &path, std::vector<StoreBackend::Value> &values)
{
    Key key(root, path, KEY_READ);
    if (!key)
        return;
    wchar_t name[16384];
    for (DWORD index = 0;; ++index) {
        DWORD length = 16384;
        if (RegEnumValueW(key.handle(), index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        const std::wstring valueName(name, length);
        if (const auto text = readValue(key.handle(), valueName))
            values.push_back({root, path, wide::toUtf8(valueName), *text});
    }
    for (DWORD index = 0;; ++index) {
        DWORD length = 256;
        if (RegEnumKeyExW(key.handle(), index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        const std::string sub = wide::toUtf8(std::wstring(name, length));
        listInto(root, path.empty() ? sub : path + "\\" + sub, values);
    }
}

} // namespace

std::optional<std::string> RegistryStoreBackend::read(int root, const std::string &key, const std::string &name)
{
    Key opened(root, key, KEY_QUERY_VALUE);
    if (!opened)
        return std::nullopt;
    return readValue(opened.handle(), wide::fromUtf8(name));
}

StoreBackend::Lookup RegistryStoreBackend::lookup(int root, const std::string &key, const std::string &name)
{
    Key opened(root, key, KEY_QUERY_VALUE);
    if (!opened)
        return {opened.status() == ERROR_FILE_NOT_FOUND ? ReadStatus::Missing : ReadStatus::Failed, {}};
    return lookupValue(opened.handle(), wide::fromUtf8(name));
}

bool RegistryStoreBackend::write(int root, const std::string &key, const std::string &name, const std::string &text,
                                 std::string *error)
{
    const HKEY parent = rootKey(root);
    if (!parent) {
        if (error)
            *error = "no root " + std::to_string(root);
        return false;
    }
    HKEY created = nullptr;
    LONG result = RegCreateKeyExW(parent, wide::fromUtf8(key).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                  KEY_SET_VALUE, nullptr, &created, nullptr);
    if (result == ERROR_SUCCESS) {
        const std::wstring data = wide::fromUtf8(text);
        result = RegSetValueExW(created, wide::fromUtf8(name).c_str(), 0, REG_SZ,
                                reinterpret_cast<const BYTE *>(data.c_str()),
                                static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
        RegCloseKey(created);
    }
    if (result != ERROR_SUCCESS && error)
        *error = wide::errorText(result);
    return result == ERROR_SUCCESS;
}

void RegistryStoreBackend::removeValue(int root, const std::string &key, const std::string &name)
{
    Key opened(root, key, KEY_SET_VALUE);
    if (opened)
        RegDeleteValueW(opened.handle(), wide::fromUtf8(name).c_str());
}

void RegistryStoreBackend::removeKey(int root, const std::string &key)
{
    // The root itself cannot be deleted.
    const HKEY parent = rootKey(root);
    if (parent && !key.empty())
        RegDeleteTreeW(parent, wide::fromUtf8(key).c_str());
}

bool RegistryStoreBackend::keyExists(int root, const std::string &key)
{
    return static_cast<bool>(Key(root, key, KEY_READ));
}

std::vector<StoreBackend::Value> RegistryStoreBackend::list(int root, const std::string &key)
{
    std::vector<Value> values;
    if (!rootKey(root))
        return values;
    listInto(root, key, values);
    std::sort(values.begin(), values.end(), [](const Value &a, const Value &b) {
        const std::string ka = lowered(a.key), kb = lowered(b.key);
        return ka != kb ? ka < kb : lowered(a.name) < lowered(b.name);
    });
    return values;
}
