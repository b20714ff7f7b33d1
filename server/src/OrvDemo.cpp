#include "OrvDemo.h"

#include <algorithm>
#include <cstdint>
#include <random>
#include <unordered_set>

#include "OrvServer.h"

namespace orv {

namespace {

const char* kFirstNames[] = {
    "James", "Mary", "John", "Patricia", "Robert", "Jennifer", "Michael", "Linda", "William", "Elizabeth",
    "David", "Barbara", "Richard", "Susan", "Joseph", "Jessica", "Thomas", "Sarah", "Charles", "Karen",
    "Daniel", "Nancy", "Matthew", "Lisa", "Anthony", "Betty", "Mark", "Margaret", "Donald", "Sandra",
    "Steven", "Ashley", "Paul", "Kimberly", "Andrew", "Emily", "Joshua", "Donna", "Kenneth", "Michelle",
    "Kevin", "Carol", "Brian", "Amanda", "George", "Melissa", "Timothy", "Deborah", "Ronald", "Stephanie",
    "Noa", "Yael", "Avi", "Tamar", "Omer", "Maya", "Lior", "Dana", "Itai", "Shira", "Luca", "Sofia",
    "Mateo", "Elena", "Hugo", "Camille", "Jonas", "Greta", "Pedro", "Ines", "Ahmed", "Leila", "Kenji",
    "Yuki", "Ravi", "Priya", "Chen", "Mei", "Olga", "Ivan"};
const char* kLastNames[] = {
    "Smith", "Johnson", "Williams", "Brown", "Jones", "Garcia", "Miller", "Davis", "Rodriguez", "Martinez",
    "Hernandez", "Lopez", "Gonzalez", "Wilson", "Anderson", "Thomas", "Taylor", "Moore", "Jackson", "Martin",
    "Lee", "Perez", "Thompson", "White", "Harris", "Sanchez", "Clark", "Ramirez", "Lewis", "Robinson",
    "Walker", "Young", "Allen", "King", "Wright", "Scott", "Torres", "Nguyen", "Hill", "Flores", "Green",
    "Adams", "Nelson", "Baker", "Hall", "Rivera", "Campbell", "Mitchell", "Carter", "Roberts", "Cohen",
    "Levi", "Mizrahi", "Peretz", "Biton", "Friedman", "Rossi", "Russo", "Ferrari", "Muller", "Schmidt",
    "Schneider", "Dubois", "Moreau", "Silva", "Santos", "Kowalski", "Novak", "Tanaka", "Suzuki", "Patel",
    "Sharma", "Wang", "Zhang", "Ivanov", "Petrov"};
const char* kOccupations[] = {
    "Software engineer", "Nurse", "High school teacher", "Accountant", "Electrician", "Graphic designer",
    "Civil engineer", "Pharmacist", "Sales manager", "Lawyer", "Architect", "Chef", "Photographer",
    "Journalist", "Physiotherapist", "Dentist", "Data analyst", "Marketing specialist", "Mechanic",
    "Veterinarian", "Librarian", "Psychologist", "Real estate agent", "Pilot", "Biologist",
    "Product manager", "Translator", "Music teacher", "Carpenter", "Financial advisor",
    "Student of computer science", "Student of medicine", "Researcher in chemistry", "Social worker",
    "Plumber", "Web developer", "Project manager", "Bank clerk", "Economist", "Film editor"};
const char* kDomains[] = {"example.com", "example.net", "example.org", "mail.com", "post.net"};

const std::vector<OrvDemoAccount> kAccounts = {
    {"demo1@example.com", "orvane-demo-1"}, {"demo2@example.com", "orvane-demo-2"},
    {"demo3@example.com", "orvane-demo-3"}, {"demo4@example.com", "orvane-demo-4"},
    {"demo5@example.com", "orvane-demo-5"}};

template <class T, size_t N>
const char* pick(T (&arr)[N], std::mt19937_64& rng) {
    return arr[rng() % N];
}

std::string lower(std::string s) { return asciiLower(std::move(s)); }

}  // namespace

const std::vector<OrvDemoAccount>& demoAccounts() { return kAccounts; }

bool seedDemoNetwork(OrvServer& server, size_t memberCount) {
    OrvStore& store = server.store();
    if (store.meta("demo") == "1") return false;
    std::mt19937_64 rng(0x0A7A1E5EEDull);
    memberCount = std::max<size_t>(memberCount, kAccounts.size() + 10);

    struct Member {
        OrvPerson profile;
        std::vector<size_t> knows;  // other members
        std::vector<size_t> outsiders;  // non-members
    };
    std::vector<Member> members(memberCount);
    for (size_t i = 0; i < memberCount; ++i) {
        OrvPerson& p = members[i].profile;
        p.firstName = pick(kFirstNames, rng);
        p.lastName = pick(kLastNames, rng);
        p.occupation = pick(kOccupations, rng);
        p.emailPrivate = rng() % 10 == 0;
        p.chatHidden = rng() % 20 == 0;
        p.email = i < kAccounts.size()
                      ? std::string(kAccounts[i].email)
                      : lower(p.firstName) + "." + lower(p.lastName) + std::to_string(i) + "@" + pick(kDomains, rng);
    }
    // Small world: a ring where everyone knows near neighbours, some links
    // rewired at random, and a few hubs that very many people know.
    const size_t ring = 4, hubs = 12;
    for (size_t i = 0; i < memberCount; ++i) {
        for (size_t k = 1; k <= ring; ++k) {
            size_t j = (i + k) % memberCount;
            if (rng() % 10 == 0) j = rng() % memberCount;
            members[i].knows.push_back(j);
            if (rng() % 2 == 0) members[j].knows.push_back(i);
        }
        size_t extra = rng() % 6;
        for (size_t k = 0; k < extra; ++k) members[i].knows.push_back(rng() % memberCount);
        if (rng() % 100 < 4) members[i].knows.push_back(kAccounts.size() + rng() % hubs);
    }
    for (size_t h = kAccounts.size(); h < kAccounts.size() + hubs; ++h)
        for (int k = 0; k < 150; ++k) members[h].knows.push_back(rng() % memberCount);
    // The demo accounts know each other and a few hubs.
    for (size_t a = 0; a < kAccounts.size(); ++a) {
        for (size_t b = 0; b < kAccounts.size(); ++b)
            if (a != b) members[a].knows.push_back(b);
        members[a].knows.push_back(kAccounts.size() + a);
    }
    // Non-members: people from address books, some known by several members.
    const size_t outsiderCount = memberCount * 3 / 4;
    for (auto& m : members) {
        size_t n = 2 + rng() % 4;
        for (size_t k = 0; k < n; ++k) m.outsiders.push_back(rng() % outsiderCount);
    }
    std::vector<OrvContactItem> outsiders(outsiderCount);
    for (size_t i = 0; i < outsiderCount; ++i) {
        std::string f = pick(kFirstNames, rng), l = pick(kLastNames, rng);
        outsiders[i] = {f, rng() % 8 == 0 ? std::string() : l,
                        lower(f) + "_" + lower(l) + std::to_string(i) + "@" + pick(kDomains, rng)};
    }

    store.transaction([&] {
        std::vector<uint32_t> changed;
        for (size_t i = 0; i < memberCount; ++i) {
            Member& m = members[i];
            std::vector<OrvContactItem> list;
            std::unordered_set<size_t> seen{i};
            for (size_t j : m.knows) {
                if (!seen.insert(j).second || list.size() >= kContactLimit) continue;
                const OrvPerson& o = members[j].profile;
                list.push_back({o.firstName, o.lastName, o.email});
            }
            for (size_t j : m.outsiders)
                if (list.size() < kContactLimit) list.push_back(outsiders[j]);
            std::string hash = i < kAccounts.size() ? server.passwords().hash(kAccounts[i].password) : std::string();
            store.createMember(m.profile, hash, 0, list, changed);
            changed.clear();
        }
        store.setMeta("demo", "1");
    });
    server.loadGraph();
    return true;
}

}  // namespace orv
