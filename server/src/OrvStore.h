// The embedded store: one SQLite file in WAL mode holding persons (members
// and the non-members they list), contact lists, and a full-text index of
// members. Every statement uses bound parameters.
#pragma once

#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <string>
#include <unordered_map>
#include <vector>

#include "OrvValidation.h"

struct sqlite3;
struct sqlite3_stmt;

namespace orv {

class OrvStoreError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

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

    // Members matching every word (prefix, case ignored), best first.
    std::vector<uint32_t> searchMembers(const std::vector<std::string>& words, OrvSearchKind kind,
                                        uint32_t exclude, size_t limit);
    // Members in the list of `member` or listing him.
    std::vector<uint32_t> acquaintances(uint32_t member, size_t limit);

    // Creates a member (or promotes the non-member with that address, keeping
    // his id) with his contact list; returns 0 when a member has the address.
    // `changed` receives every node whose neighbours changed.
    uint32_t createMember(const OrvPerson& profile, const std::string& passwordHash, int64_t now,
                          const std::vector<OrvContactItem>& contacts, std::vector<uint32_t>& changed);
    void setPendingPassword(uint32_t id, const std::string& hash, int64_t now);
    void usePendingPassword(uint32_t id);  // the pending password becomes the password
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

private:
    class Stmt;
    void exec(const char* sql);
    void indexMember(const OrvPerson& p);
    void unindexMember(uint32_t id);
    uint32_t personIdForContact(const OrvContactItem& item);
    OrvListChange addContactsLocked(uint32_t owner, const std::string& ownerEmail,
                                    const std::vector<OrvContactItem>& adds,
                                    std::vector<uint32_t>& changed);

    struct CachedStatement {
        sqlite3_stmt* stmt = nullptr;
        bool busy = false;
    };
    std::recursive_mutex mutex_;
    sqlite3* db_ = nullptr;
    std::unordered_map<std::string, CachedStatement> statements_;
    int txDepth_ = 0;
};

}  // namespace orv
