#include "SkinRoot.h"

#include "ClsBitMap.h"
#include "FileHandle.h"
#include "FindHandle.h"

#include <gtest/gtest.h>

#include <atomic>

namespace {

void RemoveTree(const std::string& path) {
    WIN32_FIND_DATAA entry{};
    {
        FindHandle find(::FindFirstFileA((path + "\\*").c_str(), &entry));
        if (find) {
            do {
                const std::string name = entry.cFileName;
                if (name == "." || name == "..") continue;
                const std::string child = path + "\\" + name;
                if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                    RemoveTree(child);
                else
                    ::DeleteFileA(child.c_str());
            } while (::FindNextFileA(find.Get(), &entry));
        }
    }
    ::RemoveDirectoryA(path.c_str());
}

}  // namespace

std::string WithCrLf(const std::string& text) {
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    for (char ch : text) {
        if (ch == '\n') out += '\r';
        out += ch;
    }
    return out;
}

SkinRoot::SkinRoot() {
    static std::atomic<unsigned> s_serial{0};
    char temp[MAX_PATH + 1] = {};
    ::GetTempPathA(sizeof temp, temp);
    m_path = std::string(temp) + "orv-skins-" + std::to_string(::GetCurrentProcessId()) + "-" +
             std::to_string(++s_serial);
    if (!m_path.empty() && m_path.back() == '\\') m_path.pop_back();
    ::CreateDirectoryA(m_path.c_str(), nullptr);
}

SkinRoot::~SkinRoot() { RemoveTree(m_path); }

void SkinRoot::MakeFolder(const std::string& relative) const {
    std::string path = m_path;
    size_t start = 0;
    while (start <= relative.size()) {
        const size_t end = relative.find_first_of("\\/", start);
        path += "\\" + relative.substr(start, end == std::string::npos ? std::string::npos : end - start);
        ::CreateDirectoryA(path.c_str(), nullptr);
        if (end == std::string::npos) break;
        start = end + 1;
    }
}

std::string SkinRoot::WriteFile(const std::string& relative, const std::string& bytes) const {
    const size_t slash = relative.find_last_of("\\/");
    if (slash != std::string::npos) MakeFolder(relative.substr(0, slash));
    const std::string path = m_path + "\\" + relative;
    FileHandle file(::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                  nullptr));
    EXPECT_TRUE(static_cast<bool>(file)) << path;
    if (!file) return path;
    DWORD written = 0;
    EXPECT_TRUE(::WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr));
    EXPECT_EQ(written, bytes.size()) << path;
    return path;
}

std::string SkinRoot::WriteIni(const std::string& folder, const std::string& text) const {
    return WriteFile(folder + "\\Skin.Ini", WithCrLf(text));
}

std::string SkinRoot::WriteBitmap(const std::string& relative, int width, int height,
                                  const std::function<COLORREF(int, int)>& colorAt) const {
    const size_t slash = relative.find_last_of("\\/");
    if (slash != std::string::npos) MakeFolder(relative.substr(0, slash));
    const std::string path = m_path + "\\" + relative;
    ClsBitMap image;
    EXPECT_TRUE(image.AllocateBitMap(width, height, pf32bit));
    if (CDC* dc = image.Lock()) {
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) ::SetPixelV(*dc, x, y, colorAt(x, y));
        image.Unlock();
    }
    EXPECT_TRUE(image.SaveToFile(path.c_str())) << path;
    return path;
}

void SkinRoot::CopyFolder(const std::string& from, const std::string& folder) const {
    MakeFolder(folder);
    WIN32_FIND_DATAA entry{};
    FindHandle find(::FindFirstFileA((from + "\\*").c_str(), &entry));
    ASSERT_TRUE(static_cast<bool>(find)) << from;
    do {
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        const std::string target = m_path + "\\" + folder + "\\" + entry.cFileName;
        EXPECT_TRUE(::CopyFileA((from + "\\" + entry.cFileName).c_str(), target.c_str(), FALSE)) << target;
    } while (::FindNextFileA(find.Get(), &entry));
}

std::string SkinRoot::ReadFile(const std::string& path) {
    FileHandle file(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return "";
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file.Get(), &size) || size.QuadPart > (64 << 20)) return "";
    std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    if (!bytes.empty() && !::ReadFile(file.Get(), &bytes[0], static_cast<DWORD>(bytes.size()), &read, nullptr))
        return "";
    bytes.resize(read);
    return bytes;
}
