// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The rules every settings store backend keeps, as one table that runs on any
// backend: the SQLite store on Linux and the registry on Windows run the same
// rows. Plain C++ so that it builds where Qt is not available.

#include "store/StoreBackend.h"

#include <string>
#include <vector>

// Runs every rule below `base` (a key path under root 2 that the rules may create
// and delete) and returns a description of each broken one; empty when all hold.
std::vector<std::string> checkStoreBackendRules(StoreBackend &store, const std::string &base);
