#include "TestSupport.h"

#include <windows.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace orvtest {

namespace {

std::string Quote(const std::string& arg) {
    std::string quoted = "\"";
    for (char ch : arg) {
        if (ch == '"') quoted += '\\';
        quoted += ch;
    }
    return quoted + "\"";
}

bool FileExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string ServiceScript() {
    return Env("ORV_SOURCE_DIR") + "/scripts/test-services/service.sh";
}

std::string ServiceDir() { return Env("ORV_SERVICE_DIR"); }

}  // namespace

std::string Env(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

std::string WinePath(const std::string& unixPath) {
    if (unixPath.empty() || unixPath[0] != '/') return unixPath;
    std::string path = "Z:" + unixPath;
    for (char& ch : path)
        if (ch == '/') ch = '\\';
    return path;
}

std::string ArtifactPath(const std::string& fileName) {
    std::string dir = Env("ORV_TEST_ARTIFACTS");
    if (dir.empty()) dir = "/tmp/orvane-test-artifacts";
    const std::string windowsDir = WinePath(dir);
    CreateDirectoryA(windowsDir.c_str(), nullptr);
    return windowsDir + "\\" + fileName;
}

std::string SourcePath(const std::string& relative) {
    return WinePath(Env("ORV_SOURCE_DIR") + "/" + relative);
}

bool LaunchUnix(const std::string& commandLine) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::string mutableLine = commandLine;
    if (!CreateProcessA(nullptr, &mutableLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return false;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

void PumpPending() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

bool PumpUntil(const std::function<bool()>& done, unsigned timeoutMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        PumpPending();
        if (done()) return true;
        if (GetTickCount() - start >= timeoutMs) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
}

void PumpFor(unsigned ms) { PumpUntil([] { return false; }, ms); }

UnixService::UnixService(std::string name, std::vector<std::string> command)
    : m_name(std::move(name)), m_command(std::move(command)) {}

UnixService::~UnixService() { Stop(); }

std::string UnixService::RunFile(const char* extension) const {
    return WinePath(ServiceDir() + "/" + m_name + extension);
}

bool UnixService::Start(unsigned timeoutMs) {
    Stop();
    const std::string portFile = RunFile(".port");
    const std::string failedFile = RunFile(".failed");
    DeleteFileA(portFile.c_str());
    DeleteFileA(failedFile.c_str());
    std::string line = "/bin/bash " + Quote(ServiceScript()) + " start " + Quote(ServiceDir()) +
                       " " + Quote(m_name);
    for (const std::string& arg : m_command) line += " " + Quote(arg);
    if (!LaunchUnix(line)) return false;
    for (unsigned waited = 0; waited < timeoutMs; waited += 50) {
        if (FileExists(portFile)) {
            m_port = std::atoi(ReadFile(portFile).c_str());
            return m_port != 0;
        }
        if (FileExists(failedFile)) return false;
        Sleep(50);
    }
    return false;
}

bool UnixService::Stop(unsigned timeoutMs) {
    const std::string pidFile = RunFile(".pid");
    m_port = 0;
    if (!FileExists(pidFile)) return true;
    const std::string line = "/bin/bash " + Quote(ServiceScript()) + " stop " +
                             Quote(ServiceDir()) + " " + Quote(m_name);
    if (!LaunchUnix(line)) return false;
    for (unsigned waited = 0; waited < timeoutMs; waited += 50) {
        if (!FileExists(pidFile)) return true;
        Sleep(50);
    }
    return false;
}

std::string UnixService::Log() const { return ReadFile(RunFile(".log")); }

}  // namespace orvtest
