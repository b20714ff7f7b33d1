#include "OrvStore.h"

#include <sqlite3.h>

#include "OrvStoreConnection.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

namespace orv {

namespace {

const char* kSchema = R"SQL(
CREATE TABLE IF NOT EXISTS persons(
    id INTEGER PRIMARY KEY AUTOINCREMENT,
    email TEXT NOT NULL UNIQUE,
    is_member INTEGER NOT NULL DEFAULT 0,
    first_name TEXT NOT NULL DEFAULT '',
    last_name TEXT NOT NULL DEFAULT '',
    occupation TEXT NOT NULL DEFAULT '',
    email_private INTEGER NOT NULL DEFAULT 0,
    chat_hidden INTEGER NOT NULL DEFAULT 0,
    password_hash TEXT NOT NULL DEFAULT '',
    pending_hash TEXT NOT NULL DEFAULT '',
    password_mailed_at INTEGER NOT NULL DEFAULT 0,
    logged_in_once INTEGER NOT NULL DEFAULT 0,
    created_at INTEGER NOT NULL DEFAULT 0);
CREATE TABLE IF NOT EXISTS contacts(
    owner INTEGER NOT NULL,
    person INTEGER NOT NULL,
    position INTEGER NOT NULL,
    first_name TEXT NOT NULL DEFAULT '',
    last_name TEXT NOT NULL DEFAULT '',
    PRIMARY KEY(owner, person)) WITHOUT ROWID;
CREATE INDEX IF NOT EXISTS contacts_by_person ON contacts(person);
CREATE INDEX IF NOT EXISTS contacts_by_position ON contacts(owner, position);
CREATE VIRTUAL TABLE IF NOT EXISTS member_text USING fts5(
    name, email, occupation, tokenize = 'unicode61 remove_diacritics 2');
CREATE TABLE IF NOT EXISTS meta(key TEXT PRIMARY KEY, value TEXT NOT NULL);
)SQL";

const char* kPersonColumns =
    "id, email, is_member, first_name, last_name, occupation, email_private, chat_hidden";

}  // namespace

using Stmt = OrvStoreConnection::Statement;

// A connection for reading: the writer's on the thread that holds the write
// lock (so that it sees its own changes), else a reader's from the pool.
class OrvStore::ReadLease {
public:
    explicit ReadLease(OrvStore& store) : store_(store) {
        if (store.writerThread_.load() == std::this_thread::get_id()) {
            connection_ = store.writer_.get();
            return;
        }
        {
            std::lock_guard lock(store.poolMutex_);
            if (!store.idleReaders_.empty()) {
                owned_ = std::move(store.idleReaders_.back());
                store.idleReaders_.pop_back();
            }
        }
        if (!owned_) {
            owned_ = std::make_unique<OrvStoreConnection>(store.path_, false);
            std::lock_guard lock(store.poolMutex_);
            ++store.readerCount_;
        }
        connection_ = owned_.get();
    }
    ~ReadLease() {
        if (!owned_) return;
        std::lock_guard lock(store_.poolMutex_);
        store_.idleReaders_.push_back(std::move(owned_));
    }
    ReadLease(const ReadLease&) = delete;
    ReadLease& operator=(const ReadLease&) = delete;
    operator OrvStoreConnection&() { return *connection_; }

private:
    OrvStore& store_;
    std::unique_ptr<OrvStoreConnection> owned_;
    OrvStoreConnection* connection_ = nullptr;
};

// The write lock; its holder may take it again (a change inside a transaction).
class OrvStore::WriteLock {
public:
    explicit WriteLock(OrvStore& store) : store_(store) {
        if (store.writerThread_.load() == std::this_thread::get_id()) return;
        store.writeMutex_.lock();
        store.writerThread_ = std::this_thread::get_id();
        owner_ = true;
    }
    ~WriteLock() {
        if (!owner_) return;
        store_.writerThread_ = std::thread::id();
        store_.writeMutex_.unlock();
    }
    WriteLock(const WriteLock&) = delete;
    WriteLock& operator=(const WriteLock&) = delete;

private:
    OrvStore& store_;
    bool owner_ = false;
};

OrvStore::OrvStore(const std::string& path) : path_(path) {
    writer_ = std::make_unique<OrvStoreConnection>(path, true);
    writer_->exec(kSchema);
}

OrvStore::~OrvStore() = default;

size_t OrvStore::readerConnections() const {
    std::lock_guard lock(poolMutex_);
    return readerCount_;
}

