// SPDX-License-Identifier: GPL-3.0-or-later
#include "WindowSet.h"

#include "console/ConsoleWindow.h"
#include "language/Language.h"
#include "options/AboutBox.h"
#include "options/OptionsDialog.h"
#include "outlook/OutlookWindow.h"
#include "records/JournalViewer.h"
#include "tray/TrayForm.h"

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QProcess>
#include <QDesktopServices>
#include <QMenu>

WindowSet::WindowSet(const Language &language)
    : language_(language)
    , chartProgram_(QCoreApplication::applicationDirPath() + QStringLiteral("/dialmeter-chart"))
    , console_(std::make_unique<ConsoleWindow>())
    , trayForm_(std::make_unique<TrayForm>(language, *console_))
{
    language_.apply({trayForm_.get()});
    connect(console_.get(), &ConsoleWindow::menuRequested, this, &WindowSet::showMenu);
    connect(console_.get(), &ConsoleWindow::packageAlertRequested, this,
            [this] { showWindow(catalogue::packageAlert()); });

    const auto action = [this](const char *name) { return trayForm_->control<QAction>(QString::fromLatin1(name)); };
    connect(action("MnuQuitter"), &QAction::triggered, this, &WindowSet::quitRequested);
    connect(action("MnuAbout"), &QAction::triggered, this, [this] { showWindow(catalogue::aboutBox()); });
    connect(action("MnuViewer"), &QAction::triggered, this, [this] { showWindow(catalogue::trayForm()); });
    connect(action("MnuGraphique"), &QAction::triggered, this, &WindowSet::openYearChart);
    connect(action("MnuJournal"), &QAction::triggered, this, [this] { journalViewer().reload(); });
    connect(action("MnuBilan"), &QAction::triggered, this, [this] { showWindow(catalogue::periodOutlook()); });
    connect(action("MnuOption"), &QAction::triggered, this, [this] { optionsDialog().reload(); });
    // Of "Montrer" and "Cacher", the menu offers the one that fits the console.
    connect(console_.get(), &ConsoleWindow::offerShowChanged, this, [action](bool show) {
        action("MnuMaximize")->setVisible(show);
        action("MnuMinimize")->setVisible(!show);
    });
}

WindowSet::~WindowSet()
{
    for (auto &[design, window] : others_)
        delete window.data();
}

CatalogueWindow *WindowSet::create(const catalogue::Window &design)
{
    if (&design == &catalogue::optionsDialog()) {
        Q_ASSERT(optionsLogic_);
        auto *dialog = new OptionsDialog(*optionsLogic_, language_);
        connect(dialog, &OptionsDialog::refused, this, &WindowSet::message);
        dialog->loadValues();
        return dialog;
    }
    if (&design == &catalogue::aboutBox()) {
        auto *about = new AboutBox(language_);
        connect(about, &AboutBox::linkActivated, this, [](const QUrl &address) { QDesktopServices::openUrl(address); });
        return about;
    }
    if (&design == &catalogue::packageAlert()) {
        auto *alert = new AlertWindow(language_);
        connect(alert, &AlertWindow::acknowledged, console_.get(), &ConsoleWindow::showPackageIndicator);
        return alert;
    }
    if (&design == &catalogue::journalViewer()) {
        Q_ASSERT(journal_);
        // Its journal is read when it is shown, once.
        auto *viewer = new JournalViewer(*journal_, language_);
        language_.apply({viewer});
        return viewer;
    }
    if (&design == &catalogue::periodOutlook()) {
        Q_ASSERT(outlookMeter_ && outlookWarnings_);
        auto *outlook = new OutlookWindow(*outlookMeter_, *outlookWarnings_);
        connect(outlook, &OutlookWindow::refused, this, &WindowSet::message);
        language_.apply({outlook});
        return outlook;
    }
    auto *window = new CatalogueWindow(design);
    language_.apply({window});
    return window;
}

CatalogueWindow &WindowSet::window(const catalogue::Window &design)
{
    if (&design == &catalogue::trayForm())
        return *trayForm_;
    QPointer<CatalogueWindow> &slot = others_[&design];
    if (!slot)
        slot = create(design);
    return *slot;
}

OptionsDialog &WindowSet::optionsDialog()
{
    return static_cast<OptionsDialog &>(window(catalogue::optionsDialog()));
}

JournalViewer &WindowSet::journalViewer()
{
    return static_cast<JournalViewer &>(window(catalogue::journalViewer()));
}

QList<TranslationTarget *> WindowSet::windowsToTranslate()
{
    QList<TranslationTarget *> windows{console_.get()};
    for (const catalogue::Window *design : {&catalogue::optionsDialog(), &catalogue::trayForm(), &catalogue::aboutBox(),
                                            &catalogue::journalViewer(), &catalogue::periodOutlook()}) {
        if (design == &catalogue::trayForm())
            windows.append(trayForm_.get());
        else if (const auto found = others_.find(design); found != others_.end() && found->second)
            windows.append(found->second.data());
    }
    if (CatalogueWindow *popup = trayForm_->popupWindow())
        windows.append(popup);
    return windows;
}

void WindowSet::showWindow(const catalogue::Window &design)
{
    CatalogueWindow &shown = window(design);
    shown.show();
    shown.raise();
    shown.activateWindow();
}

void WindowSet::openYearChart()
{
    // The year the Connection Viewer shows, when it is open; otherwise the
    // chart opens on the year of the period in progress.
    QStringList arguments;
    if (trayForm_->isVisible()) {
        bool number = false;
        const int year = trayForm_->control<QComboBox>(QStringLiteral("Combo1"))->currentText().trimmed().toInt(&number);
        if (number && year >= 1 && year <= 9999)
            arguments << QStringLiteral("--year") << QString::number(year);
    }
    QProcess chart;
    chart.setProgram(chartProgram_);
    chart.setArguments(arguments);
    if (!chart.startDetached()) {
        emit message(language_.message(QStringLiteral("ChartNotStarted"),
                                       QStringLiteral("Le graphique de l'année n'a pas pu être ouvert (%1 : %2)."))
                         .arg(chartProgram_, chart.errorString()));
    }
}

void WindowSet::showMenu(const QPoint &globalPos)
{
    trayForm_->menuOf(QStringLiteral("Menu"))->popup(globalPos);
}
