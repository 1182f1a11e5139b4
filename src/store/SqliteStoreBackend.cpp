// SPDX-License-Identifier: GPL-3.0-or-later
#include "SqliteStoreBackend.h"

#include "DataFile.h"
#include "NameFolding.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QUrl>

#include <sqlite3.h>

#include <cerrno>
#include <cstring>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#endif

namespace {

constexpr int kBusyTimeoutMs = 5000;
constexpr int kReadAttempts = 5;
constexpr int kReadRetryPauseMs = 20;

// Keys are rows of their own (so that an empty key exists), identified by their
// folded path; values belong to a key by that folded path. The displayed
// spellings are those of the first write.
constexpr const char *kSchema = R"sql(
CREATE TABLE IF NOT EXISTS keys(
    root INTEGER NOT NULL,
    folded TEXT NOT NULL,
    path TEXT NOT NULL,
    PRIMARY KEY(root, folded)) WITHOUT ROWID;
CREATE TABLE IF NOT EXISTS vals(
    root INTEGER NOT NULL,
    key TEXT NOT NULL,
    folded TEXT NOT NULL,
    name TEXT NOT NULL,
    text TEXT NOT NULL,
    PRIMARY KEY(root, key, folded)) WITHOUT ROWID;
)sql";

std::string fold(const std::string &utf8)
{
    return foldName(QString::fromStdString(utf8)).toStdString();
}

// The range of folded paths strictly below a key: "k\" <= path < "k]", since
// "]" follows "\" in byte order. Below the root, every non-empty path.
std::pair<std::string, std::string> subkeyRange(const std::string &foldedKey)
{
    if (foldedKey.empty())
        return {std::string("\x01", 1), std::string("\xff", 1)};
    return {foldedKey + '\\', foldedKey + ']'};
}

// A step's result as a read judges it: a row, the end, or else the connection's
// error code, read while the statement still stands (a statement that could
// not be prepared steps to a bare SQLITE_ERROR).
int outcomeOf(sqlite3 *db, int rc)
{
    return rc == SQLITE_ROW || rc == SQLITE_DONE ? rc : sqlite3_errcode(db);
}

// The busy handler waits for most locks, but not for every one (a WAL being
// recovered by another connection): a read that meets one is run again from
// its start, a few times. `read` gives its outcome (outcomeOf).
template <typename Read>
int readAgainWhileBusy(Read read)
{
    int rc = SQLITE_ERROR;
    for (int attempt = 0; attempt < kReadAttempts; ++attempt) {
        if (attempt > 0)
            sqlite3_sleep(kReadRetryPauseMs);
        rc = read();
        const int primary = rc & 0xff;
        if (primary != SQLITE_BUSY && primary != SQLITE_LOCKED)
            break;
    }
    return rc;
}

// One use of a prepared statement, left ready for the next use.
class Statement {
public:
    explicit Statement(sqlite3_stmt *stmt)
        : stmt_(stmt)
    {
    }
    ~Statement()
    {
        if (stmt_) {
            sqlite3_reset(stmt_);
            sqlite3_clear_bindings(stmt_);
        }
    }
    Statement(const Statement &) = delete;
    Statement &operator=(const Statement &) = delete;