void OrvStore::transaction(const std::function<void()>& f) {
    WriteLock lock(*this);
    if (txDepth_ > 0) {
        f();
        return;
    }
    writer_->exec("BEGIN IMMEDIATE");
    ++txDepth_;
    try {
        f();
        --txDepth_;
        writer_->exec("COMMIT");
    } catch (...) {
        txDepth_ = 0;
        try {
            writer_->exec("ROLLBACK");
        } catch (const OrvStoreError&) {
            // SQLite may have rolled back already (it does on some errors); the first error is what counts.
        }
        throw;
    }
}

static OrvAccount readAccount(const OrvPerson& p, const std::string& hash, const std::string& pending,
                              int64_t mailedAt, int64_t loggedIn) {
    OrvAccount a;
    a.person = p;
    a.passwordHash = hash;
    a.pendingHash = pending;
    a.passwordMailedAt = mailedAt;
    a.loggedInOnce = loggedIn != 0;
    return a;
}

std::optional<OrvAccount> OrvStore::accountByEmail(const std::string& email) {
    ReadLease db(*this);
    Stmt s(db, std::string("SELECT ") + kPersonColumns +
                    ", password_hash, pending_hash, password_mailed_at, logged_in_once"
                    " FROM persons WHERE email = ?1 AND is_member = 1");
    s.bind(1, email);
    if (!s.step()) return std::nullopt;
    return readAccount(s.person(), s.text(8), s.text(9), s.integer(10), s.integer(11));
}

std::optional<OrvAccount> OrvStore::accountById(uint32_t id) {
    ReadLease db(*this);
    Stmt s(db, std::string("SELECT ") + kPersonColumns +
                    ", password_hash, pending_hash, password_mailed_at, logged_in_once"
                    " FROM persons WHERE id = ?1 AND is_member = 1");
    s.bind(1, id);
    if (!s.step()) return std::nullopt;
    return readAccount(s.person(), s.text(8), s.text(9), s.integer(10), s.integer(11));
}

std::optional<OrvPerson> OrvStore::personById(uint32_t id) {
    ReadLease db(*this);
    Stmt s(db, std::string("SELECT ") + kPersonColumns + " FROM persons WHERE id = ?1");
    s.bind(1, id);
    if (!s.step()) return std::nullopt;
    return s.person();
}

std::optional<OrvPerson> OrvStore::personByEmail(const std::string& email) {
    ReadLease db(*this);
    Stmt s(db, std::string("SELECT ") + kPersonColumns + " FROM persons WHERE email = ?1");
    s.bind(1, email);
    if (!s.step()) return std::nullopt;
    return s.person();
}

std::vector<OrvPerson> OrvStore::personsByIds(const std::vector<uint32_t>& ids) {
    std::vector<OrvPerson> out;
    if (ids.empty()) return out;
    std::string array = "[";
    for (size_t i = 0; i < ids.size(); ++i) {
        if (i) array += ',';
        array += std::to_string(ids[i]);
    }
    array += ']';
    ReadLease db(*this);
    Stmt s(db, std::string("SELECT ") + kPersonColumns +
                    " FROM persons WHERE id IN (SELECT value FROM json_each(?1))");
    s.bind(1, array);
    while (s.step()) out.push_back(s.person());
    return out;
}

std::vector<OrvListing> OrvStore::contactsOf(uint32_t owner) {
    std::vector<OrvListing> out;
    ReadLease db(*this);
    Stmt s(db, "SELECT person, first_name, last_name FROM contacts WHERE owner = ?1 ORDER BY position");
    s.bind(1, owner);
    while (s.step()) out.push_back({static_cast<uint32_t>(s.integer(0)), s.text(1), s.text(2)});
    return out;
}

bool OrvStore::lists(uint32_t owner, uint32_t person) {
    ReadLease db(*this);
    Stmt s(db, "SELECT 1 FROM contacts WHERE owner = ?1 AND person = ?2");
    s.bind(1, owner).bind(2, person);
    return s.step();
}

uint32_t OrvStore::listerCount(uint32_t person) {
    ReadLease db(*this);
    Stmt s(db, "SELECT COUNT(*) FROM contacts WHERE person = ?1");
    s.bind(1, person);
    s.step();
    return static_cast<uint32_t>(s.integer(0));
}

