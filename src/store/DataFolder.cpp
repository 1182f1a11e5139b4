// SPDX-License-Identifier: GPL-3.0-or-later
#include "DataFolder.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace datafolder {

QString resolve()
{
    const QString home = qEnvironmentVariable("DIALMETER_HOME");
    if (!home.isEmpty())
        return QDir::cleanPath(QDir(home).absolutePath());
#ifdef Q_OS_UNIX
    const QString machineWide = QStringLiteral("/var/lib/dialmeter");
    if (QFileInfo(machineWide).isDir() && ::access(QFile::encodeName(machineWide).constData(), W_OK) == 0)
        return machineWide;
#endif
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/dialmeter");
}

QString storeFile(const QString &folder)
{
    return folder + QStringLiteral("/registry.db");
}

QString ensure(QString *error)
{
    const QString folder = resolve();
    if (!QDir().mkpath(folder)) {
        *error = QStringLiteral("Le dossier de données %1 n'a pas pu être créé.").arg(folder);
        return {};
    }
    return folder;
}

#ifdef Q_OS_UNIX

namespace {

mode_t folderMode(const QString &folder)
{
    struct stat info {};
    return ::stat(QFile::encodeName(folder).constData(), &info) == 0 ? info.st_mode : 0;
}

} // namespace

void shareNewFilesWithGroup(const QString &folder)
{
    if (!(folderMode(folder) & S_ISGID))
        return;
    const mode_t mask = ::umask(0);
    ::umask(mask & ~mode_t(S_IWGRP | S_IRGRP));
}

QString sharingWarning(const QString &folder)
{
    const mode_t mode = folderMode(folder);
    if (!(mode & S_ISGID) || !(mode & S_IWGRP) || (mode & S_ISVTX))
        return {};
    return QStringLiteral("Le dossier partagé %1 n'est pas protégé : chaque membre du groupe peut y effacer ou "
                          "remplacer les fichiers des autres. Il doit avoir le mode 3775 (chmod 3775 %1 ou "
                          "réinstallation du paquet).")
        .arg(folder);
}

#else

void shareNewFilesWithGroup(const QString &)
{
}

QString sharingWarning(const QString &)
{
    return {};
}

#endif

} // namespace datafolder
