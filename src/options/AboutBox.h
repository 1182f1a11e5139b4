// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "language/CatalogueWindow.h"

class Language;

// The About box ("Form3"): the program's name and version, and two links, to the
// web site and to a new e-mail to the author. "OK" closes and destroys it.
class AboutBox final : public CatalogueWindow {
    Q_OBJECT
public:
    explicit AboutBox(const Language &language);

    static QString versionText();

signals:
    // A link was clicked: the address to open.
    void linkActivated(const QUrl &address);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};

// The package alert ("Form4"). Its "OK" shows the console's package-exceeded
// indicator (through `acknowledged`) before closing and destroying it.
class AlertWindow final : public CatalogueWindow {
    Q_OBJECT
public:
    explicit AlertWindow(const Language &language);

signals:
    void acknowledged();
};
