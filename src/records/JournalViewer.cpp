// SPDX-License-Identifier: GPL-3.0-or-later
#include "JournalViewer.h"

#include "Journal.h"
#include "JournalModel.h"
#include "language/Language.h"

#include <QCloseEvent>
#include <QFile>
#include <QFileInfo>
#include <QListView>
#include <QLocale>
#include <QPushButton>

JournalViewer::JournalViewer(const Journal &journal, const Language &language)
    : CatalogueWindow(catalogue::journalViewer())
    , journal_(journal)
    , language_(language)
    , model_(new JournalModel(this))
{
    auto *list = control<QListView>(QStringLiteral("List1"));
    list->setModel(model_);
    connect(control<QPushButton>(QStringLiteral("Command1")), &QPushButton::clicked, this, &QWidget::hide);
    connect(control<QPushButton>(QStringLiteral("Command2")), &QPushButton::clicked, this, &JournalViewer::clearJournal);
}

JournalViewer::~JournalViewer() = default;

void JournalViewer::loadJournal()
{
    language_.apply({this});
    shownFile_ = journal_.currentFile();
    setWindowTitle(QStringLiteral("   Journal des connexions -  ") + QFileInfo(shownFile_).completeBaseName());
    JournalItems items = JournalItems::read(shownFile_);
    QString notice;
    if (!items.error().isEmpty()) {
        notice = language_
                     .message(QStringLiteral("JournalNotRead"), QStringLiteral("Le journal n'a pas pu être lu : %1"))
                     .arg(items.error());
    } else if (items.cut()) {
        notice = language_
                     .message(QStringLiteral("JournalCut"),
                              QStringLiteral("Le journal est trop long pour être affiché en entier : seuls ses %1 "
                                             "premiers éléments sont listés."))
                     .arg(QLocale().toString(items.count()));
    }
    model_->setItems(std::move(items), notice);
}

void JournalViewer::reload()
{
    loadJournal();
    show();
    raise();
    activateWindow();
}

void JournalViewer::clearJournal()
{
    QString notice;
    if (!journal_.erase(shownFile_)) {
        notice = language_
                     .message(QStringLiteral("JournalNotErased"),
                              QStringLiteral("Le journal n'a pas pu être effacé : %1"))
                     .arg(journal_.lastError());
    }
    model_->setItems({}, notice);
}

int JournalViewer::rows() const
{
    return model_->rowCount();
}

QString JournalViewer::row(int index) const
{
    return model_->data(model_->index(index)).toString();
}

void JournalViewer::closeEvent(QCloseEvent *event)
{
    event->ignore();
    hide();
}
