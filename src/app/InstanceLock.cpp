#include "InstanceLock.h"

#include <QCryptographicHash>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStringList>

InstanceLock::InstanceLock(const QString &dataFolder)
    : folder_(dataFolder)
{
}

InstanceLock::~InstanceLock() = default;

bool InstanceLock::tryLockAt(const QString &file)
{
    lock_ = std::make_unique<QLockFile>(file);
    // The lock lives as long as the process: never consider a live holder stale.
    lock_->setStaleLockTime(0);
    return lock_->tryLock(0);
}

QString InstanceLock::holderMessage() const
{
    qint64 pid = 0;
    QString host, application;
    lock_->getLockInfo(&pid, &host, &application);
    return QStringLiteral("Dialmeter compte déjà le temps de connexion pour le dossier %1 "
                          "(processus %2, %3 sur %4). Un second compteur compterait chaque seconde deux fois.")
        .arg(folder_, QString::number(pid), application, host);
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
        if (tryLockAt(place))
            return true;
        if (lock_->error() == QLockFile::LockFailedError) {
            // A link in its place (planted by another member of a shared
            // folder's group) is never taken for a meter that holds the folder.
            *message = QFileInfo(place).isSymLink()
                ? QStringLiteral("Le verrou %1 est un lien symbolique : le compteur ne démarre pas tant qu'il est "
                                 "là (seul son propriétaire ou un administrateur peut le supprimer).")
                      .arg(place)
                : holderMessage();
            return false;
        }
    }
    *notice = QStringLiteral("Le verrou du dossier %1 n'a pas pu être pris : un second compteur sur ce dossier "
                             "ne serait pas refusé.")
                  .arg(folder_);
    return true;
}
