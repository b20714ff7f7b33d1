#include "CSButton.h"

#include "CComponent.h"
#include "CSkin.h"

#include "CClientDC.h"
#include "CMemDC.h"
#include "CPaintDC.h"
#include "CRgn.h"
#include "CScopedSelect.h"

const UINT CSButton::WM_IS_SBUTTON_ALREADY_SUB = ::RegisterWindowMessageA("wmIsSButtonAlreadySub");

namespace {
bool IsPushStyle(HWND window) {
    const LONG_PTR type = ::GetWindowLongPtrA(window, GWL_STYLE) & BS_TYPEMASK;
    return type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON;
}
}  // namespace

CSButton::CSButton() : m_alive(std::make_shared<bool>(true)) {}

CSButton::~CSButton() {
    *m_alive = false;
    Uninstall();
}

const char* CSButton::GetRuntimeClassName() const { return "CSButton"; }

bool CSButton::CanSkin(HWND window) {
    DWORD process = 0;
    if (!window || !::IsWindow(window) || !::GetWindowThreadProcessId(window, &process) ||
        process != ::GetCurrentProcessId())
        return false;
    char className[16] = {};
    if (!::GetClassNameA(window, className, sizeof className) || ::lstrcmpiA(className, "Button") != 0) return false;
    if (!IsPushStyle(window) || CWnd::FromHandlePermanent(window)) return false;
    return !WM_IS_SBUTTON_ALREADY_SUB || !::SendMessageA(window, WM_IS_SBUTTON_ALREADY_SUB, 0, 0);
}

bool CSButton::Install(HWND button) {
    if (m_hWnd || !CanSkin(button) || !SubclassWindow(button)) return false;
    LoadSkin();
    m_hover = false;
    ReadPushed();
    ApplyShape();
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
    return true;
}

void CSButton::Uninstall() {
    HWND window = m_hWnd;
    if (window && m_shaped && ::IsWindow(window)) ::SetWindowRgn(window, nullptr, TRUE);
    m_shaped = false;
    m_shapeSize = CSize(-1, -1);
    if (window) UnsubclassWindow();
    m_skin.Reset();
    m_image.DeleteObject();
    m_customImage = false;
    if (window && ::IsWindow(window)) ::InvalidateRect(window, nullptr, TRUE);
}

void CSButton::LoadSkin() {
    S_STD_SKININFO* record = CSkin::GetInstance()->GetComponent(GetSkinName());
    auto* button = dynamic_cast<ButtonSkin*>(record);
    if (!button && record) record->Release();
    m_skin.Reset(button);
}

CString CSButton::GetSkinName() const {
    CString theme;
    HWND parent = m_hWnd ? ::GetParent(m_hWnd) : nullptr;
    if (parent && CComponent::WM_GET_SKIN_THEMA)
        ::SendMessageA(parent, CComponent::WM_GET_SKIN_THEMA, 0, reinterpret_cast<LPARAM>(&theme));
    if (!theme.IsEmpty()) theme += '\\';
    return theme + "button";
}

void CSButton::SetHover(bool hover) {
    m_hover = hover;
    RedrawNow();
}

void CSButton::SetPushed(bool pushed) {
    m_pushed = pushed;
    RedrawNow();
}

bool CSButton::GetEnabled() const { return m_hWnd && ::IsWindowEnabled(m_hWnd); }

