// SPDX-License-Identifier: GPL-3.0-or-later
// Language files as the INI reader takes them: any bytes, then lookups.
#include "language/IniFile.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    IniFile ini;
    ini.parse(QByteArray(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size)));
    for (const IniFile::Entry &entry : ini.entries()) {
        const QString value = ini.value(entry.key, QString(), entry.section);
        if (value.size() > IniFile::MaxValueLength)
            __builtin_trap();
    }
    ini.value(QStringLiteral("Caption"), QStringLiteral("?"), QStringLiteral("Form1"));
    return 0;
}
