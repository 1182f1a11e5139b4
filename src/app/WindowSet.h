#pragma once

#include "options/LanguageTargets.h"

#include <QObject>

#include <map>
#include <memory>

class CatalogueWindow;
class ConsoleWindow;
class Language;
namespace catalogue {
struct Window;
}

// The program's windows: the console, created at once, and the others, each
// created on first use and given the language in force when it is created.
class WindowSet final : public QObject, public LanguageTargets {
    Q_OBJECT
public:
    explicit WindowSet(const Language &language);
    ~WindowSet() override;

    ConsoleWindow &console() { return *console_; }
    // The window of that design, created when it does not exist yet.
    CatalogueWindow &window(const catalogue::Window &design);

    QList<TranslationTarget *> windowsForLancer() override;

signals:
    void quitRequested();

private:
    void showMenu(const QPoint &globalPos);
    void openPackageAlert();

    const Language &language_;
    std::unique_ptr<ConsoleWindow> console_;
    std::map<const catalogue::Window *, std::unique_ptr<CatalogueWindow>> others_;
};
