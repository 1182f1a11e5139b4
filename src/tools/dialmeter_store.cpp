// SPDX-License-Identifier: GPL-3.0-or-later
// dialmeter-store: reads and edits the meter's settings store, safely while the
// meter runs. Paths are written as the meter writes them, below HKEY_LOCAL_MACHINE
// unless they start with a root prefix (HKCU\...).

#include "store/DataFolder.h"
#include "store/RegistryName.h"
#include "store/SqliteStoreBackend.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStringList>

#include <cstdio>

namespace {

constexpr int kLocalMachine = 2;

int usage()
{
    std::fputs("usage: dialmeter-store get PATH\n"
               "       dialmeter-store set PATH TEXT\n"
               "       dialmeter-store delete PATH      (a trailing \\ deletes the key with its values)\n"
               "       dialmeter-store list [PATH]\n"
               "PATH is below HKEY_LOCAL_MACHINE unless it starts with a root (HKCU\\...),\n"
               "for example 'SOFTWARE\\Dialmeter\\Options\\Raz'.\n",
               stderr);
    return 2;
}

int fail(const QString &message, int code)
{
    std::fprintf(stderr, "dialmeter-store: %s\n", qPrintable(message));
    return code;
}

// A path as the meter writes it, with HKEY_LOCAL_MACHINE as the default root.
RegistryName nameOf(const QString &path)
{
    if (const auto name = RegistryName::parse(path))
        return *name;
    return *RegistryName::parse(RegistryName::prefixOf(kLocalMachine) + path);
}

// How the meter itself would spell a value's path.
QString display(const StoreBackend::Value &value)
{
    QString text = value.root == kLocalMachine ? QString() : RegistryName::prefixOf(value.root);
    if (!value.key.empty())
        text += QString::fromStdString(value.key) + QLatin1Char('\\');
    return text + QString::fromStdString(value.name);
}

void print(const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stdout);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments().mid(1);
    if (args.isEmpty())
        return usage();
    const QString command = args.at(0);
    const bool writes = command == QLatin1String("set") || command == QLatin1String("delete");
    const int expected = command == QLatin1String("set") ? 3 : command == QLatin1String("list") ? -1 : 2;
    if ((expected > 0 && args.size() != expected) || (expected < 0 && args.size() > 2)
        || !QStringList{"get", "set", "delete", "list"}.contains(command))
        return usage();

    const QString file = datafolder::storeFile(datafolder::resolve());
    if (!writes && !QFileInfo::exists(file)) {
        if (command == QLatin1String("get"))
            return fail(QStringLiteral("no value %1 (no store at %2)").arg(args.at(1), file), 1);
        return 0;
    }
    if (!QDir().mkpath(QFileInfo(file).absolutePath()))
        return fail(QStringLiteral("cannot create the folder of %1").arg(file), 2);
    datafolder::shareNewFilesWithGroup(QFileInfo(file).absolutePath());

    SqliteStoreBackend store;
    QString notice, error;
    if (!store.open(file, &notice, &error))
        return fail(error, 2);
    if (!notice.isEmpty())
        fail(notice, 0);

    const RegistryName name = nameOf(args.value(1));
    const std::string key = name.key.toStdString();
    const std::string value = name.value.toStdString();

    if (command == QLatin1String("get")) {
        const auto text = store.read(name.root, key, value);
        if (!text)
            return fail(QStringLiteral("no value %1").arg(args.at(1)), 1);
        print(QString::fromStdString(*text) + QLatin1Char('\n'));
        return 0;
    }
    if (command == QLatin1String("set")) {
        std::string reason;
        if (!store.write(name.root, key, value, args.at(2).toStdString(), &reason))
            return fail(QStringLiteral("cannot write %1: %2").arg(args.at(1), QString::fromStdString(reason)), 2);
        return 0;
    }
    if (command == QLatin1String("delete")) {
        if (name.namesKey) {
            if (name.key.isEmpty() || !store.keyExists(name.root, key))
                return fail(QStringLiteral("no key %1").arg(args.at(1)), 1);
            store.removeKey(name.root, key);
        } else {
            if (!store.read(name.root, key, value))
                return fail(QStringLiteral("no value %1").arg(args.at(1)), 1);
            store.removeValue(name.root, key, value);
        }
        return 0;
    }

    // list: every value below a key; with no path, below every root.
    QString under = args.value(1);
    if (!under.isEmpty() && !under.endsWith(QLatin1Char('\\')))
        under += QLatin1Char('\\');
    std::vector<StoreBackend::Value> values;
    for (int root = 0; root <= 4; ++root) {
        if (!under.isEmpty() && root != nameOf(under).root)
            continue;
        const auto found = store.list(root, under.isEmpty() ? std::string() : nameOf(under).key.toStdString());
        values.insert(values.end(), found.begin(), found.end());
    }
    for (const auto &entry : values)
        print(display(entry) + QLatin1Char('\t') + QString::fromStdString(entry.text) + QLatin1Char('\n'));
    return 0;
}
