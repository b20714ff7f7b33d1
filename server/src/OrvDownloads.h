// GET and HEAD /download/<file>: the update archives in <data>/download,
// streamed from the file in pieces (a large archive is never held in
// memory), with its Content-Length and byte ranges. Only a plain file name
// of safe characters is served; anything else (other folders, "..", hidden
// files, links to elsewhere, devices) is 404.
#pragma once

#include <string>

namespace httplib {
class Server;
}

namespace orv {

class OrvDownloads {
public:
    // Bytes read from the file per piece sent.
    static constexpr size_t kPieceBytes = 64 * 1024;

    static void route(httplib::Server& http, const std::string& downloadDir);
};

}  // namespace orv
