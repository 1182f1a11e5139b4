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

void shareNewFilesWithGroup(const QString &folder)
{
#ifdef Q_OS_UNIX
    struct stat info {};
    if (::stat(QFile::encodeName(folder).constData(), &info) != 0 || !(info.st_mode & S_ISGID))
        return;
    const mode_t mask = ::umask(0);
    ::umask(mask & ~mode_t(S_IWGRP | S_IRGRP));
#else
    Q_UNUSED(folder);
#endif
}

} // namespace datafolder
