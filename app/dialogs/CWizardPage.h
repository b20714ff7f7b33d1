#pragma once
#include "COrvSkinnedDialog.h"

// A page of the contact-tree wizard: "< &Back" keeps the fields and gives
// kBack, "&Next >" (the OK button) checks the page and gives kNext, Cancel
// asks whether to leave the wizard (kQuit, or kStay). The support address
// at the bottom opens a new mail to it.
class CWizardPage : public COrvSkinnedDialog {
public:
    static const char* const kQuitQuestion;
    static const char* const kSupportText;  // "* for on-line support please e-mail"

protected:
    explicit CWizardPage(UINT templateId) : COrvSkinnedDialog(templateId) {}

    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

    // Reads the page's fields into the object (Back and Next).
    virtual void SaveFields() {}
    // Checks the page; false keeps it (the page has said why).
    virtual bool CheckPage() { return true; }
};
