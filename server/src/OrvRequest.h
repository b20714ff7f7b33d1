// One API request as its handler sees it: the JSON body, the time, and the
// member of its session; and OrvAnswer, thrown to end a request early with
// a result code only.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_set>

#include <nlohmann/json.hpp>

namespace orv {

struct OrvAnswer {
    std::string code;
};

struct OrvRequest {
    const nlohmann::json* body = nullptr;
    int64_t now = 0;
    std::string session;  // a live session of this request, for notices
    uint32_t viewer = 0;  // the member of the session, 0 before log-in
    bool listedLoaded = false;
    std::unordered_set<uint32_t> listed;  // persons the viewer lists

    // A string member of the body; a missing or non-string one is bad input.
    std::string field(const char* name) const;
};

}  // namespace orv
