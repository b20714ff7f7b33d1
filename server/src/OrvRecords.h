// Contact records as the viewer of a request may see them (names, address
// privacy, presence), and the in-memory views of a person with his contact
// list from which trees and privacy checks are read.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "OrvGraph.h"
#include "OrvRequest.h"
#include "OrvSessions.h"
#include "OrvStore.h"

namespace orv {

class OrvRecords {
public:
    OrvRecords(OrvStore& store, const OrvGraph& graph, const OrvSessions& sessions);
    OrvRecords(const OrvRecords&) = delete;
    OrvRecords& operator=(const OrvRecords&) = delete;

    // A person with his contact list as the store holds it, kept in memory
    // between changes.
    struct OwnerView {
        OrvPerson person;
        std::vector<OrvPerson> contacts;   // in list order
        std::vector<OrvListing> listings;  // the owner's names for them, same order
        std::unordered_set<uint32_t> listed;
    };
    // Null for an unknown person.
    std::shared_ptr<const OwnerView> ownerView(uint32_t id);
    void invalidate(const std::vector<uint32_t>& owners);
    void invalidateAll();

    bool emailVisible(OrvRequest& r, const OrvPerson& p);
    bool listsPerson(uint32_t owner, uint32_t person);

    std::string render(OrvRequest& r, const OrvPerson& p, const OrvListing* listing);
    // One JSON record per id (empty for an unknown id).
    std::vector<std::string> records(OrvRequest& r, const std::vector<uint32_t>& ids,
                                     const std::vector<const OrvListing*>* listings);
    // A JSON array of the records of the known ids; `count` gets their number.
    std::string recordsJson(OrvRequest& r, const std::vector<uint32_t>& ids,
                            const std::vector<const OrvListing*>* listings, size_t* count);
    // The owner (when asked) and his contacts, in list order.
    std::string ownerRecords(OrvRequest& r, const OwnerView& view, bool withOwner, size_t* count);
    // A JSON array of paths, each an array of records; a path through a
    // person the store no longer holds (removed since the search) is left
    // out. `count` gets the number of paths written.
    std::string pathsJson(OrvRequest& r, const OrvPathSearch& found, size_t* count);

private:
    OrvStore& store_;
    const OrvGraph& graph_;
    const OrvSessions& sessions_;
    std::mutex viewsMutex_;
    std::unordered_map<uint32_t, std::shared_ptr<const OwnerView>> views_;
    uint64_t viewsGeneration_ = 0;  // bumped by every invalidation
};

}  // namespace orv
