// orv_wait_window CLASS TIMEOUT_MS [gone]: ends with 0 as soon as a top-level
// window of CLASS exists (with "gone": as soon as none exists), with 1 when
// that did not happen within the time-out. Lets a shell test wait for a
// program's window instead of sleeping.
#include <windows.h>

#include <cstdlib>
#include <cstring>

int main(int argc, char** argv) {
    if (argc != 3 && !(argc == 4 && std::strcmp(argv[3], "gone") == 0)) return 2;
    const bool untilGone = argc == 4;
    const DWORD timeoutMs = static_cast<DWORD>(std::strtoul(argv[2], nullptr, 10));
    const DWORD start = ::GetTickCount();
    while ((::FindWindowA(argv[1], nullptr) != nullptr) == untilGone) {
        if (::GetTickCount() - start >= timeoutMs) return 1;
        ::Sleep(20);
    }
    return 0;
}
