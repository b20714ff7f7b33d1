#pragma once
// The network the program talks to in the tests: orvane-server with the demo
// network (its accounts demo1..demo5@example.com) and the chat server with
// its room keeper, each on a free loopback port, stopped with this object.
#include "TestSupport.h"

#include <windows.h>

#include <cstdint>
#include <vector>

#include <memory>
#include <string>

namespace apptest {

class DemoNetwork {
public:
    DemoNetwork() = default;
    ~DemoNetwork();
    DemoNetwork(const DemoNetwork&) = delete;
    DemoNetwork& operator=(const DemoNetwork&) = delete;

    // serverOptions go to orvane-server after the usual ones (for example
    // "--update-entry", "<version> <archive>").
    bool Start(const std::string& name, const std::vector<std::string>& serverOptions = {});
    // The server's data folder (a Unix path): the demo network, "download".
    std::string DataDir() const { return m_dir + "/network"; }
    std::string Url() const;
    std::string Logs() const;
    // A POST to the server; the answer's body ("" when unreachable).
    std::string Post(const std::string& path, const std::string& body) const;
    // Signs a new member up (verification, add-user) and returns the
    // password the server mailed him ("" on failure).
    std::string SignUp(const std::string& email) const;
    // The password of the newest mail to email in the server's outbox.
    std::string MailedPassword(const std::string& email) const;
    // The value of "name" in a flat JSON answer.
    static std::string JsonString(const std::string& json, const std::string& name);

private:
    std::string m_dir;
    std::unique_ptr<orvtest::UnixService> m_chat;
    std::unique_ptr<orvtest::UnixService> m_server;
};

// The screen's pixels in a rectangle, saved under the test artifacts.
class ScreenPixels {
public:
    explicit ScreenPixels(const RECT& rect);
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    COLORREF At(int x, int y) const;
    // How many different colours the rectangle (relative) holds.
    int ColourCount(const RECT& area) const;
    // How many pixels of the rectangle differ from its commonest colour
    // (text, lines and pictures on a background).
    int InkCount(const RECT& area) const;
    // The rectangle's commonest colour.
    COLORREF Commonest(const RECT& area) const;
    bool Save(const std::string& name) const;

private:
    int m_width = 0;
    int m_height = 0;
    std::vector<uint32_t> m_pixels;  // 0x00RRGGBB, top row first
};

}  // namespace apptest
