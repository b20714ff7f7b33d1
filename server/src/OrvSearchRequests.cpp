#include "OrvSearchRequests.h"

#include "OrvJson.h"
#include "OrvServer.h"
#include "OrvValidation.h"

namespace orv {

namespace {

constexpr size_t kSearchLimit = 1000;
constexpr size_t kPathLimit = 100;
constexpr int kPathDepth = 6;

}  // namespace

std::string OrvSearchRequests::search(OrvRequest& r) {
    std::string query = r.field("query");
    std::string kind = r.field("kind");
    std::vector<uint32_t> ids;
    if (kind == "1" && trimBlanks(query).empty()) {
        ids = server_.store().acquaintances(r.viewer, kSearchLimit);
    } else {
        OrvSearchKind k;
        if (kind.empty() || kind == "0" || kind == "1") k = OrvSearchKind::All;
        else if (kind == "2") k = OrvSearchKind::Names;
        else if (kind == "3") k = OrvSearchKind::Email;
        else if (kind == "4") k = OrvSearchKind::FreeText;
        else throw OrvAnswer{"1"};
        std::vector<std::string> words;
        if (!parseQuery(query, words)) throw OrvAnswer{"1"};
        ids = server_.store().searchMembers(words, k, r.viewer, kSearchLimit);
    }
    size_t count = 0;
    std::string list = server_.records().recordsJson(r, ids, nullptr, &count);
    if (count == 0) throw OrvAnswer{"2"};
    return OrvJsonObject().str("code", "0").num("count", static_cast<int64_t>(count)).raw("records", list).finish();
}

bool OrvSearchRequests::resolveEnd(const std::string& raw, uint32_t& id) {
    std::string text = trimBlanks(raw);
    if (text.find('@') != std::string::npos) {
        size_t n = charCount(text);
        if (n < kQueryMin || n > kQueryMax) throw OrvAnswer{"1"};
        auto p = server_.store().personByEmail(asciiLower(text));
        if (!p) return false;
        id = p->id;
        return true;
    }
    if (!parseId(text, id)) throw OrvAnswer{"1"};
    return server_.store().personById(id).has_value();
}

std::string OrvSearchRequests::searchPath(OrvRequest& r) {
    std::string sourceText = r.field("source"), destinationText = r.field("destination");
    uint32_t source = 0, destination = 0;
    bool haveSource = resolveEnd(sourceText, source);
    bool haveDestination = resolveEnd(destinationText, destination);
    if (!haveSource) throw OrvAnswer{"10"};
    if (!haveDestination) throw OrvAnswer{"2"};
    if (source == destination) throw OrvAnswer{"1"};
    OrvPathSearch found = server_.graph().shortestPaths({source}, {destination}, kPathDepth, kPathLimit);
    size_t count = 0;
    std::string paths = server_.records().pathsJson(r, found, &count);
    if (count == 0) throw OrvAnswer{"11"};
    // The ends' addresses as the caller may see them, else the text he sent.
    auto visible = [&](uint32_t id, const std::string& sent) {
        auto p = server_.store().personById(id);
        return p && server_.records().emailVisible(r, *p) ? p->email : trimBlanks(sent);
    };
    std::string sourceEmail = visible(source, sourceText);
    std::string destinationEmail = visible(destination, destinationText);
    return OrvJsonObject()
        .str("code", "0")
        .str("sourceEmail", sourceEmail)
        .str("destination", destinationEmail)
        .str("hops", std::to_string(found.hops))
        .num("count", static_cast<int64_t>(count))
        .raw("paths", paths)
        .finish();
}

std::string OrvSearchRequests::searchPathKeywords(OrvRequest& r) {
    std::string sourceText = r.field("source"), keywords = r.field("keywords");
    uint32_t source = 0;
    std::vector<std::string> words;
    if (!parseQuery(keywords, words)) throw OrvAnswer{"1"};
    if (!resolveEnd(sourceText, source)) throw OrvAnswer{"10"};
    // Every matching member is a target, however many: the search from the
    // source then meets the nearest of them first.
    std::vector<uint32_t> targets =
        server_.store().searchMembers(words, OrvSearchKind::All, source, OrvStore::kAllMatches);
    // No member matches: "2", the client's "no results" message; matches
    // but none within reach: "11", its "Path not found".
    if (targets.empty()) throw OrvAnswer{"2"};
    OrvPathSearch found = server_.graph().shortestPaths({source}, targets, kPathDepth, kPathLimit);
    size_t count = 0;
    std::string paths = server_.records().pathsJson(r, found, &count);
    if (count == 0) throw OrvAnswer{"11"};
    return OrvJsonObject().str("code", "0").num("count", static_cast<int64_t>(count)).raw("paths", paths).finish();
}

}  // namespace orv
