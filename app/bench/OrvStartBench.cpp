// OrvStartBench.exe ROUNDS: from a start to the first full paint of the main
// window with the member's tree, against HelloWindow.exe started the same
// way, and Orvane's private memory once it has been idle for a while. Run
// by run-start-bench.sh, which starts the demo network and signs the
// program in. Both programs are started with CreateProcess; the time ends
// when the screen shows the window's content (the hello window's colour;
// Orvane's tree with its nodes). Orvane's time includes its server answers:
// the log-in, the chat's identity check and the tree; the script measures
// those on their own and prints the difference.
//
// The program's own time stamps (OrvStartTrace.h) are read from a shared
// block made for each round; the median of each step across the rounds is
// printed, in milliseconds from CreateProcess.
#include "OrvMessages.h"
#include "OrvStartTrace.h"

#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace {

std::string Directory() {
    char path[1000] = {};
    ::GetModuleFileNameA(nullptr, path, sizeof path - 1);
    std::string directory = path;
    return directory.substr(0, directory.find_last_of("\\/") + 1);
}

double CounterMs(LONGLONG counter) {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        ::QueryPerformanceFrequency(&f);
        return f;
    }();
    return 1000.0 * static_cast<double>(counter) / static_cast<double>(frequency.QuadPart);
}

double Now() {
    LARGE_INTEGER counter;
    ::QueryPerformanceCounter(&counter);
    return CounterMs(counter.QuadPart);
}

// The shared block the program writes its start marks into, one per round.
class TraceBlock {
public:
    TraceBlock() {
        m_mapping = ::CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(OrvStartTraceBlock),
                                         ORV_START_TRACE_NAME);
        if (m_mapping)
            m_block = static_cast<OrvStartTraceBlock*>(
                ::MapViewOfFile(m_mapping, FILE_MAP_WRITE, 0, 0, sizeof(OrvStartTraceBlock)));
        if (m_block) std::memset(m_block, 0, sizeof(OrvStartTraceBlock));
    }
    ~TraceBlock() {
        if (m_block) ::UnmapViewOfFile(m_block);
        if (m_mapping) ::CloseHandle(m_mapping);
    }
    TraceBlock(const TraceBlock&) = delete;
    TraceBlock& operator=(const TraceBlock&) = delete;

    // The first time of each mark, in ms after start, in the order taken.
    // Read once the program has ended.
    std::vector<std::pair<std::string, double>> FirstMarks(double start) const {
        std::vector<std::pair<std::string, double>> marks;
        if (!m_block) return marks;
        const LONG taken = m_block->count;
        const LONG count = std::min(taken, OrvStartTraceBlock::kCapacity);
        std::vector<const OrvStartTraceBlock::Mark*> sorted;
        for (LONG i = 0; i < count; ++i) sorted.push_back(&m_block->marks[i]);
        std::stable_sort(sorted.begin(), sorted.end(),
                         [](const auto* a, const auto* b) { return a->counter < b->counter; });
        for (const auto* mark : sorted) {
            std::string name(mark->name, strnlen(mark->name, sizeof mark->name));
            bool seen = false;
            for (const auto& m : marks) seen = seen || m.first == name;
            if (!seen) marks.emplace_back(name, CounterMs(mark->counter) - start);
        }
        return marks;
    }

private:
    HANDLE m_mapping = nullptr;
    OrvStartTraceBlock* m_block = nullptr;
};

