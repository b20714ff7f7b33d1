#pragma once
#include "CWizardPage.h"

// Wizard step 2 (resource 137): the name (split at its first blank) and
// the free text, which is reformatted into lines before it is handed over.
class CWizardNamePage : public CWizardPage {
public:
    CWizardNamePage();

    void SetName(const char* name);
    void SetFreeText(const char* text);
    // After kNext: the trimmed name, its parts, and the reformatted text.
    const CString& GetName() const { return m_name; }
    const CString& GetFirstName() const { return m_firstName; }
    const CString& GetLastName() const { return m_lastName; }
    const CString& GetFreeText() const { return m_freeText; }

protected:
    BOOL OnInitDialog() override;
    void SaveFields() override;
    bool CheckPage() override;

private:
    CString m_name;
    CString m_firstName;
    CString m_lastName;
    CString m_freeText;
};
