#include "ListsTestSupport.h"

#include "BitmapFile.h"
#include "CBrush.h"
#include "CDC.h"
#include "CPaintDC.h"
#include "ChildProcess.h"
#include "TestSupport.h"

#include <cstdio>

namespace liststest {

Host::Host(int x, int y, int width, int height, COLORREF color) : fill(color) {
    CreateEx(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, nullptr, "lists host", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, x, y,
             width, height, nullptr, nullptr);
    UpdateWindow();
}

Host::~Host() {
    if (m_hWnd) DestroyWindow();
}

BOOL Host::OnEraseBkgnd(CDC* dc) {
    RECT client{};
    GetClientRect(&client);
    dc->FillSolidRect(client, fill);
    return TRUE;
}

Pane::Pane(HWND parent, int* deleted, COLORREF color) : m_parent(parent), m_deleted(deleted), m_fill(color) {}

Pane::~Pane() {
    if (m_deleted) ++*m_deleted;
    if (m_hWnd) DestroyWindow();
}

void Pane::CreateHandle() {
    if (m_hWnd) return;
    if (CreateEx(0, nullptr, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, GetLeft(), GetTop(), GetWidth(),
                 GetHeight(), m_parent, nullptr))
        SetHandleC(m_hWnd);
}

void Pane::WMPaint(WMNoParams_t&) {
    CPaintDC dc(this);
    RECT client{};
    GetClientRect(&client);
    dc.FillSolidRect(client, m_fill);
}

void Pane::WMWindowPosChanged(WMWindowPosMsg_t& message) {
    ++moves;
    message.Handled = FALSE;
}

ShippedSkin::ShippedSkin(const char* name) : m_name(name) {
    m_reader = std::make_unique<OrvSkinReader>((orvtest::ThisProgramFolder() + "Skins").c_str(), nullptr);
    m_reader->SetSkinByDirectory((m_name + "\\").c_str());
}

bool ShippedSkin::Ok() const {
    const ClsSkinName* applied = m_reader->GetCurrentSkin();
    return applied && lstrcmpiA(applied->GetLastDirectory(), (m_name + "\\").c_str()) == 0;
}

COLORREF ImagePixel(const ClsBitMap& image, int x, int y) {
    if (!image.GetIsValid() || x < 0 || y < 0 || x >= image.GetWidth() || y >= image.GetHeight()) return CLR_INVALID;
    ClsBitMap& bitmap = const_cast<ClsBitMap&>(image);
    CDC* dc = bitmap.Lock();
    const COLORREF color = dc ? ::GetPixel(dc->GetSafeHdc(), x, y) : CLR_INVALID;
    bitmap.Unlock();
    return color;
}

COLORREF ScreenPixel(int x, int y) {
    HDC screen = ::GetDC(nullptr);
    const COLORREF color = ::GetPixel(screen, x, y);
    ::ReleaseDC(nullptr, screen);
    return color;
}

bool SaveScreen(const RECT& rect, const std::string& name) {
    const int width = rect.right - rect.left, height = rect.bottom - rect.top;
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    HBITMAP shot = ::CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = ::SelectObject(memory, shot);
    ::BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
    ::SelectObject(memory, old);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
    const bool saved = orvtest::SaveBitmapFile(shot, orvtest::ArtifactPath(name));
    ::DeleteObject(shot);
    return saved;
}

void PumpPending() { orvtest::PumpPending(); }

bool PumpUntil(const std::function<bool()>& done, unsigned timeoutMs) { return orvtest::PumpUntil(done, timeoutMs); }

namespace {
void Send(INPUT& input) { ::SendInput(1, &input, sizeof input); }
}  // namespace

bool MoveMouse(int x, int y) {
    const int width = ::GetSystemMetrics(SM_CXSCREEN), height = ::GetSystemMetrics(SM_CYSCREEN);
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = static_cast<LONG>((static_cast<long long>(x) * 65535 + width - 2) / (width - 1));
    input.mi.dy = static_cast<LONG>((static_cast<long long>(y) * 65535 + height - 2) / (height - 1));
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    Send(input);
    POINT at{};
    return PumpUntil([&] { return ::GetCursorPos(&at) && at.x == x && at.y == y; }, 5000);
}

void MouseButton(bool left, bool down) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = left ? (down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP)
                            : (down ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_RIGHTUP);
    Send(input);
}

void Press(WORD vk) {
    for (bool down : {true, false}) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = vk;
        input.ki.wScan = static_cast<WORD>(::MapVirtualKeyA(vk, MAPVK_VK_TO_VSC));
        input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
        Send(input);
    }
}

std::string Describe(COLORREF color) {
    char text[32];
    std::snprintf(text, sizeof text, "RGB(%d, %d, %d)", GetRValue(color), GetGValue(color), GetBValue(color));
    return text;
}

}  // namespace liststest
