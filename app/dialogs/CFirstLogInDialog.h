#pragma once
#include "COrvSkinnedDialog.h"

class IChangeEmailSender;

// The first log-in page (resource 136): the address the password was sent
// to, the password field, "Change e-mail" and "Log-in Orvane". Log-in with
// a password gives kStay (0: the main frame logs in with GetPassword());
// Cancel gives kQuit.
class CFirstLogInDialog : public COrvSkinnedDialog {
public:
    static const char* const kNoPasswordText;
    // The answer code of a successful e-mail change.
    static const char* const kChangeAccepted;  // "0"

    CFirstLogInDialog();

    void SetEmail(const char* email);
    // Who sends an e-mail change (borrowed; none: the button does nothing).
    void SetChangeEmailSender(IChangeEmailSender* sender) { m_sender = sender; }
    // The address shown (changed when the server accepted a change).
    const CString& GetEmail() const { return m_email; }
    // After the page ended: the trimmed password.
    const CString& GetPassword() const { return m_password; }

protected:
    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void OnOK() override;
    void OnCancel() override;

private:
    void LogIn();
    void ChangeEmail();

    CString m_email;
    CString m_password;
    IChangeEmailSender* m_sender = nullptr;
};
