// SPDX-License-Identifier: GPL-3.0-or-later
// dialmeter-report: the meter's figures for scripts, spreadsheets and status
// bars. It reads the store and the journals and writes nothing, so it may run
// while the meter does.

#include "OutlookReport.h"
#include "ReportFigures.h"
#include "outlook/Thresholds.h"
#include "records/JournalConnections.h"
#include "store/Clock.h"
#include "store/DataFile.h"
#include "store/DataFolder.h"
#include "store/Schema.h"
#include "store/SettingsStore.h"
#include "store/SqliteStoreBackend.h"
#include "store/Version.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <cstdio>

namespace {

constexpr int NothingToReport = 1;
constexpr int UsageError = 2;

int fail(const QString &message, int code)
{
    std::fprintf(stderr, "dialmeter-report: %s\n", qPrintable(message));
    return code;
}

void print(const QByteArray &bytes)
{
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stdout);
}

// What the command line asks for, checked.
struct Request {
    QString command;
    QString format;
    std::optional<int> year;
};

int usageError(const QString &message)
{
    return fail(message + QStringLiteral("\nTry 'dialmeter-report --help'."), UsageError);
}

// A report made from the store, opened for reading only: 1 when there is no
// store, 2 when it cannot be read, otherwise the report's own status.
int fromStore(const Request &request, int (*report)(const SettingsStore &store, const Request &request))
{
    const QString folder = datafolder::resolve();
    const QString file = datafolder::storeFile(folder);
    if (!QFileInfo::exists(file) && !QFileInfo(file).isSymLink())
        return fail(QStringLiteral("no store in %1").arg(folder), NothingToReport);
    SqliteStoreBackend backend;
    QString error;
    if (!backend.openReadOnly(file, &error))
        return fail(QStringLiteral("cannot read the store: %1").arg(error), UsageError);
    return report(SettingsStore(backend), request);
}

void printTable(const ReportTable &table, const QString &format)
{
    if (format == QLatin1String("csv"))
        print(table.csv().toUtf8());
    else if (format == QLatin1String("json"))
        print(table.json());
    else
        print(table.text().toUtf8());
}

int months(const SettingsStore &store, const Request &request)
{
    const QDate today = SystemClock().now().date();
    const int year = request.year.value_or(reportfigures::runningYear(store, today));
    const ReportTable table = reportfigures::months(store, year, today);
    if (table.rows.isEmpty())
        return fail(QStringLiteral("no figures for %1").arg(year), NothingToReport);
    printTable(table, request.format);
    return 0;
}

int connections(const Request &request)
{
    const int year = request.year.value_or(SystemClock().now().date().year());
    const QString name = QString::number(year) + QStringLiteral(".txt");
    QFile file(datafolder::resolve() + QLatin1Char('/') + name);
    if (!QFileInfo::exists(file.fileName()) && !QFileInfo(file.fileName()).isSymLink())
        return fail(QStringLiteral("no journal %1").arg(file.fileName()), NothingToReport);
    QString error;
    if (!datafile::open(file, QIODevice::ReadOnly, &error))
        return fail(QStringLiteral("cannot read the journal: %1").arg(error), UsageError);
    const journalconnections::Reading journal = journalconnections::parse(file.readAll());
    if (journal.unreadLines > 0) {
        fail(QStringLiteral("%1 %2 of %3 could not be read")
                 .arg(journal.unreadLines)
                 .arg(journal.unreadLines == 1 ? QStringLiteral("line") : QStringLiteral("lines"), name),
             0);
    }
    if (journal.connections.isEmpty())
        return fail(QStringLiteral("no connection in %1").arg(file.fileName()), NothingToReport);
    printTable(reportfigures::connections(journal), request.format);
    return 0;
}

int outlook(const SettingsStore &store, const Request &request)
{
    constexpr int HKLM = SettingsStore::LocalMachine;
    const PeriodOutlook figures = PeriodOutlook::of(
        store, SystemClock().now(),
        store.value(HKLM, schema::variables::Total.path, schema::variables::Total.defaultText),
        store.value(HKLM, schema::options::Forfait.path, schema::options::Forfait.defaultText));
    const QList<int> thresholds = thresholds::inForce(store.read(HKLM, schema::options::Seuils.path));
    if (request.format == QLatin1String("json"))
        print(outlookreport::json(figures, thresholds));
    else if (request.format == QLatin1String("waybar"))
        print(outlookreport::waybar(figures, thresholds));
    else
        print(outlookreport::text(figures).toUtf8());
    return 0;
}

// Reads the command line; a usage error gives its exit status in *code.
std::optional<Request> readCommandLine(QCommandLineParser &parser, int *code)
{
    const QCommandLineOption yearOption(QStringLiteral("year"), QStringLiteral("The year to report (months, connections)."),
                                        QStringLiteral("Y"));
    const QCommandLineOption formatOption(
        QStringLiteral("format"),
        QStringLiteral("table, csv or json (months, connections); text, json or waybar (outlook)."),
        QStringLiteral("F"));
    parser.setApplicationDescription(QStringLiteral("The figures of the connection-time meter, read without writing."));
    parser.addPositionalArgument(QStringLiteral("command"),
                                 QStringLiteral("months: the months of a year; connections: the year's journal; "
                                                "outlook: the billing period's outlook."));
    parser.addOptions({yearOption, formatOption});
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    if (!parser.parse(QCoreApplication::arguments())) {
        *code = usageError(parser.errorText());
        return std::nullopt;
    }
    if (parser.isSet(help))
        parser.showHelp(0);
    if (parser.isSet(version))
        parser.showVersion();

    const QStringList arguments = parser.positionalArguments();
    if (arguments.size() != 1) {
        *code = usageError(arguments.isEmpty() ? QStringLiteral("a command is needed: months, connections or outlook")
                                               : QStringLiteral("one command only"));
        return std::nullopt;
    }
    Request request{arguments.front(), parser.value(formatOption), std::nullopt};
    const bool tables = request.command == QLatin1String("months") || request.command == QLatin1String("connections");
    if (!tables && request.command != QLatin1String("outlook")) {
        *code = usageError(QStringLiteral("unknown command %1").arg(request.command));
        return std::nullopt;
    }
    const QStringList formats = tables ? QStringList{"table", "csv", "json"} : QStringList{"text", "json", "waybar"};
    if (request.format.isEmpty())
        request.format = formats.front();
    if (!formats.contains(request.format)) {
        *code = usageError(QStringLiteral("%1 has no format %2 (%3)")
                               .arg(request.command, request.format, formats.join(QStringLiteral(", "))));
        return std::nullopt;
    }
    if (parser.isSet(yearOption)) {
        bool number = false;
        const int year = parser.value(yearOption).toInt(&number);
        if (!tables || !number || year < 1 || year > 9999) {
            *code = usageError(tables ? QStringLiteral("the year must be a number from 1 to 9999")
                                      : QStringLiteral("outlook takes no year"));
            return std::nullopt;
        }
        request.year = year;
    }
    return request;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("dialmeter-report"));
    QCoreApplication::setApplicationVersion(QString::fromLatin1(version::Text));
    QCommandLineParser parser;
    int code = 0;
    const std::optional<Request> request = readCommandLine(parser, &code);
    if (!request)
        return code;
    if (request->command == QLatin1String("months"))
        return fromStore(*request, months);
    if (request->command == QLatin1String("connections"))
        return connections(*request);
    return fromStore(*request, outlook);
}