std::vector<uint32_t> OrvStore::listersOf(uint32_t person) {
    std::vector<uint32_t> out;
    ReadLease db(*this);
    Stmt s(db, "SELECT owner FROM contacts WHERE person = ?1");
    s.bind(1, person);
    while (s.step()) out.push_back(static_cast<uint32_t>(s.integer(0)));
    return out;
}

std::vector<uint32_t> OrvStore::neighbours(uint32_t person) {
    std::vector<uint32_t> out;
    ReadLease db(*this);
    Stmt s(db, "SELECT person FROM contacts WHERE owner = ?1 UNION SELECT owner FROM contacts WHERE person = ?1");
    s.bind(1, person);
    while (s.step()) out.push_back(static_cast<uint32_t>(s.integer(0)));
    return out;
}

uint32_t OrvStore::maxPersonId() {
    ReadLease db(*this);
    Stmt s(db, "SELECT COALESCE(MAX(id), 0) FROM persons");
    s.step();
    return static_cast<uint32_t>(s.integer(0));
}

uint64_t OrvStore::memberCount() {
    ReadLease db(*this);
    Stmt s(db, "SELECT COUNT(*) FROM persons WHERE is_member = 1");
    s.step();
    return static_cast<uint64_t>(s.integer(0));
}

void OrvStore::forEachListing(const std::function<void(uint32_t, uint32_t)>& f) {
    ReadLease db(*this);
    Stmt s(db, "SELECT owner, person FROM contacts");
    while (s.step()) f(static_cast<uint32_t>(s.integer(0)), static_cast<uint32_t>(s.integer(1)));
}

std::vector<uint32_t> OrvStore::searchMembers(const std::vector<std::string>& words, OrvSearchKind kind,
                                              uint32_t exclude, size_t limit) {
    const char* column = nullptr;
    switch (kind) {
        case OrvSearchKind::Names: column = "name"; break;
        case OrvSearchKind::Email: column = "email"; break;
        case OrvSearchKind::FreeText: column = "occupation"; break;
        case OrvSearchKind::All: break;
    }
    // A word as a prefix phrase of the full-text index. Words are free of
    // quotes (a forbidden character); a word with no letter or digit would be
    // an empty phrase and gives "".
    auto phrase = [column](const std::string& w) {
        bool hasToken = std::any_of(w.begin(), w.end(), [](char c) {
            return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                   (static_cast<unsigned char>(c) >= 0x80);
        });
        if (!hasToken) return std::string();
        return (column ? std::string(column) + " : " : std::string()) + '"' + w + "\"*";
    };
    std::string plainMatch;
    std::vector<std::string> addressWords;
    for (const auto& w : words) {
        if (w.find('@') != std::string::npos) {
            addressWords.push_back(w);
            continue;
        }
        std::string p = phrase(w);
        if (p.empty()) continue;
        if (!plainMatch.empty()) plainMatch += " AND ";
        plainMatch += p;
    }

    ReadLease db(*this);
    // A word with an at sign is met by the member with exactly that address
    // (even a private one) or by the parts of the address in the index.
    std::vector<std::unordered_set<uint32_t>> addressSets;
    std::vector<uint32_t> exact;
    for (const auto& w : addressWords) {
        std::unordered_set<uint32_t> met;
        if (kind == OrvSearchKind::All || kind == OrvSearchKind::Email) {
            Stmt s(db, "SELECT id FROM persons WHERE email = ?1 AND is_member = 1");
            s.bind(1, asciiLower(w));
            if (s.step()) {
                met.insert(static_cast<uint32_t>(s.integer(0)));
                exact.push_back(static_cast<uint32_t>(s.integer(0)));
            }
        }
        std::string p = phrase(w);
        if (!p.empty()) {
            Stmt s(db, "SELECT rowid FROM member_text WHERE member_text MATCH ?1");
            s.bind(1, p);
            while (s.step()) met.insert(static_cast<uint32_t>(s.integer(0)));
        }
        addressSets.push_back(std::move(met));
    }

    // Every word must match: the plain ones in the index, each address word as above.
    std::vector<uint32_t> out;
    std::unordered_set<uint32_t> seen;
    auto take = [&](uint32_t id) {
        if (id == exclude || seen.count(id)) return;
        for (const auto& met : addressSets)
            if (!met.count(id)) return;
        seen.insert(id);
        out.push_back(id);
    };
    if (!plainMatch.empty()) {
        // Members found by their whole address come first, when the other words match them too.
        for (uint32_t id : exact) {
            Stmt s(db, "SELECT 1 FROM member_text WHERE member_text MATCH ?1 AND rowid = ?2");
            s.bind(1, plainMatch).bind(2, id);
            if (s.step()) take(id);
        }
        // All matches are wanted unranked (path targets), a page of them best first.
        Stmt s(db, limit == kAllMatches ? "SELECT rowid FROM member_text WHERE member_text MATCH ?1"
                                        : "SELECT rowid FROM member_text WHERE member_text MATCH ?1 ORDER BY rank");
        s.bind(1, plainMatch);
        while (out.size() < limit && s.step()) take(static_cast<uint32_t>(s.integer(0)));
    } else if (!addressSets.empty()) {
        for (uint32_t id : exact) take(id);
        std::vector<uint32_t> rest(addressSets.front().begin(), addressSets.front().end());
        std::sort(rest.begin(), rest.end());
        for (uint32_t id : rest) {
            if (out.size() >= limit) break;
            take(id);
        }
    }
    if (out.size() > limit) out.resize(limit);
    return out;
}

