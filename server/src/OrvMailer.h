// Outgoing mail: every message is written as an RFC 5322 file into the
// outbox folder, and also handed to an SMTP relay when one is configured
// (sent by one worker thread, so that requests never wait for the relay).
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <thread>

namespace orv {

struct OrvMailSettings {
    std::string outbox;          // folder for the message files
    std::string from = "Orvane <no-reply@orvane.invalid>";
    std::string smtpHost;        // empty: no relay
    int smtpPort = 25;
    std::string heloName = "orvane-server";
};

class OrvMailer {
public:
    explicit OrvMailer(OrvMailSettings settings);
    ~OrvMailer();
    OrvMailer(const OrvMailer&) = delete;
    OrvMailer& operator=(const OrvMailer&) = delete;

    // Writes the message file and queues the relay; returns the file's path.
    std::string send(const std::string& to, const std::string& subject, const std::string& body);

    // The message text (CRLF lines, headers and body) for the given values.
    static std::string compose(const std::string& from, const std::string& to, const std::string& subject,
                               const std::string& body, int64_t unixTime, const std::string& messageId);

    // Waits until the relay queue is empty (for tests and shutdown).
    void flush();
    uint64_t relayed() const;
    uint64_t relayFailures() const;

private:
    struct Job {
        std::string to;
        std::string message;
    };
    void run();
    bool relay(const Job& job);

    OrvMailSettings settings_;
    mutable std::mutex mutex_;
    std::condition_variable cv_;
    std::deque<Job> queue_;
    bool stopping_ = false;
    bool busy_ = false;
    uint64_t relayed_ = 0;
    uint64_t failures_ = 0;
    uint64_t counter_ = 0;
    std::thread worker_;
};

}  // namespace orv
