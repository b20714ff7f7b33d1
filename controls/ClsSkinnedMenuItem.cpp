#include "ClsSkinnedMenuItem.h"

#include "ClsFrameDrawer.h"
#include "ClsSkinnedMenu.h"
#include "ClsSkinnedSubMenuWnd.h"

#include "CDC.h"
#include "CPen.h"
#include "CScopedSelect.h"

#include <algorithm>
#include <cctype>
#include <climits>

namespace {
// Colours of the bands without a frame record: the system's menu colour,
// tinted towards its highlight for hover and press.
COLORREF Mix(COLORREF a, COLORREF b, int percentOfB) {
    const auto channel = [percentOfB](int x, int y) { return (x * (100 - percentOfB) + y * percentOfB) / 100; };
    return RGB(channel(GetRValue(a), GetRValue(b)), channel(GetGValue(a), GetGValue(b)),
               channel(GetBValue(a), GetBValue(b)));
}

COLORREF PlainBandColor(int band) {
    const COLORREF menu = ::GetSysColor(COLOR_MENU);
    const COLORREF highlight = ::GetSysColor(COLOR_HIGHLIGHT);
    return band == 1 ? Mix(menu, highlight, 20) : band == 2 ? Mix(menu, highlight, 35) : menu;
}

bool HasImage(const ControlBorderInfo_t* record) {
    return record && record->MainImage && record->MainImage->GetIsValid();
}

// The caption before a tab, and the shortcut text after it.
CString CaptionText(const CString& caption) {
    const int tab = caption.Find('\t');
    return tab < 0 ? caption : caption.Left(tab);
}
CString ShortcutText(const CString& caption) {
    const int tab = caption.Find('\t');
    return tab < 0 ? CString() : caption.Mid(tab + 1);
}

// Room between a caption and its shortcut text, and for the sub-menu arrow.
const int kShortcutGap = 24;
const int kArrowRoom = 21;
}  // namespace

ClsSkinnedMenuItem::ClsSkinnedMenuItem(const char* caption, UINT command, bool separator)
    : m_caption(caption ? caption : ""), m_command(command), m_separator(separator) {}

ClsSkinnedMenuItem::~ClsSkinnedMenuItem() {
    // The parent is gone or has let go of this item: nothing reaches back up.
    m_parent = nullptr;
    DeactivateSubMenu();
    m_hovered = nullptr;
    m_children.clear();
}

// ---------------------------------------------------------------------------
// The tree

ClsSkinnedMenuItem* ClsSkinnedMenuItem::GetItem(int index) const {
    if (index < 0 || index >= GetCount()) return nullptr;
    return m_children[static_cast<size_t>(index)].get();
}

int ClsSkinnedMenuItem::IndexOf(const ClsSkinnedMenuItem* item) const {
    for (int i = 0; i < GetCount(); ++i)
        if (m_children[static_cast<size_t>(i)].get() == item) return i;
    return -1;
}

bool ClsSkinnedMenuItem::Add(ClsSkinnedMenuItem* item) { return Insert(GetCount(), item); }

bool ClsSkinnedMenuItem::Insert(int index, ClsSkinnedMenuItem* item) {
    if (!item) return false;
    for (const ClsSkinnedMenuItem* up = this; up; up = up->m_parent)
        if (up == item) return false;
    std::unique_ptr<ClsSkinnedMenuItem> owned;
    if (ClsSkinnedMenuItem* old = item->m_parent) {
        const int at = old->IndexOf(item);
        if (at >= 0) {
            item->DeactivateSubMenu();
            if (old->m_hovered == item) old->SetHoveredItem(nullptr);
            owned = std::move(old->m_children[static_cast<size_t>(at)]);
            old->m_children.erase(old->m_children.begin() + at);
            old->MenuChanged(nullptr, false);
        }
    }
    if (!owned) owned.reset(item);
    index = std::clamp(index, 0, GetCount());
    m_children.insert(m_children.begin() + index, std::move(owned));
    item->m_parent = this;
    item->SetMenu(m_menu);
    item->DropSizes(true);
    MenuChanged(item, false);
    return true;
}

void ClsSkinnedMenuItem::Delete(int index) {
    ClsSkinnedMenuItem* item = GetItem(index);
    if (!item) return;
    if (m_hovered == item) SetHoveredItem(nullptr);
    item->DeactivateSubMenu();
    // Out of the list first, then gone: the list is whole whenever it is read.
    std::unique_ptr<ClsSkinnedMenuItem> owned = std::move(m_children[static_cast<size_t>(index)]);
    m_children.erase(m_children.begin() + index);
    owned.reset();
    MenuChanged(nullptr, false);
}

