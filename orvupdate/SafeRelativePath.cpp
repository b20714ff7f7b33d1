#include "SafeRelativePath.h"

#include <windows.h>

#include <cstring>
#include <vector>

namespace {

bool ToAnsi(const char* utf8, std::string& ansi) {
    const int wideLength = ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8, -1, nullptr, 0);
    if (wideLength <= 0) return false;
    std::vector<wchar_t> wide(static_cast<size_t>(wideLength));
    if (::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8, -1, wide.data(), wideLength) != wideLength)
        return false;
    BOOL defaultUsed = FALSE;
    const int length =
        ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), -1, nullptr, 0, nullptr, &defaultUsed);
    if (length <= 0 || defaultUsed) return false;
    std::vector<char> buffer(static_cast<size_t>(length));
    if (::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), -1, buffer.data(), length, nullptr,
                              &defaultUsed) != length ||
        defaultUsed)
        return false;
    ansi.assign(buffer.data());
    return true;
}

bool IsForbiddenCharacter(unsigned char c) {
    return c < 32 || std::strchr("<>:\"|?*", c) != nullptr;
}

// CON, PRN, AUX, NUL, COM0-9, LPT0-9, CONIN$ and CONOUT$ name devices in
// every folder, with any extension and trailing blanks.
bool IsDeviceName(const std::string& part) {
    std::string base = part.substr(0, part.find('.'));
    while (!base.empty() && base.back() == ' ') base.pop_back();
    static const char* const kDevices[] = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"};
    for (const char* device : kDevices)
        if (::lstrcmpiA(base.c_str(), device) == 0) return true;
    if (base.size() == 4 && base[3] >= '0' && base[3] <= '9') {
        const std::string stem = base.substr(0, 3);
        if (::lstrcmpiA(stem.c_str(), "COM") == 0 || ::lstrcmpiA(stem.c_str(), "LPT") == 0) return true;
    }
    return false;
}

bool IsAcceptablePart(const std::string& part) {
    if (part.empty() || part == "." || part == "..") return false;
    if (part.back() == '.' || part.back() == ' ') return false;
    return !IsDeviceName(part);
}

}  // namespace

bool SafeRelativePath::Make(const char* name, bool utf8, std::string& result) {
    result.clear();
    if (!name) return false;
    std::string path;
    if (utf8) {
        if (!ToAnsi(name, path)) return false;
    } else {
        path = name;
    }
    if (path.empty() || path.size() > kMaxLength) return false;
    // Double-byte code pages could hide a backslash in a trailing byte; such
    // names are refused rather than guessed at.
    for (char& c : path) {
        if (::IsDBCSLeadByte(static_cast<BYTE>(c))) return false;
        if (c == '/') c = '\\';
        if (IsForbiddenCharacter(static_cast<unsigned char>(c))) return false;
    }
    size_t start = 0;
    bool first = true;
    while (true) {
        const size_t end = path.find('\\', start);
        const std::string part = path.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (!IsAcceptablePart(part)) return false;
        if (first && (::lstrcmpiA(part.c_str(), StagingFolderName()) == 0 ||
                      ::lstrcmpiA(part.c_str(), BackupFolderName()) == 0))
            return false;
        first = false;
        if (end == std::string::npos) break;
        start = end + 1;
    }
    result = path;
    return true;
}
