#include "ClsSkinnedHeader.h"

#include "ClsFrameDrawer.h"
#include "ClsSkinnedControl.h"

#include "CScopedSelect.h"
#include "CWindowDC.h"

#include <algorithm>

ClsSkinnedHeader::ClsSkinnedHeader() = default;

void ClsSkinnedHeader::SetFillerImage(const ClsBitMap* image) {
    if (image && image->GetIsValid())
        m_filler = *image;
    else
        m_filler.DeleteObject();
}

void ClsSkinnedHeader::SetButtonMaximize(bool show) {
    const bool changed = m_showMaximize != show || (show && m_showRestore);
    m_showMaximize = show;
    if (show) m_showRestore = false;
    if (changed) Redraw();
}

void ClsSkinnedHeader::SetButtonRestore(bool show) {
    const bool changed = m_showRestore != show || (show && m_showMaximize);
    m_showRestore = show;
    if (show) m_showMaximize = false;
    if (changed) Redraw();
}

ClsSkinnedHeaderButton* ClsSkinnedHeader::GetButton(HeaderButton_e button) {
    switch (button) {
    case hbMinimize: return &m_minimize;
    case hbMaximize: return &m_maximize;
    case hbClose: return &m_close;
    case hbRestore: return &m_restore;
    default: return nullptr;
    }
}

void ClsSkinnedHeader::SetHoveredButton(HeaderButton_e button) {
    if (button == m_hoveredButton) return;
    m_hoveredButton = button;
    SyncButtonStates();
    Redraw();
}

void ClsSkinnedHeader::SetButtonIsPressed(bool pressed) {
    if (pressed) {
        if (m_pressed && m_pressedButton == m_hoveredButton) return;
        m_pressed = true;
        m_pressedButton = m_hoveredButton;
    } else {
        if (!m_pressed) return;
        m_pressed = false;
        m_pressedButton = hbNone;
    }
    SyncButtonStates();
    Redraw();
}

void ClsSkinnedHeader::SyncButtonStates() {
    const HeaderButton_e kinds[] = {hbMinimize, hbMaximize, hbClose, hbRestore};
    for (HeaderButton_e kind : kinds) {
        ClsSkinnedHeaderButton* button = GetButton(kind);
        button->SetHovered(m_hoveredButton == kind);
        button->SetPushed(m_pressed && m_pressedButton == kind);
    }
}

void ClsSkinnedHeader::DockHeader(RECT* rect) const {
    if (!rect) return;
    const ControlBorderInfo_t* frame = m_parent ? m_parent->GetBorder() : nullptr;
    if (frame) {
        rect->left += frame->LeftBorderWidth;
        rect->right -= frame->RightBorderWidth;
        rect->bottom -= frame->BottomBorderWidth;
        rect->top += m_width + frame->TopBorderWidth;
    } else {
        rect->top += m_width;
    }
    // A header taller than the window leaves an empty client area, never a
    // negative one.
    rect->right = std::max(rect->right, rect->left);
    rect->bottom = std::max(rect->bottom, rect->top);
}

int ClsSkinnedHeader::DetermineRightMargin() const {
    int margin = 0;
    if (m_showMaximize || m_showRestore || m_showMinimize) {
        const int middle = m_showRestore ? m_restore.GetWidth() : m_maximize.GetWidth();
        margin += middle + m_minimize.GetWidth() + 2 * m_buttonSpacing;
    }
    if (m_showClose || m_showMaximize || m_showRestore)
        margin += m_close.GetWidth() + 2 * m_buttonSpacing;
    else
        margin += m_buttonSpacing;
    return margin;
}

ClsSkinnedHeader::Layout ClsSkinnedHeader::MeasureLayout() const {
    Layout layout;
    if (!m_parent) return layout;
    const ControlBorderInfo_t* frame = m_parent->GetBorder();
    layout.frameLeft = frame ? frame->LeftBorderWidth : 0;
    layout.frameTop = frame ? frame->TopBorderWidth : 0;
    const int frameRight = frame ? frame->RightBorderWidth : 0;
    // The window's own width once it exists: while it is being sized the
    // frame is painted before the stored bounds follow.
    int parentWidth = m_parent->GetWidth();
    RECT window{};
    if (HWND handle = m_parent->GetSafeHwndC(); handle && ::GetWindowRect(handle, &window))
        parentWidth = window.right - window.left;
    layout.width = parentWidth - layout.frameLeft - frameRight;
    layout.height = m_width;
    layout.rightMargin = DetermineRightMargin();
    return layout;
}

bool ClsSkinnedHeader::IsShown(HeaderButton_e button) const {
    switch (button) {
    // Minimise keeps its place whenever the window buttons are shown.
    case hbMinimize: return m_showMinimize || m_showMaximize || m_showRestore;
    case hbMaximize: return m_showMaximize;
    case hbRestore: return m_showRestore;
    case hbClose: return m_showClose;
    default: return false;
    }
}