void ClsSkinnedMenuItem::DeleteAll() {
    if (m_children.empty()) return;
    DeactivateSubMenu();
    SetHoveredItem(nullptr);
    std::vector<std::unique_ptr<ClsSkinnedMenuItem>> owned;
    owned.swap(m_children);
    owned.clear();
    MenuChanged(nullptr, false);
}

ClsSkinnedMenuItem* ClsSkinnedMenuItem::FindByCommand(UINT command) {
    if (!m_separator && m_command == command && !GetIsSubmenu()) return this;
    for (auto& child : m_children)
        if (ClsSkinnedMenuItem* found = child->FindByCommand(command)) return found;
    return nullptr;
}

void ClsSkinnedMenuItem::SetMenu(ClsSkinnedMenu* menu) {
    m_menu = menu;
    for (auto& child : m_children) child->SetMenu(menu);
}

// ---------------------------------------------------------------------------
// Properties

void ClsSkinnedMenuItem::SetCaption(const char* caption) {
    m_caption = caption ? caption : "";
    if (m_parent) m_parent->MenuChanged(this, false);
}

void ClsSkinnedMenuItem::SetEnabled(bool enabled) {
    if (m_enabled == enabled) return;
    m_enabled = enabled;
    if (!enabled) DeactivateSubMenu();
    if (m_parent) m_parent->MenuChanged(this, false);
}

void ClsSkinnedMenuItem::SetChecked(bool checked) {
    if (m_checked == checked) return;
    m_checked = checked;
    m_imageValid = false;
    Redraw();
}

char ClsSkinnedMenuItem::GetAccessKey() const {
    const char* text = m_caption;
    for (int i = 0; text[i] && text[i] != '\t'; ++i) {
        if (text[i] != '&') continue;
        if (text[i + 1] == '&') {
            ++i;  // a literal ampersand
            continue;
        }
        return static_cast<char>(std::toupper(static_cast<unsigned char>(text[i + 1])));
    }
    return 0;
}

void ClsSkinnedMenuItem::SetOrientation(MenuOrientation_e orientation) {
    if (m_orientation == orientation) return;
    m_orientation = orientation;
    MenuChanged(nullptr, true);
}

// ---------------------------------------------------------------------------
// States

void ClsSkinnedMenuItem::SetMouseOver(bool over) {
    if (m_mouseOver == over) return;
    m_mouseOver = over;
    Redraw();
}

void ClsSkinnedMenuItem::SetMenuEntered(bool entered) {
    if (m_entered == entered) return;
    m_entered = entered;
    if (m_hovered) m_hovered->Redraw();
}

void ClsSkinnedMenuItem::SetHoveredItem(ClsSkinnedMenuItem* item) {
    if (item && item->m_parent != this) return;
    if (item == m_hovered) return;
    ClsSkinnedMenuItem* previous = m_hovered;
    m_hovered = item;
    if (previous) {
        previous->DeactivateSubMenu();
        previous->SetMouseOver(false);
    }
    if (item) item->SetMouseOver(true);
}

void ClsSkinnedMenuItem::SaveState() {
    m_savedEnabled = m_enabled;
    m_savedChecked = m_checked;
    for (auto& child : m_children) child->SaveState();
}

void ClsSkinnedMenuItem::RestoreState() {
    SetEnabled(m_savedEnabled);
    SetChecked(m_savedChecked);
    for (auto& child : m_children) child->RestoreState();
}

// ---------------------------------------------------------------------------
// Sizes and places

ControlBorderInfo_t* ClsSkinnedMenuItem::GetFrameRecord() const {
    if (!m_menu) return nullptr;
    if (m_separator) return m_menu->GetSeparatorBorder();
    return InHorizontalList() ? m_menu->GetTopItemBorder() : m_menu->GetItemBorder();
}

