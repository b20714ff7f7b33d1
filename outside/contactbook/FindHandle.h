#pragma once
// Owns one directory search handle of FindFirstFile and closes it once.
#include <windows.h>

class FindHandle {
public:
    // Starts the search for pattern; the first match lands in data.
    FindHandle(const char* pattern, WIN32_FIND_DATAA& data) : m_handle(FindFirstFileA(pattern, &data)) {}
    ~FindHandle() {
        if (IsValid()) FindClose(m_handle);
    }
    FindHandle(const FindHandle&) = delete;
    FindHandle& operator=(const FindHandle&) = delete;

    bool IsValid() const { return m_handle != INVALID_HANDLE_VALUE; }
    // The next match into data; false at the end.
    bool Next(WIN32_FIND_DATAA& data) { return IsValid() && FindNextFileA(m_handle, &data); }

private:
    HANDLE m_handle;
};
