#include "EditsTestSupport.h"

#include "BitmapFile.h"
#include "CBitmap.h"
#include "ChildProcess.h"
#include "ControlsTestSupport.h"
#include "DragTestSupport.h"
#include "OrvMessages.h"
#include "TestSupport.h"

namespace edittest {

ShippedSkin::ShippedSkin(const char* directory) : m_name(directory ? directory : "") {
    m_reader = std::make_unique<OrvSkinReader>((orvtest::ThisProgramFolder() + "Skins").c_str(), nullptr);
    m_reader->SetSkinByDirectory((m_name + "\\").c_str());
}

ShippedSkin::~ShippedSkin() = default;

bool ShippedSkin::IsRead() const {
    const ClsSkinName* current = m_reader->GetCurrentSkin();
    return current && _stricmp(current->GetLastDirectory(), (m_name + "\\").c_str()) == 0;
}

SkinBorderInfo_t* ShippedSkin::Record(SkinRecord_e which) const { return m_reader->GetSkinBorderInfo(which); }

Picture::Picture(HWND window) {
    m_bitmap = ctltest::CaptureWindow(window);
    if (!m_bitmap) return;
    BITMAP described{};
    ::GetObjectA(m_bitmap, sizeof described, &described);
    m_width = described.bmWidth;
    m_height = described.bmHeight;
    m_dc = ::CreateCompatibleDC(nullptr);
    m_old = ::SelectObject(m_dc, m_bitmap);
}

Picture::~Picture() {
    if (m_dc) {
        ::SelectObject(m_dc, m_old);
        ::DeleteDC(m_dc);
    }
    if (m_bitmap) ::DeleteObject(m_bitmap);
}

COLORREF Picture::Pixel(int x, int y) const { return m_dc ? ::GetPixel(m_dc, x, y) : CLR_INVALID; }

bool Picture::Save(const std::string& name) const {
    return m_bitmap && orvtest::SaveBitmapFile(m_bitmap, orvtest::ArtifactPath(name));
}

int Picture::Differences(int left, int top, const ClsBitMap& image, int sourceX, int sourceY, int width,
                         int height) const {
    int differing = 0;
    ClsBitMap& source = const_cast<ClsBitMap&>(image);
    ClsBitMap::ScopedLock locked(source);
    CDC* dc = source.Lock();
    if (!dc) return width * height;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (Pixel(left + x, top + y) != ::GetPixel(dc->GetSafeHdc(), sourceX + x, sourceY + y)) ++differing;
    return differing;
}

int Picture::Count(const RECT& area, COLORREF colour) const {
    int found = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            if (Pixel(x, y) == colour) ++found;
    return found;
}

HostWindow::HostWindow(int x, int y, int width, int height, COLORREF backgroundColour)
    : background(backgroundColour) {
    CreateEx(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_CONTROLPARENT, nullptr, "host",
             WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, x, y, width, height, nullptr, nullptr);
}

HostWindow::~HostWindow() { DestroyWindow(); }

int HostWindow::Count(UINT message, WPARAM wParam) const {
    int found = 0;
    for (const Sent& one : sent)
        if (one.message == message && one.wParam == wParam) ++found;
    return found;
}

LRESULT HostWindow::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        sent.push_back({message, wParam, lParam});
        if (onCommand) onCommand(wParam, lParam);
        return 0;
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_CHAR:
        sent.push_back({message, wParam, lParam});
        return 0;
    case ORV_WM_QUERY_DROP:
        sent.push_back({message, wParam, lParam});
        return queryAnswer ? queryAnswer(lParam) : 0;
    case ORV_WM_CONTACT_DROPPED:
        sent.push_back({message, wParam, lParam});
        if (lParam) dropped.push_back(*reinterpret_cast<const ORVCONTACTINFO*>(lParam));
        return 0;
    case WM_ERASEBKGND: {
        RECT client{};
        ::GetClientRect(m_hWnd, &client);
        HBRUSH brush = ::CreateSolidBrush(background);
        ::FillRect(reinterpret_cast<HDC>(wParam), &client, brush);
        ::DeleteObject(brush);
        return 1;
    }
    case WM_PAINT:
        if (onPaint) {
            PAINTSTRUCT paint{};
            HDC dc = ::BeginPaint(m_hWnd, &paint);
            onPaint(dc);
            ::EndPaint(m_hWnd, &paint);
            return 0;
        }
        break;
    default:
        break;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

InputFence::InputFence() {
    CreateEx(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, nullptr, "fence", WS_POPUP | WS_VISIBLE, 700, 500,
             40, 40, nullptr, nullptr);
}

InputFence::~InputFence() { DestroyWindow(); }

bool InputFence::Pass() {
    // A different spot each time, so every pass is a real move.
    m_step = (m_step + 1) % 20;
    RECT place{};
    ::GetWindowRect(m_hWnd, &place);
    const int before = m_moves;
    dragtest::MoveTo(place.left + 10 + m_step, place.top + 10 + m_step);
    return WaitFor([this, before] { return m_moves > before; });
}

LRESULT InputFence::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_MOUSEMOVE) ++m_moves;
    return CWnd::WindowProc(message, wParam, lParam);
}

bool WaitFor(const std::function<bool()>& condition) { return orvtest::PumpUntil(condition, 20000); }

POINT ScreenCentre(HWND window) { return dragtest::CentreOf(window); }

bool FormButton(const ShippedSkin& skin, ButtonSkinInfo_t& button, int x, int y, int width, int height,
                const char* caption) {
    button.X = x;
    button.Y = y;
    button.Width = width;
    button.Height = height;
    return OrvSkinReader::FormButtonImage(&button, skin.Record(srButtons), caption);
}

bool FormRadio(const ShippedSkin& skin, RadioButtonSkinInfo_t& radio, int x, int y, int width, int height,
               const char* caption) {
    radio.X = x;
    radio.Y = y;
    radio.Width = width;
    radio.Height = height;
    return OrvSkinReader::FormRadioButtonImage(&radio, skin.Record(srRadioButtons), caption);
}

void ShowFocusCues(HWND window) {
    ::SendMessageA(window, WM_UPDATEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS | UISF_HIDEACCEL), 0);
}

}  // namespace edittest
