// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "store/StoreBackend.h"

// The store in the Windows registry itself: roots 0 to 4 are HKEY_CLASSES_ROOT,
// HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, HKEY_USERS and HKEY_CURRENT_CONFIG, keys
// and values are the registry's own, and every value is written as REG_SZ. The
// registry compares names without regard to case and makes each write durable
// on its own. A value of another type reads as its text when it has one
// (REG_EXPAND_SZ as stored, REG_DWORD as its decimal digits), otherwise as
// missing.
class RegistryStoreBackend final : public StoreBackend {
public:
    std::optional<std::string> read(int root, const std::string &key, const std::string &name) override;
    // Tells a value or key that does not exist from a registry that could not
    // be read (access denied, an I/O error).
    Lookup lookup(int root, const std::string &key, const std::string &name) override;
    bool write(int root, const std::string &key, const std::string &name, const std::string &text,
               std::string *error) override;
    void removeValue(int root, const std::string &key, const std::string &name) override;
    void removeKey(int root, const std::string &key) override;
    bool keyExists(int root, const std::string &key) override;
    std::vector<Value> list(int root, const std::string &key) override;
};