// Pixels of the window's client area unlike its commonest colour.
int Ink(HWND window, COLORREF* commonest = nullptr) {
    RECT client{};
    ::GetClientRect(window, &client);
    POINT origin{0, 0};
    ::ClientToScreen(window, &origin);
    const int width = client.right, height = client.bottom;
    if (width <= 0 || height <= 0) return 0;
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof info.bmiHeader, width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    ::BitBlt(memory, 0, 0, width, height, screen, origin.x, origin.y, SRCCOPY);
    ::GdiFlush();
    std::vector<uint32_t> pixels(static_cast<const uint32_t*>(bits),
                                 static_cast<const uint32_t*>(bits) + static_cast<size_t>(width) * height);
    ::SelectObject(memory, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
    for (uint32_t& p : pixels) p &= 0xFFFFFF;
    std::vector<uint32_t> sorted = pixels;
    std::sort(sorted.begin(), sorted.end());
    uint32_t best = 0;
    size_t most = 0;
    for (size_t i = 0; i < sorted.size();) {
        size_t j = i;
        while (j < sorted.size() && sorted[j] == sorted[i]) ++j;
        if (j - i > most) {
            most = j - i;
            best = sorted[i];
        }
        i = j;
    }
    if (commonest) *commonest = RGB((best >> 16) & 0xFF, (best >> 8) & 0xFF, best & 0xFF);
    return static_cast<int>(pixels.size() - most);
}

// The modules a process has loaded: the program's own beside the system's
// (Wine's built-in ones cost a load each, like the program's).
std::vector<std::string> Modules(HANDLE process) {
    std::vector<std::string> names;
    HMODULE modules[512];
    DWORD bytes = 0;
    if (!::EnumProcessModules(process, modules, sizeof modules, &bytes)) return names;
    for (DWORD i = 0; i < bytes / sizeof(HMODULE) && i < 512; ++i) {
        char name[MAX_PATH] = {};
        if (!::GetModuleBaseNameA(process, modules[i], name, sizeof name)) continue;
        // A module away from the base its file asks for was relocated: its
        // fixed-up pages are private copies, and fixing them took time.
        IMAGE_DOS_HEADER dos{};
        IMAGE_NT_HEADERS nt{};
        const char* base = reinterpret_cast<const char*>(modules[i]);
        SIZE_T read = 0;
        bool relocated = false;
        if (::ReadProcessMemory(process, base, &dos, sizeof dos, &read) &&
            ::ReadProcessMemory(process, base + dos.e_lfanew, &nt, sizeof nt, &read))
            relocated = reinterpret_cast<ULONG_PTR>(modules[i]) != static_cast<ULONG_PTR>(nt.OptionalHeader.ImageBase);
        names.push_back(std::string(name) + (relocated ? " (relocated)" : ""));
    }
    return names;
}

// Private bytes of a process. Wine leaves PrivateUsage at 0; the page-file
// usage is the same quantity (the committed private bytes) on Windows, and
// under Wine its resident anonymous memory.
SIZE_T PrivateBytes(HANDLE process) {
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof counters;
    if (!::GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof counters))
        return 0;
    return counters.PrivateUsage ? counters.PrivateUsage : counters.PagefileUsage;
}

struct Started {
    PROCESS_INFORMATION process{};
    double start = 0;
};

bool Start(const std::string& program, Started* started) {
    std::string command = "\"" + Directory() + program + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    started->start = Now();
    return ::CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                            &started->process) != FALSE;
}

HWND VisibleWindow(const char* windowClass, DWORD process) {
    HWND window = nullptr;
    while ((window = ::FindWindowExA(nullptr, window, windowClass, nullptr))) {
        DWORD owner = 0;
        ::GetWindowThreadProcessId(window, &owner);
        if (owner == process && ::IsWindowVisible(window)) return window;
    }
    return nullptr;
}

void End(Started& started, HWND window, WPARAM closeCode) {
    if (window) ::PostMessageA(window, WM_CLOSE, closeCode, 0);
    if (::WaitForSingleObject(started.process.hProcess, 60000) != WAIT_OBJECT_0)
        ::TerminateProcess(started.process.hProcess, 1);
    ::CloseHandle(started.process.hProcess);
    ::CloseHandle(started.process.hThread);
}

// Milliseconds to the hello window's painted colour; -1 on failure.
double HelloRound(std::vector<std::string>* modules, SIZE_T* privateBytes, DWORD idleMs) {
    Started started;
    if (!Start("HelloWindow.exe", &started)) return -1;
    HWND window = nullptr;
    double end = -1;
    for (const double limit = Now() + 60000; Now() < limit; ::Sleep(1)) {
        if (!window) window = VisibleWindow("OrvHelloWindow", started.process.dwProcessId);
        COLORREF fill = 0;
        if (window && Ink(window, &fill) == 0 && fill == RGB(30, 90, 200)) {
            end = Now();
            break;
        }
    }
    if (modules && end > 0) *modules = Modules(started.process.hProcess);
    if (privateBytes && end > 0) {
        ::Sleep(idleMs);
        *privateBytes = PrivateBytes(started.process.hProcess);
    }
    End(started, window, 0);
    return end < 0 ? -1 : end - started.start;
}

// Milliseconds to Orvane's tree on screen; its private bytes after idle;
// its start marks.
double OrvaneRound(SIZE_T* privateBytes, DWORD idleMs, std::vector<std::pair<std::string, double>>* marks,
                   std::vector<std::string>* modules) {
    TraceBlock trace;
    Started started;
    if (!Start("Orvane.exe", &started)) return -1;
    HWND window = nullptr;
    double end = -1;
    for (const double limit = Now() + 180000; Now() < limit; ::Sleep(1)) {
        if (!window) window = VisibleWindow(ORV_MAIN_WINDOW_CLASS, started.process.dwProcessId);
        if (window) {
            // The tree is the child below the menu bar; its nodes are ink.
            HWND child = ::GetWindow(window, GW_CHILD);
            for (; child; child = ::GetWindow(child, GW_HWNDNEXT)) {
                char name[128] = {};
                ::GetClassNameA(child, name, sizeof name);
                if (std::string(name).rfind("OrvNavigateTreeControl", 0) != 0) continue;
                RECT rect{};
                ::GetClientRect(child, &rect);
                if (Ink(child) > rect.right * rect.bottom / 50) end = Now();
                break;
            }
            if (end > 0) break;
        }
    }
    if (modules && end > 0) *modules = Modules(started.process.hProcess);
    if (privateBytes && end > 0) {
        ::Sleep(idleMs);
        *privateBytes = PrivateBytes(started.process.hProcess);
    }
    End(started, window, 1);
    if (marks) {
        *marks = trace.FirstMarks(started.start);
        if (end > 0) marks->emplace_back("tree on screen (seen by the benchmark)", end - started.start);
    }
    return end < 0 ? -1 : end - started.start;
}

