#include "OrvRecords.h"

#include <algorithm>

#include "OrvJson.h"
#include "OrvValidation.h"

namespace orv {

namespace {

constexpr size_t kViewCacheLimit = 20000;
const char* kPrivateEmail = "private";
const char* kUnnamed = "Unnamed";

}  // namespace

OrvRecords::OrvRecords(OrvStore& store, const OrvGraph& graph, const OrvSessions& sessions)
    : store_(store), graph_(graph), sessions_(sessions) {}

std::shared_ptr<const OrvRecords::OwnerView> OrvRecords::ownerView(uint32_t id) {
    uint64_t generation;
    {
        std::lock_guard lock(viewsMutex_);
        auto it = views_.find(id);
        if (it != views_.end()) return it->second;
        generation = viewsGeneration_;
    }
    auto person = store_.personById(id);
    if (!person) return nullptr;
    auto view = std::make_shared<OwnerView>();
    view->person = std::move(*person);
    auto listings = store_.contactsOf(id);
    std::vector<uint32_t> ids;
    for (const auto& l : listings) ids.push_back(l.person);
    std::unordered_map<uint32_t, OrvPerson> persons;
    for (auto& p : store_.personsByIds(ids)) persons.emplace(p.id, std::move(p));
    for (auto& l : listings) {
        auto it = persons.find(l.person);
        if (it == persons.end()) continue;
        view->listed.insert(l.person);
        view->contacts.push_back(it->second);
        view->listings.push_back(std::move(l));
    }
    std::lock_guard lock(viewsMutex_);
    // A change made while the store was read leaves this view out of the cache.
    if (generation == viewsGeneration_) {
        if (views_.size() >= kViewCacheLimit) views_.clear();
        views_[id] = view;
    }
    return view;
}

void OrvRecords::invalidate(const std::vector<uint32_t>& owners) {
    std::lock_guard lock(viewsMutex_);
    ++viewsGeneration_;
    for (uint32_t id : owners) views_.erase(id);
}

void OrvRecords::invalidateAll() {
    std::lock_guard lock(viewsMutex_);
    ++viewsGeneration_;
    views_.clear();
}

bool OrvRecords::emailVisible(OrvRequest& r, const OrvPerson& p) {
    if (p.id == r.viewer || (p.isMember && !p.emailPrivate)) return true;
    if (!r.viewer) return false;
    if (!r.listedLoaded) {
        if (auto v = ownerView(r.viewer)) r.listed = v->listed;
        r.listedLoaded = true;
    }
    return r.listed.count(p.id) > 0;
}

bool OrvRecords::listsPerson(uint32_t owner, uint32_t person) {
    auto view = ownerView(owner);
    return view && view->listed.count(person) > 0;
}

std::string OrvRecords::render(OrvRequest& r, const OrvPerson& p, const OrvListing* listing) {
    std::string firstName = p.firstName, lastName = p.lastName;
    if (!p.isMember && listing) {
        firstName = listing->firstName;
        lastName = listing->lastName;
    }
    bool showEmail = emailVisible(r, p);
    // A nameless contact is named after his address, unless that is hidden.
    if (firstName.empty())
        firstName = showEmail ? cutChars(p.email.substr(0, p.email.find('@')), kNameLimit) : kUnnamed;
    bool self = p.id == r.viewer;
    std::string presence;
    if (p.isMember && (self || !p.chatHidden)) {
        int status = sessions_.presenceOf(p.id);
        if (status == 2 && !self) {
            // Available to friends: shown only to those he lists.
            auto view = r.viewer ? ownerView(p.id) : nullptr;
            if (!view || !view->listed.count(r.viewer)) status = -1;
        }
        if (status >= 0) presence = std::to_string(status);
    }
    bool canChat = p.isMember && !p.chatHidden && !presence.empty();
    return OrvJsonObject()
        .str("id", std::to_string(p.id))
        .num("isMember", p.isMember)
        .num("nodeRank", graph_.rank(p.id))
        .str("firstName", firstName)
        .str("lastName", lastName)
        .str("email", showEmail ? p.email : kPrivateEmail)
        .str("occupation", p.isMember ? p.occupation : std::string())
        .num("emailPrivate", p.emailPrivate || !p.isMember)
        .num("chatHidden", p.chatHidden)
        .str("chatPresence", presence)
        .num("canChat", canChat)
        .finish();
}

std::vector<std::string> OrvRecords::records(OrvRequest& r, const std::vector<uint32_t>& ids,
                                             const std::vector<const OrvListing*>* listings) {
    std::unordered_map<uint32_t, OrvPerson> persons;
    for (auto& p : store_.personsByIds(ids)) persons.emplace(p.id, std::move(p));
    std::vector<std::string> out(ids.size());
    for (size_t i = 0; i < ids.size(); ++i) {
        auto it = persons.find(ids[i]);
        if (it == persons.end()) continue;
        out[i] = render(r, it->second, listings ? (*listings)[i] : nullptr);
    }
    return out;
}

std::string OrvRecords::ownerRecords(OrvRequest& r, const OwnerView& view, bool withOwner, size_t* count) {
    std::string out = "[";
    size_t n = 0;
    if (withOwner) {
        out += render(r, view.person, nullptr);
        ++n;
    }
    for (size_t i = 0; i < view.contacts.size(); ++i) {
        if (n++) out += ',';
        out += render(r, view.contacts[i], &view.listings[i]);
    }
    out += ']';
    *count = n;
    return out;
}

std::string OrvRecords::recordsJson(OrvRequest& r, const std::vector<uint32_t>& ids,
                                    const std::vector<const OrvListing*>* listings, size_t* count) {
    std::string out = "[";
    size_t n = 0;
    for (const auto& record : records(r, ids, listings)) {
        if (record.empty()) continue;
        if (n++) out += ',';
        out += record;
    }
    out += ']';
    if (count) *count = n;
    return out;
}

std::string OrvRecords::pathsJson(OrvRequest& r, const OrvPathSearch& found, size_t* count) {
    std::vector<uint32_t> ids;
    for (const auto& path : found.paths) ids.insert(ids.end(), path.begin(), path.end());
    std::sort(ids.begin(), ids.end());
    ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
    // Each person is written once, then copied into every path that holds him.
    auto written = records(r, ids, nullptr);
    std::unordered_map<uint32_t, const std::string*> byId;
    for (size_t i = 0; i < ids.size(); ++i) byId[ids[i]] = &written[i];
    std::string out = "[";
    size_t n = 0;
    for (const auto& path : found.paths) {
        bool whole = std::all_of(path.begin(), path.end(), [&](uint32_t id) { return !byId[id]->empty(); });
        if (!whole) continue;
        if (n++) out += ',';
        out += '[';
        for (size_t k = 0; k < path.size(); ++k) {
            if (k) out += ',';
            out += *byId[path[k]];
        }
        out += ']';
    }
    out += ']';
    *count = n;
    return out;
}

}  // namespace orv
