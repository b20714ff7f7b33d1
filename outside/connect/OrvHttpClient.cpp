#include "OrvHttpClient.h"

#include <vector>

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

}  // namespace

bool OrvHttpClient::Connect(const std::wstring& host, INTERNET_PORT port, DWORD& error) {
    if (m_session && GetTickCount() - m_lastUse > kFreshAfterIdleMs) Close();
    m_lastUse = GetTickCount();
    if (!m_session) {
        // No proxy: the server is addressed directly, loopback included.
        m_session.Reset(WinHttpOpen(L"Orvane-connect/1.0", WINHTTP_ACCESS_TYPE_NO_PROXY,
                                    WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0));
        if (!m_session) {
            error = GetLastError();
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

bool OrvHttpClient::Register(HINTERNET request) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_cancelled) return false;
    m_active = request;
    m_activeClosed = false;
    return true;
}

void OrvHttpClient::Unregister(WinHttpHandle& request) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_activeClosed) request.Release();
    m_active = nullptr;
    m_activeClosed = false;
}

void OrvHttpClient::Cancel() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_cancelled = true;
    if (m_active && !m_activeClosed) {
        // Closing the handle is WinHTTP's way to abort a blocked call.
        WinHttpCloseHandle(m_active);
        m_activeClosed = true;
    }
}

void OrvHttpClient::Close() {
    m_connection.Reset();
    m_session.Reset();
    m_host.clear();
    m_port = 0;
}

OrvHttpResult_t OrvHttpClient::Post(const std::wstring& baseUrl, const char* name,
                                    const std::string& body, int connectMs, int receiveMs,
                                    size_t maxBody) {
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
        WinHttpSetTimeouts(request.Get(), connectMs, connectMs, receiveMs, receiveMs);
        // Waiting for the status line has a time-out of its own.
        DWORD responseMs = static_cast<DWORD>(receiveMs);
        WinHttpSetOption(request.Get(), WINHTTP_OPTION_RECEIVE_RESPONSE_TIMEOUT, &responseMs,
                         sizeof responseMs);
        // A redirect would turn the POST into something the server never answers.
        DWORD disable = WINHTTP_DISABLE_REDIRECTS;
        WinHttpSetOption(request.Get(), WINHTTP_OPTION_DISABLE_FEATURE, &disable, sizeof disable);

        if (!Register(request.Get())) return Failure(ERROR_WINHTTP_OPERATION_CANCELLED);
        OrvHttpResult_t result;
        const wchar_t* headers = L"Content-Type: application/json\r\n";
        if (!WinHttpSendRequest(request.Get(), headers, static_cast<DWORD>(-1L),
                                const_cast<char*>(body.data()), static_cast<DWORD>(body.size()),
                                static_cast<DWORD>(body.size()), 0)) {
            error = GetLastError();
            Unregister(request);
            if (attempt == 0 && error == ERROR_WINHTTP_CONNECTION_ERROR) {
                m_connection.Reset();
                continue;
            }
            return Failure(error);
        }
        if (!WinHttpReceiveResponse(request.Get(), nullptr)) {
            error = GetLastError();
            Unregister(request);
            return Failure(error);
        }
        DWORD status = 0;
        DWORD size = sizeof status;
        if (!WinHttpQueryHeaders(request.Get(), WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                                 WINHTTP_HEADER_NAME_BY_INDEX, &status, &size,
                                 WINHTTP_NO_HEADER_INDEX)) {
            error = GetLastError();
            Unregister(request);
            return Failure(error);
        }
        std::vector<char> chunk(16384);
        for (;;) {
            DWORD read = 0;
            if (!WinHttpReadData(request.Get(), chunk.data(), static_cast<DWORD>(chunk.size()),
                                 &read)) {
                error = GetLastError();
                Unregister(request);
                return Failure(error);
            }
            if (read == 0) break;
            if (result.body.size() + read > maxBody) {
                result.tooLarge = true;
                break;
            }
            result.body.append(chunk.data(), read);
        }
        Unregister(request);
        m_lastUse = GetTickCount();
        // The rest of an oversized body is still on the connection.
        if (result.tooLarge) m_connection.Reset();
        result.ok = true;
        result.status = status;
        return result;
    }
}
