// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/StartupEntry.h"

#include <algorithm>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QTextStream>

namespace {

// An XDG autostart entry: $XDG_CONFIG_HOME/autostart/dialmeter.desktop.
class XdgAutostartEntry final : public StartupEntry {
public:
    std::optional<std::string> read() override
    {
        QFile file(path());
        if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
            return std::nullopt;
        QTextStream in(&file);
        while (!in.atEnd()) {
            const QString line = in.readLine();
            if (line.startsWith(QLatin1String("Exec=")))
                return line.mid(5).toStdString();
        }
        return std::string();
    }

    bool write(const std::string &program, std::string *error) override
    {
        const QString file = path();
        if (!QDir().mkpath(QFileInfo(file).absolutePath())) {
            *error = "cannot create " + QFileInfo(file).absolutePath().toStdString();
            return false;
        }
        QSaveFile out(file);
        if (!out.open(QIODevice::WriteOnly | QIODevice::Text)) {
            *error = out.errorString().toStdString();
            return false;
        }
        const QByteArray text = QStringLiteral("[Desktop Entry]\n"
                                               "Type=Application\n"
                                               "Name=Dialmeter\n"
                                               "Comment=Meters dial-up connection time\n"
                                               "Exec=%1\n"
                                               "Icon=dialmeter\n"
                                               "Terminal=false\n"
                                               "X-GNOME-Autostart-enabled=true\n")
                                    .arg(execArgument(QString::fromStdString(program)))
                                    .toUtf8();
        out.write(text);
        if (!out.commit()) {
            *error = out.errorString().toStdString();
            return false;
        }
        return true;
    }

    void remove() override { QFile::remove(path()); }

private:
    static QString path()
    {
        return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
            + QStringLiteral("/autostart/dialmeter.desktop");
    }

    // The program as one argument of an Exec key: quoted when it holds anything
    // but plain characters, with the quoting escapes, then the escapes of a
    // desktop entry's string values, and "%" doubled (field codes).
    static QString execArgument(const QString &program)
    {
        static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
        QString argument = program;
        argument.replace(QLatin1Char('%'), QStringLiteral("%%"));
        const bool quote = std::any_of(argument.begin(), argument.end(), [](QChar c) { return reserved.contains(c); });
        if (quote) {
            QString quoted;
            for (QChar c : argument) {
                if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') || c == QLatin1Char('\\'))
                    quoted += QLatin1Char('\\');
                quoted += c;
            }
            argument = QLatin1Char('"') + quoted + QLatin1Char('"');
        }
        // The value itself is a string: a backslash is written doubled.
        argument.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
        return argument;
    }
};

} // namespace

StartupEntry &platformStartupEntry()
{
    static XdgAutostartEntry entry;
    return entry;
}