    Statement &bind(int index, int value)
    {
        sqlite3_bind_int(stmt_, index, value);
        return *this;
    }
    Statement &bind(int index, const std::string &text)
    {
        sqlite3_bind_text(stmt_, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
        return *this;
    }
    int step() { return stmt_ ? sqlite3_step(stmt_) : SQLITE_ERROR; }
    std::string text(int column) const
    {
        const auto *data = reinterpret_cast<const char *>(sqlite3_column_text(stmt_, column));
        return data ? std::string(data, static_cast<size_t>(sqlite3_column_bytes(stmt_, column))) : std::string();
    }
    int integer(int column) const { return sqlite3_column_int(stmt_, column); }

private:
    sqlite3_stmt *stmt_ = nullptr;
};

// Roots 0 to 4, as the registry has them; any other number names nothing.
bool isRoot(int root)
{
    return root >= 0 && root <= 4;
}

// The store's name with its folder's links resolved: the store itself, its
// journals and its lock are then opened only when none of them is a link (a
// member of the group could plant one in a shared folder to make this meter
// write into a file of theirs), while a data folder reached through a link
// still works.
QByteArray realStoreName(const QString &path)
{
    const QFileInfo info(path);
    const QString folder = info.absoluteDir().canonicalPath();
    return QFile::encodeName(folder.isEmpty() ? path : folder + QLatin1Char('/') + info.fileName());
}

// Why the store did not open; SQLite refuses links among the store's files
// without saying which, so the link is named here.
QString openError(const QString &path, const QString &reason)
{
    for (const char *suffix : {"", "-wal", "-shm", "-journal"}) {
        const QString file = path + QLatin1String(suffix);
        if (QFileInfo(file).isSymLink())
            return QStringLiteral("%1 est un lien symbolique : la base de réglages n'est pas ouverte au travers "
                                  "d'un lien")
                .arg(file);
    }
    return QStringLiteral("%1: %2").arg(path, reason);
}

bool isNotADatabase(int code)
{
    return code == SQLITE_NOTADB || code == SQLITE_CORRUPT;
}

// SQLite makes a new database file 0644 whatever the umask. A new store takes the
// permissions any other new file of this process gets, so that in a folder shared
// by a group (umask 002) the store is shared too; SQLite gives its -wal and -shm
// files the store's permissions. False (errno set) when the file refuses them.
bool givePermissionsOfNewFile(const QByteArray &file)
{
#ifdef Q_OS_UNIX
    const mode_t mask = ::umask(0);
    ::umask(mask);
    // Never through a link that took the new file's place.
    return ::fchmodat(AT_FDCWD, file.constData(), 0666 & ~mask, AT_SYMLINK_NOFOLLOW) == 0;
#else
    Q_UNUSED(file);
    return true;
#endif
}

// A store holds a few hundred short values in a handful of pages, and SQLite
// would set aside twenty pages for each connection at its first read: pages are
// taken as they are needed instead. This must come before SQLite starts; in a
// process that started it already it changes nothing.
void takeCachePagesAsNeeded()
{
    static const bool configured = sqlite3_config(SQLITE_CONFIG_PAGECACHE, nullptr, 0, 0) == SQLITE_OK;
    Q_UNUSED(configured);
}

// SQLite opens the store, its write-ahead log and its shared memory with O_CREAT
// even when they exist; in a shared sticky folder that open is refused to every
// member but the file's maker, and the store would fall back to read-only. Its
// files are opened as the folder's other files are, once for the process and
// before any connection.
void openStoreFilesAsSharedFiles()
{
#ifdef Q_OS_UNIX
    static const bool installed = [] {
        sqlite3_vfs *vfs = sqlite3_vfs_find(nullptr);
        return vfs && vfs->iVersion >= 3 && vfs->xSetSystemCall
            && vfs->xSetSystemCall(vfs, "open", reinterpret_cast<sqlite3_syscall_ptr>(&datafile::openShared))
            == SQLITE_OK;
    }();
    Q_UNUSED(installed);
#endif
}

} // namespace

SqliteStoreBackend::~SqliteStoreBackend()
{
    close();
}

sqlite3_stmt *SqliteStoreBackend::prepared(const char *sql)
{
    sqlite3_stmt *&stmt = statements_[sql];
    if (!stmt)
        sqlite3_prepare_v3(db_, sql, -1, SQLITE_PREPARE_PERSISTENT, &stmt, nullptr);
    return stmt;
}

void SqliteStoreBackend::close()
{
    for (const auto &[sql, stmt] : statements_)
        sqlite3_finalize(stmt);
    statements_.clear();
    if (db_)
        sqlite3_close_v2(db_);
    db_ = nullptr;
}

bool SqliteStoreBackend::exec(const char *sql, std::string *error)
{
    char *message = nullptr;
    const int rc = sqlite3_exec(db_, sql, nullptr, nullptr, &message);
    if (rc != SQLITE_OK && error)
        *error = message ? message : sqlite3_errstr(rc);
    sqlite3_free(message);
    return rc == SQLITE_OK;
}

SqliteStoreBackend::OpenResult SqliteStoreBackend::tryOpen(const QString &path, QString *error)
{
    close();
    takeCachePagesAsNeeded();
    openStoreFilesAsSharedFiles();
    const QByteArray file = realStoreName(path);
    const bool isNew = !QFileInfo::exists(path) && !QFileInfo(path).isSymLink();
    int rc = sqlite3_open_v2(file.constData(), &db_,
                             SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOFOLLOW, nullptr);
    if (rc != SQLITE_OK) {
        *error = openError(path, QString::fromUtf8(sqlite3_errstr(rc)));
        close();
        return OpenResult::Failed;
    }
    // A new store that cannot take its permissions (a link put in its place) is
    // not used: the members of a shared folder could not write it.
    if (isNew && !givePermissionsOfNewFile(file)) {
        *error = openError(path, QString::fromLocal8Bit(std::strerror(errno)));
        close();
        return OpenResult::Failed;
    }
    sqlite3_busy_timeout(db_, kBusyTimeoutMs);

    // The first statements read the file header and its pages: a file that is
    // not a database fails here. A read-only file still opens (writes are then
    // refused one by one), so only "not a database" is treated as corruption.
    std::string message;
    rc = sqlite3_exec(db_, "PRAGMA journal_mode=WAL", nullptr, nullptr, nullptr);
    if (isNotADatabase(rc) || isNotADatabase(sqlite3_errcode(db_)))
        return OpenResult::NotADatabase;
    {
        Statement check(prepared("PRAGMA quick_check"));
        const int step = check.step();
        if (isNotADatabase(sqlite3_errcode(db_)) || (step == SQLITE_ROW && check.text(0) != "ok"))
            return OpenResult::NotADatabase;
    }
    exec("PRAGMA synchronous=NORMAL");
    if (!exec(kSchema, &message) && sqlite3_errcode(db_) != SQLITE_READONLY) {
        if (isNotADatabase(sqlite3_errcode(db_)))
            return OpenResult::NotADatabase;
        *error = openError(path, QString::fromStdString(message));
        close();
        return OpenResult::Failed;
    }
    return OpenResult::Ok;
}

