#include "OrvHttpServer.h"

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <fstream>
#include <stdexcept>

#include "OrvJson.h"

namespace orv {

namespace {

thread_local OrvHttpStream* tlsConnection = nullptr;

const char* kJsonType = "application/json; charset=utf-8";

// Without SO_REUSEPORT (the library's default): a second server on a busy
// port must fail, not share the port with the first.
void socketOptions(socket_t sock) {
    int yes = 1;
    ::setsockopt(sock, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
}

const char* refusalText(OrvHttpRefusal r) {
    switch (r) {
        case OrvHttpRefusal::HeadTooLarge: return "431 Request Header Fields Too Large";
        case OrvHttpRefusal::BodyTooLarge: return "413 Payload Too Large";
        case OrvHttpRefusal::TooSlow: return "408 Request Timeout";
        case OrvHttpRefusal::None: break;
    }
    return "400 Bad Request";
}

// Closing with unread input resets the connection, and the peer may lose
// the refusal it was sent. So the answer is finished with a FIN first and
// what the peer still sends is read and dropped, until it pauses for 100 ms
// (at most 1 s and 1 MiB).
void lingerAfterRefusal(int sock) {
    ::shutdown(sock, SHUT_WR);
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(1);
    size_t drained = 0;
    char buf[16384];
    while (drained < (size_t{1} << 20) && std::chrono::steady_clock::now() < end) {
        pollfd p{sock, POLLIN, 0};
        if (::poll(&p, 1, 100) <= 0) break;
        ssize_t n = ::recv(sock, buf, sizeof buf, 0);
        if (n <= 0) break;
        drained += static_cast<size_t>(n);
    }
}

}  // namespace

OrvHttpServer::OrvHttpServer(const OrvHttpLimits& limits, int threads) : limits_(limits) {
    new_task_queue = [threads] { return new httplib::ThreadPool(static_cast<size_t>(threads)); };
    set_payload_max_length(limits_.bodyBytes);
    set_read_timeout(limits_.readSeconds, 0);
    set_write_timeout(limits_.writeSeconds, 0);
    set_socket_options(socketOptions);
    set_pre_routing_handler(
        HandlerWithResponse([this](const httplib::Request& req, httplib::Response& res) { return refuseEarly(req, res); }));
    set_error_handler(
        HandlerWithResponse([this](const httplib::Request&, httplib::Response& res) { return answerError(res); }));
}

int OrvHttpServer::listenBacklog() {
    int backlog = SOMAXCONN;
    std::ifstream in("/proc/sys/net/core/somaxconn");
    int fromSystem = 0;
    if (in >> fromSystem && fromSystem > backlog) backlog = fromSystem;
    return backlog;
}

int OrvHttpServer::bindListening(const std::string& host, int port) {
    errno = 0;
    int bound = port == 0 ? bind_to_any_port(host) : (bind_to_port(host, port) ? port : -1);
    int error = errno;
    std::string where = host + ":" + std::to_string(port);
    if (bound <= 0)
        throw std::runtime_error("cannot listen on " + where + ": " +
                                 (error ? std::strerror(error) : "address not usable"));
    // The library listens with a backlog of 5: bursts of new connections
    // while the workers are busy would be dropped. A second listen() on the
    // socket only changes its backlog.
    if (::listen(svr_sock_, listenBacklog()) != 0)
        throw std::runtime_error("cannot listen on " + where + ": " + std::strerror(errno));
    return bound;
}

void OrvHttpServer::stopListening() {
    socket_t sock = svr_sock_.exchange(INVALID_SOCKET);
    if (sock == INVALID_SOCKET) return;
    ::shutdown(sock, SHUT_RDWR);
    ::close(sock);
}

void OrvHttpServer::post(const std::string& pattern, Handler handler) {
    Post(pattern, [this, handler](const httplib::Request& req, httplib::Response& res) {
        // A chunked body can pass the stream's budget with little framing
        // and still decode to more than the limit.
        if (req.body.size() > limits_.bodyBytes) {
            res.status = 413;
            return;
        }
        handler(req, res);
    });
}

OrvHttpStream* OrvHttpServer::currentConnection() { return tlsConnection; }

// Runs before a body is read: what is refused here leaves the body unread,
// and the error answer ends the connection.
httplib::Server::HandlerResponse OrvHttpServer::refuseEarly(const httplib::Request& req, httplib::Response& res) {
    bool api = req.path.rfind("/api/", 0) == 0 || req.path.rfind("/admin/", 0) == 0;
    if (api && req.method != "POST") {
        res.status = 405;
        res.set_header("Allow", "POST");
        res.set_content("{\"code\":\"1\",\"error\":\"POST expected\"}", kJsonType);
        return HandlerResponse::Handled;
    }
    // Compressed bodies would be inflated beyond any limit before a handler sees them.
    std::string encoding = req.get_header_value("Content-Encoding");
    if (!encoding.empty() && encoding != "identity") {
        res.status = 415;
        return HandlerResponse::Handled;
    }
    if (req.has_header("Transfer-Encoding") && req.get_header_value("Transfer-Encoding") != "chunked") {
        res.status = 501;
        return HandlerResponse::Handled;
    }
    return HandlerResponse::Unhandled;
}

httplib::Server::HandlerResponse OrvHttpServer::answerError(httplib::Response& res) {
    if (OrvHttpStream* connection = tlsConnection) {
        switch (connection->refusal()) {
            case OrvHttpRefusal::HeadTooLarge: res.status = 431; break;
            case OrvHttpRefusal::BodyTooLarge: res.status = 413; break;
            case OrvHttpRefusal::TooSlow: res.status = 408; break;
            case OrvHttpRefusal::None: break;
        }
        connection->closeAfterAnswer();
    }
    res.set_header("Connection", "close");
    if (res.body.empty()) {
        OrvJsonObject o;
        o.str("code", "1").str("error", "HTTP " + std::to_string(res.status));
        res.set_content(o.finish(), kJsonType);
    }
    return HandlerResponse::Handled;
}

bool OrvHttpServer::process_and_close_socket(socket_t sock) {
    // An answer goes out as head and body in two writes; the second must not
    // wait for the peer's delayed acknowledgement of the first.
    int yes = 1;
    ::setsockopt(sock, IPPROTO_TCP, TCP_NODELAY, &yes, sizeof yes);
    OrvHttpStream connection(sock, limits_);
    tlsConnection = &connection;
    bool ok = true;
    auto stopping = [this] { return svr_sock_ == INVALID_SOCKET; };
    auto idle = std::chrono::milliseconds(keep_alive_timeout_sec_ * 1000);
    for (size_t left = keep_alive_max_count_; left > 0 && connection.waitForRequest(idle, stopping); --left) {
        connection.beginRequest();
        bool peerCloses = false;
        ok = process_request(connection, left == 1 || stopping(), peerCloses, nullptr);
        if (!ok && connection.refusal() != OrvHttpRefusal::None) {
            // Refused before the request line was whole: the library wrote nothing.
            std::string answer = std::string("HTTP/1.1 ") + refusalText(connection.refusal()) +
                                 "\r\nContent-Length: 0\r\nConnection: close\r\n\r\n";
            connection.write(answer.data(), answer.size());
        }
        if (!ok || peerCloses || connection.closing()) break;
    }
    tlsConnection = nullptr;
    if (connection.closing()) lingerAfterRefusal(sock);
    ::shutdown(sock, SHUT_RDWR);
    ::close(sock);
    return ok;
}

}  // namespace orv
