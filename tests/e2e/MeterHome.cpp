// SPDX-License-Identifier: GPL-3.0-or-later
#include "MeterHome.h"


#include <QDir>
#include <QFileInfo>

MeterHome::MeterHome() = default;

QProcessEnvironment MeterHome::environment(const QString &fakeTime) const
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(QString::fromLatin1(name));
    env.insert(QStringLiteral("DIALMETER_HOME"), path());
    // A faked clock comes in through LD_PRELOAD, which a sanitized build must allow.
    env.insert(QStringLiteral("ASAN_OPTIONS"),
               env.value(QStringLiteral("ASAN_OPTIONS")) + QStringLiteral(":verify_asan_link_order=0"));
    // The library is loaded into the program itself, not through the faketime
    // program: that one would stay as the meter's parent, and killing it would
    // leave the meter running.
    if (!fakeTime.isEmpty()) {
        env.insert(QStringLiteral("LD_PRELOAD"), fakeTimeLibrary());
        env.insert(QStringLiteral("FAKETIME"), fakeTime);
    }
    return env;
}

MeterHome::ToolResult MeterHome::store(const QStringList &args) const
{
    return run(QStringLiteral(DIALMETER_STORE_BIN), args, environment());
}

MeterHome::ToolResult MeterHome::report(const QStringList &args, const QProcessEnvironment &env) const
{
    return run(QStringLiteral(DIALMETER_REPORT_BIN), args, env.isEmpty() ? environment() : env);
}

MeterHome::ToolResult MeterHome::run(const QString &program, const QStringList &args,
                                     const QProcessEnvironment &env)
{
    QProcess tool;
    tool.setProcessEnvironment(env);
    tool.start(program, args);
    if (!tool.waitForFinished(30000))
        return {};
    return {tool.exitCode(), QString::fromUtf8(tool.readAllStandardOutput()),
            QString::fromUtf8(tool.readAllStandardError())};
}

void MeterHome::startMeter(QProcess &meter, const QString &fakeTime) const
{
    meter.setProcessEnvironment(environment(fakeTime));
    meter.start(QStringLiteral(DIALMETER_BIN), {});
}

QString MeterHome::fakeTimeLibrary()
{
    const QDir lib(QStringLiteral("/usr/lib"));
    for (const QString &arch : lib.entryList({QStringLiteral("*-linux-gnu*")}, QDir::Dirs)) {
        const QString path = lib.filePath(arch + QStringLiteral("/faketime/libfaketime.so.1"));
        if (QFileInfo::exists(path))
            return path;
    }
    return {};
}
