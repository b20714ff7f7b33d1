#include "DemoNetwork.h"

#include "CSocketHandle.h"
#include "CWinsockStartup.h"

#include <winsock2.h>
#include <windows.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <vector>

namespace apptest {

DemoNetwork::~DemoNetwork() {
    if (m_chat) m_chat->Stop();
    if (m_server) m_server->Stop();
    if (!m_dir.empty() && m_dir.find("/orvnet-") != std::string::npos) orvtest::LaunchUnix("/bin/rm -rf " + m_dir);
}

bool DemoNetwork::Start(const std::string& name, const std::vector<std::string>& serverOptions) {
    m_dir = orvtest::Env("ORV_SERVICE_DIR") + "/orvnet-" + name + "-" + std::to_string(GetCurrentProcessId());
    ::CreateDirectoryA(orvtest::WinePath(m_dir).c_str(), nullptr);
    m_chat = std::make_unique<orvtest::UnixService>(
        "chat-" + name, std::vector<std::string>{"/bin/bash",
                                                 orvtest::Env("ORV_SOURCE_DIR") + "/scripts/ngircd/run-ngircd.sh",
                                                 "@PORT@", m_dir + "/chat",
                                                 orvtest::Env("ORV_HOST_BUILD_DIR") + "/server/keeper"});
    if (!m_chat->Start()) return false;
    std::vector<std::string> server{orvtest::Env("ORV_HOST_BUILD_DIR") + "/server/orvane-server", "--demo",
                                    DataDir(), "--port", "@PORT@", "--chat-port", std::to_string(m_chat->Port())};
    server.insert(server.end(), serverOptions.begin(), serverOptions.end());
    m_server = std::make_unique<orvtest::UnixService>("server-" + name, server);
    // The first start creates the demo network.
    if (!m_server->Start(300000)) return false;
    const std::string address = orvtest::WinePath(m_dir + "/chat/auth-server");
    std::ofstream(address, std::ios::binary) << "127.0.0.1:" << m_server->Port() << "\n";
    return true;
}

std::string DemoNetwork::Url() const { return "http://127.0.0.1:" + std::to_string(m_server ? m_server->Port() : 0); }

std::string DemoNetwork::Logs() const {
    std::string logs;
    if (m_chat) logs += "--- chat server\n" + m_chat->Log();
    if (m_server) logs += "--- orvane-server\n" + m_server->Log();
    return logs;
}

std::string DemoNetwork::JsonString(const std::string& json, const std::string& name) {
    const std::string key = "\"" + name + "\":\"";
    const size_t at = json.find(key);
    if (at == std::string::npos) return std::string();
    const size_t start = at + key.size();
    return json.substr(start, json.find('"', start) - start);
}

std::string DemoNetwork::Post(const std::string& path, const std::string& body) const {
    if (!m_server) return std::string();
    CWinsockStartup winsock;
    CSocketHandle s(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<u_short>(m_server->Port()));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (connect(s.Get(), reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) return std::string();
    const std::string request = "POST " + path + " HTTP/1.1\r\nHost: 127.0.0.1\r\nContent-Type: application/json\r\n"
                                "Connection: close\r\nContent-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
    send(s.Get(), request.data(), static_cast<int>(request.size()), 0);
    std::string answer;
    char chunk[4096];
    int got;
    while ((got = recv(s.Get(), chunk, sizeof chunk, 0)) > 0) answer.append(chunk, static_cast<size_t>(got));
    const size_t bodyAt = answer.find("\r\n\r\n");
    return bodyAt == std::string::npos ? std::string() : answer.substr(bodyAt + 4);
}

std::string DemoNetwork::SignUp(const std::string& email) const {
    Post("/api/v1/verify-user", "{\"email\":\"" + email + "\"}");
    Post("/api/v1/add-user", "{\"firstName\":\"Remo\",\"lastName\":\"Ved\",\"email\":\"" + email +
                                 "\",\"occupation\":\"Tester\",\"hiddenEmail\":\"0\",\"hiddenChat\":\"0\",\"contacts\":\"\"}");
    return MailedPassword(email);
}

std::string DemoNetwork::MailedPassword(const std::string& email) const {
    // The password stands alone on a line indented by four blanks; names
    // begin with the time and a counter, so the largest name is the newest.
    std::string password, newest;
    const std::string outbox = orvtest::WinePath(m_dir + "/network/outbox");
    WIN32_FIND_DATAA found;
    HANDLE search = ::FindFirstFileA((outbox + "\\*.eml").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return password;
    do {
        std::ifstream in(outbox + "\\" + found.cFileName, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        const std::string mail = text.str();
        if (mail.find("To: " + email + "\r\n") == std::string::npos) continue;
        if (!newest.empty() && std::string(found.cFileName) < newest) continue;
        const size_t at = mail.find("\r\n    ");
        if (at == std::string::npos) continue;
        newest = found.cFileName;
        password = mail.substr(at + 6, mail.find("\r\n", at + 6) - at - 6);
    } while (::FindNextFileA(search, &found));
    ::FindClose(search);
    return password;
}

ScreenPixels::ScreenPixels(const RECT& rect) {
    m_width = rect.right - rect.left;
    m_height = rect.bottom - rect.top;
    if (m_width <= 0 || m_height <= 0) {
        m_width = m_height = 0;
        return;
    }
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = m_width;
    info.bmiHeader.biHeight = -m_height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    ::BitBlt(memory, 0, 0, m_width, m_height, screen, rect.left, rect.top, SRCCOPY);
    ::GdiFlush();
    const uint32_t* source = static_cast<const uint32_t*>(bits);
    m_pixels.assign(source, source + static_cast<size_t>(m_width) * m_height);
    for (uint32_t& pixel : m_pixels) pixel &= 0xFFFFFF;
    ::SelectObject(memory, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
}

COLORREF ScreenPixels::At(int x, int y) const {
    if (x < 0 || y < 0 || x >= m_width || y >= m_height) return CLR_INVALID;
    const uint32_t p = m_pixels[static_cast<size_t>(y) * m_width + x];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

int ScreenPixels::ColourCount(const RECT& area) const {
    std::set<uint32_t> colours;
    for (int y = area.top; y < area.bottom && y < m_height; ++y)
        for (int x = area.left; x < area.right && x < m_width; ++x)
            if (x >= 0 && y >= 0) colours.insert(m_pixels[static_cast<size_t>(y) * m_width + x]);
    return static_cast<int>(colours.size());
}

COLORREF ScreenPixels::Commonest(const RECT& area) const {
    std::map<uint32_t, int> counts;
    for (int y = std::max<int>(area.top, 0); y < area.bottom && y < m_height; ++y)
        for (int x = std::max<int>(area.left, 0); x < area.right && x < m_width; ++x)
            ++counts[m_pixels[static_cast<size_t>(y) * m_width + x]];
    uint32_t best = 0;
    int most = -1;
    for (const auto& entry : counts)
        if (entry.second > most) {
            most = entry.second;
            best = entry.first;
        }
    if (most < 0) return CLR_INVALID;
    return RGB((best >> 16) & 0xFF, (best >> 8) & 0xFF, best & 0xFF);
}

int ScreenPixels::InkCount(const RECT& area) const {
    std::map<uint32_t, int> counts;
    int total = 0;
    for (int y = std::max<int>(area.top, 0); y < area.bottom && y < m_height; ++y)
        for (int x = std::max<int>(area.left, 0); x < area.right && x < m_width; ++x) {
            ++counts[m_pixels[static_cast<size_t>(y) * m_width + x]];
            ++total;
        }
    int commonest = 0;
    for (const auto& entry : counts) commonest = std::max(commonest, entry.second);
    return total - commonest;
}

bool ScreenPixels::Save(const std::string& name) const {
    if (m_pixels.empty()) return false;
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = m_width;
    header.biHeight = -m_height;
    header.biPlanes = 1;
    header.biBitCount = 32;
    const DWORD bytes = static_cast<DWORD>(m_pixels.size() * 4);
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof header;
    file.bfSize = file.bfOffBits + bytes;
    std::ofstream out(orvtest::ArtifactPath(name), std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file), sizeof file);
    out.write(reinterpret_cast<const char*>(&header), sizeof header);
    out.write(reinterpret_cast<const char*>(m_pixels.data()), bytes);
    return static_cast<bool>(out);
}

}  // namespace apptest
