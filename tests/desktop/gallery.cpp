// SPDX-License-Identifier: GPL-3.0-or-later
// Shows designed windows as they are built, for a look on a real desktop:
//   dialmeter-gallery [--lang FOLDER NAME] WINDOW...
// FOLDER holds lang/NAME.lang. Runs until it is closed or killed.

#include "language/CatalogueWindow.h"
#include "language/Language.h"

#include <QApplication>
#include <QMenu>

#include <cstdio>
#include <memory>
#include <vector>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QStringList args = QApplication::arguments().mid(1);
    Language language({});
    if (args.size() >= 3 && args.at(0) == QLatin1String("--lang")) {
        language = Language({args.at(1)});
        if (!language.select(args.at(2)))
            std::fprintf(stderr, "no language file %s in %s/lang\n", qPrintable(args.at(2)), qPrintable(args.at(1)));
        args = args.mid(3);
    }
    std::vector<std::unique_ptr<CatalogueWindow>> windows;
    int x = 10;
    for (const QString &name : args) {
        for (const catalogue::Window *design : catalogue::all()) {
            if (design->name != name)
                continue;
            auto window = std::make_unique<CatalogueWindow>(*design);
            language.apply({window.get()});
            window->move(x, 10);
            window->show();
            x += window->width() + 20;
            // The tray form's menu is what a user sees of it most: open it beside.
            if (QMenu *menu = window->menuOf(QStringLiteral("Menu"))) {
                menu->popup(window->mapToGlobal(QPoint(window->width() + 10, 0)));
                if (QMenu *settings = window->menuOf(QStringLiteral("Mnuréglages")))
                    settings->popup(menu->geometry().topRight() + QPoint(0, 60));
            }
            windows.push_back(std::move(window));
        }
    }
    if (windows.empty()) {
        std::fputs("usage: dialmeter-gallery [--lang FOLDER NAME] WINDOW...\n", stderr);
        return 2;
    }
    return QApplication::exec();
}
