// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "language/LanguageTargets.h"

#include <QObject>
#include <QPointer>

#include <map>
#include <memory>

class CatalogueWindow;
class Meter;
class ThresholdWarnings;
class ConsoleWindow;
class Journal;
class JournalViewer;
class Language;
class OptionsDialog;
class OptionsLogic;
class TrayForm;
namespace catalogue {
struct Window;
}

// The program's windows: the console and the tray form, created at once, and the
// others, each created on first use (and again after the About box or the alert
// destroyed itself), given the language in force when created. It also carries
// out the menu commands that only open windows.
class WindowSet final : public QObject, public LanguageTargets {
    Q_OBJECT
public:
    explicit WindowSet(const Language &language);
    ~WindowSet() override;

    // The Options dialog's rules; needed before the dialog is first used.
    void setOptionsLogic(OptionsLogic &logic) { optionsLogic_ = &logic; }
    // The journal the journal viewer shows; needed before the viewer is first used.
    void setJournal(const Journal &journal) { journal_ = &journal; }
    // The meter whose period the outlook shows, and its warnings; needed before
    // the outlook is first used.
    void setOutlookSource(const Meter &meter, ThresholdWarnings &warnings)
    {
        outlookMeter_ = &meter;
        outlookWarnings_ = &warnings;
    }

    // The chart program the menu starts: by default the one beside the meter.
    void setChartProgram(const QString &path) { chartProgram_ = path; }

    ConsoleWindow &console() { return *console_; }
    TrayForm &trayForm() { return *trayForm_; }
    OptionsDialog &optionsDialog();
    JournalViewer &journalViewer();
    // The window of that design, created when it does not exist.
    CatalogueWindow &window(const catalogue::Window &design);

    QList<TranslationTarget *> windowsToTranslate() override;

signals:
    void quitRequested();
    // Something the user should read.
    void message(const QString &text);

private:
    void showMenu(const QPoint &globalPos);
    // Starts the chart program apart from the meter, which never loads the
    // charts library itself.
    void openYearChart();
    void showWindow(const catalogue::Window &design);
    CatalogueWindow *create(const catalogue::Window &design);

    const Language &language_;
    QString chartProgram_;
    OptionsLogic *optionsLogic_ = nullptr;
    const Journal *journal_ = nullptr;
    const Meter *outlookMeter_ = nullptr;
    ThresholdWarnings *outlookWarnings_ = nullptr;
    std::unique_ptr<ConsoleWindow> console_;
    std::unique_ptr<TrayForm> trayForm_;
    std::map<const catalogue::Window *, QPointer<CatalogueWindow>> others_;
};
