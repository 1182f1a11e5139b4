#include "InstanceLock.h"

InstanceLock::InstanceLock(const QString &dataFolder)
    : lock_(dataFolder + QStringLiteral("/dialmeter.lock"))
    , folder_(dataFolder)
{
    // The lock lives as long as the process: never consider a live holder stale.
    lock_.setStaleLockTime(0);
}

bool InstanceLock::acquire(QString *message)
{
    if (lock_.tryLock(0))
        return true;
    qint64 pid = 0;
    QString host, application;
    if (lock_.error() == QLockFile::LockFailedError && lock_.getLockInfo(&pid, &host, &application)) {
        *message = QStringLiteral("Dialmeter compte déjà le temps de connexion pour le dossier %1 "
                                  "(processus %2, %3 sur %4). Un second compteur compterait chaque seconde deux fois.")
                       .arg(folder_, QString::number(pid), application, host);
    } else {
        *message = QStringLiteral("Le verrou du dossier %1 n'a pas pu être pris.").arg(folder_);
    }
    return false;
}
