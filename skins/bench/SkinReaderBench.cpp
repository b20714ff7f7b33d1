// How long applying a shipped skin takes, next to loading the same bitmap
// files with LoadImage alone. For each skin under <program folder>\Skins:
//   baseline  every .bmp file of the skin folder loaded once as a DIB section
//   change    OrvSkinReader::ChangeSkin with a tree window: the parse, every
//             record with its bitmaps, the shared CSkin records, the tree's
//             record sent to its window
//   controls  the nine button images the sub-controls take: the search
//             buttons of the search and path finder controls and the seven
//             toolbar buttons, each section read and its bands composed
//             (with a parse of its own)
// Prints the median and the fastest of N rounds (default 50) in ms.
#include "FindHandle.h"
#include "OrvSkinReader.h"
#include "SkinFile.h"
#include "SkinRecordReader.h"

#include "TreeSkinInfo.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace {

double Now() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f{};
        ::QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER counter{};
    ::QueryPerformanceCounter(&counter);
    return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// This process's processor time in ms: unlike the clock, it does not grow
// while other programs hold the processors (the wineserver's share is not in it).
double ProcessorTime() {
    FILETIME created{}, exited{}, kernel{}, user{};
    if (!::GetProcessTimes(::GetCurrentProcess(), &created, &exited, &kernel, &user)) return 0;
    auto ms = [](const FILETIME& time) {
        return static_cast<double>((static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime) / 1e4;
    };
    return ms(kernel) + ms(user);
}

struct Figures {
    double median;
    double fastest;
    double processor;  // mean per round
};

Figures Measure(int rounds, const std::function<void()>& work) {
    work();  // warm: files in the cache, fonts realised
    std::vector<double> times;
    const double processorStart = ProcessorTime();
    for (int i = 0; i < rounds; ++i) {
        const double start = Now();
        work();
        times.push_back(Now() - start);
    }
    const double processor = (ProcessorTime() - processorStart) / rounds;
    std::sort(times.begin(), times.end());
    return Figures{times[times.size() / 2], times.front(), processor};
}

std::string ProgramFolder() {
    char path[MAX_PATH + 1] = {};
    const DWORD length = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path, length);
    return folder.substr(0, folder.find_last_of("\\/") + 1);
}

std::vector<std::string> BitmapFiles(const std::string& directory) {
    std::vector<std::string> files;
    WIN32_FIND_DATAA entry{};
    FindHandle find(::FindFirstFileA((directory + "*.bmp").c_str(), &entry));
    if (!find) return files;
    do files.push_back(directory + entry.cFileName);
    while (::FindNextFileA(find.Get(), &entry));
    return files;
}

void LoadAll(const std::vector<std::string>& files) {
    for (const std::string& file : files) {
        HANDLE image = ::LoadImageA(nullptr, file.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION);
        if (image) ::DeleteObject(image);
    }
}

void FormControlImages(const char* directory) {
    SkinFile file(directory);
    const ClsIniFileSection* search = file.FindSection("OrvSearchCtrl");
    const ClsIniFileSection* path = file.FindSection("OrvPathFinderCtrl");
    const ClsIniFileSection* toolbar = file.FindSection("OrvToolBarCtrl");
    SkinBorderInfoPtr buttons = SkinRecordReader::GetBorderInfo(file, "Buttons");
    for (const ClsIniFileSection* control : {search, path}) {
        ButtonSkinInfo_t button;
        button.Width = file.GetNumber(control, "BtnSearchWidth", 58);
        button.Height = file.GetNumber(control, "BtnSearchHeight", 20);
        OrvSkinReader::FormButtonImage(&button, buttons.get(), "Search");
    }
    const char* const tools[][2] = {{"BtnNavBack", "ToolBtnNavBack"},
                                    {"BtnNavForward", "ToolBtnNavForward"},
                                    {"BtnNavHome", "ToolBtnNavHome"},
                                    {"BtnAddSource", "ToolBtnAddSource"},
                                    {"BtnAddDestination", "ToolBtnAddDestination"},
                                    {"BtnChat", "ToolBtnChat"},
                                    {"BtnEditPersonalInfo", "ToolBtnEditPersonalInfo"}};
    for (const auto& tool : tools) {
        SkinBorderInfoPtr cells = SkinRecordReader::GetBorderInfo(file, tool[1]);
        ButtonSkinInfo_t button;
        button.Width = file.GetNumber(toolbar, (std::string(tool[0]) + "Width").c_str(), 56);
        button.Height = file.GetNumber(toolbar, (std::string(tool[0]) + "Height").c_str(), 56);
        OrvSkinReader::FormButtonImage(&button, cells.get(), "");
    }
}

// A hidden window that takes the tree's record as the tree control would.
class TreeWindow {
public:
    TreeWindow() {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = Procedure;
        windowClass.hInstance = ::GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "OrvBenchTree";
        ::RegisterClassA(&windowClass);
        m_window = ::CreateWindowExA(0, "OrvBenchTree", "", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr,
                                     windowClass.hInstance, nullptr);
    }
    ~TreeWindow() {
        if (m_window) ::DestroyWindow(m_window);
    }
    TreeWindow(const TreeWindow&) = delete;
    TreeWindow& operator=(const TreeWindow&) = delete;
    HWND Get() const { return m_window; }

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == ORV_WM_TREE_SKIN) return 0;
        return ::DefWindowProcA(window, message, wParam, lParam);
    }
    HWND m_window = nullptr;
};

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 50;
    TreeWindow tree;
    OrvSkinReader reader((ProgramFolder() + "Skins").c_str(), nullptr);
    reader.SetTreeWindow(tree.Get());
    std::printf("milliseconds: median (fastest) [processor time of this process per round]\n");
    std::printf("%-10s %7s %30s %30s %30s %30s %6s\n", "skin", "bitmaps", "baseline LoadImage", "change",
                "controls", "change + controls", "ratio");
    for (int i = 0; i < reader.GetCount(); ++i) {
        ClsSkinName* skin = reader.GetSkin(i);
        const std::vector<std::string> files = BitmapFiles(skin->GetDirectory());
        const Figures baseline = Measure(rounds, [&] { LoadAll(files); });
        const Figures change = Measure(rounds, [&] { reader.ChangeSkin(skin); });
        const Figures controls = Measure(rounds, [&] { FormControlImages(skin->GetDirectory()); });
        const Figures both = Measure(rounds, [&] {
            reader.ChangeSkin(skin);
            FormControlImages(skin->GetDirectory());
        });
        std::printf("%-10s %7zu", skin->GetName(), files.size());
        for (const Figures& figures : {baseline, change, controls, both})
            std::printf(" %9.2f (%6.2f) [%6.2f]", figures.median, figures.fastest, figures.processor);
        std::printf(" %5.1fx\n", both.median / baseline.median);
        if (reader.GetProblemCount() > 0) std::printf("  (%d problems read)\n", reader.GetProblemCount());
    }
    return 0;
}