void ClsSkinnedMenuItem::CalculateProposedSizes() {
    if (m_sizeValid) return;
    m_sizeValid = true;
    m_width = m_height = 0;
    const bool bar = InHorizontalList();
    ControlBorderInfo_t* record = GetFrameRecord();
    if (m_separator) {
        // A separator in a list: the line between two plain bands.
        if (!bar && record) {
            m_width = record->LeftBorderWidth + record->RightBorderWidth;
            m_height = record->LeftBorderLength + record->RightBorderLength + record->TopBorderWidth;
        }
        return;
    }
    CSize text(0, 0);
    if (m_menu) {
        CDC dc;
        dc.CreateCompatibleDC(static_cast<HDC>(nullptr));
        ClsFont& font = m_enabled ? m_menu->GetFontInfo() : m_menu->GetFontDisabled();
        CScopedSelect selected(dc, font.GetHandle());
        const CString caption = CaptionText(m_caption);
        RECT measured{0, 0, 0, 0};
        if (!caption.IsEmpty()) dc.DrawText(caption, &measured, DT_SINGLELINE | DT_CALCRECT);
        TEXTMETRICA metrics{};
        dc.GetTextMetrics(&metrics);
        text.cx = measured.right - measured.left;
        text.cy = std::max<int>(measured.bottom - measured.top, metrics.tmHeight);
        const CString shortcut = ShortcutText(m_caption);
        if (!bar && !shortcut.IsEmpty()) text.cx += kShortcutGap + dc.GetTextExtent(shortcut).cx;
    }
    m_width = text.cx + (bar ? kBarExtra : kListExtra);
    m_height = text.cy + (bar ? kBarExtraHeight : kListExtraHeight);
    if (record) {
        m_width += record->LeftBorderWidth + record->RightBorderWidth;
        m_height += record->TopBorderWidth + record->BottomBorderWidth;
    }
}

int ClsSkinnedMenuItem::GetWidth() {
    CalculateProposedSizes();
    return m_width;
}

int ClsSkinnedMenuItem::GetHeight() {
    CalculateProposedSizes();
    return m_height;
}

int ClsSkinnedMenuItem::GetMaxWidth() {
    int widest = 0;
    for (auto& child : m_children) widest = std::max(widest, child->GetWidth());
    return widest;
}

int ClsSkinnedMenuItem::GetMaxHeight() {
    int tallest = 0;
    for (auto& child : m_children) tallest = std::max(tallest, child->GetHeight());
    return tallest;
}

int ClsSkinnedMenuItem::GetLeft() {
    if (m_parent) m_parent->ArrangeChildren();
    return m_left;
}

int ClsSkinnedMenuItem::GetTop() {
    if (m_parent) m_parent->ArrangeChildren();
    return m_top;
}

void ClsSkinnedMenuItem::ArrangeChildren() {
    int at = 0;
    for (auto& child : m_children) {
        if (m_orientation == moHorizontal) {
            child->m_left = at;
            child->m_top = 0;
            at += child->GetWidth();
        } else {
            child->m_left = 0;
            child->m_top = at;
            at += child->GetHeight();
        }
    }
}

CRect ClsSkinnedMenuItem::GetItemRect() {
    const int left = GetLeft(), top = GetTop();
    int width = GetWidth(), height = GetHeight();
    if (m_parent) {
        if (m_parent->m_orientation == moHorizontal)
            height = m_parent->GetMaxHeight();
        else if (const int widest = m_parent->GetMaxWidth())
            width = widest;
    }
    return CRect(left, top, left + width, top + height);
}

ClsSkinnedMenuItem* ClsSkinnedMenuItem::GetItemFromPoint(int x, int y) {
    const POINT point{x, y};
    for (auto& child : m_children)
        if (child->GetItemRect().PtInRect(point)) return child.get();
    return nullptr;
}

void ClsSkinnedMenuItem::DropSizes(bool all) {
    m_sizeValid = false;
    m_imageValid = false;
    if (all)
        for (auto& child : m_children) child->DropSizes(true);
}

void ClsSkinnedMenuItem::DropChildImages() {
    for (auto& child : m_children) child->m_imageValid = false;
}

void ClsSkinnedMenuItem::MenuChanged(ClsSkinnedMenuItem* item, bool all) {
    if (all) {
        for (auto& child : m_children) child->DropSizes(true);
    } else if (item) {
        item->DropSizes(false);
    }
    // Siblings are drawn as wide (or as high) as the largest of them.
    DropChildImages();
    ListChanged();
}

void ClsSkinnedMenuItem::ListChanged() {
    if (m_subMenu) {
        m_subMenu->Relayout();
    } else if (m_listHandle && ::IsWindow(m_listHandle)) {
        ::InvalidateRect(m_listHandle, nullptr, FALSE);
    }
}

