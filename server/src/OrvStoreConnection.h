// One SQLite connection to the store's file with its cache of prepared
// statements. A connection is used by one thread at a time: the store gives
// the writer's to the thread that holds the write lock, and each reader its
// own from a pool (WAL lets them read while the writer writes).
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>

#include "OrvStoreError.h"

struct sqlite3;
struct sqlite3_stmt;

namespace orv {

struct OrvPerson;

class OrvStoreConnection {
public:
    // Opens the file (creating it when `create`), in WAL mode.
    OrvStoreConnection(const std::string& path, bool create);
    ~OrvStoreConnection();
    OrvStoreConnection(const OrvStoreConnection&) = delete;
    OrvStoreConnection& operator=(const OrvStoreConnection&) = delete;

    void exec(const char* sql);
    int64_t lastInsertId() const;
    int changes() const;

    // A prepared statement borrowed from the cache (prepared once per text),
    // reset and handed back when it goes out of scope. A text already in use
    // further up the stack gets a statement of its own.
    class Statement {
    public:
        Statement(OrvStoreConnection& connection, const std::string& sql);
        ~Statement();
        Statement(const Statement&) = delete;
        Statement& operator=(const Statement&) = delete;

        Statement& bind(int i, int64_t v);
        Statement& bind(int i, const std::string& v);
        bool step();  // true while there is a row
        void run();
        int64_t integer(int col) const;
        std::string text(int col) const;
        // The columns of kPersonColumns, from the first on.
        OrvPerson person() const;

    private:
        void check(int rc);
        sqlite3* db_;
        sqlite3_stmt* stmt_ = nullptr;
        bool* busy_ = nullptr;  // the cache's flag when the statement is the cached one
    };

private:
    struct CachedStatement {
        sqlite3_stmt* stmt = nullptr;
        bool busy = false;
    };
    sqlite3* db_ = nullptr;
    std::unordered_map<std::string, CachedStatement> statements_;
};

}  // namespace orv
