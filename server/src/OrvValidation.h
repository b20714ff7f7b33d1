// The input rules of the network, checked again at the server: lengths,
// characters, e-mail addresses and the list formats the client sends.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace orv {

constexpr size_t kNameLimit = 15;
constexpr size_t kEmailLimit = 40;
constexpr size_t kOccupationLimit = 250;
constexpr size_t kQueryMin = 3;
constexpr size_t kQueryMax = 250;
constexpr size_t kContactLimit = 1000;

// The characters never allowed in names, addresses, queries and keywords.
extern const char kForbiddenChars[];

bool isForbiddenChar(char c);
bool isValidUtf8(const std::string& s);
size_t charCount(const std::string& s);  // code points of valid UTF-8
std::string cutChars(const std::string& s, size_t maxChars);
std::string trimBlanks(const std::string& s);  // blanks, tabs, CR and LF at both ends
std::string asciiLower(std::string s);

// The client's address rule (also for contacts, where no at sign is needed).
bool isValidEmailRule(const std::string& email);
// A member's own address: the rule, plus exactly one at sign.
bool isValidMemberEmail(const std::string& email);
// An address in a contact list: the rule, or (for addresses imported from
// address books, e.g. with longer top-level domains) an at sign with
// characters on both sides; never more than 40 characters or a forbidden one.
bool isValidContactEmail(const std::string& email);
bool isValidName(const std::string& name, bool allowEmpty);
bool isValidOccupation(const std::string& text);
bool isValidFlag(const std::string& flag);  // "0" or "1"

struct OrvContactItem {
    std::string firstName;
    std::string lastName;
    std::string email;  // lower case
};
struct OrvNameUpdate {
    uint32_t id = 0;
    std::string firstName;
    std::string lastName;
};

// "first,last,email;..." (an empty item is skipped).
bool parseAddList(const std::string& list, std::vector<OrvContactItem>& out);
// "id,id,...".
bool parseDropList(const std::string& list, std::vector<uint32_t>& out);
// "id,first,last;...".
bool parseNameUpdateList(const std::string& list, std::vector<OrvNameUpdate>& out);
// A decimal person id of 1 to 10 digits. A well-formed number that no
// person can have (0, or beyond 32 bits) gives id 0, which names nobody.
bool parseId(const std::string& text, uint32_t& id);
// A search query or keywords: words separated by ';' or blanks.
bool parseQuery(const std::string& query, std::vector<std::string>& words);
// "0" on line, "1" away, "2" available to friends.
bool parseStatus(const std::string& text, int& status);
bool isValidNickname(const std::string& nick);
bool isValidVersion(const std::string& version);
// <0, 0, >0 like strcmp, comparing dotted decimal numbers of any size.
int compareVersions(const std::string& a, const std::string& b);

}  // namespace orv
