#include "TempFolder.h"

#include "FileHandle.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>

TempFolder::TempFolder() {
    static std::atomic<unsigned> s_serial{0};
    char temp[MAX_PATH + 1] = {};
    GetTempPathA(sizeof temp, temp);
    m_path = std::string(temp) + "orv-skinparser-" + std::to_string(GetCurrentProcessId()) + "-" +
             std::to_string(++s_serial);
    CreateDirectoryA(m_path.c_str(), nullptr);
}

TempFolder::~TempFolder() {
    for (const auto& file : m_files) DeleteFileA(file.c_str());
    RemoveDirectoryA(m_path.c_str());
}

std::string TempFolder::Write(const std::string& name, const std::string& bytes) {
    const std::string path = m_path + "\\" + name;
    if (std::find(m_files.begin(), m_files.end(), path) == m_files.end()) m_files.push_back(path);
    FileHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    EXPECT_TRUE(static_cast<bool>(file)) << path;
    if (!file) return path;
    DWORD written = 0;
    EXPECT_TRUE(WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr));
    EXPECT_EQ(written, bytes.size()) << path;
    return path;
}
