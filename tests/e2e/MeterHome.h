// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

// A data folder of its own for the built programs, which run there with no
// display at all. Paths of the programs come from the build.
class MeterHome {
public:
    struct ToolResult {
        int exitCode = -1;
        QString out;
        QString err;
    };

    MeterHome();
    QString path() const { return dir_.path(); }
    QString filePath(const QString &name) const { return dir_.filePath(name); }
    // With a faketime specification ("+0 x10", "@2004-04-01 10:00:00"), the
    // clock of a program started there is faked through libfaketime.
    QProcessEnvironment environment(const QString &fakeTime = {}) const;

    // dialmeter-store with these arguments, to its end.
    ToolResult store(const QStringList &args) const;
    // dialmeter-report with these arguments, to its end, in `env` (by default
    // environment()).
    ToolResult report(const QStringList &args, const QProcessEnvironment &env = {}) const;
    // The text of a stored value, trimmed; empty when it is missing.
    QString get(const QString &path) const { return store({"get", path}).out.trimmed(); }
    bool set(const QString &path, const QString &text) const { return store({"set", path, text}).exitCode == 0; }

    // Starts the meter, in environment(fakeTime).
    void startMeter(QProcess &meter, const QString &fakeTime = {}) const;
    // libfaketime, or an empty text when it is not installed (Debian package faketime).
    static QString fakeTimeLibrary();

private:
    static ToolResult run(const QString &program, const QStringList &args, const QProcessEnvironment &env);
    QTemporaryDir dir_;
};
