// SPDX-License-Identifier: GPL-3.0-or-later
#include "DataFile.h"

#ifdef Q_OS_UNIX
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace datafile {

#ifdef Q_OS_UNIX

namespace {

int openFlags(QIODevice::OpenMode mode)
{
    // Non-blocking, so that a planted FIFO never holds the meter at open.
    int flags = O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK;
    if (mode & QIODevice::Append)
        return flags | O_WRONLY | O_CREAT | O_APPEND;
    if (mode & QIODevice::WriteOnly) {
        const int access = (mode & QIODevice::ReadOnly) ? O_RDWR : O_WRONLY;
        return flags | access | O_CREAT | ((mode & QIODevice::Truncate) ? O_TRUNC : 0);
    }
    return flags | O_RDONLY;
}

} // namespace

int openShared(const char *path, int flags, int mode)
{
    if (!(flags & O_CREAT))
        return ::open(path, flags, mode);
    const int existing = flags & ~(O_CREAT | O_EXCL);
    if (flags & O_EXCL)
        return ::open(path, existing | O_CREAT | O_EXCL, mode);
    // A file made or removed by another process between two tries is tried
    // again, a few times.
    for (int attempt = 0; attempt < 8; ++attempt) {
        int fd = ::open(path, existing, mode);
        if (fd >= 0 || errno != ENOENT)
            return fd;
        fd = ::open(path, existing | O_CREAT | O_EXCL, mode);
        if (fd >= 0 || errno != EEXIST)
            return fd;
        // Missing yet there: a link that leads nowhere, never created through.
        struct stat info {};
        if (::lstat(path, &info) == 0 && S_ISLNK(info.st_mode)) {
            errno = ELOOP;
            return -1;
        }
    }
    return -1;
}

bool open(QFile &file, QIODevice::OpenMode mode, QString *error)
{
    const QString path = file.fileName();
    const int fd = openShared(QFile::encodeName(path).constData(), openFlags(mode), 0666);
    if (fd < 0) {
        *error = errno == ELOOP
            ? QStringLiteral("%1 est un lien symbolique : Dialmeter n'écrit ni ne lit au travers d'un lien dans son "
                             "dossier de données.")
                  .arg(path)
            : QStringLiteral("%1 : %2").arg(path, QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        *error = QStringLiteral("%1 n'est pas un fichier ordinaire.").arg(path);
        return false;
    }
    // The descriptor was only non-blocking for the open.
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    if (!file.open(fd, mode, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        *error = QStringLiteral("%1 : %2").arg(path, file.errorString());
        return false;
    }
    return true;
}

bool isTrusted(const QFile &file)
{
    struct stat info {};
    if (!file.isOpen() || ::fstat(file.handle(), &info) != 0)
        return false;
    const bool ownOrSystem = info.st_uid == ::geteuid() || info.st_uid == 0;
    return ownOrSystem && !(info.st_mode & (S_IWGRP | S_IWOTH));
}

#else

bool open(QFile &file, QIODevice::OpenMode mode, QString *error)
{
    if (file.open(mode))
        return true;
    *error = QStringLiteral("%1 : %2").arg(file.fileName(), file.errorString());
    return false;
}

bool isTrusted(const QFile &file)
{
    return file.isOpen();
}

#endif

} // namespace datafile
