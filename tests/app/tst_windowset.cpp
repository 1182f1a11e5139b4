// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/WindowSet.h"
#include "language/Language.h"
#include "tray/TrayForm.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

class TestWindowSet : public QObject {
    Q_OBJECT
private slots:
    void chartOpensOnTheViewersYear_data();
    void chartOpensOnTheViewersYear();
    void aChartThatDoesNotStartIsTold();
};

void TestWindowSet::chartOpensOnTheViewersYear_data()
{
    QTest::addColumn<bool>("viewerShown");
    QTest::addColumn<QString>("yearBox");
    QTest::addColumn<QString>("arguments");

    QTest::addRow("the viewer's year") << true << "2005" << "--year 2005 ";
    QTest::addRow("a typed year with spaces") << true << " 1999 " << "--year 1999 ";
    QTest::addRow("text that is no year") << true << "..." << "";
    QTest::addRow("viewer closed: the running year") << false << "2005" << "";
}

void TestWindowSet::chartOpensOnTheViewersYear()
{
    QFETCH(bool, viewerShown);
    QFETCH(QString, yearBox);
    QFETCH(QString, arguments);

    // A stand-in for the chart program that writes down its arguments.
    QTemporaryDir dir;
    const QString program = dir.filePath("chart");
    const QString written = dir.filePath("arguments");
    QFile script(program);
    QVERIFY(script.open(QIODevice::WriteOnly));
    script.write("#!/bin/sh\nfor a in \"$@\"; do printf '%s ' \"$a\"; done > \"$0.tmp\" && mv \"$0.tmp\" \""
                 + written.toUtf8() + "\"\n");
    script.close();
    script.setPermissions(script.permissions() | QFile::ExeOwner);

    Language language{{dir.path()}};
    WindowSet windows(language);
    windows.setChartProgram(program);
    QSignalSpy told(&windows, &WindowSet::message);
    windows.trayForm().control<QComboBox>("Combo1")->setCurrentText(yearBox);
    windows.trayForm().setVisible(viewerShown);
    // The viewer is left open with its typed year: the windows are destroyed so.
    windows.trayForm().control<QAction>("MnuGraphique")->trigger();

    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(written), 60000);
    QFile result(written);
    QVERIFY(result.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(result.readAll()), arguments);
    QCOMPARE(told.size(), 0);
}

void TestWindowSet::aChartThatDoesNotStartIsTold()
{
    QTemporaryDir dir;
    Language language{{dir.path()}};
    WindowSet windows(language);
    const QString missing = dir.filePath("no-chart-here");
    windows.setChartProgram(missing);
    QSignalSpy told(&windows, &WindowSet::message);
    windows.trayForm().control<QAction>("MnuGraphique")->trigger();
    QCOMPARE(told.size(), 1);
    const QString message = told.first().first().toString();
    QVERIFY2(message.contains(missing) && message.contains("graphique"), qPrintable(message));
}

QTEST_MAIN(TestWindowSet)
#include "tst_windowset.moc"
