// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

class IniFile;
class QFile;
class SettingsStore;
class TranslationTarget;

// The language in force: which language file replaces the built-in (French)
// texts of the windows, and the application of that file to windows.
class Language {
public:
    // The folders whose "lang" subfolder holds language files, searched in order;
    // `sharedFolder`, when one of them, is the data folder that other users may
    // write, whose files must be trusted to be used.
    explicit Language(QStringList folders, QString sharedFolder = {});
    // The folders the meter's programs search: the data folder first (its files
    // trusted ones only: it may be shared), then the program's own folder, then
    // the installed share folder.
    static QStringList programFolders(const QString &dataFolder);

    // Makes the file of that language the one in force when a usable one exists
    // (the first folder's that is; an untrusted file of the shared folder is
    // passed over), and says
    // so. An empty name puts the built-in texts back in force; a name without a
    // file, or one that would leave the "lang" folders, changes nothing.
    bool select(const QString &name);
    // Selects the language the store names; a meter that never had its language
    // chosen speaks French, the language of its built-in texts and of its
    // journal words.
    bool selectStored(const SettingsStore &store);
    QString languageFile() const { return languageFile_; }

    // Replaces the captions and texts that the file gives, window by window. The
    // file is read once for the whole call: an error while reading it is
    // reported once, through the handler, and nothing is applied.
    void apply(const QList<TranslationTarget *> &windows) const;

    // A message in the language in force: the key of section "Messages" of the
    // file, or the built-in (French) text when the file has none.
    QString message(const QString &key, const QString &builtIn) const;

    void setErrorHandler(std::function<void(const QString &)> handler) { onError_ = std::move(handler); }

    // The name selected when none is stored.
    static inline const QString DefaultName = QStringLiteral("Français");

private:
    // A language file is used only when it is a regular file (not a link); one
    // of the shared folder only when it also belongs to this user or to the
    // system and no one else may write it: the data folder's "lang" may be
    // written by every member of its group.
    static bool openLanguageFile(QFile &file, bool shared, QString *error);
    bool load(IniFile &ini, QString *error) const;

    QStringList folders_;
    QString sharedFolder_;
    QString languageFile_;
    bool languageFileShared_ = false;
    std::function<void(const QString &)> onError_;
};

// "\r" becomes a carriage return, then "\f" a line feed, then "\\" one "\".
QString unescapeText(QString text);
// The path with a "\" added when it does not already end with one.
QString withBackslash(const QString &path);
