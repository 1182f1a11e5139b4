// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>

#include <functional>
#include <optional>

class Meter;

// Early warnings: when the month reaches one of the chosen shares of the package
// (Options\Seuils), the user is told once in the period. The thresholds given
// are stored, so that a restart does not tell again; the rollover clears them,
// and one the month has fallen below again (a reset by hand, a larger package)
// may be given again when it is reached.
class ThresholdWarnings {
public:
    // Shows a desktop notification: its title and its text.
    using Notify = std::function<void(const QString &title, const QString &text)>;

    explicit ThresholdWarnings(Meter &meter);

    // Where warnings go; until one is set, to the user's messages.
    void setNotifier(Notify notify) { notify_ = std::move(notify); }

    // Warns of the highest threshold reached and not yet given in this period,
    // and notes every threshold reached as given. Does nothing while the store
    // cannot give its values (it is asked again at the next check), nor while
    // the month's share is the one the last check saw: the tick's seconds read
    // the store only when the share moves.
    void check();
    // The same, whatever the share: the package, the thresholds or the store
    // may have changed.
    void recheck()
    {
        checkedShare_.reset();
        check();
    }

    // The thresholds in force: the stored list, or the default when none is stored.
    QList<int> thresholds() const;
    // Stores a list typed by the user and checks it at once. False, with the
    // message to show and nothing stored, when it is not a list of whole
    // numbers from 1 to 99 separated by commas.
    bool setThresholds(const QString &typed, QString *error);

private:
    void warn(int threshold, qint64 used, qint64 package);

    Meter &meter_;
    Notify notify_;
    std::optional<qint64> checkedShare_;
};
