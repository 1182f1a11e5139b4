// SPDX-License-Identifier: GPL-3.0-or-later
// Journal files as the journal viewer lists them: any bytes, every row.
#include "records/JournalItems.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const JournalItems items =
        JournalItems::parse(QByteArray(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size)));
    for (int row = 0; row < items.count(); ++row)
        items.item(row);
    return 0;
}
