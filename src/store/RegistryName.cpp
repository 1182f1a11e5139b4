// SPDX-License-Identifier: GPL-3.0-or-later
#include "RegistryName.h"

#include <QStringList>

namespace {

struct RootForm {
    int root;
    const char *shortForm;
    const char *longForm;
};

constexpr RootForm kRoots[] = {
    {0, "HKCR", "HKEY_CLASSES_ROOT"},
    {1, "HKCU", "HKEY_CURRENT_USER"},
    {2, "HKLM", "HKEY_LOCAL_MACHINE"},
    {3, "HKEY_USERS", "HKEY_USERS"},
    {4, "HKEY_CURRENT_CONFIG", "HKEY_CURRENT_CONFIG"},
};

} // namespace

QString RegistryName::prefixOf(int root)
{
    for (const auto &form : kRoots) {
        if (form.root == root)
            return QString::fromLatin1(form.shortForm) + QLatin1Char('\\');
    }
    return {};
}

std::optional<RegistryName> RegistryName::parse(const QString &fullName)
{
    const int firstSlash = fullName.indexOf(QLatin1Char('\\'));
    if (firstSlash <= 0)
        return std::nullopt;
    const QString rootText = fullName.left(firstSlash);
    std::optional<int> root;
    for (const auto &form : kRoots) {
        if (rootText.compare(QLatin1String(form.shortForm), Qt::CaseInsensitive) == 0
            || rootText.compare(QLatin1String(form.longForm), Qt::CaseInsensitive) == 0)
            root = form.root;
    }
    if (!root)
        return std::nullopt;

    RegistryName name;
    name.root = *root;
    const QString rest = fullName.mid(firstSlash + 1);
    const int lastSlash = rest.lastIndexOf(QLatin1Char('\\'));
    name.namesKey = rest.endsWith(QLatin1Char('\\')) || rest.isEmpty();
    name.key = lastSlash < 0 ? QString() : rest.left(lastSlash);
    name.value = rest.mid(lastSlash + 1);
    while (name.key.endsWith(QLatin1Char('\\')))
        name.key.chop(1);
    return name;
}
