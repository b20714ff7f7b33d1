#pragma once
// A program the test starts in its own process group, its output in a log
// file; stopped (the whole group) by Stop or the destructor.
#include <string>
#include <vector>

class ChildProcess {
public:
    ChildProcess() = default;
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool Start(const std::vector<std::string>& command, const std::string& logFile);
    // TERM to the group, KILL after a grace time; waits for the process.
    void Stop();
    bool IsRunning();
    std::string Log() const;

private:
    int m_pid = -1;
    std::string m_logFile;
};
