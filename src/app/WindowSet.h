#pragma once

#include "options/LanguageTargets.h"

#include <QObject>

#include <map>
#include <memory>

class CatalogueWindow;
class ConsoleWindow;
class Language;
class TrayForm;
namespace catalogue {
struct Window;
}

// The program's windows: the console and the tray form, created at once, and the
// others, each created on first use and given the language in force when it is
// created. It also carries out the menu commands that only open windows.
class WindowSet final : public QObject, public LanguageTargets {
    Q_OBJECT
public:
    explicit WindowSet(const Language &language);
    ~WindowSet() override;

    ConsoleWindow &console() { return *console_; }
    TrayForm &trayForm() { return *trayForm_; }
    // The window of that design, created when it does not exist yet.
    CatalogueWindow &window(const catalogue::Window &design);

    QList<TranslationTarget *> windowsForLancer() override;

signals:
    void quitRequested();

private:
    void showMenu(const QPoint &globalPos);
    void openPackageAlert();
    void showWindow(const catalogue::Window &design);

    const Language &language_;
    std::unique_ptr<ConsoleWindow> console_;
    std::unique_ptr<TrayForm> trayForm_;
    std::map<const catalogue::Window *, std::unique_ptr<CatalogueWindow>> others_;
};
