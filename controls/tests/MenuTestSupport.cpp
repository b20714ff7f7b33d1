#include "MenuTestSupport.h"

#include "ClsSkinnedMenu.h"
#include "ControlsTestSupport.h"

#include "BitmapFile.h"
#include "CBitmap.h"
#include "TestSupport.h"

#include <cstdio>
#include <memory>

namespace menutest {

CommandHost::CommandHost(int x, int y, int width, int height) : HostWindow(x, y, width, height) {}

bool CommandHost::Activate() {
    ::SetForegroundWindow(m_hWnd);
    ::SetActiveWindow(m_hWnd);
    ::SetFocus(m_hWnd);
    return PumpUntil([this] { return ::GetForegroundWindow() == m_hWnd && ::GetFocus() == m_hWnd; });
}

BOOL CommandHost::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (lParam == 0) {
        commands.push_back(LOWORD(wParam));
        return TRUE;
    }
    return ctltest::HostWindow::OnCommand(wParam, lParam);
}

void CommandHost::OnKeyDown(UINT key, UINT repeat, UINT flags) {
    keysSeen.push_back(key);
    ctltest::HostWindow::OnKeyDown(key, repeat, flags);
}

void CommandHost::OnLButtonDown(UINT flags, CPoint point) {
    ++presses;
    ctltest::HostWindow::OnLButtonDown(flags, point);
}

void PumpPending(ClsSkinnedMenu* menu) {
    MSG message;
    while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (menu && menu->IsMenuCommand(message)) continue;
        ::TranslateMessage(&message);
        ::DispatchMessageA(&message);
    }
}

bool PumpUntil(const std::function<bool()>& done, ClsSkinnedMenu* menu, unsigned timeoutMs) {
    const DWORD start = ::GetTickCount();
    for (;;) {
        PumpPending(menu);
        if (done()) return true;
        if (::GetTickCount() - start >= timeoutMs) return false;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
}

void PressWithAlt(WORD vk) {
    Key(VK_MENU, true);
    Press(vk);
    Key(VK_MENU, false);
}

Pixels::Pixels(HBITMAP bitmap) {
    BITMAP info{};
    if (!bitmap || !::GetObjectA(bitmap, sizeof info, &info) || info.bmWidth <= 0 || info.bmHeight <= 0) return;
    BITMAPINFO header{};
    header.bmiHeader.biSize = sizeof header.bmiHeader;
    header.bmiHeader.biWidth = info.bmWidth;
    header.bmiHeader.biHeight = -info.bmHeight;
    header.bmiHeader.biPlanes = 1;
    header.bmiHeader.biBitCount = 32;
    header.bmiHeader.biCompression = BI_RGB;
    std::vector<RGBQUAD> raw(static_cast<size_t>(info.bmWidth) * info.bmHeight);
    HDC screen = ::GetDC(nullptr);
    const int rows = ::GetDIBits(screen, bitmap, 0, info.bmHeight, raw.data(), &header, DIB_RGB_COLORS);
    ::ReleaseDC(nullptr, screen);
    if (rows != info.bmHeight) return;
    m_width = info.bmWidth;
    m_height = info.bmHeight;
    m_pixels.reserve(raw.size());
    for (const RGBQUAD& q : raw) m_pixels.push_back(RGB(q.rgbRed, q.rgbGreen, q.rgbBlue));
}

COLORREF Pixels::At(int x, int y) const {
    if (x < 0 || y < 0 || x >= m_width || y >= m_height) return CLR_INVALID;
    return m_pixels[static_cast<size_t>(y) * m_width + x];
}

int Pixels::Count(const RECT& area, COLORREF color) const {
    int count = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            if (At(x, y) == color) ++count;
    return count;
}

Pixels Capture(HWND window, const std::string& name) {
    ::UpdateWindow(window);
    std::unique_ptr<void, decltype(&::DeleteObject)> shot(ctltest::CaptureWindow(window), &::DeleteObject);
    HBITMAP bitmap = static_cast<HBITMAP>(shot.get());
    if (bitmap && !name.empty()) orvtest::SaveBitmapFile(bitmap, orvtest::ArtifactPath(name));
    return Pixels(bitmap);
}

Pixels CaptureScreen(const RECT& area, const std::string& name) {
    const int width = area.right - area.left, height = area.bottom - area.top;
    CBitmap bitmap;
    if (width <= 0 || height <= 0 || !bitmap.CreateDIBSection(width, height, 32)) return Pixels(nullptr);
    HDC memory = ::CreateCompatibleDC(nullptr);
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    HDC screen = ::GetDC(nullptr);
    ::BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
    ::ReleaseDC(nullptr, screen);
    ::SelectObject(memory, old);
    ::DeleteDC(memory);
    if (!name.empty()) orvtest::SaveBitmapFile(bitmap, orvtest::ArtifactPath(name));
    return Pixels(bitmap);
}

std::string Hex(COLORREF color) {
    char text[16];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", GetRValue(color), GetGValue(color), GetBValue(color));
    return text;
}

}  // namespace menutest
