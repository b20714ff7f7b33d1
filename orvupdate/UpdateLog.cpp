#include "UpdateLog.h"

#include "WinHandles.h"

#include <cstdarg>
#include <cstdio>

namespace {
const size_t kMaxMessage = 1024;
}

void UpdateLog::Write(const char* format, ...) {
    char message[kMaxMessage + 1];
    va_list args;
    va_start(args, format);
    const int length = std::vsnprintf(message, sizeof message, format, args);
    va_end(args);
    if (length < 0) return;

    SYSTEMTIME now;
    ::GetLocalTime(&now);
    char entry[kMaxMessage + 64];
    const int entryLength = std::snprintf(entry, sizeof entry, "\r\nLog message on %02u/%02u %02u:%02u:%02u\r\n%s\r\n",
                                          now.wDay, now.wMonth, now.wHour, now.wMinute, now.wSecond, message);
    if (entryLength <= 0) return;

    CSingleLock lock(m_lock);
    UniqueHandle file(::CreateFileA(m_path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return;
    DWORD written = 0;
    ::WriteFile(file.Get(), entry, static_cast<DWORD>(entryLength), &written, nullptr);
}
