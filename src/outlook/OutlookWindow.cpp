// SPDX-License-Identifier: GPL-3.0-or-later
#include "OutlookWindow.h"

#include "PeriodOutlook.h"
#include "ThresholdWarnings.h"
#include "Thresholds.h"
#include "metering/DateText.h"
#include "metering/DurationText.h"

#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

namespace {

QString length(qint64 seconds)
{
    return duration::fromSeconds(seconds);
}

// The moment rounded to the nearest hour: a pace gives no more than that.
QDateTime nearestHour(const QDateTime &moment)
{
    const QDateTime later = moment.addSecs(1800);
    return QDateTime(later.date(), QTime(later.time().hour(), 0));
}

} // namespace

OutlookWindow::OutlookWindow(const Meter &meter, ThresholdWarnings &warnings)
    : CatalogueWindow(catalogue::periodOutlook())
    , meter_(meter)
    , warnings_(warnings)
{
    connect(control<QTimer>(QStringLiteral("Timer1")), &QTimer::timeout, this, &OutlookWindow::refresh);
    connect(control<QPushButton>(QStringLiteral("Command1")), &QPushButton::clicked, this, &QWidget::close);
    connect(control<QPushButton>(QStringLiteral("Command2")), &QPushButton::clicked, this,
            &OutlookWindow::applyThresholds);
    connect(control<QLineEdit>(QStringLiteral("Text1")), &QLineEdit::returnPressed, this,
            &OutlookWindow::applyThresholds);
}

void OutlookWindow::setSentence(const QString &label, const QString &text)
{
    control<QLabel>(label)->setText(text);
}

void OutlookWindow::refresh()
{
    const PeriodOutlook o = PeriodOutlook::of(meter_);
    setSentence(QStringLiteral("Label1"),
                holder(QStringLiteral("Période"))
                    .arg(datetext::date(o.period.start), datetext::date(o.period.end.addDays(-1)),
                         QString::number(o.daysLeft)));

    auto *bar = control<QProgressBar>(QStringLiteral("Bar1"));
    bar->setVisible(o.hasPackage());
    if (o.hasPackage()) {
        const QString share = QString::number(o.sharePercent);
        setSentence(QStringLiteral("Label2"),
                    holder(QStringLiteral("Utilisé")).arg(length(o.used), length(o.package), share));
        bar->setValue(static_cast<int>(qMin<qint64>(o.sharePercent, 100)));
        // The text says what the bar cannot: a share above 100 %.
        bar->setFormat(share + QLatin1Char('%'));
        setSentence(QStringLiteral("Label3"),
                    o.usedUp() ? holder(QStringLiteral("Epuisé")).arg(length(o.used - o.package))
                               : holder(QStringLiteral("Reste")).arg(length(o.remaining), length(o.dailyAllowance)));
    } else {
        setSentence(QStringLiteral("Label2"), holder(QStringLiteral("SansForfait")).arg(length(o.used)));
        setSentence(QStringLiteral("Label3"), {});
    }

    if (!o.paceKnown) {
        setSentence(QStringLiteral("Label4"), holder(QStringLiteral("TropTôt")));
        setSentence(QStringLiteral("Label5"), {});
        return;
    }
    setSentence(QStringLiteral("Label4"),
                holder(QStringLiteral("Rythme")).arg(length(o.averagePerDay), length(o.projection)));
    // With no package there is no verdict.
    QString verdict;
    if (o.hasPackage() && o.withinPackage()) {
        verdict = holder(QStringLiteral("Suffit")).arg(length(o.package - o.projection));
    } else if (o.runsOut) {
        const QDateTime at = nearestHour(*o.runsOut);
        verdict = holder(QStringLiteral("Dépassé"))
                      .arg(length(o.projectedExcess), datetext::date(at.date()),
                           QLocale::system().toString(at.time(), QLocale::ShortFormat));
    } else if (o.hasPackage()) {
        verdict = holder(QStringLiteral("AuDelà")).arg(length(o.projectedExcess));
    }
    setSentence(QStringLiteral("Label5"), verdict);
}

void OutlookWindow::applyThresholds()
{
    auto *field = control<QLineEdit>(QStringLiteral("Text1"));
    QString error;
    if (!warnings_.setThresholds(field->text(), &error)) {
        emit refused(error);
        return;
    }
    field->setText(thresholds::text(warnings_.thresholds()));
}

void OutlookWindow::showEvent(QShowEvent *event)
{
    control<QLineEdit>(QStringLiteral("Text1"))->setText(thresholds::text(warnings_.thresholds()));
    refresh();
    control<QTimer>(QStringLiteral("Timer1"))->start();
    CatalogueWindow::showEvent(event);
}

void OutlookWindow::hideEvent(QHideEvent *event)
{
    control<QTimer>(QStringLiteral("Timer1"))->stop();
    CatalogueWindow::hideEvent(event);
}
