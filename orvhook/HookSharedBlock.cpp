#include "HookSharedBlock.h"

bool HookSharedBlock::Open() {
    if (m_data) return true;
    m_mapping = ::CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                     sizeof(ORVHOOKSHAREDDATA), ORVHOOK_SHARED_BLOCK_NAME);
    if (!m_mapping) return false;
    // Read before anything else can change the thread's last error.
    m_creator = ::GetLastError() != ERROR_ALREADY_EXISTS;
    void* view = ::MapViewOfFile(m_mapping, FILE_MAP_WRITE, 0, 0, sizeof(ORVHOOKSHAREDDATA));
    if (!view) {
        Close();
        return false;
    }
    m_data = static_cast<volatile ORVHOOKSHAREDDATA*>(view);
    if (m_creator) {
        m_data->keyboardHook = 0;
        m_data->mouseHook = 0;
        m_data->reserved = 0;
        m_data->lastInputTick = ::GetTickCount();
    }
    return true;
}

void HookSharedBlock::Close() {
    if (m_data) ::UnmapViewOfFile(const_cast<ORVHOOKSHAREDDATA*>(m_data));
    m_data = nullptr;
    if (m_mapping) ::CloseHandle(m_mapping);
    m_mapping = nullptr;
    m_creator = false;
}
