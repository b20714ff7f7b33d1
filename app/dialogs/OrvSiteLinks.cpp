#include "OrvSiteLinks.h"

#include <shellapi.h>

namespace {
CString& SupportEmail() {
    static CString email("support@orvane.net");
    return email;
}
CString& WebSite() {
    static CString site("http://www.orvane.net/");
    return site;
}
void OpenWithShell(HWND owner, const char* url) { ::ShellExecuteA(owner, "open", url, nullptr, nullptr, SW_SHOWNORMAL); }
OrvSiteLinks::Opener g_opener = &OpenWithShell;
}  // namespace

CString OrvSiteLinks::GetSupportEmail() { return SupportEmail(); }

void OrvSiteLinks::SetSupportEmail(const char* email) { SupportEmail() = email ? email : ""; }

CString OrvSiteLinks::GetWebSite() { return WebSite(); }

void OrvSiteLinks::SetWebSite(const char* site) {
    WebSite() = site ? site : "";
    if (!WebSite().IsEmpty() && WebSite()[WebSite().GetLength() - 1] != '/') WebSite() += "/";
}

CString OrvSiteLinks::GetExpandNetworkPage() { return WebSite() + "default.php?screen=4"; }

void OrvSiteLinks::Open(HWND owner, const char* url) {
    if (url && *url) g_opener(owner, url);
}

void OrvSiteLinks::SetOpener(Opener opener) { g_opener = opener ? opener : &OpenWithShell; }
