// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/YearChartWindow.h"
#include "support/TestSupport.h"

#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QImage>
#include <QRegularExpression>
#include <QStackedBarSeries>
#include <QTest>

namespace {

// A store of 2003 with alice in March and May, bob in March and July, and
// December known by its total alone; the package is 20 hours. In the period in
// progress, January 2004, alice has an hour.
struct ChartOn2003 {
    ChartOn2003()
    {
        for (const auto &[path, text] : std::initializer_list<std::pair<const char *, const char *>>{
                 {"User\\0", "Total"}, {"User\\1", "alice"}, {"User\\2", "bob"},
                 {"Options\\Forfait", "20:00:00"},
                 {"Compte Rendu\\2003\\3\\Total", "10:00:00"}, {"Compte Rendu\\2003\\3\\alice", "06:00:00"},
                 {"Compte Rendu\\2003\\3\\bob", "04:00:00"}, {"Compte Rendu\\2003\\5\\alice", "02:00:00"},
                 {"Compte Rendu\\2003\\7\\bob", "12:00:00"}, {"Compte Rendu\\2003\\12\\Total", "08:00:00"},
                 {"Variables\\alice", "01:00:00"}}) {
            QVERIFY(t.store.write(SettingsStore::LocalMachine, QStringLiteral("SOFTWARE\\Dialmeter\\") + path,
                                  QString::fromUtf8(text)));
        }
        window.showYear(2003);
        window.show();
    }
    QBarSet *set(const QString &name) const
    {
        for (QAbstractSeries *series : window.chart()->series()) {
            if (auto *bars = qobject_cast<QStackedBarSeries *>(series)) {
                for (QBarSet *set : bars->barSets()) {
                    if (set->label() == name)
                        return set;
                }
            }
        }
        return nullptr;
    }

    TempStore t;
    YearChartWindow window{[this](int year) { return yearchart::read(t.store, year, QDate(2004, 1, 20)); }, 2004};
};

// How many shapes of the SVG are filled with that colour.
int shapesFilled(const QByteArray &svg, const QColor &colour)
{
    const QRegularExpression fill(QStringLiteral("fill=\"%1\"").arg(colour.name()));
    const QRegularExpression shape(QStringLiteral("<(path|rect|polygon)[^>]*>"));
    int count = 0;
    QString text = QString::fromUtf8(svg);
    // Qt's SVG writer sets the fill on a group around the shapes it draws.
    const QStringList groups = text.split(QStringLiteral("<g "));
    for (const QString &group : groups) {
        if (!fill.match(group.section(QLatin1Char('>'), 0, 0)).hasMatch())
            continue;
        for (auto shapes = shape.globalMatch(group); shapes.hasNext(); shapes.next())
            ++count;
    }
    return count;
}

} // namespace

class TestYearChartWindow : public QObject {
    Q_OBJECT
private slots:
    void showsOneSetPerUser();
    void savedSvgHasOneBarPerMonthWithFigures();
    void savedPngIsTheChart();
    void aTypedYearThatIsNotOneIsRefused();
    void aFileThatCannotBeWrittenIsRefused();
};

void TestYearChartWindow::showsOneSetPerUser()
{
    ChartOn2003 c;
    QVERIFY(c.set("alice") && c.set("bob") && c.set("Total"));
    QCOMPARE(c.set("alice")->at(2), 6.0);
    QCOMPARE(c.set("bob")->at(6), 12.0);
    QCOMPARE(c.set("Total")->at(11), 8.0);
    QCOMPARE(c.window.chart()->series().size(), 2); // the bars and the package
    QCOMPARE(c.window.control<QComboBox>("Combo1")->currentText(), QStringLiteral("2003"));
}

void TestYearChartWindow::savedSvgHasOneBarPerMonthWithFigures()
{
    ChartOn2003 c;
    const QList<std::pair<QString, QColor>> colours{
        {"alice", QColor(0x11, 0x22, 0x33)}, {"bob", QColor(0x44, 0x55, 0x66)}, {"Total", QColor(0x77, 0x88, 0x99)}};
    for (const auto &[name, colour] : colours)
        c.set(name)->setColor(colour);
    const QString file = c.t.dir.filePath("chart.svg");
    QString error;
    QVERIFY2(c.window.saveImage(file, &error), qPrintable(error));
    QFile saved(file);
    QVERIFY(saved.open(QIODevice::ReadOnly));
    const QByteArray svg = saved.readAll();
    QVERIFY(svg.contains("<svg"));
    // alice in March and May, bob in March and July, the total in December;
    // the legend's marker adds one shape of each colour.
    QCOMPARE(shapesFilled(svg, colours.at(0).second), 2 + 1);
    QCOMPARE(shapesFilled(svg, colours.at(1).second), 2 + 1);
    QCOMPARE(shapesFilled(svg, colours.at(2).second), 1 + 1);
}

void TestYearChartWindow::savedPngIsTheChart()
{
    ChartOn2003 c;
    const QString file = c.t.dir.filePath("chart.PNG");
    QString error;
    QVERIFY2(c.window.saveImage(file, &error), qPrintable(error));
    QImage image;
    QVERIFY(image.load(file, "PNG"));
    QCOMPARE(image.size(), c.window.chartView()->size() * c.window.chartView()->devicePixelRatio());
}

void TestYearChartWindow::aTypedYearThatIsNotOneIsRefused()
{
    ChartOn2003 c;
    QStringList told;
    connect(&c.window, &YearChartWindow::refused, this, [&told](const QString &message) { told << message; });
    auto *years = c.window.control<QComboBox>("Combo1");
    years->setCurrentText("deux mille");
    QTest::keyClick(years, Qt::Key_Return);
    QCOMPARE(told.size(), 1);
    QVERIFY2(told.first().contains("deux mille"), qPrintable(told.first()));
    QCOMPARE(c.window.year(), 2003);
    QCOMPARE(years->currentText(), QStringLiteral("2003"));

    years->setCurrentText("2004");
    QTest::keyClick(years, Qt::Key_Return);
    QCOMPARE(c.window.year(), 2004);
    QCOMPARE(told.size(), 1);
    // The period in progress: its bar and its month's name marked.
    QVERIFY(c.set("alice"));
    QCOMPARE(c.set("alice")->at(0), 1.0);
    QVERIFY(c.set("alice")->isBarSelected(0));
    QVERIFY(!c.set("alice")->isBarSelected(1));
    QCOMPARE(c.set("bob"), nullptr);
}

void TestYearChartWindow::aFileThatCannotBeWrittenIsRefused()
{
    ChartOn2003 c;
    QString error;
    const QString file = c.t.dir.filePath("no such folder/chart.svg");
    QVERIFY(!c.window.saveImage(file, &error));
    QVERIFY2(error.contains(file), qPrintable(error));
}

QTEST_MAIN(TestYearChartWindow)
#include "tst_yearchartwindow.moc"
