// SPDX-License-Identifier: GPL-3.0-or-later
#include "InstanceLock.h"

#include "store/DataFile.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStringList>
#include <QSysInfo>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <sys/file.h>
#endif
#ifdef Q_OS_WIN
#include <io.h>
#include <windows.h>
#endif

namespace {

// Whether the open file is now this process's alone; *held when another
// process has it.
bool lockExclusively(const QFile &file, bool *held)
{
#ifdef Q_OS_UNIX
    if (::flock(file.handle(), LOCK_EX | LOCK_NB) == 0)
        return true;
    *held = errno == EWOULDBLOCK;
#elif defined(Q_OS_WIN)
    // One byte far past the holder's lines, which a second meter then still
    // reads (a locked range cannot be read through another handle); released
    // when the handle closes.
    OVERLAPPED farByte{};
    farByte.OffsetHigh = 0x7fffffff;
    const auto handle = reinterpret_cast<HANDLE>(::_get_osfhandle(file.handle()));
    if (::LockFileEx(handle, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &farByte))
        return true;
    *held = ::GetLastError() == ERROR_LOCK_VIOLATION;
#else
    Q_UNUSED(file);
    *held = false;
#endif
    return false;
}

} // namespace

InstanceLock::InstanceLock(const QString &dataFolder)
    : folder_(dataFolder)
{
}

InstanceLock::~InstanceLock() = default;

InstanceLock::Outcome InstanceLock::tryLockAt(const QString &path, QString *error)
{
    file_.close();
    file_.setFileName(path);
    // A lock file another member made may be read-only to this user; a lock
    // needs no more than reading.
    if (!datafile::open(file_, QIODevice::ReadWrite, error) && !datafile::open(file_, QIODevice::ReadOnly, error))
        return Outcome::Failed;
    bool held = false;
    if (!lockExclusively(file_, &held))
        return held ? Outcome::Held : Outcome::Failed;
    if (file_.isWritable() && file_.resize(0)) {
        file_.write(QStringLiteral("%1\n%2\n%3\n")
                        .arg(QString::number(QCoreApplication::applicationPid()), QCoreApplication::applicationName(),
                             QSysInfo::machineHostName())
                        .toUtf8());
        file_.flush();
    }
    return Outcome::Taken;
}

QString InstanceLock::holderMessage()
{
    // The holder's process number, program and host, one a line.
    file_.seek(0);
    QStringList holder = QString::fromUtf8(file_.read(1024)).split(QLatin1Char('\n'));
    while (holder.size() < 3)
        holder << QString();
    return QStringLiteral("Dialmeter compte déjà le temps de connexion pour le dossier %1 "
                          "(processus %2, %3 sur %4). Un second compteur compterait chaque seconde deux fois.")
        .arg(folder_, holder.at(0), holder.at(1), holder.at(2));
}

bool InstanceLock::acquire(QString *message, QString *notice)
{
    // The folder's own lock file; when the folder takes none (read-only, full
    // disk), one where this user's programs keep theirs, named after the folder,
    // so that a second meter on it is still refused.
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    const QByteArray folderKey = QCryptographicHash::hash(folder_.toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
    QStringList places{folder_ + QStringLiteral("/dialmeter.lock")};
    if (!runtime.isEmpty())
        places << runtime + QStringLiteral("/dialmeter-%1.lock").arg(QLatin1String(folderKey));
    for (const QString &place : places) {
        QString error;
        switch (tryLockAt(place, &error)) {
        case Outcome::Taken:
            return true;
        case Outcome::Held:
            *message = holderMessage();
            return false;
        case Outcome::Failed:
            // A name that is there but takes no lock (a link, a folder, a pipe or
            // a file this user may not read, planted by another member of a
            // shared folder's group) is never passed over for a lock elsewhere:
            // the other members' meters would not see it.
            if (QFileInfo::exists(place) || QFileInfo(place).isSymLink()) {
                *message = QStringLiteral("%1\nLe compteur ne démarre pas tant que ce verrou est là (seul son "
                                          "propriétaire ou un administrateur peut le supprimer) : un second compteur "
                                          "sur ce dossier ne serait pas refusé.")
                               .arg(error);
                return false;
            }
            break;
        }
    }
    file_.close();
    *notice = QStringLiteral("Le verrou du dossier %1 n'a pas pu être pris : un second compteur sur ce dossier "
                             "ne serait pas refusé.")
                  .arg(folder_);
    return true;
}
