// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "language/CatalogueWindow.h"

class Meter;
class ThresholdWarnings;

// The period outlook ("Form8"): the period's figures in plain sentences and a
// bar, made again every second while the window is shown, and the field of the
// warning thresholds. "OK" and the close box hide it.
class OutlookWindow final : public CatalogueWindow {
    Q_OBJECT
public:
    OutlookWindow(const Meter &meter, ThresholdWarnings &warnings);

    // The figures of this moment.
    void refresh();
    // Stores the thresholds typed in the field; a list that is refused stays
    // there to be put right.
    void applyThresholds();

signals:
    // The typed thresholds were refused: the message says why.
    void refused(const QString &message);

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    // The text of a text holder: a sentence with its places for the figures.
    QString holder(const QString &name) const { return labelText(name); }
    void setSentence(const QString &label, const QString &text);

    const Meter &meter_;
    ThresholdWarnings &warnings_;
};
