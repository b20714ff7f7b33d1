#pragma once
#include "CObject.h"
#include "FrameworkExport.h"

// Base of the framework's exceptions. Thrown by value and caught by
// reference (catch (CException& e)); GetErrorMessage and ReportError are the
// virtual slots subclasses refine.
class FW_API CException : public CObject {
public:
    CException() = default;
    CException(const CException&) = default;
    CException& operator=(const CException&) = default;
    ~CException() override;

    // Copies the message, cut to maxLength - 1 characters, into buffer.
    // Returns false (and an empty buffer) when there is no message.
    virtual bool GetErrorMessage(char* buffer, unsigned maxLength,
                                 unsigned* helpContext = nullptr) const;
    // Shows the message in a message box; messageId is the string resource
    // (of the resource module, AfxGetResourceHandle) used when the exception
    // has no message of its own.
    virtual int ReportError(unsigned type = 0x10 /* MB_ICONSTOP */, unsigned messageId = 0) const;
    const char* GetRuntimeClassName() const override;
};

class FW_API CMemoryException : public CException {
public:
    bool GetErrorMessage(char* buffer, unsigned maxLength,
                         unsigned* helpContext = nullptr) const override;
    const char* GetRuntimeClassName() const override;
};

class FW_API CNotSupportedException : public CException {
public:
    bool GetErrorMessage(char* buffer, unsigned maxLength,
                         unsigned* helpContext = nullptr) const override;
    const char* GetRuntimeClassName() const override;
};

[[noreturn]] FW_API void AfxThrowMemoryException();
[[noreturn]] FW_API void AfxThrowNotSupportedException();