// The time a round spent waiting for the servers where nothing else could
// go on (ms), from its marks: the log-in answer after the window is built,
// the chat log-in (from the log-in answer to the chat's identity), and the
// tree's answer after the window is shown. -1 when a mark is missing.
double ServerShare(const std::vector<std::pair<std::string, double>>& marks) {
    auto at = [&](const char* name) {
        for (const auto& mark : marks)
            if (mark.first == name) return mark.second;
        return -1.0;
    };
    const double logInPosted = at("connect: check-user posted"), logInReceived = at("connect: check-user received");
    const double windowCreated = at("main window created"), logInAnswering = at("connect: check-user answering");
    const double chatConnected = at("chat connected"), windowShown = at("main window shown");
    const double treePosted = at("connect: get-tree posted"), treeReceived = at("connect: get-tree received");
    for (double t : {logInPosted, logInReceived, windowCreated, logInAnswering, chatConnected, windowShown, treePosted,
                     treeReceived})
        if (t < 0) return -1;
    return std::max(0.0, logInReceived - std::max(logInPosted, windowCreated)) +
           std::max(0.0, chatConnected - logInAnswering) +
           std::max(0.0, treeReceived - std::max(treePosted, windowShown));
}

double Median(std::vector<double> values) {
    if (values.empty()) return -1;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    std::vector<double> hello, orvane, own, ratio;
    std::vector<std::string> helloModules, orvaneModules;
    SIZE_T privateBytes = 0, helloBytes = 0;
    std::vector<std::string> markOrder;
    std::map<std::string, std::vector<double>> markTimes;
    for (int i = 0; i < rounds; ++i) {
        const bool last = i + 1 == rounds;
        const double h = HelloRound(last ? &helloModules : nullptr, last ? &helloBytes : nullptr, 10000);
        std::vector<std::pair<std::string, double>> marks;
        const double o = OrvaneRound(last ? &privateBytes : nullptr, 10000, &marks, last ? &orvaneModules : nullptr);
        for (const auto& mark : marks) {
            if (!markTimes.count(mark.first)) markOrder.push_back(mark.first);
            markTimes[mark.first].push_back(mark.second);
        }
        if (h < 0 || o < 0) {
            std::fprintf(stderr, "round %d failed (hello %.0f, orvane %.0f)\n", i + 1, h, o);
            return 1;
        }
        hello.push_back(h);
        orvane.push_back(o);
        const double share = ServerShare(marks);
        if (share >= 0) {
            own.push_back(o - share);
            ratio.push_back((o - share) / h);
        }
        std::printf("round %d: hello %.1f ms, orvane %.1f ms, of which waiting for the servers %.1f ms\n", i + 1, h,
                    o, share);
        std::fflush(stdout);
    }
    std::printf("median: hello %.1f ms, orvane %.1f ms; fastest: hello %.1f ms, orvane %.1f ms\n", Median(hello),
                Median(orvane), *std::min_element(hello.begin(), hello.end()),
                *std::min_element(orvane.begin(), orvane.end()));
    if (!own.empty())
        std::printf("orvane without the servers' share: median %.1f ms, fastest %.1f ms; median ratio to hello %.2f\n",
                    Median(own), *std::min_element(own.begin(), own.end()), Median(ratio));
    std::stable_sort(markOrder.begin(), markOrder.end(), [&](const std::string& a, const std::string& b) {
        return Median(markTimes[a]) < Median(markTimes[b]);
    });
    std::printf("Orvane's steps, ms after CreateProcess (median of the rounds that reached them):\n");
    for (const std::string& name : markOrder)
        std::printf("  %8.1f  %s (%zu of %d)\n", Median(markTimes[name]), name.c_str(), markTimes[name].size(), rounds);
    std::printf("modules loaded: hello %zu, orvane %zu once its tree shows:", helloModules.size(), orvaneModules.size());
    for (const std::string& name : orvaneModules) std::printf(" %s", name.c_str());
    std::printf("\n");
    std::printf("private memory after 10 s idle: orvane %.1f MB, hello %.1f MB\n", privateBytes / (1024.0 * 1024.0),
                helloBytes / (1024.0 * 1024.0));
    return 0;
}
