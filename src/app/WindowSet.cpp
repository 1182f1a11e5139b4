#include "WindowSet.h"

#include "console/ConsoleWindow.h"
#include "options/Language.h"

#include <QAction>
#include <QMenu>
#include <QPushButton>

WindowSet::WindowSet(const Language &language)
    : language_(language)
    , console_(std::make_unique<ConsoleWindow>())
{
    connect(console_.get(), &ConsoleWindow::menuRequested, this, &WindowSet::showMenu);
    connect(console_.get(), &ConsoleWindow::packageAlertRequested, this, &WindowSet::openPackageAlert);
    // The tray form owns the menu: it is there from the start, hidden.
    CatalogueWindow &trayForm = window(catalogue::form2());
    connect(trayForm.control<QAction>(QStringLiteral("MnuQuitter")), &QAction::triggered, this,
            &WindowSet::quitRequested);
    // Of "Montrer" and "Cacher", the menu offers the one that fits the console.
    connect(console_.get(), &ConsoleWindow::offerShowChanged, this, [&trayForm](bool show) {
        trayForm.control<QAction>(QStringLiteral("MnuMaximize"))->setVisible(show);
        trayForm.control<QAction>(QStringLiteral("MnuMinimize"))->setVisible(!show);
    });
}

WindowSet::~WindowSet() = default;

CatalogueWindow &WindowSet::window(const catalogue::Window &design)
{
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
    for (const catalogue::Window *design :
         {&catalogue::form1(), &catalogue::form2(), &catalogue::form3(), &catalogue::form5(), &catalogue::form6()}) {
        const auto found = others_.find(design);
        if (found != others_.end())
            windows.append(found->second.get());
    }
    return windows;
}

void WindowSet::showMenu(const QPoint &globalPos)
{
    window(catalogue::form2()).menuOf(QStringLiteral("Menu"))->popup(globalPos);
}

void WindowSet::openPackageAlert()
{
    CatalogueWindow &alert = window(catalogue::form4());
    connect(alert.control<QPushButton>(QStringLiteral("Command1")), &QPushButton::clicked, &alert, &QWidget::close,
            Qt::UniqueConnection);
    alert.show();
    alert.raise();
}
