#include "OrvStoreConnection.h"

#include <sqlite3.h>

#include "OrvStore.h"

namespace orv {

OrvStoreConnection::OrvStoreConnection(const std::string& path, bool create) {
    int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX | (create ? SQLITE_OPEN_CREATE : 0);
    if (sqlite3_open_v2(path.c_str(), &db_, flags, nullptr) != SQLITE_OK) {
        std::string msg = db_ ? sqlite3_errmsg(db_) : "out of memory";
        sqlite3_close(db_);
        db_ = nullptr;
        throw OrvStoreError("cannot open " + path + ": " + msg);
    }
    // The writer's commit may briefly lock the WAL index; readers wait, never fail.
    sqlite3_busy_timeout(db_, 5000);
    try {
        exec("PRAGMA journal_mode=WAL");
        exec("PRAGMA synchronous=NORMAL");
        exec("PRAGMA foreign_keys=ON");
        // Pages are read through a shared mapping of the file: every reader
        // connection finds the pages warm instead of filling a cache of its own.
        exec("PRAGMA mmap_size=268435456");
    } catch (...) {
        sqlite3_close(db_);
        db_ = nullptr;
        throw;
    }
}

OrvStoreConnection::~OrvStoreConnection() {
    for (auto& kv : statements_) sqlite3_finalize(kv.second.stmt);
    sqlite3_close(db_);
}

void OrvStoreConnection::exec(const char* sql) {
    char* err = nullptr;
    if (sqlite3_exec(db_, sql, nullptr, nullptr, &err) != SQLITE_OK) {
        std::string msg = err ? err : "unknown";
        sqlite3_free(err);
        throw OrvStoreError(msg);
    }
}

int64_t OrvStoreConnection::lastInsertId() const { return sqlite3_last_insert_rowid(db_); }

int OrvStoreConnection::changes() const { return sqlite3_changes(db_); }

OrvStoreConnection::Statement::Statement(OrvStoreConnection& connection, const std::string& sql)
    : db_(connection.db_) {
    auto& slot = connection.statements_[sql];
    if (slot.stmt && !slot.busy) {
        stmt_ = slot.stmt;
        busy_ = &slot.busy;
        slot.busy = true;
        return;
    }
    if (sqlite3_prepare_v3(db_, sql.c_str(), -1, SQLITE_PREPARE_PERSISTENT, &stmt_, nullptr) != SQLITE_OK)
        throw OrvStoreError(std::string("prepare: ") + sqlite3_errmsg(db_));
    if (!slot.stmt) {
        slot.stmt = stmt_;
        slot.busy = true;
        busy_ = &slot.busy;
    }
}

OrvStoreConnection::Statement::~Statement() {
    if (busy_) {
        sqlite3_reset(stmt_);
        sqlite3_clear_bindings(stmt_);
        *busy_ = false;
    } else {
        sqlite3_finalize(stmt_);
    }
}

OrvStoreConnection::Statement& OrvStoreConnection::Statement::bind(int i, int64_t v) {
    check(sqlite3_bind_int64(stmt_, i, v));
    return *this;
}

OrvStoreConnection::Statement& OrvStoreConnection::Statement::bind(int i, const std::string& v) {
    check(sqlite3_bind_text(stmt_, i, v.data(), static_cast<int>(v.size()), SQLITE_TRANSIENT));
    return *this;
}

bool OrvStoreConnection::Statement::step() {
    int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) return false;
    throw OrvStoreError(std::string("step: ") + sqlite3_errmsg(db_));
}

void OrvStoreConnection::Statement::run() {
    while (step()) {
    }
}

int64_t OrvStoreConnection::Statement::integer(int col) const { return sqlite3_column_int64(stmt_, col); }

std::string OrvStoreConnection::Statement::text(int col) const {
    const unsigned char* t = sqlite3_column_text(stmt_, col);
    return t ? std::string(reinterpret_cast<const char*>(t), static_cast<size_t>(sqlite3_column_bytes(stmt_, col)))
             : std::string();
}

OrvPerson OrvStoreConnection::Statement::person() const {
    OrvPerson p;
    p.id = static_cast<uint32_t>(integer(0));
    p.email = text(1);
    p.isMember = integer(2) != 0;
    p.firstName = text(3);
    p.lastName = text(4);
    p.occupation = text(5);
    p.emailPrivate = integer(6) != 0;
    p.chatHidden = integer(7) != 0;
    return p;
}

void OrvStoreConnection::Statement::check(int rc) {
    if (rc != SQLITE_OK) throw OrvStoreError(std::string("bind: ") + sqlite3_errmsg(db_));
}

}  // namespace orv
