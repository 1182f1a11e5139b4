// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "RegistryName.h"

#include <QHash>
#include <QMap>
#include <QString>

#include <functional>
#include <optional>

class StoreBackend;

// The settings store as the rest of the program sees it: text values read with a
// fallback, written and deleted by full path below a root number.
//
// A write the backend refuses (read-only file, no permission, disk full) never
// loses the value: it is kept in memory, reads see it, and it is written again
// at the next write that succeeds. The failure is reported once, through the
// handler, until a write succeeds again.
class SettingsStore {
public:
    static constexpr int LocalMachine = 2;
    static inline const QString ErrorText = QStringLiteral("Erreur");

    using FailureHandler = std::function<void(const QString &message)>;

    explicit SettingsStore(StoreBackend &backend);

    // The prefix of a root number ("HKLM\" for 2); empty for an unknown root.
    static QString rootPrefix(int hkey);

    // The text of a value, or the fallback when the value is missing or the name
    // has no root. An existing empty value gives empty text.
    QString value(int hkey, const QString &path, const QString &fallback = ErrorText) const;

    // A value read for a caller that must tell a missing value (which may be
    // repaired) from one the store could not give (which must be left alone).
    struct Reading {
        enum Status { Found, Missing, Unreadable } status = Missing;
        QString text;
    };
    Reading read(int hkey, const QString &path) const;

    // Every value of a key and of its subkeys, read at once, for a caller that
    // reads many of them: one look-up in the backend instead of one per value.
    // Reads outside the key, and of values the copy lacks, go to the store.
    // Changes made after it was taken to values it holds are not seen.
    class KeyCopy {
    public:
        QString value(int hkey, const QString &path, const QString &fallback = ErrorText) const;

    private:
        friend class SettingsStore;
        KeyCopy(const SettingsStore &store, int root, QString foldedKey);
        bool holds(const RegistryName &name) const;

        const SettingsStore &store_;
        int root_;
        QString foldedKey_;
        // Texts by the names pendingKey() gives.
        QHash<QString, QString> values_;
    };
    KeyCopy copyOfKey(int hkey, const QString &key) const;

    // Runs `work` so that its writes and deletions reach the store together or
    // not at all (a kill part-way leaves the store as it was before). When the
    // store refuses the whole, the same changes are made one by one, refused
    // writes kept in memory as always. When a store with transactions cannot
    // start one (busy past its retries), `ifBusy` says whether the changes are
    // made one by one all the same, or not at all (false is returned, and the
    // caller tries again later).
    enum class IfBusy { OneByOne, Later };
    bool atomically(const std::function<void()> &work, IfBusy ifBusy = IfBusy::OneByOne);
    // Whether atomically() is all or nothing; without it changes land one by
    // one, and callers order them so that a repeat is harmless.
    bool hasTransactions() const;

    // Writes a text value, creating every missing key. A type number outside
    // 0..3 writes nothing and returns true; a name without a root, or a refused
    // write, returns false (and is reported).
    bool write(int hkey, const QString &path, const QString &text, int typeOfReg = 0);

    // Deletes a value, or with a trailing "\" the key with all it holds. Nothing
    // is reported, whatever happens.
    void remove(int hkey, const QString &path);

    void setFailureHandler(FailureHandler handler) { onFailure_ = std::move(handler); }
    // Where the report's text comes from: given its key and built-in (French)
    // text, the text in the user's language.
    using MessageText = std::function<QString(const QString &key, const QString &builtIn)>;
    void setMessageText(MessageText text) { messageText_ = std::move(text); }

    // Values still waiting for a write that succeeds.
    int pendingWrites() const { return pending_.size(); }

private:
    struct Pending {
        RegistryName name;
        QString text;
    };
    static QString pendingKey(const RegistryName &name);
    bool store(const RegistryName &name, const QString &text, QString *error);
    void flushPending();
    void reportFailure(const QString &fullName, const QString &reason);

    // A change made inside atomically(): a write, or a deletion (no text).
    struct Change {
        int hkey;
        QString path;
        std::optional<QString> text;
    };

    StoreBackend &backend_;
    QMap<QString, Pending> pending_;
    // The changes of the transaction under way, and whether one was refused.
    std::optional<QList<Change>> transaction_;
    bool transactionRefused_ = false;
    FailureHandler onFailure_;
    MessageText messageText_;
    bool failureReported_ = false;
};