std::vector<uint32_t> OrvStore::acquaintances(uint32_t member, size_t limit) {
    std::vector<uint32_t> out;
    ReadLease db(*this);
    Stmt s(db,
           "SELECT id FROM persons WHERE is_member = 1 AND id <> ?1 AND ("
           " id IN (SELECT person FROM contacts WHERE owner = ?1) OR"
           " id IN (SELECT owner FROM contacts WHERE person = ?1)) ORDER BY id LIMIT ?2");
    s.bind(1, member).bind(2, static_cast<int64_t>(limit));
    while (s.step()) out.push_back(static_cast<uint32_t>(s.integer(0)));
    return out;
}

void OrvStore::indexMember(const OrvPerson& p) {
    unindexMember(p.id);
    Stmt s(*writer_, "INSERT INTO member_text(rowid, name, email, occupation) VALUES(?1, ?2, ?3, ?4)");
    s.bind(1, p.id)
        .bind(2, p.firstName + " " + p.lastName)
        .bind(3, p.emailPrivate ? std::string() : p.email)
        .bind(4, p.occupation);
    s.run();
}

void OrvStore::unindexMember(uint32_t id) {
    Stmt s(*writer_, "DELETE FROM member_text WHERE rowid = ?1");
    s.bind(1, id);
    s.run();
}

uint32_t OrvStore::personIdForContact(const OrvContactItem& item) {
    {
        Stmt s(*writer_, "SELECT id FROM persons WHERE email = ?1");
        s.bind(1, item.email);
        if (s.step()) return static_cast<uint32_t>(s.integer(0));
    }
    Stmt s(*writer_, "INSERT INTO persons(email, first_name, last_name) VALUES(?1, ?2, ?3)");
    s.bind(1, item.email).bind(2, item.firstName).bind(3, item.lastName);
    s.run();
    return static_cast<uint32_t>(writer_->lastInsertId());
}

OrvListChange OrvStore::addContactsLocked(uint32_t owner, const std::string& ownerEmail,
                                          const std::vector<OrvContactItem>& adds,
                                          std::vector<uint32_t>& changed) {
    for (const auto& item : adds)
        if (item.email == ownerEmail) return OrvListChange::Self;
    int64_t count, position;
    {
        Stmt s(*writer_, "SELECT COUNT(*), COALESCE(MAX(position), 0) FROM contacts WHERE owner = ?1");
        s.bind(1, owner);
        s.step();
        count = s.integer(0);
        position = s.integer(1);
    }
    for (const auto& item : adds) {
        uint32_t person = personIdForContact(item);
        if (lists(owner, person)) continue;
        if (++count > static_cast<int64_t>(kContactLimit)) return OrvListChange::TooMany;
        Stmt s(*writer_,
               "INSERT INTO contacts(owner, person, position, first_name, last_name) "
               "VALUES(?1, ?2, ?3, ?4, ?5)");
        s.bind(1, owner).bind(2, person).bind(3, ++position).bind(4, item.firstName).bind(5, item.lastName);
        s.run();
        changed.push_back(person);
    }
    changed.push_back(owner);
    return OrvListChange::Ok;
}

