// The requests that search: search (members by words), search-path (between
// two persons) and search-path-keywords (to the nearest members matching
// words).
#pragma once

#include <cstdint>
#include <string>

#include "OrvRequest.h"

namespace orv {

class OrvServer;

class OrvSearchRequests {
public:
    explicit OrvSearchRequests(OrvServer& server) : server_(server) {}
    OrvSearchRequests(const OrvSearchRequests&) = delete;
    OrvSearchRequests& operator=(const OrvSearchRequests&) = delete;

    std::string search(OrvRequest& r);
    std::string searchPath(OrvRequest& r);
    std::string searchPathKeywords(OrvRequest& r);

private:
    // A path end given as an address or an id; false when nobody has it.
    bool resolveEnd(const std::string& text, uint32_t& id);

    OrvServer& server_;
};

}  // namespace orv
