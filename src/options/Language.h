#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

class TranslationTarget;

// The language in force: which language file replaces the built-in (French)
// texts of the windows, and the application of that file to windows.
class Language {
public:
    // The folders whose "lang" subfolder holds language files, searched in order.
    explicit Language(QStringList folders);

    // Makes the file of that language the one in force when it exists, and says
    // so. An empty name puts the built-in texts back in force; a name without a
    // file, or one that would leave the "lang" folders, changes nothing.
    bool SelectLanguage(const QString &name);
    QString languageFile() const { return languageFile_; }

    // Replaces the captions and texts that the file gives, window by window. The
    // file is read once for the whole call: an error while reading it is
    // reported once, through the handler, and nothing is applied.
    void ApplyLanguage(const QList<TranslationTarget *> &windows) const;

    void setErrorHandler(std::function<void(const QString &)> handler) { onError_ = std::move(handler); }

    // The name selected when none is stored.
    static inline const QString DefaultName = QStringLiteral("Français");

private:
    QStringList folders_;
    QString languageFile_;
    std::function<void(const QString &)> onError_;
};

// "\r" becomes a carriage return, then "\f" a line feed, then "\\" one "\".
QString UnescapeText(QString text);
// The path with a "\" added when it does not already end with one.
QString AddBackslash(const QString &path);