uint32_t OrvStore::createMember(const OrvPerson& profile, const std::string& passwordHash, int64_t now,
                                const std::vector<OrvContactItem>& contacts,
                                std::vector<uint32_t>& changed) {
    uint32_t id = 0;
    transaction([&] {
        auto existing = personByEmail(profile.email);
        if (existing && existing->isMember) return;
        if (existing) {
            id = existing->id;
            Stmt s(*writer_,
                   "UPDATE persons SET is_member = 1, first_name = ?2, last_name = ?3, occupation = ?4,"
                   " email_private = ?5, chat_hidden = ?6, password_hash = ?7, pending_hash = '',"
                   " password_mailed_at = ?8, logged_in_once = 0, created_at = ?8 WHERE id = ?1");
            s.bind(1, id).bind(2, profile.firstName).bind(3, profile.lastName).bind(4, profile.occupation)
                .bind(5, profile.emailPrivate).bind(6, profile.chatHidden).bind(7, passwordHash).bind(8, now);
            s.run();
        } else {
            Stmt s(*writer_,
                   "INSERT INTO persons(email, is_member, first_name, last_name, occupation, email_private,"
                   " chat_hidden, password_hash, password_mailed_at, created_at)"
                   " VALUES(?1, 1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?8)");
            s.bind(1, profile.email).bind(2, profile.firstName).bind(3, profile.lastName)
                .bind(4, profile.occupation).bind(5, profile.emailPrivate).bind(6, profile.chatHidden)
                .bind(7, passwordHash).bind(8, now);
            s.run();
            id = static_cast<uint32_t>(writer_->lastInsertId());
        }
        OrvPerson p = profile;
        p.id = id;
        indexMember(p);
        if (addContactsLocked(id, profile.email, contacts, changed) != OrvListChange::Ok)
            throw OrvStoreError("contact list refused");
    });
    return id;
}

bool OrvStore::setPendingPassword(uint32_t id, const std::string& hash, int64_t now, int64_t mailedAt) {
    WriteLock lock(*this);
    Stmt s(*writer_,
           "UPDATE persons SET pending_hash = ?2, password_mailed_at = ?3"
           " WHERE id = ?1 AND is_member = 1 AND password_mailed_at = ?4");
    s.bind(1, id).bind(2, hash).bind(3, now).bind(4, mailedAt);
    s.run();
    return writer_->changes() > 0;
}

void OrvStore::usePendingPassword(uint32_t id, const std::string& hash) {
    WriteLock lock(*this);
    Stmt s(*writer_,
           "UPDATE persons SET password_hash = pending_hash, pending_hash = '' WHERE id = ?1 AND pending_hash = ?2"
           " AND pending_hash <> ''");
    s.bind(1, id).bind(2, hash);
    s.run();
}

void OrvStore::markLoggedIn(uint32_t id) {
    WriteLock lock(*this);
    Stmt s(*writer_, "UPDATE persons SET logged_in_once = 1 WHERE id = ?1 AND logged_in_once = 0");
    s.bind(1, id);
    s.run();
}

void OrvStore::updateProfile(uint32_t id, const std::string& first, const std::string& last,
                             const std::string& occupation, bool emailPrivate) {
    transaction([&] {
        Stmt s(*writer_,
               "UPDATE persons SET first_name = ?2, last_name = ?3, occupation = ?4, email_private = ?5"
               " WHERE id = ?1 AND is_member = 1");
        s.bind(1, id).bind(2, first).bind(3, last).bind(4, occupation).bind(5, emailPrivate);
        s.run();
        if (auto p = personById(id)) indexMember(*p);
    });
}

void OrvStore::changeEmail(uint32_t id, const std::string& newEmail, const std::string& passwordHash,
                           int64_t now, std::vector<uint32_t>& changed) {
    transaction([&] {
        auto other = personByEmail(newEmail);
        if (other && other->id != id) {
            if (other->isMember) throw OrvStoreError("address belongs to a member");
            // Everyone who listed the address now lists the member.
            std::vector<uint32_t> owners;
            {
                Stmt s(*writer_, "SELECT owner FROM contacts WHERE person = ?1");
                s.bind(1, other->id);
                while (s.step()) owners.push_back(static_cast<uint32_t>(s.integer(0)));
            }
            for (uint32_t owner : owners) {
                if (owner == id || lists(owner, id)) {
                    Stmt d(*writer_, "DELETE FROM contacts WHERE owner = ?1 AND person = ?2");
                    d.bind(1, owner).bind(2, other->id);
                    d.run();
                } else {
                    Stmt u(*writer_, "UPDATE contacts SET person = ?3 WHERE owner = ?1 AND person = ?2");
                    u.bind(1, owner).bind(2, other->id).bind(3, id);
                    u.run();
                }
                changed.push_back(owner);
            }
            {
                Stmt d(*writer_, "DELETE FROM contacts WHERE owner = ?1 AND person = ?2");
                d.bind(1, id).bind(2, other->id);
                d.run();
            }
            Stmt del(*writer_, "DELETE FROM persons WHERE id = ?1");
            del.bind(1, other->id);
            del.run();
            changed.push_back(other->id);
        }
        Stmt s(*writer_,
               "UPDATE persons SET email = ?2, password_hash = ?3, pending_hash = '', password_mailed_at = ?4"
               " WHERE id = ?1");
        s.bind(1, id).bind(2, newEmail).bind(3, passwordHash).bind(4, now);
        s.run();
        if (auto p = personById(id)) indexMember(*p);
        changed.push_back(id);
    });
}