void ClsSkinnedMenuItem::Redraw() {
    if (!m_parent) return;
    HWND list = m_parent->m_listHandle;
    if (!list || !::IsWindow(list)) return;
    const CRect rect = GetItemRect();
    ::InvalidateRect(list, &rect, FALSE);
    ::UpdateWindow(list);
}

// ---------------------------------------------------------------------------
// The composed image

void ClsSkinnedMenuItem::ValidateImage() {
    if (m_imageValid && m_image.GetIsValid()) return;
    m_imageValid = true;
    const bool bar = InHorizontalList();
    if (m_separator && bar) {
        m_image.DeleteObject();
        return;
    }
    const CRect rect = GetItemRect();
    const int width = rect.Width(), height = rect.Height();
    const int bands = m_separator ? 1 : 4;
    if (width <= 0 || height <= 0 || !m_image.AllocateBitMap(width, height * bands, pf32bit)) {
        m_image.DeleteObject();
        return;
    }
    CDC* dc = m_image.Lock();
    if (!dc) return;
    for (int band = 0; band < bands; ++band) {
        const RECT bandRect{0, band * height, width, (band + 1) * height};
        DrawBand(*dc, band, bandRect);
        if (!m_separator) DrawCaption(*dc, band, bandRect);
    }
    m_image.Unlock();
}

void ClsSkinnedMenuItem::DrawBand(HDC dc, int band, const RECT& rect) {
    CDC target = CDC::Borrow(dc);
    const ControlBorderInfo_t* record = GetFrameRecord();
    target.FillSolidRect(rect, record ? record->BgColor : PlainBandColor(band));
    if (!HasImage(record)) return;
    const ClsBitMap& image = *record->MainImage;
    const int dy = band * record->InterationStep;
    if (m_separator) {
        // The separator's line: its top edge row with the two top corners,
        // as far down as the left length, over the content between.
        const RECT inside{rect.left + record->LeftBorderWidth, rect.top + record->TopBorderWidth,
                          rect.right - record->RightBorderWidth, rect.bottom - record->BottomBorderWidth};
        ClsFrameDrawer::TileContent(dc, *record, image, inside, dy);
        const int y = rect.top + record->LeftBorderLength;
        if (record->TopBorderLength > 0)
            for (int x = rect.left + record->LeftBorderWidth; x < rect.right - record->RightBorderWidth;
                 x += record->TopBorderLength)
                image.Draw(dc, x, y, record->TopBorderLength, record->TopBorderWidth, record->TopBorderX,
                           record->TopBorderY + dy);
        image.Draw(dc, rect.left, y, record->LeftBorderWidth, record->TopBorderWidth, record->LeftTopCornerX,
                   record->LeftTopCornerY + dy);
        image.Draw(dc, rect.right - record->RightBorderWidth, y, record->RightBorderWidth, record->TopBorderWidth,
                   record->RightTopCornerX, record->RightTopCornerY + dy);
        return;
    }
    const RECT inside{rect.left + record->LeftBorderWidth, rect.top + record->TopBorderWidth,
                      rect.right - record->RightBorderWidth, rect.bottom - record->BottomBorderWidth};
    ClsFrameDrawer::TileContent(dc, *record, image, inside, dy);
    ClsFrameDrawer::DrawEdgesAndCorners(dc, *record, image, rect, dy);
}