bool SqliteStoreBackend::openReadOnly(const QString &path)
{
    // Read-only first; then, when even that needs room the disk has not (the
    // shared-memory file of the journal), as an unchanging file: what the last
    // checkpoint wrote.
    takeCachePagesAsNeeded();
    openStoreFilesAsSharedFiles();
    for (const char *mode : {"?mode=ro", "?immutable=1"}) {
        close();
        const QByteArray uri = QUrl::fromLocalFile(QFile::decodeName(realStoreName(path))).toEncoded() + mode;
        if (sqlite3_open_v2(uri.constData(), &db_, SQLITE_OPEN_READONLY | SQLITE_OPEN_URI | SQLITE_OPEN_NOFOLLOW,
                            nullptr)
                == SQLITE_OK
            && exec("SELECT count(*) FROM vals"))
            return true;
    }
    close();
    return false;
}

bool SqliteStoreBackend::open(const QString &path, QString *notice, QString *error)
{
    switch (tryOpen(path, error)) {
    case OpenResult::Ok:
        return true;
    case OpenResult::Failed:
        // A store that cannot be opened for writing (a full disk, no room for its
        // journal) is still read; the meter's writes are then refused one by one,
        // kept in memory and reported.
        if (!openReadOnly(path))
            return false;
        if (notice) {
            *notice = QStringLiteral("Les réglages ne peuvent qu'être lus (%1). Le compteur continue avec les "
                                     "valeurs en mémoire.")
                          .arg(*error);
        }
        error->clear();
        return true;
    case OpenResult::NotADatabase:
        break;
    }
    close();
    const QString aside =
        path + QStringLiteral(".corrupt-") + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    if (!QFile::rename(path, aside)) {
        *error = QStringLiteral("%1 n'est pas une base de réglages valide et n'a pas pu être mise de côté.").arg(path);
        return false;
    }
    // The journal files belong to the damaged database, not to the fresh one.
    for (const char *suffix : {"-wal", "-shm"}) {
        const QString companion = path + QLatin1String(suffix);
        if (QFile::exists(companion))
            QFile::rename(companion, aside + QLatin1String(suffix));
    }
    if (notice) {
        *notice = QStringLiteral("Le fichier de réglages %1 était endommagé. Il a été conservé sous le nom %2 "
                                 "et de nouveaux réglages ont été créés.")
                      .arg(path, aside);
    }
    return tryOpen(path, error) == OpenResult::Ok;
}

bool SqliteStoreBackend::openToRead(const QString &path, QString *error)
{
    if (openReadOnly(path))
        return true;
    *error = QStringLiteral("%1 n'a pas pu être lu.").arg(path);
    return false;
}

std::optional<std::string> SqliteStoreBackend::read(int root, const std::string &key, const std::string &name)
{
    Lookup found = lookup(root, key, name);
    if (found.status != ReadStatus::Found)
        return std::nullopt;
    return std::move(found.text);
}

StoreBackend::Lookup SqliteStoreBackend::lookup(int root, const std::string &key, const std::string &name)
{
    if (!isRoot(root))
        return {};
    if (!db_)
        return {ReadStatus::Failed, {}};
    std::string text;
    const int rc = readAgainWhileBusy([&] {
        Statement select(prepared("SELECT text FROM vals WHERE root = ?1 AND key = ?2 AND folded = ?3"));
        select.bind(1, root).bind(2, fold(key)).bind(3, fold(name));
        const int step = select.step();
        if (step == SQLITE_ROW)
            text = select.text(0);
        return outcomeOf(db_, step);
    });
    if (rc == SQLITE_ROW)
        return {ReadStatus::Found, std::move(text)};
    if (rc == SQLITE_DONE)
        return {};
    return {ReadStatus::Failed, {}};
}

bool SqliteStoreBackend::begin()
{
    if (!db_ || inTransaction_)
        return false;
    inTransaction_ = exec("BEGIN IMMEDIATE");
    return inTransaction_;
}

