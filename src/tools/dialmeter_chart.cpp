// SPDX-License-Identifier: GPL-3.0-or-later
// dialmeter-chart [--year Y]: the chart of a year's connection time, from the
// meter's store, which it reads and never writes. The meter starts it from its
// menu; it runs apart so that the meter itself never loads the charts library.

#include "language/Language.h"
#include "metering/ResetRule.h"
#include "records/YearChartWindow.h"
#include "store/DataFolder.h"
#include "store/DisplayPlatform.h"
#include "store/SettingsStore.h"
#include "store/SqliteStoreBackend.h"
#include "store/Version.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDate>
#include <QFileInfo>
#include <QMessageBox>

#include <cstdio>

namespace {

void tell(const QString &message)
{
    std::fprintf(stderr, "dialmeter-chart: %s\n", qPrintable(message));
    if (QGuiApplication::platformName() != QLatin1String("offscreen"))
        QMessageBox::warning(nullptr, QStringLiteral("Dialmeter"), message);
}

} // namespace

int main(int argc, char *argv[])
{
    // The chart is a window: without a display there is nothing to show it on.
    if (displayplatform::choose(displayplatform::fromProcess()) == displayplatform::Choice::Offscreen) {
        std::fputs("dialmeter-chart: no display found (no DISPLAY, WAYLAND_DISPLAY or QT_QPA_PLATFORM).\n", stderr);
        return 1;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("dialmeter-chart"));
    QApplication::setApplicationVersion(QString::fromLatin1(version::Text));
    QGuiApplication::setDesktopFileName(QString::fromLatin1(version::AppId));

    QCommandLineParser options;
    options.setApplicationDescription(QStringLiteral("The chart of a year's connection time."));
    options.addHelpOption();
    options.addVersionOption();
    const QCommandLineOption yearOption(QStringLiteral("year"), QStringLiteral("The year to show (1 to 9999)."),
                                        QStringLiteral("Y"));
    options.addOption(yearOption);
    options.process(app);

    const QString folder = datafolder::resolve();
    const QString file = datafolder::storeFile(folder);
    SqliteStoreBackend backend;
    // Without a store there is nothing to show yet: every read gives nothing
    // and the chart stays empty.
    QString error;
    if (QFileInfo::exists(file) && !backend.openReadOnly(file, &error))
        tell(error);
    SettingsStore store(backend);
    const int runningYear = resetrule::periodStart(store, QDate::currentDate()).year();

    int year = runningYear;
    if (options.isSet(yearOption)) {
        bool number = false;
        year = options.value(yearOption).toInt(&number);
        if (!number || year < 1 || year > 9999) {
            std::fprintf(stderr, "dialmeter-chart: the year is a number from 1 to 9999, not \"%s\"\n",
                         qPrintable(options.value(yearOption)));
            return 2;
        }
    }

    YearChartWindow window(
        [&store](int shown) { return yearchart::read(store, shown, QDate::currentDate()); }, runningYear);
    QObject::connect(&window, &YearChartWindow::refused, &window, [](const QString &message) { tell(message); });

    // Language files as the meter finds them, in the language it speaks.
    Language language(Language::programFolders(folder), folder);
    language.setErrorHandler([](const QString &message) { tell(message); });
    language.selectStored(store);
    language.apply({&window});

    window.showYear(year);
    window.show();
    return app.exec();
}
