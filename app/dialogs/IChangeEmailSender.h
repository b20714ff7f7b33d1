#pragma once
#include "CString.h"

// What the first log-in page needs from the main frame to change the
// address the password goes to: send the change to the server and wait for
// the answer. Implemented by the main frame; called on the user-interface
// thread while the page is shown.
class IChangeEmailSender {
public:
    // Sends the change and returns the server's answer code ("0" is
    // success). Pumps messages while it waits.
    virtual CString SendChangeEmail(const CString& oldEmail, const CString& newEmail) = 0;

protected:
    ~IChangeEmailSender() = default;
};
