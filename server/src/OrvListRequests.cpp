#include "OrvListRequests.h"

#include "OrvJson.h"
#include "OrvServer.h"

namespace orv {

namespace {

std::string countedRecords(const char* code, const std::string& records, size_t count) {
    return OrvJsonObject().str("code", code).num("count", static_cast<int64_t>(count)).raw("records", records).finish();
}

}  // namespace

std::string OrvListRequests::getTree(OrvRequest& r) {
    uint32_t id;
    if (!parseId(trimBlanks(r.field("id")), id)) throw OrvAnswer{"1"};
    auto view = server_.records().ownerView(id);
    if (!view) throw OrvAnswer{"2"};
    size_t count = 0;
    std::string list = server_.records().ownerRecords(r, *view, true, &count);
    return countedRecords("0", list, count);
}

std::string OrvListRequests::getContacts(OrvRequest& r) {
    auto view = server_.records().ownerView(r.viewer);
    if (!view) throw OrvAnswer{"3"};
    size_t count = 0;
    std::string list = server_.records().ownerRecords(r, *view, false, &count);
    return OrvJsonObject()
        .str("code", "0")
        .str("email", view->person.email)
        .num("count", static_cast<int64_t>(count))
        .raw("records", list)
        .finish();
}

std::string OrvListRequests::changeContacts(OrvRequest& r, const std::vector<uint32_t>& drops,
                                            const std::vector<OrvContactItem>& adds) {
    std::lock_guard lock(server_.writeMutex());
    std::vector<uint32_t> changed;
    switch (server_.store().changeContacts(r.viewer, drops, adds, changed)) {
        case OrvListChange::Self: throw OrvAnswer{"1"};
        case OrvListChange::TooMany: throw OrvAnswer{"4"};
        case OrvListChange::Ok: break;
    }
    server_.refreshGraph(changed);
    return OrvJsonObject().str("code", "0").finish();
}

std::string OrvListRequests::addContacts(OrvRequest& r) {
    std::vector<OrvContactItem> adds;
    if (!parseAddList(r.field("list"), adds)) throw OrvAnswer{"1"};
    return changeContacts(r, {}, adds);
}

std::string OrvListRequests::dropContacts(OrvRequest& r) {
    std::vector<uint32_t> drops;
    if (!parseDropList(r.field("list"), drops)) throw OrvAnswer{"1"};
    return changeContacts(r, drops, {});
}

std::string OrvListRequests::dropAddContacts(OrvRequest& r) {
    std::vector<uint32_t> drops;
    std::vector<OrvContactItem> adds;
    if (!parseDropList(r.field("dropList"), drops) || !parseAddList(r.field("addList"), adds))
        throw OrvAnswer{"1"};
    return changeContacts(r, drops, adds);
}

std::string OrvListRequests::updateContacts(OrvRequest& r) {
    std::vector<OrvNameUpdate> updates;
    if (!parseNameUpdateList(r.field("list"), updates)) throw OrvAnswer{"1"};
    for (auto& u : updates) {
        u.firstName = cutChars(u.firstName, kNameLimit);
        u.lastName = cutChars(u.lastName, kNameLimit);
    }
    std::lock_guard lock(server_.writeMutex());
    server_.store().renameContacts(r.viewer, updates);
    server_.records().invalidate({r.viewer});
    return OrvJsonObject().str("code", "0").finish();
}

std::string OrvListRequests::updateUser(OrvRequest& r) {
    std::string first = trimBlanks(r.field("firstName"));
    std::string last = trimBlanks(r.field("lastName"));
    std::string occupation = r.field("occupation");
    std::string hiddenEmail = r.field("hiddenEmail");
    std::string reserved = r.field("reserved");
    if (!isValidName(first, false) || !isValidName(last, true) || !isValidOccupation(occupation) ||
        !isValidFlag(hiddenEmail) || !(reserved.empty() || isValidFlag(reserved)))
        throw OrvAnswer{"1"};
    std::lock_guard lock(server_.writeMutex());
    server_.store().updateProfile(r.viewer, first, last, occupation, hiddenEmail == "1");
    server_.records().invalidateAll();
    return OrvJsonObject().str("code", "0").finish();
}

}  // namespace orv
