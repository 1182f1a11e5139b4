// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "StoreBackend.h"

#include <memory>
#include <string>

// The settings store of the platform the program is built for: a SQLite file in
// the data folder on Linux, the registry itself on Windows. Nothing, with
// *error, when no store could be opened; *notice says what the user should know
// about the one that was (a damaged file set aside, a store that can only be read).
std::unique_ptr<StoreBackend> openPlatformStore(const std::string &dataFolder, std::string *notice, std::string *error);
