// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "language/CatalogueWindow.h"

class Journal;
class JournalModel;
class Language;

// The journal viewer ("Form5"): the current year's journal, one row per entry.
// Each time it is shown it reads the journal of the current year again, so that
// "Effacer" always deletes the file whose lines the user sees. "OK" and the close
// box hide it.
class JournalViewer final : public CatalogueWindow {
    Q_OBJECT
public:
    JournalViewer(const Journal &journal, const Language &language);
    ~JournalViewer() override;

    // The language, the caption with the year, and the rows of the journal; when
    // the journal cannot be read, or is too long to be listed whole, a last row
    // says so.
    void loadJournal();
    // Loads, then shows.
    void reload();
    void clearJournal();

    int rows() const;
    QString row(int index) const;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    const Journal &journal_;
    const Language &language_;
    JournalModel *model_;
    QString shownFile_;
};
