// SPDX-License-Identifier: GPL-3.0-or-later
#include "Language.h"

#include "IniFile.h"
#include "TranslationTarget.h"
#include "store/DataFile.h"
#include "store/Schema.h"
#include "store/SettingsStore.h"

#include <QCoreApplication>
#include <QDir>

QString unescapeText(QString text)
{
    text.replace(QLatin1String("\\r"), QStringLiteral("\r"));
    text.replace(QLatin1String("\\f"), QStringLiteral("\n"));
    text.replace(QLatin1String("\\\\"), QStringLiteral("\\"));
    return text;
}

QString withBackslash(const QString &path)
{
    return path.endsWith(QLatin1Char('\\')) ? path : path + QLatin1Char('\\');
}

Language::Language(QStringList folders, QString sharedFolder)
    : folders_(std::move(folders))
    , sharedFolder_(std::move(sharedFolder))
{
}

QStringList Language::programFolders(const QString &dataFolder)
{
    const QString programFolder = QCoreApplication::applicationDirPath();
    return {dataFolder, programFolder, programFolder + QStringLiteral("/" DIALMETER_SHARE_FROM_BIN)};
}

bool Language::selectStored(const SettingsStore &store)
{
    const QString name = store.value(SettingsStore::LocalMachine, schema::options::Langage.path);
    return select(name == SettingsStore::ErrorText ? DefaultName : name);
}

bool Language::select(const QString &name)
{
    if (name.isEmpty()) {
        languageFile_.clear();
        return false;
    }
    // A name is a file name in the "lang" folders, never a path out of them.
    if (name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\')) || name.contains(QLatin1String(".."))
        || name.contains(QChar(0)))
        return false;
    for (const QString &folder : folders_) {
        const QString path = QDir(folder).filePath(QStringLiteral("lang/") + name + QStringLiteral(".lang"));
        QFile file(path);
        QString error;
        const bool shared = !sharedFolder_.isEmpty() && folder == sharedFolder_;
        if (openLanguageFile(file, shared, &error)) {
            languageFile_ = path;
            languageFileShared_ = shared;
            return true;
        }
    }
    return false;
}

bool Language::openLanguageFile(QFile &file, bool shared, QString *error)
{
    if (!datafile::open(file, QIODevice::ReadOnly, error))
        return false;
    if (!shared || datafile::isTrusted(file))
        return true;
    *error = QStringLiteral("%1 : d'autres utilisateurs peuvent modifier ce fichier, il n'est pas utilisé")
                 .arg(file.fileName());
    file.close();
    return false;
}

bool Language::load(IniFile &ini, QString *error) const
{
    // A file removed since it was chosen gives nothing, as an empty one would.
    QFile file(languageFile_);
    if (!file.exists()) {
        ini.parse({});
        return true;
    }
    return openLanguageFile(file, languageFileShared_, error) && ini.load(file, error);
}

QString Language::message(const QString &key, const QString &builtIn) const
{
    if (languageFile_.isEmpty())
        return builtIn;
    IniFile file;
    QString error;
    if (!load(file, &error))
        return builtIn;
    const QString text = file.value(key, {}, QStringLiteral("Messages"));
    return text.isEmpty() ? builtIn : unescapeText(text);
}

namespace {

// The key of a control's caption or text: "_1" and so on after the suffix for
// array elements other than the first.
QString keyFor(const TranslationTarget &window, int control, const char *property)
{
    QString key = window.controlName(control) + QLatin1String(property);
    const int index = window.controlIndex(control);
    if (index != 0)
        key += QLatin1Char('_') + QString::number(index);
    return key;
}

} // namespace

void Language::apply(const QList<TranslationTarget *> &windows) const
{
    if (languageFile_.isEmpty())
        return;
    IniFile file;
    QString error;
    if (!load(file, &error)) {
        if (onError_)
            onError_(QStringLiteral("ERREUR value ") + error);
        return;
    }
    for (TranslationTarget *window : windows) {
        const QString section = window->windowName();
        const auto replacement = [&](const QString &key) { return file.value(key, {}, section); };

        if (const QString caption = replacement(QStringLiteral("Caption")); !caption.isEmpty())
            window->setCaption(unescapeText(caption));
        for (int i = 0; i < window->controlCount(); ++i) {
            if (const auto caption = window->controlCaption(i); caption && !caption->isEmpty()) {
                if (const QString text = replacement(keyFor(*window, i, "_Caption")); !text.isEmpty())
                    window->setControlCaption(i, unescapeText(text));
            }
            if (const auto text = window->controlText(i); text && !text->isEmpty()) {
                if (const QString value = replacement(keyFor(*window, i, "_Text")); !value.isEmpty())
                    window->setControlText(i, unescapeText(value));
            }
        }
    }
}
