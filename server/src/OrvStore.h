// The embedded store: one SQLite file in WAL mode holding persons (members
// and the non-members they list), contact lists, and a full-text index of
// members. Every statement uses bound parameters.
//
// One writer connection behind the write lock makes every change; readers
// each borrow a connection of their own from a pool and read the last
// committed state while the writer works. A thread that holds the write
// lock (inside transaction() or a change) reads through the writer's
// connection and so sees its own changes.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "OrvStoreError.h"
#include "OrvValidation.h"

namespace orv {

class OrvStoreConnection;

struct OrvPerson {
    uint32_t id = 0;
    std::string email;
    std::string firstName;
    std::string lastName;
    std::string occupation;
    bool isMember = false;
    bool emailPrivate = false;
    bool chatHidden = false;
};

struct OrvAccount {
    OrvPerson person;
    std::string passwordHash;
    std::string pendingHash;  // a re-sent password, valid beside the old one
    int64_t passwordMailedAt = 0;
    bool loggedInOnce = false;
};

struct OrvListing {
    uint32_t person = 0;
    std::string firstName;  // as the owner named the person
    std::string lastName;
};

enum class OrvSearchKind { All, Names, Email, FreeText };

enum class OrvListChange { Ok, TooMany, Self };

class OrvStore {
public:
    explicit OrvStore(const std::string& path);
    ~OrvStore();
    OrvStore(const OrvStore&) = delete;
    OrvStore& operator=(const OrvStore&) = delete;

    // Runs f inside one transaction (nested calls join the outer one).
    void transaction(const std::function<void()>& f);

    std::optional<OrvAccount> accountByEmail(const std::string& email);
    std::optional<OrvAccount> accountById(uint32_t id);
    std::optional<OrvPerson> personById(uint32_t id);
    std::optional<OrvPerson> personByEmail(const std::string& email);
    std::vector<OrvPerson> personsByIds(const std::vector<uint32_t>& ids);
    std::vector<OrvListing> contactsOf(uint32_t owner);
    bool lists(uint32_t owner, uint32_t person);
    uint32_t listerCount(uint32_t person);
    std::vector<uint32_t> listersOf(uint32_t person);
    std::vector<uint32_t> neighbours(uint32_t person);  // listed by or listing the person
    uint32_t maxPersonId();
    void forEachListing(const std::function<void(uint32_t owner, uint32_t person)>& f);
    uint64_t memberCount();

    // Members matching every word (prefix, case ignored; a word with an at
    // sign also by the whole address), at most `limit`, best first; with
    // kAllMatches every match, in no particular order.
    std::vector<uint32_t> searchMembers(const std::vector<std::string>& words, OrvSearchKind kind,
                                        uint32_t exclude, size_t limit);
    static constexpr size_t kAllMatches = static_cast<size_t>(-1);
    // Members in the list of `member` or listing him.
    std::vector<uint32_t> acquaintances(uint32_t member, size_t limit);

    // Creates a member (or promotes the non-member with that address, keeping
    // his id) with his contact list; returns 0 when a member has the address.
    // `changed` receives every node whose neighbours changed.
    uint32_t createMember(const OrvPerson& profile, const std::string& passwordHash, int64_t now,
                          const std::vector<OrvContactItem>& contacts, std::vector<uint32_t>& changed);
    // A re-sent password, unless another was mailed since `mailedAt` was read
    // (then false and nothing changes).
    bool setPendingPassword(uint32_t id, const std::string& hash, int64_t now, int64_t mailedAt);
    // The pending password `hash` becomes the password (not when it was
    // replaced by a newer one meanwhile).
    void usePendingPassword(uint32_t id, const std::string& hash);
    void markLoggedIn(uint32_t id);
    void updateProfile(uint32_t id, const std::string& first, const std::string& last,
                       const std::string& occupation, bool emailPrivate);
    // The address of a member moves to newEmail (merging a non-member with
    // that address into him) with a new password.
    void changeEmail(uint32_t id, const std::string& newEmail, const std::string& passwordHash,
                     int64_t now, std::vector<uint32_t>& changed);
    // Ends a membership; the person stays while somebody lists him.
    void dropMember(uint32_t id, std::vector<uint32_t>& changed);

    OrvListChange changeContacts(uint32_t owner, const std::vector<uint32_t>& drops,
                                 const std::vector<OrvContactItem>& adds, std::vector<uint32_t>& changed);
    void renameContacts(uint32_t owner, const std::vector<OrvNameUpdate>& updates);

    std::string meta(const std::string& key);
    void setMeta(const std::string& key, const std::string& value);

    // Reader connections open now, idle or lent (for tests and figures).
    size_t readerConnections() const;

private:
    class ReadLease;
    class WriteLock;
    // These run inside a transaction, on the writer's connection.
    void indexMember(const OrvPerson& p);
    void unindexMember(uint32_t id);
    uint32_t personIdForContact(const OrvContactItem& item);
    OrvListChange addContactsLocked(uint32_t owner, const std::string& ownerEmail,
                                    const std::vector<OrvContactItem>& adds, std::vector<uint32_t>& changed);

    std::string path_;
    std::mutex writeMutex_;
    std::atomic<std::thread::id> writerThread_{};  // the holder of writeMutex_
    std::unique_ptr<OrvStoreConnection> writer_;
    int txDepth_ = 0;
    mutable std::mutex poolMutex_;
    std::vector<std::unique_ptr<OrvStoreConnection>> idleReaders_;
    size_t readerCount_ = 0;
};

}  // namespace orv
