// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "YearChart.h"
#include "language/CatalogueWindow.h"

#include <functional>

class QChart;
class QChartView;

// The chart of a year: one bar per month stacked by user, the package as a line
// across the year, the month of the period in progress marked, a month's figure
// on hover. The year box picks another year; the chart can be saved as a PNG or
// SVG image.
class YearChartWindow final : public CatalogueWindow {
    Q_OBJECT
public:
    // `figures` gives the chart of a year; `runningYear` is the year of the
    // period in progress, which the year box lists first.
    YearChartWindow(std::function<yearchart::Chart(int year)> figures, int runningYear);

    void showYear(int year);
    int year() const { return year_; }
    QChart *chart() const;
    QChartView *chartView() const { return view_; }

    // Writes the chart to the file, as SVG when its name ends in ".svg" and as
    // PNG otherwise; false, with *error, when it could not be written.
    bool saveImage(const QString &path, QString *error) const;

signals:
    // Something the user should read.
    void refused(const QString &message);

protected:
    void itemViewsBuilt() override;

private:
    void draw(const yearchart::Chart &figures);
    void yearTyped();
    void askAndSave();
    QString holder(const QString &name) const { return labelText(name); }

    std::function<yearchart::Chart(int)> figures_;
    int runningYear_;
    int year_ = 0;
    QChartView *view_;
};
