#include "DebugOutputCapture.h"

#include "CCriticalSection.h"

namespace orvtest {

namespace {

// The exception OutputDebugStringA raises: its length, then its text.
const DWORD kDebugPrintException = 0x40010006;

// One capture text per process; nested captures share it.
CCriticalSection& Lock() {
    static CCriticalSection lock;
    return lock;
}

std::string& Captured() {
    static std::string text;
    return text;
}

}  // namespace

DebugOutputCapture::DebugOutputCapture() {
    Clear();
    m_handler = AddVectoredExceptionHandler(1, &DebugOutputCapture::OnException);
}

DebugOutputCapture::~DebugOutputCapture() {
    if (m_handler) RemoveVectoredExceptionHandler(m_handler);
}

std::string DebugOutputCapture::Text() const {
    CSingleLock lock(Lock());
    return Captured();
}

void DebugOutputCapture::Clear() {
    CSingleLock lock(Lock());
    Captured().clear();
}

LONG CALLBACK DebugOutputCapture::OnException(EXCEPTION_POINTERS* info) {
    const EXCEPTION_RECORD* record = info ? info->ExceptionRecord : nullptr;
    if (record && record->ExceptionCode == kDebugPrintException && record->NumberParameters >= 2) {
        const size_t length = static_cast<size_t>(record->ExceptionInformation[0]);
        const char* text = reinterpret_cast<const char*>(record->ExceptionInformation[1]);
        if (text && length > 0) {
            CSingleLock lock(Lock());
            // The length counts the terminating zero.
            Captured().append(text, text[length - 1] ? length : length - 1);
        }
    }
    return EXCEPTION_CONTINUE_SEARCH;
}

}  // namespace orvtest
