// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "StoreBackend.h"

#include <QString>

#include <unordered_map>

struct sqlite3;
struct sqlite3_stmt;

// The store as one SQLite database file. WAL journal and a busy timeout let the
// store tool read and write it while the meter runs; each write is its own
// transaction unless the caller groups several into one (begin/commit), so a
// power cut loses at most the change under way.
class SqliteStoreBackend final : public StoreBackend {
public:
    SqliteStoreBackend() = default;
    ~SqliteStoreBackend() override;
    SqliteStoreBackend(const SqliteStoreBackend &) = delete;
    SqliteStoreBackend &operator=(const SqliteStoreBackend &) = delete;

    // Opens (or creates) the database. A file that is not a valid database is
    // never overwritten: it is renamed to "<file>.corrupt-<yyyyMMdd-HHmmss>" and a
    // fresh store is started, and *notice says so. Returns false, with *error,
    // only when no store at all could be opened.
    bool open(const QString &path, QString *notice, QString *error);
    // Opens an existing database for reading only, for a program that must
    // change nothing (a damaged file is left as it is); false, with *error,
    // when it cannot be read.
    bool openToRead(const QString &path, QString *error);

    std::optional<std::string> read(int root, const std::string &key, const std::string &name) override;
    // A busy store is asked again a few times before the read counts as failed.
    Lookup lookup(int root, const std::string &key, const std::string &name) override;
    bool hasTransactions() const override { return true; }
    bool begin() override;
    bool commit() override;
    void rollback() override;
    bool write(int root, const std::string &key, const std::string &name, const std::string &text,
               std::string *error) override;
    void removeValue(int root, const std::string &key, const std::string &name) override;
    void removeKey(int root, const std::string &key) override;
    bool keyExists(int root, const std::string &key) override;
    std::vector<Value> list(int root, const std::string &key) override;

private:
    enum class OpenResult { Ok, NotADatabase, Failed };
    OpenResult tryOpen(const QString &path, QString *error);
    bool openReadOnly(const QString &path);
    void close();
    bool exec(const char *sql, std::string *error = nullptr);
    // A change's own transaction, unless it is part of the caller's.
    bool beginChange(std::string *error = nullptr);
    bool commitChange(std::string *error = nullptr);
    // The statement of that SQL text, prepared once per open database (the
    // meter reads the same few values every second).
    sqlite3_stmt *prepared(const char *sql);

    sqlite3 *db_ = nullptr;
    std::unordered_map<const char *, sqlite3_stmt *> statements_;
    bool inTransaction_ = false;
};
