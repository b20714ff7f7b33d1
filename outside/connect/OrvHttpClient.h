#pragma once
// One worker's HTTP client: an asynchronous WinHTTP session with at most one
// open connection (kept alive between requests to the same server). The
// worker waits for each step of a request; Cancel, from any thread, ends the
// wait at once, so a silent server never holds the worker.
#include "CEvent.h"
#include "WinHttpHandle.h"

#include <string>

struct OrvHttpResult_t {
    bool ok = false;     // a complete answer with a status line arrived
    DWORD error = 0;     // !ok: the Win32/WinHTTP error
    DWORD status = 0;    // ok: the HTTP status
    std::string body;
    bool tooLarge = false;  // the body exceeded the limit and was not read to the end
};

struct OrvHttpCall;

class OrvHttpClient {
public:
    OrvHttpClient();
    OrvHttpClient(const OrvHttpClient&) = delete;
    OrvHttpClient& operator=(const OrvHttpClient&) = delete;

    // POSTs body as JSON to baseUrl + "/api/v1/" + name.
    OrvHttpResult_t Post(const std::wstring& baseUrl, const char* name, const std::string& body,
                         int connectMs, int receiveMs, size_t maxBody);

    // From any thread: aborts the request in flight and refuses later ones.
    void Cancel() { m_cancel.Set(); }
    // Drops the kept-alive connection and the session.
    void Close();

private:
    bool Connect(const std::wstring& host, INTERNET_PORT port, DWORD& error);
    // Waits for the step begun on call; false when it failed or was cancelled.
    bool Await(OrvHttpCall& call, DWORD& error);

    CEvent m_cancel{true};
    WinHttpHandle m_session;
    WinHttpHandle m_connection;
    std::wstring m_host;
    INTERNET_PORT m_port = 0;
    DWORD m_lastUse = 0;
};
