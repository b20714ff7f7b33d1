#pragma once
#include "TreeExport.h"

#include "CException.h"
#include "CString.h"

// Base of the tree library's exceptions: one text that names the failure
// and where it was raised, "<message> at line <line> in file <file>\n". The
// error message puts the class label in front of it.
class TREE_API EException : public CException {
public:
    EException(const char* message, int line, const char* file);

    // "<class label> <text>".
    bool GetErrorMessage(char* buffer, unsigned maxLength,
                         unsigned* helpContext = nullptr) const override;
    const char* GetRuntimeClassName() const override;
    // The label the error message starts with.
    virtual const char* GetClassLabel() const;

    const CString& GetText() const { return m_text; }

private:
    CString m_text;
};
