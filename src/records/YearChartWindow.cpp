// SPDX-License-Identifier: GPL-3.0-or-later
#include "YearChartWindow.h"

#include "metering/DurationText.h"

#include <QBarCategoryAxis>
#include <QBarSet>
#include <QBuffer>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QCursor>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineSeries>
#include <QLocale>
#include <QPainter>
#include <QPushButton>
#include <QSaveFile>
#include <QStackedBarSeries>
#include <QSvgGenerator>
#include <QToolTip>
#include <QValueAxis>
#include <QVBoxLayout>

#include <cmath>

namespace {

constexpr int YearsListed = 10;

// Hours as "hh:mm", to the nearest minute.
QString hoursAndMinutes(double hours)
{
    const qint64 minutes = std::llround(hours * 60);
    const QString text = duration::fromSeconds(minutes * 60);
    return text.left(text.size() - 3);
}

// The chart follows the desktop's light or dark palette.
QChart::ChartTheme themeOf(const QPalette &palette)
{
    return palette.color(QPalette::Window).lightness() < 128 ? QChart::ChartThemeDark : QChart::ChartThemeLight;
}

} // namespace

YearChartWindow::YearChartWindow(std::function<yearchart::Chart(int year)> figures, int runningYear)
    : CatalogueWindow(catalogue::yearChart())
    , figures_(std::move(figures))
    , runningYear_(runningYear)
    , view_(new QChartView(control<QLabel>(QStringLiteral("Picture1"))))
{
    auto *place = control<QLabel>(QStringLiteral("Picture1"));
    auto *layout = new QVBoxLayout(place);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view_);
    view_->setRenderHint(QPainter::Antialiasing);
    connect(control<QPushButton>(QStringLiteral("Command1")), &QPushButton::clicked, this,
            &YearChartWindow::askAndSave);
    connect(control<QPushButton>(QStringLiteral("Command2")), &QPushButton::clicked, this, &QWidget::close);
}

QChart *YearChartWindow::chart() const
{
    return view_->chart();
}

void YearChartWindow::itemViewsBuilt()
{
    auto *years = control<QComboBox>(QStringLiteral("Combo1"));
    years->setEditable(true);
    for (int year = runningYear_; year > runningYear_ - YearsListed; --year)
        years->addItem(QString::number(year));
    years->setCurrentText(QString::number(year_ ? year_ : runningYear_));
    whenChosen(years, [this] { yearTyped(); });
}

void YearChartWindow::yearTyped()
{
    auto *years = control<QComboBox>(QStringLiteral("Combo1"));
    const QString text = years->currentText().trimmed();
    bool number = false;
    const int year = text.toInt(&number);
    if (!number || year < 1 || year > 9999) {
        emit refused(holder(QStringLiteral("AnnéeRefusée")).arg(text));
        years->setCurrentText(QString::number(year_));
        return;
    }
    showYear(year);
}

void YearChartWindow::showYear(int year)
{
    year_ = year;
    if (auto *years = control<QComboBox>(QStringLiteral("Combo1")); years && years->currentText() != QString::number(year))
        years->setCurrentText(QString::number(year));
    draw(figures_(year));
}

