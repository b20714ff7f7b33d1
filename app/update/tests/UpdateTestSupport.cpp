#include "UpdateTestSupport.h"

#include "OrvRegistry.h"
#include "OrvUpdateTexts.h"

#include <algorithm>
#include <fstream>
#include <sstream>

namespace updatetest {

namespace {
const char* const kWindowClass = "OrvUpdateTestWindow";
}

RecordingWindow::RecordingWindow(const char* title) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = &RecordingWindow::Procedure;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.lpszClassName = kWindowClass;
    ::RegisterClassA(&wc);  // fails harmlessly when a first window registered it
    m_window = ::CreateWindowExA(0, kWindowClass, title, WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr,
                                 nullptr, wc.hInstance, this);
}

RecordingWindow::~RecordingWindow() {
    if (m_window) ::DestroyWindow(m_window);
}

int RecordingWindow::CountOf(UINT message) const {
    return static_cast<int>(std::count_if(m_messages.begin(), m_messages.end(),
                                          [message](const Posted& p) { return p.message == message; }));
}

LRESULT CALLBACK RecordingWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        ::SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<RecordingWindow*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
    if (self && (message == OrvVersionCheck::StartUpgradeMessage() || message == WM_CLOSE)) {
        self->m_messages.push_back({message, wParam, lParam});
        return 0;
    }
    return ::DefWindowProcA(window, message, wParam, lParam);
}

void FrameStandIn::SendVersionRequest(const CString& session, const CString& version) {
    requests.emplace_back(session.GetString(), version.GetString());
    DoBeginVersionUpdateCommand(session, version);
}

void FrameStandIn::ShowUpdateNotice(const CString& text) { notices.push_back(text.GetString()); }

void FrameStandIn::OnCommandFailed(CString commandId) { failed.push_back(commandId.GetString()); }

void FrameStandIn::OnLogInAnswer(CString code, CString, CString, CString, CString, CString, CString sessionId,
                                 int, CString, CString, CString, CString, CString, CString, int, int, CString) {
    loginCode = code.GetString();
    session = sessionId.GetString();
}

void FrameStandIn::OnVersionAnswer(CString code, CString action, CString arg1, CString arg2) {
    versionAnswers.push_back({code.GetString(), action.GetString(), arg1.GetString(), arg2.GetString()});
    if (check) check->OnVersionAnswer(code, action, arg1, arg2);
}

SettingsGuard::SettingsGuard() {
    OrvRegistry settings;
    m_version = settings.GetVersion();
    m_check = settings.GetVersionCheck();
    m_year = settings.GetOrvDWord(ORV_UPDATE_CHECK_YEAR_VALUE);
}

SettingsGuard::~SettingsGuard() {
    OrvRegistry settings;
    settings.SetVersion(m_version);
    settings.SetVersionCheck(m_check);
    settings.SetOrvDWord(ORV_UPDATE_CHECK_YEAR_VALUE, m_year);
}

std::vector<std::string> TempArchives() {
    char directory[MAX_PATH + 1] = {};
    ::GetTempPathA(MAX_PATH, directory);
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = ::FindFirstFileA((std::string(directory) + ORV_UPDATE_FILE_PREFIX "*.tmp").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        names.push_back(std::string(directory) + found.cFileName);
    } while (::FindNextFileA(search, &found));
    ::FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

std::string ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

bool WriteWholeFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

std::string PatternBytes(size_t size, unsigned seed) {
    std::string bytes(size, '\0');
    unsigned state = seed * 2654435761u + 1;
    for (size_t i = 0; i < size; ++i) {
        state = state * 1103515245u + 12345u;
        bytes[i] = static_cast<char>(state >> 16);
    }
    return bytes;
}

std::string ArchiveBytes(size_t size, unsigned seed) {
    std::string bytes = PatternBytes(size, seed);
    bytes.replace(0, 4, "MSCF");
    return bytes;
}

bool MakeFolders(const std::string& path) {
    for (size_t at = path.find('\\', 3); ; at = path.find('\\', at + 1)) {
        const std::string folder = path.substr(0, at);
        if (!::CreateDirectoryA(folder.c_str(), nullptr) && ::GetLastError() != ERROR_ALREADY_EXISTS) return false;
        if (at == std::string::npos) return true;
    }
}

SYSTEMTIME Date(WORD year, WORD month, WORD day) {
    SYSTEMTIME t{};
    t.wYear = year;
    t.wMonth = month;
    t.wDay = day;
    return t;
}

}  // namespace updatetest
