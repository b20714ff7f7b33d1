// The HTTP server of orvane-server: cpp-httplib's routing and parsing, with
// the connection handling made to hold under hostile clients. Every request
// goes through an OrvHttpStream with its limits; the listening socket gets
// the system's largest backlog and is never shared with another process; a
// refused or failed request ends its connection, so that whatever the peer
// sent after it is never read as a request.
#pragma once

#include <httplib.h>

#include <string>

#include "OrvHttpStream.h"

namespace orv {

class OrvHttpServer : public httplib::Server {
public:
    explicit OrvHttpServer(const OrvHttpLimits& limits, int threads);

    // Binds and listens (port 0 picks a free one); returns the port. Throws
    // std::runtime_error naming the address and the reason when it cannot.
    int bindListening(const std::string& host, int port);

    // Closes the listening socket whether or not serving has begun; a
    // serving loop then ends. The library's stop() does nothing before.
    void stopListening();

    // A POST handler whose body is held to the body limit (413 above it).
    void post(const std::string& pattern, Handler handler);

    // The connection of the calling worker thread, null outside a request.
    static OrvHttpStream* currentConnection();

    // The backlog given to listen(): the system's largest.
    static int listenBacklog();

protected:
    bool process_and_close_socket(socket_t sock) override;

private:
    HandlerResponse refuseEarly(const httplib::Request& req, httplib::Response& res);
    HandlerResponse answerError(httplib::Response& res);

    OrvHttpLimits limits_;
};

}  // namespace orv