bool SqliteStoreBackend::commit()
{
    if (!inTransaction_)
        return false;
    inTransaction_ = false;
    if (exec("COMMIT"))
        return true;
    exec("ROLLBACK");
    return false;
}

void SqliteStoreBackend::rollback()
{
    if (inTransaction_)
        exec("ROLLBACK");
    inTransaction_ = false;
}

bool SqliteStoreBackend::beginChange(std::string *error)
{
    return inTransaction_ || exec("BEGIN IMMEDIATE", error);
}

bool SqliteStoreBackend::commitChange(std::string *error)
{
    return inTransaction_ || exec("COMMIT", error);
}

bool SqliteStoreBackend::write(int root, const std::string &key, const std::string &name, const std::string &text,
                               std::string *error)
{
    if (!db_ || !isRoot(root)) {
        if (error)
            *error = db_ ? "no root " + std::to_string(root) : "the store is not open";
        return false;
    }
    if (!beginChange(error))
        return false;

    bool ok = true;
    // Every key on the path, from the root down, is created when missing.
    std::string path;
    size_t from = 0;
    while (ok && !key.empty()) {
        const size_t slash = key.find('\\', from);
        path = key.substr(0, slash);
        Statement insertKey(prepared("INSERT OR IGNORE INTO keys(root, folded, path) VALUES(?1, ?2, ?3)"));
        insertKey.bind(1, root).bind(2, fold(path)).bind(3, path);
        ok = insertKey.step() == SQLITE_DONE;
        if (slash == std::string::npos)
            break;
        from = slash + 1;
    }
    if (ok) {
        Statement upsert(prepared("INSERT INTO vals(root, key, folded, name, text) VALUES(?1, ?2, ?3, ?4, ?5) "
                              "ON CONFLICT(root, key, folded) DO UPDATE SET text = excluded.text"));
        upsert.bind(1, root).bind(2, fold(key)).bind(3, fold(name)).bind(4, name).bind(5, text);
        ok = upsert.step() == SQLITE_DONE;
    }
    if (ok)
        ok = commitChange(error);
    else if (error)
        *error = sqlite3_errmsg(db_);
    if (!ok && !inTransaction_)
        exec("ROLLBACK");
    return ok;
}

void SqliteStoreBackend::removeValue(int root, const std::string &key, const std::string &name)
{
    if (!db_ || !isRoot(root))
        return;
    Statement remove(prepared("DELETE FROM vals WHERE root = ?1 AND key = ?2 AND folded = ?3"));
    remove.bind(1, root).bind(2, fold(key)).bind(3, fold(name)).step();
}

void SqliteStoreBackend::removeKey(int root, const std::string &key)
{
    // The root itself cannot be deleted.
    if (!db_ || !isRoot(root) || key.empty() || !beginChange())
        return;
    const std::string folded = fold(key);
    const auto [from, to] = subkeyRange(folded);
    for (const char *sql : {"DELETE FROM vals WHERE root = ?1 AND (key = ?2 OR (key >= ?3 AND key < ?4))",
                            "DELETE FROM keys WHERE root = ?1 AND (folded = ?2 OR (folded >= ?3 AND folded < ?4))"}) {
        Statement remove(prepared(sql));
        remove.bind(1, root).bind(2, folded).bind(3, from).bind(4, to).step();
    }
    if (!commitChange())
        exec("ROLLBACK");
}

bool SqliteStoreBackend::keyExists(int root, const std::string &key)
{
    if (!db_ || !isRoot(root))
        return false;
    if (key.empty())
        return true;
    Statement select(prepared("SELECT 1 FROM keys WHERE root = ?1 AND folded = ?2"));
    select.bind(1, root).bind(2, fold(key));
    return select.step() == SQLITE_ROW;
}

std::vector<StoreBackend::Value> SqliteStoreBackend::list(int root, const std::string &key)
{
    std::vector<Value> values;
    if (!db_ || !isRoot(root))
        return values;
    const std::string folded = fold(key);
    const auto below = subkeyRange(folded);
    readAgainWhileBusy([&] {
        values.clear();
        Statement select(prepared("SELECT v.root, COALESCE(k.path, v.key), v.name, v.text FROM vals v "
                                  "LEFT JOIN keys k ON k.root = v.root AND k.folded = v.key "
                                  "WHERE v.root = ?1 AND (v.key = ?2 OR (v.key >= ?3 AND v.key < ?4)) "
                                  "ORDER BY v.key, v.folded"));
        select.bind(1, root).bind(2, folded).bind(3, below.first).bind(4, below.second);
        int step = SQLITE_ROW;
        while ((step = select.step()) == SQLITE_ROW)
            values.push_back({select.integer(0), select.text(1), select.text(2), select.text(3)});
        return outcomeOf(db_, step);
    });
    return values;
}
