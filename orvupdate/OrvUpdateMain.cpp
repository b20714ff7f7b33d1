// OrvUpdate.exe: installs an update the main program downloaded. Started by
// the main program as it exits, with the archive and the new version; waits
// until the program is gone, unpacks the archive into its own folder, applies
// changes.ini and starts the program again.
#include "OrvMessages.h"
#include "UpdateArguments.h"
#include "UpdateDialog.h"
#include "UpdateLog.h"
#include "WinHandles.h"

#include <windows.h>
#include <commctrl.h>

#include <string>

namespace {

const DWORD kMainWindowPollMs = 100;
// Lets the program that just closed its window finish its exit.
const DWORD kSettleMs = 2000;

// The folder of this program, with its trailing separator.
std::string ProgramFolder() {
    char path[MAX_PATH];
    const DWORD length = ::GetModuleFileNameA(nullptr, path, sizeof path);
    if (length == 0 || length >= sizeof path) return std::string();
    std::string folder(path, length);
    const size_t separator = folder.find_last_of("\\/");
    return separator == std::string::npos ? std::string() : folder.substr(0, separator + 1);
}

void StartMainProgram(const std::string& programFolder, UpdateLog& log) {
    std::string commandLine = "\"" + programFolder + "Orvane.exe\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!::CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &process))
        return;
    UniqueHandle processHandle(process.hProcess);
    UniqueHandle threadHandle(process.hThread);
    log.Write("Started %s", commandLine.c_str());
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    while (::FindWindowA(ORV_MAIN_WINDOW_CLASS, nullptr)) ::Sleep(kMainWindowPollMs);
    ::Sleep(kSettleMs);

    const UpdateArguments arguments = UpdateArguments::Parse(::GetCommandLineA());
    if (!arguments.IsComplete()) return 0;
    const std::string programFolder = ProgramFolder();
    if (programFolder.empty()) return 0;

    UpdateLog log(UpdateLog::DefaultPath());
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_PROGRESS_CLASS};
    ::InitCommonControlsEx(&controls);

    INT_PTR result;
    {
        UpdateDialog dialog(instance, arguments.archivePath, arguments.version, programFolder, log);
        result = dialog.Run();
    }
    ::DeleteFileA(arguments.archivePath.c_str());
    if (result == IDOK) StartMainProgram(programFolder, log);
    return 0;
}
