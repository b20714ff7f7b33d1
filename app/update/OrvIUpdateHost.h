#pragma once
#include "CString.h"

// What the version check needs from the main frame. Called on the thread
// that drives OrvVersionCheck (the user-interface thread).
class OrvIUpdateHost {
public:
    // Clear the plain-reload mark and send DoBeginVersionUpdateCommand with
    // these arguments on the server command channel.
    virtual void SendVersionRequest(const CString& session, const CString& version) = 0;
    // Show the notification cloud with this text.
    virtual void ShowUpdateNotice(const CString& text) = 0;

protected:
    ~OrvIUpdateHost() = default;
};