bool CSButton::GetDefault() const {
    return m_hWnd && (::GetWindowLongPtrA(m_hWnd, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
}

int CSButton::GetStateBand() const {
    if (!GetEnabled()) return kBandDisabled;
    if (::GetFocus() == m_hWnd) return kBandFocused;
    if (m_hover && m_pushed) return kBandPushed;
    if (m_hover) return kBandHover;
    if (GetDefault()) return kBandDefault;
    return kBandNormal;
}

bool CSButton::SetImage(const ClsBitMap* bitmap) {
    CRect client;
    if (!m_hWnd || !bitmap || !bitmap->GetIsValid() || !::GetClientRect(m_hWnd, &client)) return false;
    if (bitmap->GetWidth() != client.Width() || bitmap->GetHeight() != kBandCount * client.Height()) return false;
    m_image = *bitmap;
    m_customImage = true;
    m_shapeSize = CSize(-1, -1);
    ApplyShape();
    RedrawNow();
    return true;
}

void CSButton::SetTextParam(const ButtonTextParam_t* param) {
    m_textParam = param ? std::make_unique<ButtonTextParam_t>(*param) : nullptr;
    if (!m_customImage) m_image.DeleteObject();
    RedrawNow();
}

bool CSButton::EnsureImage() {
    CRect client;
    if (!m_hWnd || !::GetClientRect(m_hWnd, &client) || client.IsRectEmpty()) return false;
    if (m_image.GetIsValid() && m_image.GetWidth() == client.Width() &&
        m_image.GetHeight() == kBandCount * client.Height())
        return true;
    m_customImage = false;
    return ComposeImage(client.Width(), client.Height());
}

bool CSButton::ComposeImage(int width, int height) {
    const ButtonSkin* skin = m_skin.Get();
    if (!skin || !m_image.AllocateBitMap(width, kBandCount * height, pf32bit)) {
        m_image.DeleteObject();
        return false;
    }
    CDC* dc = m_image.Lock();
    if (!dc) {
        m_image.DeleteObject();
        return false;
    }
    const ControlBorderInfo_t& cells = skin->Border;
    const ClsBitMap& source = skin->Image;
    if (source.GetIsValid()) {
        dc->FillSolidRect(0, 0, width, kBandCount * height, ClsBitMap::kTransparentKey);
        const int left = cells.LeftBorderWidth, right = cells.RightBorderWidth;
        const int top = cells.TopBorderWidth, bottom = cells.BottomBorderWidth;
        const int middleWidth = width - left - right, middleHeight = height - top - bottom;
        for (int band = 0; band < kBandCount; ++band) {
            const int y = band * height;
            const int dy = band * cells.InterationStep;
            if (cells.ContentWidth > 0 && cells.ContentHeight > 0)
                source.Draw(*dc, 0, y, width, height, cells.ContentX, cells.ContentY + dy, cells.ContentWidth,
                            cells.ContentHeight);
            source.Draw(*dc, 0, y + top, left, middleHeight, cells.LeftBorderX, cells.LeftBorderY + dy, left,
                        cells.LeftBorderLength);
            source.Draw(*dc, width - right, y + top, right, middleHeight, cells.RightBorderX,
                        cells.RightBorderY + dy, right, cells.RightBorderLength);
            source.Draw(*dc, left, y, middleWidth, top, cells.TopBorderX, cells.TopBorderY + dy,
                        cells.TopBorderLength, top);
            source.Draw(*dc, left, y + height - bottom, middleWidth, bottom, cells.BottomBorderX,
                        cells.BottomBorderY + dy, cells.BottomBorderLength, bottom);
            source.Draw(*dc, 0, y, left, top, cells.LeftTopCornerX, cells.LeftTopCornerY + dy);
            source.Draw(*dc, width - right, y, right, top, cells.RightTopCornerX, cells.RightTopCornerY + dy);
            source.Draw(*dc, 0, y + height - bottom, left, bottom, cells.LeftBottomCornerX,
                        cells.LeftBottomCornerY + dy);
            source.Draw(*dc, width - right, y + height - bottom, right, bottom, cells.RightBottomCornerX,
                        cells.RightBottomCornerY + dy);
        }
    } else {
        // Without the skin's image the button is a plain face, never invisible.
        dc->FillSolidRect(0, 0, width, kBandCount * height, cells.BgColor);
    }
    WriteCaptions(*dc, width, height);
    m_image.Unlock();
    return true;
}

void CSButton::WriteCaptions(CDC& dc, int width, int height) {
    const CString text = GetWindowText();
    ClsFont& font = m_textParam ? m_textParam->Font : m_skin->Font;
    const COLORREF disabled = m_textParam ? m_textParam->DisabledTextColor : m_skin->DisabledTextColor;
    IButtonCaptionWriter* writer = m_textParam ? m_textParam->Writer : nullptr;
    HFONT handle = font.GetHandle();
    CScopedSelect selectFont(dc, handle);
    const int oldMode = dc.SetBkMode(TRANSPARENT);
    for (int band = 0; band < kBandCount; ++band) {
        CRect rect(0, band * height, width, (band + 1) * height);
        dc.SetTextColor(band == kBandDisabled ? disabled : font.GetColor());
        if (writer)
            writer->WriteCaption(dc, rect, band, text);
        else if (!text.IsEmpty())
            dc.DrawText(text, &rect, DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_HIDEPREFIX);
    }
    dc.SetBkMode(oldMode);
}

void CSButton::ApplyShape() {
    if (!m_hWnd) return;
    CRect client;
    ::GetClientRect(m_hWnd, &client);
    if (!IsSkinned() || !EnsureImage()) {
        if (m_shaped) ::SetWindowRgn(m_hWnd, nullptr, TRUE);
        m_shaped = false;
        m_shapeSize = CSize(-1, -1);
        return;
    }
    if (m_shaped && client.Size() == m_shapeSize) return;
    const CRect firstBand(0, 0, client.Width(), client.Height());
    CRgn shape = m_image.CreateRgn(ClsBitMap::kTransparentKey, &firstBand);
    if (!shape.GetSafeHandle()) return;
    // The image covers the client area; the shape is in window coordinates.
    CRect bounds;
    ::GetWindowRect(m_hWnd, &bounds);
    POINT origin{0, 0};
    ::ClientToScreen(m_hWnd, &origin);
    shape.OffsetRgn(origin.x - bounds.left, origin.y - bounds.top);
    // Set first: the system's frame change for the new shape comes back here.
    m_shaped = true;
    m_shapeSize = client.Size();
    if (::SetWindowRgn(m_hWnd, static_cast<HRGN>(shape.GetSafeHandle()), ::IsWindowVisible(m_hWnd)))
        shape.Detach();  // the system owns it now
}

void CSButton::Paint(HDC dc) {
    CRect client;
    if (!dc || !::GetClientRect(m_hWnd, &client) || client.IsRectEmpty() || !EnsureImage()) return;
    const int band = GetStateBand();
    CDC target = CDC::Borrow(dc);
    CMemDC buffer(target, client);
    // Under the image's transparent pixels lies what the parent paints
    // behind its buttons.
    HWND parent = ::GetParent(m_hWnd);
    auto brush = parent ? reinterpret_cast<HBRUSH>(::SendMessageA(parent, WM_CTLCOLORBTN,
                                                                  reinterpret_cast<WPARAM>(buffer.GetSafeHdc()),
                                                                  reinterpret_cast<LPARAM>(m_hWnd)))
                        : nullptr;
    ::FillRect(buffer, &client, brush ? brush : ::GetSysColorBrush(COLOR_BTNFACE));
    const CRect source(0, band * client.Height(), client.Width(), (band + 1) * client.Height());
    m_image.DrawTransparent(&buffer, &client, &source);
}

void CSButton::RedrawNow() {
    if (!m_hWnd || !IsSkinned() || !::IsWindowVisible(m_hWnd)) return;
    CClientDC dc(m_hWnd);
    Paint(dc);
}

void CSButton::Rebuild() {
    if (!m_customImage) m_image.DeleteObject();
}

void CSButton::ReadPushed() {
    m_pushed = m_hWnd && (::SendMessageA(m_hWnd, BM_GETSTATE, 0, 0) & BST_PUSHED) != 0;
}

LRESULT CSButton::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (WM_IS_SBUTTON_ALREADY_SUB && message == WM_IS_SBUTTON_ALREADY_SUB) return 1;
    if (CSkin::WM_SKIN_CHANGED && message == CSkin::WM_SKIN_CHANGED) {
        LoadSkin();
        m_customImage = false;
        m_image.DeleteObject();
        m_shapeSize = CSize(-1, -1);
        ApplyShape();
        ::InvalidateRect(m_hWnd, nullptr, TRUE);
        return 0;
    }
    if (!IsSkinned()) return DefWindowProc(message, wParam, lParam);
    switch (message) {
    case WM_PAINT: {
        if (!EnsureImage()) break;
        CPaintDC dc(m_hWnd);
        Paint(dc);
        return 0;
    }
    case WM_PRINTCLIENT:
        Paint(reinterpret_cast<HDC>(wParam));
        return 0;
    case WM_ERASEBKGND:
        return 1;
    default:
        break;
    }
    // The system button paints itself on these; what it drew is painted over
    // before anything reaches the screen.
    bool repaint = false;
    switch (message) {
    case BM_SETSTATE:
    case BM_SETSTYLE:
    case BM_CLICK:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case WM_SETTEXT:
    case WM_SETFONT:
    case WM_SIZE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_CAPTURECHANGED:
    case WM_UPDATEUISTATE:
    case WM_SYSCOLORCHANGE:
    case WM_MOUSEMOVE:
    case WM_MOUSELEAVE: repaint = true; break;
    default: return DefWindowProc(message, wParam, lParam);
    }
    const int bandBefore = GetStateBand();
    const std::shared_ptr<bool> alive = m_alive;
    const LRESULT result = DefWindowProc(message, wParam, lParam);
    // A click may have ended the dialog, and this object with it.
    if (!*alive || !m_hWnd || !repaint) return result;
    if (message == WM_MOUSEMOVE && !m_hover) {
        m_hover = true;
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, m_hWnd, 0};
        ::TrackMouseEvent(&track);
    } else if (message == WM_MOUSELEAVE) {
        m_hover = false;
    }
    ReadPushed();
    // A new text needs a new image; a new size gets one when painted.
    if (message == WM_SETTEXT) Rebuild();
    if (message == WM_SETTEXT || message == WM_SIZE) ApplyShape();
    // A plain move changes nothing the system paints: only a new band shows.
    if (message != WM_MOUSEMOVE || GetStateBand() != bandBefore) RedrawNow();
    return result;
}
