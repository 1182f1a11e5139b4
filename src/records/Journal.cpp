#include "Journal.h"

#include "app/Clock.h"

#include <QFile>

Journal::Journal(QString folder, const Clock &clock)
    : folder_(std::move(folder))
    , clock_(clock)
{
}

QString Journal::currentFile() const
{
    return folder_ + QLatin1Char('/') + QString::number(clock_.now().date().year()) + QStringLiteral(".txt");
}

bool Journal::ensureCurrentFile() const
{
    QFile file(currentFile());
    if (file.open(QIODevice::ReadOnly))
        return true;
    return file.open(QIODevice::Append);
}