void OrvStore::dropMember(uint32_t id, std::vector<uint32_t>& changed) {
    transaction([&] {
        {
            Stmt s(*writer_, "SELECT person FROM contacts WHERE owner = ?1");
            s.bind(1, id);
            while (s.step()) changed.push_back(static_cast<uint32_t>(s.integer(0)));
        }
        Stmt d(*writer_, "DELETE FROM contacts WHERE owner = ?1");
        d.bind(1, id);
        d.run();
        unindexMember(id);
        if (listerCount(id) == 0) {
            Stmt del(*writer_, "DELETE FROM persons WHERE id = ?1");
            del.bind(1, id);
            del.run();
        } else {
            Stmt u(*writer_,
                   "UPDATE persons SET is_member = 0, occupation = '', email_private = 0, chat_hidden = 0,"
                   " password_hash = '', pending_hash = '', logged_in_once = 0 WHERE id = ?1");
            u.bind(1, id);
            u.run();
        }
        // Non-members nobody lists any more are forgotten.
        for (uint32_t person : changed) {
            Stmt del(*writer_,
                     "DELETE FROM persons WHERE id = ?1 AND is_member = 0 AND"
                     " NOT EXISTS (SELECT 1 FROM contacts WHERE person = ?1)");
            del.bind(1, person);
            del.run();
        }
        changed.push_back(id);
    });
}

OrvListChange OrvStore::changeContacts(uint32_t owner, const std::vector<uint32_t>& drops,
                                       const std::vector<OrvContactItem>& adds,
                                       std::vector<uint32_t>& changed) {
    OrvListChange result = OrvListChange::Ok;
    std::vector<uint32_t> local;
    struct Refused {};
    try {
        transaction([&] {
            auto me = personById(owner);
            if (!me) throw OrvStoreError("no such member");
            for (uint32_t person : drops) {
                Stmt d(*writer_, "DELETE FROM contacts WHERE owner = ?1 AND person = ?2");
                d.bind(1, owner).bind(2, person);
                d.run();
                if (writer_->changes() > 0) {
                    local.push_back(person);
                    Stmt del(*writer_,
                             "DELETE FROM persons WHERE id = ?1 AND is_member = 0 AND"
                             " NOT EXISTS (SELECT 1 FROM contacts WHERE person = ?1)");
                    del.bind(1, person);
                    del.run();
                }
            }
            result = addContactsLocked(owner, me->email, adds, local);
            if (result != OrvListChange::Ok) throw Refused{};
        });
    } catch (const Refused&) {
        return result;
    }
    local.push_back(owner);
    changed.insert(changed.end(), local.begin(), local.end());
    return result;
}

void OrvStore::renameContacts(uint32_t owner, const std::vector<OrvNameUpdate>& updates) {
    transaction([&] {
        for (const auto& u : updates) {
            Stmt s(*writer_, "UPDATE contacts SET first_name = ?3, last_name = ?4 WHERE owner = ?1 AND person = ?2");
            s.bind(1, owner).bind(2, u.id).bind(3, u.firstName).bind(4, u.lastName);
            s.run();
        }
    });
}

std::string OrvStore::meta(const std::string& key) {
    ReadLease db(*this);
    Stmt s(db, "SELECT value FROM meta WHERE key = ?1");
    s.bind(1, key);
    return s.step() ? s.text(0) : std::string();
}

void OrvStore::setMeta(const std::string& key, const std::string& value) {
    WriteLock lock(*this);
    Stmt s(*writer_, "INSERT INTO meta(key, value) VALUES(?1, ?2) ON CONFLICT(key) DO UPDATE SET value = ?2");
    s.bind(1, key).bind(2, value);
    s.run();
}

}  // namespace orv
