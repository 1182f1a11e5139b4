// SPDX-License-Identifier: GPL-3.0-or-later
// Store paths as the meter, the Options dialog and the store tool pass them: a
// root number, a path and a text, written, read back and deleted in a real store.
#include "store/SettingsStore.h"
#include "store/SqliteStoreBackend.h"

#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static QTemporaryDir dir;
    static SqliteStoreBackend backend;
    static SettingsStore store = [] {
        QString notice, error;
        if (!backend.open(dir.filePath(QStringLiteral("registry.db")), &notice, &error))
            __builtin_trap();
        return SettingsStore(backend);
    }();
    if (size < 2)
        return 0;
    const int root = static_cast<int8_t>(data[0]) % 7 - 1;
    const int type = static_cast<int8_t>(data[1]) % 7 - 1;
    const QByteArray rest(reinterpret_cast<const char *>(data + 2), static_cast<qsizetype>(size - 2));
    const qsizetype split = rest.indexOf('\0');
    const QString path = QString::fromUtf8(split < 0 ? rest : rest.left(split));
    const QString text = split < 0 ? QString() : QString::fromUtf8(rest.mid(split + 1));

    const bool written = store.write(root, path, text, type);
    const QString read = store.value(root, path, QStringLiteral("\x01missing"));
    // What was written reads back as written, unless it names a whole key.
    if (written && !path.endsWith(QLatin1Char('\\')) && read != text && type == 0)
        __builtin_trap();
    store.remove(root, path);
    store.value(root, path);
    return 0;
}
