#include "CException.h"

#include "CString.h"

#include <windows.h>

#include <cstring>

namespace {
bool CopyMessage(const char* text, char* buffer, unsigned maxLength) {
    if (!buffer || maxLength == 0) return false;
    std::strncpy(buffer, text, maxLength - 1);
    buffer[maxLength - 1] = 0;
    return true;
}
}  // namespace

CException::~CException() = default;

bool CException::GetErrorMessage(char* buffer, unsigned maxLength, unsigned* helpContext) const {
    if (helpContext) *helpContext = 0;
    if (buffer && maxLength > 0) buffer[0] = 0;
    return false;
}

int CException::ReportError(unsigned type, unsigned messageId) const {
    char message[1024];
    CString text;
    if (GetErrorMessage(message, sizeof message)) {
        text = message;
    } else if (messageId == 0 || !text.LoadString(messageId)) {
        text = "No error message is available.";
    }
    return MessageBoxA(nullptr, text, nullptr, type);
}

const char* CException::GetRuntimeClassName() const { return "CException"; }

bool CMemoryException::GetErrorMessage(char* buffer, unsigned maxLength,
                                       unsigned* helpContext) const {
    if (helpContext) *helpContext = 0;
    return CopyMessage("Out of memory.", buffer, maxLength);
}

const char* CMemoryException::GetRuntimeClassName() const { return "CMemoryException"; }

bool CNotSupportedException::GetErrorMessage(char* buffer, unsigned maxLength,
                                             unsigned* helpContext) const {
    if (helpContext) *helpContext = 0;
    return CopyMessage("An unsupported operation was attempted.", buffer, maxLength);
}

const char* CNotSupportedException::GetRuntimeClassName() const {
    return "CNotSupportedException";
}

void AfxThrowMemoryException() { throw CMemoryException(); }

void AfxThrowNotSupportedException() { throw CNotSupportedException(); }
