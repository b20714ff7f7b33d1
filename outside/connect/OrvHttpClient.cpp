#include "OrvHttpClient.h"

#include <atomic>
#include <vector>

// What one request shares with WinHTTP's callbacks. The worker holds one
// reference and the request handle another, dropped when WinHTTP reports the
// handle closing: that may come after the worker gave up on a silent server,
// and the body and the read buffer must stay valid until then.
struct OrvHttpCall {
    std::atomic<long> refs{1};
    CEvent done{false};
    std::string body;
    std::vector<char> buffer;
    bool failed = false;
    DWORD error = 0;
    DWORD bytes = 0;

    void AddRef() { refs.fetch_add(1); }
    void Release() {
        if (refs.fetch_sub(1) == 1) delete this;
    }
};

namespace {

// Servers drop idle kept-alive connections (orvane-server after 30 s); a
// request sent into one of those fails although the server is well, so
// after a pause the worker starts over with fresh connections.
const DWORD kFreshAfterIdleMs = 15000;

OrvHttpResult_t Failure(DWORD error) {
    OrvHttpResult_t result;
    result.error = error ? error : ERROR_WINHTTP_INTERNAL_ERROR;
    return result;
}

void CALLBACK StatusCallback(HINTERNET, DWORD_PTR context, DWORD status, LPVOID info,
                             DWORD length) {
    auto* call = reinterpret_cast<OrvHttpCall*>(context);
    if (!call) return;
    switch (status) {
    case WINHTTP_CALLBACK_STATUS_HANDLE_CLOSING:
        call->Release();
        return;
    case WINHTTP_CALLBACK_STATUS_SENDREQUEST_COMPLETE:
    case WINHTTP_CALLBACK_STATUS_HEADERS_AVAILABLE:
        call->bytes = 0;
        break;
    case WINHTTP_CALLBACK_STATUS_DATA_AVAILABLE:
        call->bytes = info ? *static_cast<const DWORD*>(info) : 0;
        break;
    case WINHTTP_CALLBACK_STATUS_READ_COMPLETE:
        call->bytes = length;
        break;
    case WINHTTP_CALLBACK_STATUS_REQUEST_ERROR:
        call->failed = true;
        call->error = info ? static_cast<const WINHTTP_ASYNC_RESULT*>(info)->dwError
                           : ERROR_WINHTTP_INTERNAL_ERROR;
        break;
    default:
        return;
    }
    call->done.Set();
}

// The worker's reference to a call.
class CallRef {
public:
    CallRef() : m_call(new OrvHttpCall) {}
    ~CallRef() { m_call->Release(); }
    CallRef(const CallRef&) = delete;
    CallRef& operator=(const CallRef&) = delete;
    OrvHttpCall* operator->() const { return m_call; }
    OrvHttpCall& operator*() const { return *m_call; }
    OrvHttpCall* Get() const { return m_call; }

private:
    OrvHttpCall* m_call;
};

}  // namespace

OrvHttpClient::OrvHttpClient() = default;

bool OrvHttpClient::Connect(const std::wstring& host, INTERNET_PORT port, DWORD& error) {
    if (m_session && GetTickCount() - m_lastUse > kFreshAfterIdleMs) Close();
    m_lastUse = GetTickCount();
    if (!m_session) {
        // No proxy: the server is addressed directly, loopback included.
        m_session.Reset(WinHttpOpen(L"Orvane-connect/1.0", WINHTTP_ACCESS_TYPE_NO_PROXY,
                                    WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS,
                                    WINHTTP_FLAG_ASYNC));
        if (!m_session) {
            error = GetLastError();
            return false;
        }
        // Inherited by every connection and request made from the session.
        if (WinHttpSetStatusCallback(m_session.Get(), &StatusCallback,
                                     WINHTTP_CALLBACK_FLAG_ALL_COMPLETIONS |
                                         WINHTTP_CALLBACK_FLAG_HANDLES,
                                     0) == WINHTTP_INVALID_STATUS_CALLBACK) {
            error = GetLastError();
            m_session.Reset();
            return false;
        }
    }
    if (m_connection && (m_host != host || m_port != port)) m_connection.Reset();
    if (!m_connection) {
        m_connection.Reset(WinHttpConnect(m_session.Get(), host.c_str(), port, 0));
        if (!m_connection) {
            error = GetLastError();
            return false;
        }
        m_host = host;
        m_port = port;
    }
    return true;
}

void OrvHttpClient::Close() {
    m_connection.Reset();
    m_session.Reset();
    m_host.clear();
    m_port = 0;
}

bool OrvHttpClient::Await(OrvHttpCall& call, DWORD& error) {
    const HANDLE waits[2] = {call.done.Get(), m_cancel.Get()};
    // WinHTTP's own time-outs end every step; this only guards against a
    // step that is never reported at all.
    const DWORD result = WaitForMultipleObjects(2, waits, FALSE, 10 * 60 * 1000);
    if (result == WAIT_OBJECT_0 + 1) {
        error = ERROR_WINHTTP_OPERATION_CANCELLED;
        return false;
    }
    if (result != WAIT_OBJECT_0) {
        error = ERROR_WINHTTP_TIMEOUT;
        return false;
    }
    if (call.failed) {
        error = call.error ? call.error : ERROR_WINHTTP_INTERNAL_ERROR;
        return false;
    }
    return true;
}

