#include "CSDialog.h"

#include "CSkin.h"

#include "CDC.h"

const char* const CSDialog::kBackgroundRecord = "dialog";

CSDialog::CSDialog() = default;

// The buttons go first, while the dialog's hooks are still in place.
CSDialog::~CSDialog() { Uninstall(); }

CSButton* CSDialog::GetButton(int index) const {
    return index >= 0 && index < GetButtonCount() ? m_buttons[static_cast<size_t>(index)].get() : nullptr;
}

void CSDialog::OnHooked() { SkinPushButtons(); }

void CSDialog::OnUnhooking() {
    // Each gives its button back to the system as it goes.
    m_buttons.clear();
    m_brush.DeleteObject();
    m_brushColor = CLR_INVALID;
}

void CSDialog::SkinPushButtons() {
    HWND dialog = GetHookedWindow();
    if (!dialog) return;
    for (HWND child = ::GetWindow(dialog, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (!CSButton::CanSkin(child)) continue;
        auto button = std::make_unique<CSButton>();
        if (button->Install(child)) m_buttons.push_back(std::move(button));
    }
}

bool CSDialog::GetRecordColor(COLORREF* color) const {
    CSkinRecordRef<S_STD_SKININFO> record(CSkin::GetInstance()->GetComponent(kBackgroundRecord));
    const auto* background = dynamic_cast<const BackgroundSkin*>(record.Get());
    if (!background) return false;
    if (color) *color = background->Color;
    return true;
}

bool CSDialog::GetTextColorOfTheme(COLORREF* color) const {
    CString name = GetThemeName();
    if (!name.IsEmpty()) name += '\\';
    CSkinRecordRef<S_STD_SKININFO> record(CSkin::GetInstance()->GetComponent(name + "button"));
    const auto* button = dynamic_cast<const ButtonSkin*>(record.Get());
    if (!button) return false;
    if (color) *color = button->Font.GetColor();
    return true;
}

COLORREF CSDialog::GetBackgroundColor() const {
    COLORREF color = kDefaultBackground;
    GetRecordColor(&color);
    return color;
}

LRESULT CSDialog::OnSkinChanged() {
    const LRESULT result = CSWindow::OnSkinChanged();
    SkinPushButtons();
    return result;
}

void CSDialog::OnEraseBkGnd(WMEraseBkGnd_t& m) {
    m.Result = Default();
    HWND dialog = GetHookedWindow();
    CRect client;
    if (m.DC() && dialog && ::GetClientRect(dialog, &client)) {
        CDC dc = CDC::Borrow(m.DC());
        dc.FillSolidRect(client, GetBackgroundColor());
    }
    m.Result = 1;
}

void CSDialog::OnActivate(WMActivate_t& m) {
    m.Result = Default();
    HWND dialog = GetHookedWindow();
    HWND other = m.ActiveWindow();
    DWORD process = 0;
    // Another window of the program took the activation: the caption follows.
    if (dialog && m.Active() == WA_INACTIVE && other && ::GetWindowThreadProcessId(other, &process) &&
        process == ::GetCurrentProcessId())
        ::SendMessageA(dialog, WM_NCACTIVATE, FALSE, 0);
}

LRESULT CSDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_CTLCOLORBTN && message != WM_CTLCOLORSTATIC) return CSWindow::WindowProc(message, wParam, lParam);
    const LRESULT result = CallNext(message, wParam, lParam);
    COLORREF color = 0;
    auto dc = reinterpret_cast<HDC>(wParam);
    if (!dc || !GetRecordColor(&color)) return result;
    ::SetBkMode(dc, TRANSPARENT);
    // Texts the dialog leaves in the system's colour are written in the
    // colour of the theme's buttons, which suits the background of a dark
    // skin as well as of a light one.
    COLORREF ink = 0;
    if (::GetTextColor(dc) == ::GetSysColor(COLOR_WINDOWTEXT) && GetTextColorOfTheme(&ink)) ::SetTextColor(dc, ink);
    const COLORREF nearest = ::GetNearestColor(dc, color);
    if (!m_brush.GetSafeHandle() || nearest != m_brushColor) {
        m_brush.DeleteObject();
        if (!m_brush.CreateSolidBrush(nearest)) return result;
        m_brushColor = nearest;
    }
    return reinterpret_cast<LRESULT>(static_cast<HBRUSH>(m_brush));
}