void YearChartWindow::draw(const yearchart::Chart &figures)
{
    auto *chart = new QChart;
    chart->setTheme(themeOf(palette()));
    chart->setTitle(holder(QStringLiteral("Titre")).arg(figures.year));
    chart->legend()->setAlignment(Qt::AlignBottom);
    chart->setAnimationOptions(QChart::NoAnimation);

    const QLocale locale = QLocale::system();
    QStringList months;
    for (int month = 1; month <= 12; ++month) {
        const QString name = locale.standaloneMonthName(month, QLocale::ShortFormat);
        months << (month == figures.runningMonth ? holder(QStringLiteral("EnCours")).arg(name) : name);
    }

    auto *bars = new QStackedBarSeries;
    for (qsizetype set = 0; set < figures.users.size(); ++set) {
        auto *bar = new QBarSet(figures.users.at(set));
        for (double hours : figures.hours.at(set))
            bar->append(hours);
        const QString user = figures.users.at(set);
        connect(bar, &QBarSet::hovered, this, [this, bar, user](bool inside, int index) {
            if (!inside) {
                QToolTip::hideText();
                return;
            }
            const QString month = QLocale::system().standaloneMonthName(index + 1, QLocale::LongFormat);
            QToolTip::showText(QCursor::pos(), holder(QStringLiteral("Survol")).arg(user, month,
                                                                                     hoursAndMinutes(bar->at(index))));
        });
        bars->append(bar);
    }
    chart->addSeries(bars);

    auto *monthAxis = new QBarCategoryAxis;
    monthAxis->append(months);
    chart->addAxis(monthAxis, Qt::AlignBottom);
    bars->attachAxis(monthAxis);

    auto *hoursAxis = new QValueAxis;
    hoursAxis->setTitleText(holder(QStringLiteral("Heures")));
    hoursAxis->setRange(0, std::max(1.0, figures.largest * 1.1));
    hoursAxis->applyNiceNumbers();
    hoursAxis->setLabelFormat(QStringLiteral("%.0f"));
    chart->addAxis(hoursAxis, Qt::AlignLeft);
    bars->attachAxis(hoursAxis);

    if (figures.packageHours) {
        // Across the whole width of the bars, from the first month's left edge
        // to the last one's right edge.
        auto *package = new QLineSeries;
        package->setName(holder(QStringLiteral("Forfait")));
        package->append(-0.5, *figures.packageHours);
        package->append(11.5, *figures.packageHours);
        chart->addSeries(package);
        package->attachAxis(monthAxis);
        package->attachAxis(hoursAxis);
        // A colour no user's bars take in either theme.
        package->setPen(QPen(QColor(0xd6, 0x27, 0x28), 2, Qt::DashLine));
    }

    // The period in progress: its bars lighter than the month's others.
    if (figures.runningMonth) {
        for (QBarSet *bar : bars->barSets()) {
            bar->setSelectedColor(bar->color().lighter(140));
            bar->selectBar(figures.runningMonth - 1);
        }
    }

    QChart *old = view_->chart();
    view_->setChart(chart);
    delete old;
}

bool YearChartWindow::saveImage(const QString &path, QString *error) const
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    const QSize size = view_->size();
    if (QFileInfo(path).suffix().compare(QLatin1String("svg"), Qt::CaseInsensitive) == 0) {
        QSvgGenerator svg;
        svg.setOutputDevice(&buffer);
        svg.setSize(size);
        svg.setViewBox(QRect(QPoint(0, 0), size));
        svg.setTitle(chart()->title());
        QPainter painter(&svg);
        view_->render(&painter);
    } else if (!view_->grab().save(&buffer, "PNG")) {
        *error = QStringLiteral("%1 : PNG").arg(path);
        return false;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        *error = QStringLiteral("%1 : %2").arg(path, file.errorString());
        return false;
    }
    return true;
}

void YearChartWindow::askAndSave()
{
    QString chosenFilter;
    const QString suggested = QString::number(year_) + QStringLiteral(".png");
    QString path = QFileDialog::getSaveFileName(this, holder(QStringLiteral("Enregistrer")), suggested,
                                                holder(QStringLiteral("Filtres")), &chosenFilter);
    if (path.isEmpty())
        return;
    // A name without a known suffix takes the one of the chosen type.
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix != QLatin1String("png") && suffix != QLatin1String("svg"))
        path += chosenFilter.contains(QLatin1String("*.svg")) ? QStringLiteral(".svg") : QStringLiteral(".png");
    QString error;
    if (!saveImage(path, &error))
        emit refused(holder(QStringLiteral("NonEnregistré")).arg(error));
}
