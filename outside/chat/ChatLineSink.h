#pragma once
// Where the protocol state writes its lines: the connection's outgoing
// queues, or a test.
#include <cstddef>
#include <string>

class ChatLineSink {
public:
    // Queues one line. Urgent lines (PONG, QUIT, registration) go first and
    // always fit; false when an ordinary line finds the queue full.
    virtual bool SendLine(const std::string& line, bool urgent) = 0;
    // How many more ordinary lines fit now.
    virtual size_t Room() const = 0;

protected:
    ~ChatLineSink() = default;
};
