// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Catalogue.h"
#include "TranslationTarget.h"

#include <QHash>
#include <QVector>
#include <QWidget>

#include <functional>
#include <memory>

class QAction;
class QButtonGroup;
class QComboBox;
class QMenu;

// A window built from its design in the catalogue: its own properties and every
// control, named as designed (language files and the program address them by
// these names). It is also what a language file is applied to.
class CatalogueWindow : public QWidget, public TranslationTarget {
    Q_OBJECT
public:
    explicit CatalogueWindow(const catalogue::Window &design, QWidget *parent = nullptr,
                             Qt::WindowFlags extraFlags = {});
    ~CatalogueWindow() override;

    const catalogue::Window &design() const { return design_; }
    // The control of that name (a widget, an action or a timer), or nullptr.
    // A list or combo box not built yet is built then.
    QObject *control(const QString &name) const;
    template <typename T>
    T *control(const QString &name) const { return qobject_cast<T *>(control(name)); }
    // The text of the label of that name (a text holder's word); empty if none.
    QString labelText(const QString &name) const;
    // The pop-up menu of a menu entry that opens one.
    QMenu *menuOf(const QString &entry) const;
    // The whole window's opacity, 0 (invisible) to 255 (opaque); seen under a
    // compositor.
    void setAlpha(int alpha);
    // Above all other windows, or in the normal order; a shown window stays
    // the same window, where it is.
    void setStaysOnTop(bool onTop);

    QString windowName() const override { return design_.name; }
    QString caption() const override { return windowTitle(); }
    void setCaption(const QString &text) override { setWindowTitle(text); }
    int controlCount() const override { return design_.controls.size(); }
    QString controlName(int i) const override { return design_.controls.at(i).name; }
    int controlIndex(int) const override { return 0; }
    std::optional<QString> controlCaption(int i) const override;
    void setControlCaption(int i, const QString &text) override;
    std::optional<QString> controlText(int i) const override;
    void setControlText(int i, const QString &text) override;

    void setVisible(bool visible) override;

protected:
    void showEvent(QShowEvent *event) override;
    // Called once the list and combo boxes are built, for a window that
    // connects to them.
    virtual void itemViewsBuilt() {}
    // Runs `chosen` when an item of the box is picked, or Enter is pressed in
    // its text. Never once the window is going: closing a shown window takes
    // the focus from the box, which then takes a typed text as picked.
    void whenChosen(QComboBox *box, std::function<void()> chosen);

private:
    QObject *build(const catalogue::Control &design);
    // List and combo boxes are built when the window is first shown or one of
    // them is asked for: their code is the largest of all controls, and most
    // windows that hold one may never be opened.
    static bool buildsLater(const catalogue::Control &design);
    void buildItemViews() const;
    // The focusable controls in the designed tab order.
    QVector<QWidget *> inTabOrder() const;
    void orderTabs();
    void focusFirstControl();

    const catalogue::Window &design_;
    // In the design's order; nullptr for a box not built yet.
    mutable QVector<QObject *> controls_;
    // The texts of the combo boxes not built yet, by index.
    QHash<int, QString> laterTexts_;
    mutable bool itemViewsBuilt_ = false;
    QHash<QWidget *, QButtonGroup *> optionGroups_; // one per container of option buttons
    bool placed_ = false;
    // False once the window is going; what whenChosen() runs asks it first.
    std::shared_ptr<bool> whole_ = std::make_shared<bool>(true);
};
