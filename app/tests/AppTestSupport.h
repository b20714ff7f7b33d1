#pragma once
// Helpers of the program's tests: a main frame whose answer operations the
// tests call directly, with its messages recorded, its idle clock and its
// session timers in the test's hands.
#include "OrvIdleSource.h"
#include "OrvMainFrame.h"
#include "OrvMessenger.h"

#include <string>
#include <vector>

namespace apptest {

// How long a test waits for an event before it counts as missing.
constexpr unsigned kGenerousMs = 60000;

struct ShownMessage {
    HWND owner;
    std::string text;
    std::string caption;
    UINT type;
};

class RecordingMessenger : public OrvIMessenger {
public:
    int ShowMessage(HWND owner, const char* text, const char* caption, UINT type) override {
        shown.push_back({owner, text ? text : "", caption ? caption : "", type});
        return answer;
    }
    std::vector<ShownMessage> shown;
    int answer = IDOK;
};

// An idle clock the test sets.
class FakeIdleSource : public OrvIIdleSource {
public:
    bool Start() override {
        started = true;
        return true;
    }
    void Stop() override { started = false; }
    DWORD GetIdleTime() override { return idle; }
    void Reset() override { ++resets; }
    DWORD idle = 0;
    bool started = false;
    int resets = 0;
};

class TestFrame : public OrvMainFrame {
public:
    TestFrame() {
        SetMessenger(&messenger);
        SetIdleSource(&idle);
        GetTimers().SetManual(true);
    }
    using OrvMainFrame::OnAddUserAnswer;
    using OrvMainFrame::OnChangeEmailAnswer;
    using OrvMainFrame::OnCommandFailed;
    using OrvMainFrame::OnDropContactsAnswer;
    using OrvMainFrame::OnGetContactsAnswer;
    using OrvMainFrame::OnLogInAnswer;
    using OrvMainFrame::OnSearchAnswer;
    using OrvMainFrame::OnSearchPathAnswer;
    using OrvMainFrame::OnSearchPathByKeywordAnswer;
    using OrvMainFrame::OnServerNotice;
    using OrvMainFrame::OnTreeAnswer;
    using OrvMainFrame::OnUpdateUserAnswer;
    using OrvMainFrame::OnVerifyUserAnswer;
    using OrvMainFrame::SetRequestedRoot;
    using OrvMainFrame::SetSilentSearch;

    // A successful log-in answer as the server gives it.
    void LogIn(const char* memberId = "7", const char* sessionId = "session-abcd", const char* chatServer = "",
               int idleLimitSeconds = 900) {
        OnLogInAnswer("0", memberId, "key", "Ann", "Lee", "Pilot", sessionId, 100, "http://panel/1", chatServer,
                      "6667", "500", "http://panel/2", "60", idleLimitSeconds, 0, "info");
    }

    RecordingMessenger messenger;
    FakeIdleSource idle;
};

ORVCONTACTINFO Person(const char* id, const char* first, const char* last, const char* email, int member = 1);

// Clears the settings store's key, so that each test starts from nothing.
void ClearSettings();

// The folder of the running test program (with a trailing backslash), and
// riched20.dll copied into it from the system folder (the program's own
// folder holds it too); false when it could not be copied.
std::string ProgramFolder();
bool EnsureRichEditIn(const std::string& folder);

}  // namespace apptest
