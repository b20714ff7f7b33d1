#pragma once
#include "CString.h"

#include <windows.h>

// The network's support address and web site that the sign-up pages link
// to, and how a link is opened (the shell's "open" verb; tests put their
// own opener in).
class OrvSiteLinks {
public:
    using Opener = void (*)(HWND owner, const char* url);

    static CString GetSupportEmail();
    static void SetSupportEmail(const char* email);
    // The site's address with a trailing slash ("http://www.orvane.net/").
    static CString GetWebSite();
    static void SetWebSite(const char* site);
    // The page about expanding the network.
    static CString GetExpandNetworkPage();

    // Opens url with the opener (the shell by default).
    static void Open(HWND owner, const char* url);
    // Replaces the opener; null puts the shell back.
    static void SetOpener(Opener opener);
};
