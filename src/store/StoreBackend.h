// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <vector>

// Where the settings store keeps its keys and text values. Plain C++ types (UTF-8
// strings) so that a backend can be built where Qt is not available.
//
// A value is addressed by its root (0..4), its key path (components separated by
// "\", no leading or trailing "\"; empty for the root itself) and its name (empty
// for the key's unnamed default value). Key and value names are compared without
// regard to case; the stored spelling is the one of the first write.
class StoreBackend {
public:
    struct Value {
        int root = 0;
        std::string key;
        std::string name;
        std::string text;
    };

    // What a look-up found: the value, its absence, or nothing known because the
    // store could not be read (busy past every retry, an I/O error).
    enum class ReadStatus { Found, Missing, Failed };
    struct Lookup {
        ReadStatus status = ReadStatus::Missing;
        std::string text;
    };

    virtual ~StoreBackend() = default;

    // The stored text, or nothing when the value or its key does not exist (or
    // could not be read).
    virtual std::optional<std::string> read(int root, const std::string &key, const std::string &name) = 0;

    // The stored text, telling a missing value from one that could not be read.
    // A backend whose reads cannot fail need not override it.
    virtual Lookup lookup(int root, const std::string &key, const std::string &name)
    {
        auto text = read(root, key, name);
        return text ? Lookup{ReadStatus::Found, std::move(*text)} : Lookup{};
    }

    // The writes and removals between begin() and commit() reach the store
    // together or not at all; rollback() drops them. A backend without
    // transactions makes them one by one, in order (begin() returns true and
    // commit() does nothing), and its callers order them so that a repeat is
    // harmless. begin() returns false when no transaction could be started.
    // Whether begin() and commit() make the writes between them one change.
    virtual bool hasTransactions() const { return false; }
    virtual bool begin() { return true; }
    virtual bool commit() { return true; }
    virtual void rollback() {}

    // Stores a text value, creating every missing key on its path, as one
    // transaction. Returns false, with the reason in *error, when refused.
    virtual bool write(int root, const std::string &key, const std::string &name, const std::string &text,
                       std::string *error) = 0;

    // Removes one value; nothing happens when it does not exist.
    virtual void removeValue(int root, const std::string &key, const std::string &name) = 0;

    // Removes a key with its values and subkeys; nothing happens when it does not exist.
    virtual void removeKey(int root, const std::string &key) = 0;

    virtual bool keyExists(int root, const std::string &key) = 0;

    // Every value in the key and below it (key empty: the whole root), sorted by
    // key path and name without regard to case.
    virtual std::vector<Value> list(int root, const std::string &key) = 0;
};