void ClsSkinnedMenuItem::DrawCaption(HDC dc, int band, const RECT& rect) {
    if (!m_menu) return;
    const bool bar = InHorizontalList();
    const ControlBorderInfo_t* record = GetFrameRecord();
    RECT text = rect;
    if (record) {
        text.left += record->LeftBorderWidth;
        text.top += record->TopBorderWidth;
        text.right -= record->RightBorderWidth;
        text.bottom -= record->BottomBorderWidth;
    }
    const RECT gutter{text.left, text.top, text.left + kGutter, text.bottom};
    if (!bar) text.left += kGutter;
    ClsFont& font = band == 3 ? m_menu->GetFontDisabled() : band == 2 ? m_menu->GetFontPressed() : m_menu->GetFontInfo();
    CDC target = CDC::Borrow(dc);
    CScopedSelect selected(dc, font.GetHandle());
    target.SetBkMode(TRANSPARENT);
    target.SetTextColor(font.GetColor());
    const CString caption = CaptionText(m_caption);
    target.DrawText(caption, &text, DT_SINGLELINE | DT_VCENTER | (bar ? DT_CENTER : DT_LEFT));
    if (bar) return;

    const CString shortcut = ShortcutText(m_caption);
    if (!shortcut.IsEmpty()) {
        RECT right = text;
        right.right -= kArrowRoom;
        target.DrawText(shortcut, &right, DT_SINGLELINE | DT_VCENTER | DT_RIGHT | DT_NOPREFIX);
    }
    // The check mark and the sub-menu arrow, drawn in the text colour with
    // two-pixel strokes.
    const int middle = (text.top + text.bottom) / 2;
    const CPen pen(PS_SOLID, 2, font.GetColor());
    CScopedSelect penSelected(dc, pen);
    if (m_checked) {
        const int x = (gutter.left + gutter.right) / 2 - 4;
        const POINT check[] = {{x, middle}, {x + 3, middle + 3}, {x + 9, middle - 4}};
        ::Polyline(dc, check, 3);
    }
    if (GetIsSubmenu()) {
        const int x = text.right - kArrowRoom / 2 - 1;
        const POINT arrow[] = {{x, middle - 4}, {x + 4, middle}, {x, middle + 4}};
        ::Polyline(dc, arrow, 3);
    }
}

// ---------------------------------------------------------------------------
// Drawing and choosing

void ClsSkinnedMenuItem::Draw(HDC dc) {
    if (!dc) return;
    ValidateImage();
    if (!m_image.GetIsValid()) return;
    int band = 0;
    if (!m_separator) {
        if (!m_enabled)
            band = 3;
        else if (m_mouseOver && m_parent && m_parent->m_entered)
            band = 2;
        else if (m_mouseOver)
            band = 1;
    }
    const CRect rect = GetItemRect();
    const int bandHeight = m_image.GetHeight() / (m_separator ? 1 : 4);
    m_image.Draw(dc, rect.left, rect.top, rect.Width(), bandHeight, 0, band * bandHeight);
}

void ClsSkinnedMenuItem::DrawSubmenuItems(HDC dc) {
    ArrangeChildren();
    for (auto& child : m_children) child->Draw(dc);
}

void ClsSkinnedMenuItem::Execute() {
    ClsSkinnedMenu* menu = m_menu;
    if (!menu) return;
    const bool fires = m_enabled && !m_separator && m_command != 0;
    const UINT command = m_command;
    const HWND receiver = menu->GetCmdReceiverHandle();
    menu->CloseMenu();
    if (fires && receiver && ::IsWindow(receiver))
        ::PostMessageA(receiver, WM_COMMAND, MAKEWPARAM(command, 0), 0);
}

// ---------------------------------------------------------------------------
// Keyboard helpers

ClsSkinnedMenuItem* ClsSkinnedMenuItem::GetNextSelectable(int direction) {
    const int count = GetCount();
    if (count == 0) return nullptr;
    const int step = direction < 0 ? -1 : 1;
    int at = m_hovered ? IndexOf(m_hovered) : (step > 0 ? -1 : count);
    for (int tried = 0; tried < count; ++tried) {
        at = (at + step + count) % count;
        ClsSkinnedMenuItem* candidate = GetItem(at);
        if (!candidate->m_separator) return candidate;
    }
    return nullptr;
}

