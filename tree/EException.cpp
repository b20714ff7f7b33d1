#include "EException.h"

#include <cstring>

EException::EException(const char* message, int line, const char* file) {
    m_text.Format("%s at line %d in file %s\n", message ? message : "", line, file ? file : "");
}

bool EException::GetErrorMessage(char* buffer, unsigned maxLength, unsigned* helpContext) const {
    if (helpContext) *helpContext = 0;
    if (!buffer || maxLength == 0) return false;
    CString message;
    message.Format("%s %s", GetClassLabel(), m_text.GetString());
    std::strncpy(buffer, message, maxLength - 1);
    buffer[maxLength - 1] = 0;
    return true;
}

const char* EException::GetRuntimeClassName() const { return "EException"; }

const char* EException::GetClassLabel() const { return "Exception"; }
