#include "WindowTestSupport.h"

#include "BitmapFile.h"
#include "ClsBitMap.h"
#include "TestSupport.h"

#include "CBitmap.h"
#include "CDC.h"

namespace wintest {

Pixels::Pixels(HBITMAP bitmap) {
    BITMAP info{};
    if (!bitmap || !::GetObjectA(bitmap, sizeof info, &info) || info.bmWidth <= 0 || info.bmHeight <= 0) return;
    BITMAPINFO bmi{};
    bmi.bmiHeader.biSize = sizeof bmi.bmiHeader;
    bmi.bmiHeader.biWidth = info.bmWidth;
    bmi.bmiHeader.biHeight = -info.bmHeight;  // top row first
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    std::vector<uint32_t> pixels(static_cast<size_t>(info.bmWidth) * info.bmHeight);
    HDC screen = ::GetDC(nullptr);
    const int rows = ::GetDIBits(screen, bitmap, 0, info.bmHeight, pixels.data(), &bmi, DIB_RGB_COLORS);
    ::ReleaseDC(nullptr, screen);
    if (rows != info.bmHeight) return;
    m_width = info.bmWidth;
    m_height = info.bmHeight;
    m_pixels = std::move(pixels);
}

COLORREF Pixels::At(int x, int y) const {
    if (x < 0 || y < 0 || x >= m_width || y >= m_height) return CLR_INVALID;
    const uint32_t pixel = m_pixels[static_cast<size_t>(y) * m_width + x];
    return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
}

bool Pixels::Save(const std::string& name) const {
    if (IsEmpty()) return false;
    CBitmap bitmap;
    if (!bitmap.CreateDIBSection(m_width, m_height, 32)) return false;
    BITMAPINFO bmi{};
    bmi.bmiHeader.biSize = sizeof bmi.bmiHeader;
    bmi.bmiHeader.biWidth = m_width;
    bmi.bmiHeader.biHeight = -m_height;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    HDC screen = ::GetDC(nullptr);
    ::SetDIBits(screen, static_cast<HBITMAP>(bitmap.GetSafeHandle()), 0, m_height, m_pixels.data(), &bmi,
                DIB_RGB_COLORS);
    ::ReleaseDC(nullptr, screen);
    return orvtest::SaveBitmapFile(static_cast<HBITMAP>(bitmap.GetSafeHandle()), orvtest::ArtifactPath(name));
}

namespace {
Pixels Copy(HDC source, int x, int y, int width, int height) {
    if (width <= 0 || height <= 0) return Pixels();
    CBitmap bitmap;
    if (!bitmap.CreateDIBSection(width, height, 32)) return Pixels();
    HDC memory = ::CreateCompatibleDC(nullptr);
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    ::BitBlt(memory, 0, 0, width, height, source, x, y, SRCCOPY);
    ::SelectObject(memory, old);
    ::DeleteDC(memory);
    return Pixels(static_cast<HBITMAP>(bitmap.GetSafeHandle()));
}
}  // namespace

Pixels CaptureScreen(const RECT& rect) {
    HDC screen = ::GetDC(nullptr);
    Pixels pixels = Copy(screen, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
    ::ReleaseDC(nullptr, screen);
    return pixels;
}

Pixels CaptureWindow(HWND window) {
    const CRect bounds = WindowOnScreen(window);
    HDC dc = ::GetWindowDC(window);
    Pixels pixels = Copy(dc, 0, 0, bounds.Width(), bounds.Height());
    ::ReleaseDC(window, dc);
    return pixels;
}

Pixels ImagePixels(const ClsBitMap& image) { return Pixels(image.GetHandle()); }

Backdrop::Backdrop() {
    CreateEx(WS_EX_TOOLWINDOW, nullptr, "backdrop", WS_POPUP | WS_VISIBLE, 0, 0, ::GetSystemMetrics(SM_CXSCREEN),
             ::GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr);
    ::SetWindowPos(m_hWnd, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ::UpdateWindow(m_hWnd);
}

Backdrop::~Backdrop() { DestroyWindow(); }

BOOL Backdrop::OnEraseBkgnd(CDC* dc) {
    RECT client{};
    GetClientRect(&client);
    dc->FillSolidRect(client, kBackdrop);
    return TRUE;
}

TestFrame::TestFrame(const char* title, DWORD style, int x, int y, int width, int height) {
    CreateEx(WS_EX_TOPMOST, nullptr, title, style, x, y, width, height, nullptr, nullptr);
    SetIcon(::LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION)), FALSE);
}

TestFrame::~TestFrame() {
    if (m_hWnd) DestroyWindow();
}

BOOL TestFrame::OnEraseBkgnd(CDC* dc) {
    RECT client{};
    GetClientRect(&client);
    dc->FillSolidRect(client, fill);
    return TRUE;
}

void TestFrame::OnSysCommand(UINT id, LPARAM lParam) {
    commands.push_back(id & 0xFFF0);
    CWnd::OnSysCommand(id, lParam);
}

void TestFrame::OnClose() {
    closed = true;
    DestroyWindow();
}

TestDialog::TestDialog(CWnd* owner) : CDialog(kDialogTemplate, owner) {
    if (Create(kDialogTemplate, owner))
        ::SetWindowPos(m_hWnd, nullptr, 150, 120, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

HBRUSH TestDialog::OnCtlColor(CDC* dc, CWnd* wnd, UINT kind) {
    const HBRUSH brush = CDialog::OnCtlColor(dc, wnd, kind);
    if (labelInk != CLR_INVALID && wnd && wnd->GetSafeHwnd() == Item(kLabelId)) dc->SetTextColor(labelInk);
    return brush;
}

TestDialog::~TestDialog() {
    if (m_hWnd) DestroyWindow();
}

CRect ClientOnScreen(HWND window) {
    CRect client;
    ::GetClientRect(window, &client);
    POINT origin{0, 0};
    ::ClientToScreen(window, &origin);
    client.OffsetRect(origin.x, origin.y);
    return client;
}

CRect WindowOnScreen(HWND window) {
    CRect bounds;
    ::GetWindowRect(window, &bounds);
    return bounds;
}

bool WaitForScreen(POINT point, COLORREF colour, unsigned timeoutMs) {
    return orvtest::PumpUntil(
        [&] { return CaptureScreen(CRect(point.x, point.y, point.x + 1, point.y + 1)).At(0, 0) == colour; },
        timeoutMs);
}

}  // namespace wintest

void PrintTo(const CRect& rect, std::ostream* out) {
    *out << "(" << rect.left << ", " << rect.top << ", " << rect.right << ", " << rect.bottom << ")";
}
