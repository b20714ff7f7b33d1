#include "BookFolder.h"

#include <windows.h>

#include <atomic>

BookFolder::BookFolder() {
    static std::atomic<int> counter{0};
    char temp[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, temp);
    m_path = std::string(temp) + "orvbook-" + std::to_string(::GetCurrentProcessId()) + "-" +
             std::to_string(counter++);
    RemoveTree(m_path);
    ::CreateDirectoryA(m_path.c_str(), nullptr);
}

BookFolder::~BookFolder() { RemoveTree(m_path); }

std::string BookFolder::Write(const std::string& relative, const std::string& bytes) const {
    const std::string path = m_path + "\\" + relative;
    for (size_t slash = path.find('\\', m_path.size() + 1); slash != std::string::npos;
         slash = path.find('\\', slash + 1))
        ::CreateDirectoryA(path.substr(0, slash).c_str(), nullptr);
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        DWORD written = 0;
        ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        ::CloseHandle(file);
    }
    return path;
}

void BookFolder::RemoveTree(const std::string& path) {
    WIN32_FIND_DATAA data{};
    HANDLE find = ::FindFirstFileA((path + "\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = data.cFileName;
            if (name == "." || name == "..") continue;
            const std::string child = path + "\\" + name;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(child);
            else
                ::DeleteFileA(child.c_str());
        } while (::FindNextFileA(find, &data));
        ::FindClose(find);
    }
    ::RemoveDirectoryA(path.c_str());
}
