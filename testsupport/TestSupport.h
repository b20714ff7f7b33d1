#pragma once
// Helpers for Windows test programs running under Wine: paths between the
// Unix and the Windows side, saved artifacts, and Linux services (the
// network's server, the chat server) started and stopped by name.
#include <functional>
#include <string>
#include <vector>

namespace orvtest {

// The value of an environment variable, or "" when it is not set.
std::string Env(const char* name);

// A Unix path as a Wine program opens it ("/a/b" -> "Z:\a\b").
std::string WinePath(const std::string& unixPath);

// Where a test saves what it rendered (Windows form), creating the folder.
std::string ArtifactPath(const std::string& fileName);

// A file of the source tree, Windows form; relative uses forward slashes.
std::string SourcePath(const std::string& relative);

// Starts a Unix command line without waiting: Wine cannot wait for a Unix
// process, so results come back through files.
bool LaunchUnix(const std::string& commandLine);

// Pumps the thread's messages until done() or the time-out; returns done().
bool PumpUntil(const std::function<bool()>& done, unsigned timeoutMs = 10000);
// Pumps the thread's messages for a while.
void PumpFor(unsigned ms);
// Dispatches what is queued now.
void PumpPending();

// A Linux service run by scripts/test-services/service.sh on a free loopback
// port. "@PORT@" in the command becomes the port. Stopped by Stop() or by
// the destructor, and by the end of the test run if the test dies.
class UnixService {
public:
    UnixService(std::string name, std::vector<std::string> command);
    ~UnixService();
    UnixService(const UnixService&) = delete;
    UnixService& operator=(const UnixService&) = delete;

    // Returns once the port accepts connections; false on time-out.
    bool Start(unsigned timeoutMs = 30000);
    // Ends the process (group) and waits until it is gone.
    bool Stop(unsigned timeoutMs = 15000);
    bool IsRunning() const { return m_port != 0; }
    int Port() const { return m_port; }
    const std::string& Name() const { return m_name; }
    // The service's output, for failure messages.
    std::string Log() const;

private:
    std::string RunFile(const char* extension) const;

    std::string m_name;
    std::vector<std::string> m_command;
    int m_port = 0;
};

}  // namespace orvtest
