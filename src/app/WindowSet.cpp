#include "WindowSet.h"

#include "console/ConsoleWindow.h"
#include "options/Language.h"
#include "tray/TrayForm.h"

#include <QAction>
#include <QMenu>
#include <QPushButton>

WindowSet::WindowSet(const Language &language)
    : language_(language)
    , console_(std::make_unique<ConsoleWindow>())
    , trayForm_(std::make_unique<TrayForm>(language, *console_))
{
    language_.ApplyLanguage({trayForm_.get()});
    connect(console_.get(), &ConsoleWindow::menuRequested, this, &WindowSet::showMenu);
    connect(console_.get(), &ConsoleWindow::packageAlertRequested, this, &WindowSet::openPackageAlert);

    const auto action = [this](const char *name) { return trayForm_->control<QAction>(QString::fromLatin1(name)); };
    connect(action("MnuQuitter"), &QAction::triggered, this, &WindowSet::quitRequested);
    connect(action("MnuAbout"), &QAction::triggered, this, [this] { showWindow(catalogue::form3()); });
    connect(action("MnuViewer"), &QAction::triggered, this, [this] { showWindow(catalogue::form2()); });
    connect(action("MnuJournal"), &QAction::triggered, this, [this] { showWindow(catalogue::form5()); });
    connect(action("MnuOption"), &QAction::triggered, this, [this] { showWindow(catalogue::form1()); });
    // Of "Montrer" and "Cacher", the menu offers the one that fits the console.
    connect(console_.get(), &ConsoleWindow::offerShowChanged, this, [action](bool show) {
        action("MnuMaximize")->setVisible(show);
        action("MnuMinimize")->setVisible(!show);
    });
}

WindowSet::~WindowSet() = default;

CatalogueWindow &WindowSet::window(const catalogue::Window &design)
{
    if (&design == &catalogue::form2())
        return *trayForm_;
    auto &slot = others_[&design];
    if (!slot) {
        slot = std::make_unique<CatalogueWindow>(design);
        language_.ApplyLanguage({slot.get()});
    }
    return *slot;
}

QList<TranslationTarget *> WindowSet::windowsForLancer()
{
    QList<TranslationTarget *> windows{console_.get()};
    for (const catalogue::Window *design : {&catalogue::form1(), &catalogue::form2(), &catalogue::form3(),
                                            &catalogue::form5()}) {
        if (design == &catalogue::form2())
            windows.append(trayForm_.get());
        else if (const auto found = others_.find(design); found != others_.end())
            windows.append(found->second.get());
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

void WindowSet::showMenu(const QPoint &globalPos)
{
    trayForm_->menuOf(QStringLiteral("Menu"))->popup(globalPos);
}

void WindowSet::openPackageAlert()
{
    CatalogueWindow &alert = window(catalogue::form4());
    connect(alert.control<QPushButton>(QStringLiteral("Command1")), &QPushButton::clicked, &alert, &QWidget::close,
            Qt::UniqueConnection);
    showWindow(catalogue::form4());
}
