#include "TestSupport.h"

#include <QFile>
#include <QTest>

TempStore::TempStore()
{
    QString notice, error;
    if (!backend.open(file(), &notice, &error))
        qFatal("cannot open a temporary store: %s", qPrintable(error));
}

ConsoleFixture::ConsoleFixture(const QString &user)
{
    identity.name = user;
    probe.setFailureHandler([this](const QString &message) { told << message; });
}

StartupOutcome ConsoleFixture::run(qint64 screenWidthTwips)
{
    const auto outcome = runEntryProcedure(t.store, identity, journal, screenWidthTwips);
    core.load(screenWidthTwips);
    return outcome;
}

void ConsoleFixture::set(const QString &path, const QString &text)
{
    QVERIFY(t.store.Ecrit(SettingsStore::LocalMachine, QStringLiteral("SOFTWARE\\Dialmeter\\") + path, text));
}

QString ConsoleFixture::get(const QString &path) const
{
    return t.store.Lit(SettingsStore::LocalMachine, QStringLiteral("SOFTWARE\\Dialmeter\\") + path);
}

void ConsoleFixture::ticks(int count)
{
    for (int i = 0; i < count; ++i) {
        tick.Timer1_Timer();
        clock.advanceSeconds(1);
    }
}

QStringList ConsoleFixture::journalLines(int year) const
{
    QFile file(t.dir.filePath(QString::number(year) + QStringLiteral(".txt")));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList lines = QString::fromUtf8(file.readAll()).split(QStringLiteral("\r\n"));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}
