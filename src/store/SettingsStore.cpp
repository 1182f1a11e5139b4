// SPDX-License-Identifier: GPL-3.0-or-later
#include "SettingsStore.h"

#include "NameFolding.h"
#include "StoreBackend.h"

SettingsStore::SettingsStore(StoreBackend &backend)
    : backend_(backend)
{
}

QString SettingsStore::rootPrefix(int hkey)
{
    return RegistryName::prefixOf(hkey);
}

QString SettingsStore::pendingKey(const RegistryName &name)
{
    return QString::number(name.root) + QLatin1Char('\\') + foldName(name.key) + QLatin1Char('\\')
        + foldName(name.value);
}

QString SettingsStore::value(int hkey, const QString &path, const QString &fallback) const
{
    const Reading reading = read(hkey, path);
    return reading.status == Reading::Found ? reading.text : fallback;
}

SettingsStore::Reading SettingsStore::read(int hkey, const QString &path) const
{
    const auto name = RegistryName::parse(rootPrefix(hkey) + path);
    if (!name)
        return {};
    const auto pending = pending_.constFind(pendingKey(*name));
    if (pending != pending_.constEnd())
        return {Reading::Found, pending->text};
    const auto found = backend_.lookup(name->root, name->key.toStdString(), name->value.toStdString());
    switch (found.status) {
    case StoreBackend::ReadStatus::Found:
        return {Reading::Found, QString::fromStdString(found.text)};
    case StoreBackend::ReadStatus::Failed:
        return {Reading::Unreadable, {}};
    case StoreBackend::ReadStatus::Missing:
        break;
    }
    return {};
}

SettingsStore::KeyCopy::KeyCopy(const SettingsStore &store, int root, QString foldedKey)
    : store_(store)
    , root_(root)
    , foldedKey_(std::move(foldedKey))
{
}

bool SettingsStore::KeyCopy::holds(const RegistryName &name) const
{
    if (name.root != root_)
        return false;
    const QString key = foldName(name.key);
    return foldedKey_.isEmpty() || key == foldedKey_ || key.startsWith(foldedKey_ + QLatin1Char('\\'));
}

QString SettingsStore::KeyCopy::value(int hkey, const QString &path, const QString &fallback) const
{
    const auto name = RegistryName::parse(rootPrefix(hkey) + path);
    if (!name || !holds(*name))
        return store_.value(hkey, path, fallback);
    // A value the copy lacks is asked of the store: a copy cut short by a busy
    // store then costs more reads, never a figure.
    const auto copied = values_.constFind(pendingKey(*name));
    return copied != values_.constEnd() ? *copied : store_.value(hkey, path, fallback);
}

SettingsStore::KeyCopy SettingsStore::copyOfKey(int hkey, const QString &key) const
{
    const auto name = RegistryName::parse(rootPrefix(hkey) + key + QLatin1Char('\\'));
    // A name without a root copies nothing: every read then goes to the store.
    KeyCopy copy(*this, name ? name->root : -1, name ? foldName(name->key) : QString());
    if (!name)
        return copy;
    for (const StoreBackend::Value &value : backend_.list(name->root, name->key.toStdString())) {
        const RegistryName stored{value.root, QString::fromStdString(value.key), QString::fromStdString(value.name)};
        copy.values_.insert(pendingKey(stored), QString::fromStdString(value.text));
    }
    // Values waiting to be written are read as they would be one by one.
    for (const Pending &pending : pending_)
        if (copy.holds(pending.name))
            copy.values_.insert(pendingKey(pending.name), pending.text);
    return copy;
}

bool SettingsStore::hasTransactions() const
{
    return backend_.hasTransactions();
}

bool SettingsStore::atomically(const std::function<void()> &work, IfBusy ifBusy)
{
    if (transaction_) {
        work();
        return true;
    }
    if (!backend_.begin()) {
        if (ifBusy == IfBusy::Later && backend_.hasTransactions())
            return false;
        work();
        return true;
    }
    transaction_.emplace();
    transactionRefused_ = false;
    work();
    const QList<Change> changes = std::move(*transaction_);
    transaction_.reset();
    if (!transactionRefused_ && backend_.commit())
        return true;
    backend_.rollback();
    for (const Change &change : changes) {
        if (change.text)
            write(change.hkey, change.path, *change.text);
        else
            remove(change.hkey, change.path);
    }
    return true;
}

bool SettingsStore::store(const RegistryName &name, const QString &text, QString *error)
{
    std::string reason;
    if (backend_.write(name.root, name.key.toStdString(), name.value.toStdString(), text.toStdString(), &reason))
        return true;
    *error = QString::fromStdString(reason);
    return false;
}

bool SettingsStore::write(int hkey, const QString &path, const QString &text, int typeOfReg)
{
    if (static_cast<unsigned>(typeOfReg) > 3)
        return true;
    if (transaction_)
        transaction_->append({hkey, path, text});
    const QString fullName = rootPrefix(hkey) + path;
    const auto name = RegistryName::parse(fullName);
    if (!name) {
        reportFailure(fullName, QStringLiteral("chemin sans racine"));
        return false;
    }
    QString error;
    if (!store(*name, text, &error)) {
        transactionRefused_ = true;
        pending_.insert(pendingKey(*name), {*name, text});
        reportFailure(fullName, error);
        return false;
    }
    pending_.remove(pendingKey(*name));
    failureReported_ = false;
    // Inside a transaction the waiting values would go if it is rolled back.
    if (!transaction_)
        flushPending();
    return true;
}

void SettingsStore::flushPending()
{
    for (auto it = pending_.begin(); it != pending_.end();) {
        QString error;
        if (store(it->name, it->text, &error))
            it = pending_.erase(it);
        else
            ++it;
    }
}

void SettingsStore::remove(int hkey, const QString &path)
{
    if (transaction_)
        transaction_->append({hkey, path, std::nullopt});
    const auto name = RegistryName::parse(rootPrefix(hkey) + path);
    // The root itself is never deleted.
    if (!name || (name->namesKey && name->key.isEmpty()))
        return;
    const std::string key = name->key.toStdString();
    if (name->namesKey) {
        // Values waiting to be written inside the deleted key go with it.
        const QString deleted = foldName(name->key);
        for (auto it = pending_.begin(); it != pending_.end();) {
            const QString key = foldName(it->name.key);
            const bool inside = it->name.root == name->root
                && (key == deleted || key.startsWith(deleted + QLatin1Char('\\')));
            it = inside ? pending_.erase(it) : std::next(it);
        }
        backend_.removeKey(name->root, key);
    } else {
        pending_.remove(pendingKey(*name));
        backend_.removeValue(name->root, key, name->value.toStdString());
    }
}

void SettingsStore::reportFailure(const QString &fullName, const QString &reason)
{
    if (failureReported_ || !onFailure_)
        return;
    failureReported_ = true;
    const QString key = QStringLiteral("StoreNotSaved");
    const QString builtIn = QStringLiteral("Les réglages n'ont pas pu être enregistrés (%1 : %2). Le compteur garde "
                                           "les valeurs en mémoire et les enregistrera plus tard.");
    onFailure_((messageText_ ? messageText_(key, builtIn) : builtIn).arg(fullName, reason));
}