OrvHttpResult_t OrvHttpClient::Post(const std::wstring& baseUrl, const char* name,
                                    const std::string& body, int connectMs, int receiveMs,
                                    size_t maxBody) {
    if (WaitForSingleObject(m_cancel.Get(), 0) == WAIT_OBJECT_0)
        return Failure(ERROR_WINHTTP_OPERATION_CANCELLED);

    std::wstring url = baseUrl;
    while (!url.empty() && (url.back() == L'/' || url.back() == L' ')) url.pop_back();
    while (!url.empty() && url.front() == L' ') url.erase(url.begin());
    if (url.empty()) return Failure(ERROR_WINHTTP_INVALID_URL);

    URL_COMPONENTS parts{};
    parts.dwStructSize = sizeof parts;
    parts.dwHostNameLength = static_cast<DWORD>(-1);
    parts.dwUrlPathLength = static_cast<DWORD>(-1);
    parts.dwSchemeLength = static_cast<DWORD>(-1);
    if (!WinHttpCrackUrl(url.c_str(), static_cast<DWORD>(url.size()), 0, &parts))
        return Failure(GetLastError());
    if (parts.nScheme != INTERNET_SCHEME_HTTP && parts.nScheme != INTERNET_SCHEME_HTTPS)
        return Failure(ERROR_WINHTTP_UNRECOGNIZED_SCHEME);
    if (!parts.lpszHostName || parts.dwHostNameLength == 0)
        return Failure(ERROR_WINHTTP_INVALID_URL);
    const std::wstring host(parts.lpszHostName, parts.dwHostNameLength);
    std::wstring path = parts.lpszUrlPath ? std::wstring(parts.lpszUrlPath, parts.dwUrlPathLength)
                                          : std::wstring();
    while (!path.empty() && path.back() == L'/') path.pop_back();
    path += L"/api/v1/";
    for (const char* c = name; *c; ++c) path += static_cast<wchar_t>(*c);
    const bool secure = parts.nScheme == INTERNET_SCHEME_HTTPS;

    // A kept-alive connection the server has closed fails at sending; the
    // request did not reach the server then, so one fresh attempt is safe.
    for (int attempt = 0;; ++attempt) {
        DWORD error = 0;
        if (!Connect(host, parts.nPort, error)) return Failure(error);

        WinHttpHandle request(WinHttpOpenRequest(m_connection.Get(), L"POST", path.c_str(),
                                                 nullptr, WINHTTP_NO_REFERER,
                                                 WINHTTP_DEFAULT_ACCEPT_TYPES,
                                                 secure ? WINHTTP_FLAG_SECURE : 0));
        if (!request) return Failure(GetLastError());
        CallRef call;
        DWORD_PTR context = reinterpret_cast<DWORD_PTR>(call.Get());
        call->AddRef();
        if (!WinHttpSetOption(request.Get(), WINHTTP_OPTION_CONTEXT_VALUE, &context,
                              sizeof context)) {
            call->Release();
            return Failure(GetLastError());
        }
        WinHttpSetTimeouts(request.Get(), connectMs, connectMs, receiveMs, receiveMs);
        // Waiting for the status line has a time-out of its own.
        DWORD responseMs = static_cast<DWORD>(receiveMs);
        WinHttpSetOption(request.Get(), WINHTTP_OPTION_RECEIVE_RESPONSE_TIMEOUT, &responseMs,
                         sizeof responseMs);
        // A redirect would turn the POST into something the server never answers.
        DWORD disable = WINHTTP_DISABLE_REDIRECTS;
        WinHttpSetOption(request.Get(), WINHTTP_OPTION_DISABLE_FEATURE, &disable, sizeof disable);

        call->body = body;
        const wchar_t* headers = L"Content-Type: application/json\r\n";
        const DWORD size = static_cast<DWORD>(call->body.size());
        const bool sent = WinHttpSendRequest(request.Get(), headers, static_cast<DWORD>(-1L),
                                             size ? &call->body[0] : nullptr, size, size, context)
                              ? Await(*call, error)
                              : (error = GetLastError(), false);
        if (!sent) {
            if (attempt == 0 && error == ERROR_WINHTTP_CONNECTION_ERROR) {
                m_connection.Reset();
                continue;
            }
            return Failure(error);
        }
        if (!WinHttpReceiveResponse(request.Get(), nullptr)) return Failure(GetLastError());
        if (!Await(*call, error)) return Failure(error);

        DWORD status = 0;
        DWORD statusSize = sizeof status;
        if (!WinHttpQueryHeaders(request.Get(), WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                                 WINHTTP_HEADER_NAME_BY_INDEX, &status, &statusSize,
                                 WINHTTP_NO_HEADER_INDEX))
            return Failure(GetLastError());

        OrvHttpResult_t result;
        for (;;) {
            if (!WinHttpQueryDataAvailable(request.Get(), nullptr)) return Failure(GetLastError());
            if (!Await(*call, error)) return Failure(error);
            const DWORD available = call->bytes;
            if (available == 0) break;
            if (result.body.size() + available > maxBody) {
                result.tooLarge = true;
                break;
            }
            call->buffer.resize(available);
            if (!WinHttpReadData(request.Get(), call->buffer.data(), available, nullptr))
                return Failure(GetLastError());
            if (!Await(*call, error)) return Failure(error);
            if (call->bytes == 0) break;
            result.body.append(call->buffer.data(), call->bytes);
        }
        m_lastUse = GetTickCount();
        // The rest of an oversized body is still on the connection.
        if (result.tooLarge) m_connection.Reset();
        result.ok = true;
        result.status = status;
        return result;
    }
}
