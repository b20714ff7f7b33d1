// OrvSearchBench.exe ROUNDS QUERY DESTINATION: the program's own windows in
// this process, signed in as the account the settings store holds (set by
// run-search-bench.sh). Each round times, by the clock of this process:
//   - a member search for QUERY, from the search button's action to the
//     result list painted with every row of the answer;
//   - a search-path from the member to the address DESTINATION, from the
//     path finder's button action to the path list painted.
// The script measures the server's answer to the same requests with curl;
// the difference is the program's share (request, answer, filling, paint).
#include "OrvApp.h"
#include "OrvMainFrame.h"
#include "OrvMessenger.h"

#include "OrvPathFinderCtrl.h"
#include "OrvRegistry.h"
#include "OrvPathFinderResultCtrl.h"
#include "OrvSearchCtrl.h"
#include "OrvSearchResultCtrl.h"
#include "OrvSkinReader.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace {

// Nobody reads the bench's messages; it counts them.
class CountingMessenger : public OrvIMessenger {
public:
    int ShowMessage(HWND, const char* text, const char* caption, UINT) override {
        std::fprintf(stderr, "message: %s: %s\n", caption ? caption : "", text ? text : "");
        ++shown;
        return IDOK;
    }
    int shown = 0;
};

double Now() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        ::QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER counter;
    ::QueryPerformanceCounter(&counter);
    return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Runs the message loop until done() or ms have passed.
bool PumpUntil(const std::function<bool()>& done, DWORD ms) {
    const DWORD start = ::GetTickCount();
    while (!done()) {
        if (::GetTickCount() - start > ms) return false;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }
    return true;
}

double Median(std::vector<double> values) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

std::string ProgramDirectory() {
    char path[1000] = {};
    ::GetModuleFileNameA(nullptr, path, sizeof path - 1);
    return std::string(OrvApp::DirectoryOf(path));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: OrvSearchBench ROUNDS QUERY DESTINATION\n");
        return 2;
    }
    const int rounds = std::max(1, std::atoi(argv[1]));
    const char* query = argv[2];
    const char* destination = argv[3];
    const DWORD kWaitMs = 300000;

    CountingMessenger messenger;
    OrvMainFrame frame;
    frame.SetMessenger(&messenger);
    frame.SetProgramDirectory(ProgramDirectory().c_str());
    frame.SetUrl(OrvRegistry().GetUrl());
    OrvApp::CreateServices(frame, ProgramDirectory().c_str());
    if (!frame.StartSession() || !OrvApp::RegisterMainWindowClass(::GetModuleHandleA(nullptr)) ||
        !OrvApp::CreateMainWindow(frame)) {
        std::fprintf(stderr, "the main window was not made\n");
        return 1;
    }
    int status = 0;
    if (!PumpUntil([&] {
            return frame.GetSessionState() == OrvMainFrame::ssOnline && !frame.IsBusy() && !frame.IsTreePending();
        }, kWaitMs)) {
        std::fprintf(stderr, "no session: %s\n", frame.GetLastResult().GetString());
        status = 1;
    }
    OrvSkinReader* reader = frame.GetSkinReader();
    OrvSearchCtrl* search = reader ? reader->GetSearchCtrl() : nullptr;
    OrvPathFinderCtrl* finder = reader ? reader->GetPathFinderCtrl() : nullptr;
    OrvSearchResultCtrl* results = reader ? reader->GetSearchResultCtrl() : nullptr;
    OrvPathFinderResultCtrl* paths = reader ? reader->GetPathFinderResultCtrl() : nullptr;
    if (!search || !finder || !results || !paths) status = 1;

    std::vector<double> searchMs, pathMs, channelMs;
    int rows = 0, pathRows = 0;
    for (int round = 0; round < rounds && status == 0; ++round) {
        // The search: the button's action, the answer's rows, the paint.
        results->DeleteAllItems();
        search->SetSearchText(query);
        const int searchAnswers = frame.GetSearchAnswerCount();
        const double t0 = Now();
        search->OnBtnSearchClicked();
        if (!PumpUntil([&] { return frame.GetSearchAnswerCount() > searchAnswers; }, kWaitMs) ||
            results->GetCount() == 0) {
            std::fprintf(stderr, "round %d: the search never answered\n", round + 1);
            status = 1;
            break;
        }
        ::RedrawWindow(results->GetSafeHwnd(), nullptr, nullptr, RDW_UPDATENOW);
        searchMs.push_back(Now() - t0);
        rows = results->GetCount();
        PumpUntil([&] { return !frame.IsSearching(); }, kWaitMs);

        // The same search through the command channel alone (no checks, no
        // worker, no filling): the channel's and the HTTP stack's share.
        std::string words = query;
        for (char& c : words)
            if (c == ' ') c = ';';
        const int channelAnswers = frame.GetSearchAnswerCount();
        const double t2 = Now();
        frame.DoSearchByCommand(words.c_str(), "", frame.GetSessionId());
        if (!PumpUntil([&] { return frame.GetSearchAnswerCount() > channelAnswers; }, kWaitMs)) {
            status = 1;
            break;
        }
        channelMs.push_back(Now() - t2);

        // The path: the member to the destination address.
        paths->DeleteAllItems();
        finder->GetDestinationEdit().SetWindowText(destination);
        const int pathAnswers = frame.GetPathAnswerCount();
        const double t1 = Now();
        finder->OnBtnSearchClicked();
        if (!PumpUntil([&] { return frame.GetPathAnswerCount() > pathAnswers; }, kWaitMs) || paths->GetCount() == 0) {
            std::fprintf(stderr, "round %d: the path search never answered\n", round + 1);
            status = 1;
            break;
        }
        ::RedrawWindow(paths->GetSafeHwnd(), nullptr, nullptr, RDW_UPDATENOW);
        pathMs.push_back(Now() - t1);
        pathRows = paths->GetCount();
        PumpUntil([&] { return !frame.IsSearching(); }, kWaitMs);
        std::printf("round %d: search %.1f ms (%d rows), channel alone %.1f ms, path %.1f ms (%d paths)\n", round + 1,
                    searchMs.back(), rows, channelMs.back(), pathMs.back(), pathRows);
    }
    if (!searchMs.empty())
        std::printf("median: search %.1f ms, channel alone %.1f ms, path %.1f ms; fastest: search %.1f ms, "
                    "channel alone %.1f ms, path %.1f ms\n",
                    Median(searchMs), Median(channelMs), Median(pathMs), *std::min_element(searchMs.begin(), searchMs.end()),
                    *std::min_element(channelMs.begin(), channelMs.end()), *std::min_element(pathMs.begin(), pathMs.end()));
    if (messenger.shown) status = 1;
    if (frame.GetSafeHwnd()) frame.SendMessage(WM_CLOSE, 1, 0);
    return status;
}