void ClsSkinnedHeader::PlaceButtons(const Layout& layout) {
    int x = layout.width + m_buttonSpacing - layout.rightMargin;
    const HeaderButton_e order[] = {hbMinimize, hbMaximize, hbRestore, hbClose};
    for (HeaderButton_e kind : order) {
        if (!IsShown(kind)) continue;
        ClsSkinnedHeaderButton* button = GetButton(kind);
        button->SetPos(CPoint(x, (layout.height - button->GetHeight()) / 2));
        x += button->GetWidth() + m_buttonSpacing;
    }
}

void ClsSkinnedHeader::Draw(HDC dc) {
    const Layout layout = MeasureLayout();
    if (!dc || layout.width <= 0 || layout.height <= 0) return;
    ClsBitMap image;
    if (!image.AllocateBitMap(layout.width, layout.height, pf32bit)) return;
    CDC* canvas = image.Lock();
    if (!canvas) return;
    const HDC into = canvas->GetSafeHdc();
    const int width = layout.width;
    const int height = layout.height;
    const bool filler = m_filler.GetIsValid();

    if (m_border && m_border->MainImage && m_border->MainImage->GetIsValid()) {
        const ControlBorderInfo_t& cells = *m_border;
        const int rightLimit = width - (filler ? layout.rightMargin : 0) - cells.RightBorderWidth;
        ClsFrameDrawer::TileContent(into, cells, *cells.MainImage,
                                    RECT{cells.LeftBorderWidth, cells.TopBorderWidth, rightLimit,
                                         height - cells.BottomBorderWidth});
        ClsFrameDrawer::DrawEdgesAndCorners(into, cells, *cells.MainImage,
                                            RECT{0, 0, rightLimit + cells.RightBorderWidth, height});
    } else {
        canvas->FillSolidRect(0, 0, width, height,
                              m_border ? m_border->BgColor : ::GetSysColor(COLOR_BTNFACE));
    }
    if (filler && layout.rightMargin > 0) {
        const CSize cell = m_filler.GetSize();
        ClsBitMap::ScopedLock source(m_filler);
        for (int y = 0; y < height; y += cell.cy)
            for (int x = width - layout.rightMargin; x < width; x += cell.cx) m_filler.Draw(into, x, y);
    }

    PlaceButtons(layout);
    SyncButtonStates();
    const HeaderButton_e order[] = {hbMinimize, hbMaximize, hbRestore, hbClose};
    for (HeaderButton_e kind : order)
        if (IsShown(kind)) GetButton(kind)->Draw(canvas);

    if (!m_caption.IsEmpty()) {
        const int borderLeft = m_border ? m_border->LeftBorderWidth : 0;
        const int borderRight = m_border ? m_border->RightBorderWidth : 0;
        RECT text{borderLeft + 4, 0, width - std::max(borderRight, layout.rightMargin), height};
        HFONT font = m_font.GetHandle();
        CScopedSelect selectFont(into, font);
        const int oldMode = ::SetBkMode(into, TRANSPARENT);
        const COLORREF oldColor = ::SetTextColor(into, m_font.GetColor());
        ::DrawTextA(into, m_caption, m_caption.GetLength(), &text,
                    DT_LEFT | DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
        ::SetTextColor(into, oldColor);
        ::SetBkMode(into, oldMode);
    }
    image.Unlock();
    image.Draw(dc, layout.frameLeft, layout.frameTop);
}

void ClsSkinnedHeader::Redraw() {
    if (!m_parent) return;
    HWND window = m_parent->GetSafeHwndC();
    if (!window || !::IsWindow(window)) return;
    CWindowDC dc(window);
    Draw(dc);
}

HeaderTestPlaces_e ClsSkinnedHeader::GetItemFromPoint(int x, int y) {
    const Layout layout = MeasureLayout();
    const CPoint local(x - layout.frameLeft, y - layout.frameTop);
    if (!CRect(0, 0, layout.width, layout.height).PtInRect(local)) return htpNowhere;
    PlaceButtons(layout);
    const struct {
        HeaderButton_e kind;
        HeaderTestPlaces_e place;
    } places[] = {{hbMinimize, htpMinimize}, {hbMaximize, htpMaximize}, {hbRestore, htpRestore},
                  {hbClose, htpClose}};
    for (const auto& entry : places)
        if (IsShown(entry.kind) && GetButton(entry.kind)->GetRect().PtInRect(local)) return entry.place;
    return htpCaption;
}

UINT ClsSkinnedHeader::GetHitTestCode(POINT screen) {
    HWND window = m_parent ? m_parent->GetSafeHwndC() : nullptr;
    RECT bounds{};
    if (!window || !::GetWindowRect(window, &bounds)) return HTNOWHERE;
    switch (GetItemFromPoint(screen.x - bounds.left, screen.y - bounds.top)) {
    case htpMinimize: return HTMINBUTTON;
    case htpMaximize:
    case htpRestore: return HTMAXBUTTON;
    case htpClose: return HTCLOSE;
    default: return HTNOWHERE;
    }
}
