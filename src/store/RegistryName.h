// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <optional>

// Full registry-style names: a root prefix ("HKLM\", "HKCU\", ...), then the key
// path, then the value name after the last "\". A name that ends with "\" names
// the key itself: its unnamed default value when reading or writing, the whole
// key when deleting.
struct RegistryName {
    int root = 0;
    QString key;   // components joined by "\", without leading or trailing "\"
    QString value; // empty: the key's default value, or the key itself
    bool namesKey = false; // the name ended with "\"

    // The prefix of a root number: 0 "HKCR\", 1 "HKCU\", 2 "HKLM\",
    // 3 "HKEY_USERS\", 4 "HKEY_CURRENT_CONFIG\", any other number empty text.
    static QString prefixOf(int root);

    // Splits a full name. Short and long root forms are accepted, without regard
    // to case; a name with no known root gives nothing.
    static std::optional<RegistryName> parse(const QString &fullName);
};
