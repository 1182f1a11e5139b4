// SPDX-License-Identifier: GPL-3.0-or-later
#include "MeterApplication.h"
#include "app/Version.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char *argv[])
{
    // With no display at all the meter still meters, journals and stores.
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
        && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        std::fputs("dialmeter: no display found; running without windows (offscreen).\n", stderr);
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("dialmeter"));
    QApplication::setDesktopFileName(QString::fromLatin1(version::AppId));
    QApplication::setQuitOnLastWindowClosed(false);

    MeterApplication meter;
    if (!meter.start())
        return 1;
    return QApplication::exec();
}