ClsSkinnedMenuItem* ClsSkinnedMenuItem::FindByAccessKey(UINT key) {
    UINT character = key;
    if (!((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9')))
        character = ::MapVirtualKeyA(key, MAPVK_VK_TO_CHAR) & 0x7FFF;
    character = static_cast<UINT>(std::toupper(static_cast<int>(character & 0xFF)));
    if (character == 0) return nullptr;
    for (auto& child : m_children)
        if (!child->m_separator && static_cast<unsigned char>(child->GetAccessKey()) == character) return child.get();
    return nullptr;
}

// ---------------------------------------------------------------------------
// Sub-menu windows

CSize ClsSkinnedMenuItem::ListWindowSize() {
    const ControlBorderInfo_t* border = m_menu ? m_menu->GetSubMenuBorder() : nullptr;
    int width = GetMaxWidth(), height = 0;
    for (auto& child : m_children) height += child->GetHeight();
    if (border) {
        width += border->LeftBorderWidth + border->RightBorderWidth;
        height += border->TopBorderWidth + border->BottomBorderWidth;
    }
    return CSize(width, height);
}

bool ClsSkinnedMenuItem::ActivateSubMenu(int offset) {
    if (!GetIsSubmenu() || m_subMenu || !m_menu || !m_parent) return false;
    HWND list = m_parent->m_listHandle;
    if (!list || !::IsWindow(list)) return false;
    CRect anchor = GetItemRect();
    ::MapWindowPoints(list, nullptr, reinterpret_cast<POINT*>(&anchor), 2);
    // Keep the invariant the keyboard relies on: an open list belongs to the
    // hovered item of its parent.
    m_parent->SetHoveredItem(this);
    return OpenList(anchor, InHorizontalList(), offset);
}

bool ClsSkinnedMenuItem::ActivateSubMenuAt(int x, int y, int offset) {
    if (!GetIsSubmenu() || m_subMenu || !m_menu) return false;
    // Far-out numbers are pulled to the screen by OpenList; this difference
    // must not wrap on the way.
    const long long top = std::clamp<long long>(static_cast<long long>(y) - offset, INT_MIN, INT_MAX);
    const RECT anchor{x, static_cast<LONG>(top), x, y};
    return OpenList(anchor, true, 0);
}

bool ClsSkinnedMenuItem::OpenList(const RECT& place, bool below, int offset) {
    const CSize size = ListWindowSize();
    if (size.cx <= 0 || size.cy <= 0) return false;
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (!::GetMonitorInfoA(::MonitorFromRect(&place, MONITOR_DEFAULTTONEAREST), &monitor))
        ::SetRect(&monitor.rcMonitor, 0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN));
    const RECT& screen = monitor.rcMonitor;
    // An anchor off the screen counts from the nearest edge.
    const RECT anchor{std::clamp(place.left, screen.left, screen.right), std::clamp(place.top, screen.top, screen.bottom),
                      std::clamp(place.right, screen.left, screen.right),
                      std::clamp(place.bottom, screen.top, screen.bottom)};
    offset = std::clamp(offset, 0, static_cast<int>(screen.bottom - screen.top));

    // Below (bar items, popups) or beside (list items) the anchor; above it
    // or to its left when that would run past the screen's bottom or right.
    int x = below ? anchor.left : anchor.right;
    int y = below ? anchor.bottom : anchor.top;
    if (y + size.cy > screen.bottom) {
        y = (below ? anchor.top : anchor.bottom) - offset - size.cy;
        if (y < screen.top) y = screen.top;
    }
    if (x + size.cx > screen.right) {
        x = (below ? anchor.right : anchor.left) - size.cx;
        if (x < screen.left) x = screen.right - size.cx;
        if (x < screen.left) x = screen.left;
    }

    HWND owner = m_parent ? m_parent->m_listHandle : m_menu->GetCmdReceiverHandle();
    auto window = std::make_unique<ClsSkinnedSubMenuWnd>(this, owner);
    window->SetBorder(m_menu->GetSubMenuBorder());
    window->SetPos(x, y, size.cx, size.cy);
    HWND handle = window->GetHandleC();
    if (!handle) return false;
    m_subMenu = std::move(window);
    m_listHandle = handle;
    m_hovered = nullptr;
    m_entered = false;
    if (m_parent) m_parent->SetMenuEntered(true);
    m_menu->BeginTracking();
    // A cursor resting where the list appears has not moved onto it.
    m_menu->RememberCursor();
    m_subMenu->Show();
    return true;
}

void ClsSkinnedMenuItem::DeactivateSubMenu() {
    if (!m_subMenu) return;
    for (auto& child : m_children) child->DeactivateSubMenu();
    if (m_hovered) m_hovered->m_mouseOver = false;
    m_hovered = nullptr;
    m_entered = false;
    std::unique_ptr<ClsSkinnedSubMenuWnd> window = std::move(m_subMenu);
    m_listHandle = nullptr;
    window->Close();
    if (m_menu) m_menu->Retire(std::move(window));
    // The bar stays entered while its menus are switched; a list is entered
    // only while one of its items shows its own list (or the button is held).
    if (m_parent && m_parent->m_orientation == moVertical) m_parent->SetMenuEntered(false);
}

void ClsSkinnedMenuItem::CloseAll() {
    DeactivateSubMenu();
    for (auto& child : m_children) child->CloseAll();
    SetMenuEntered(false);
    SetHoveredItem(nullptr);
}
