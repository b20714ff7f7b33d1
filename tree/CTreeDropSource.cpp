#include "CTreeDropSource.h"

#include "TreeResources.h"

namespace {
// A cursor with its hot spot at the arrow's tip, made from an icon of the
// library; null when the icon is missing.
HCURSOR CursorFromIcon(UINT id, int hotSpot) {
    HICON icon = static_cast<HICON>(
        ::LoadImageA(CTreeControl::GetModule(), MAKEINTRESOURCEA(id), IMAGE_ICON, 32, 32, 0));
    if (!icon) return nullptr;
    ICONINFO info{};
    HCURSOR cursor = nullptr;
    if (::GetIconInfo(icon, &info)) {
        info.fIcon = FALSE;
        info.xHotspot = static_cast<DWORD>(hotSpot);
        info.yHotspot = static_cast<DWORD>(hotSpot);
        cursor = ::CreateIconIndirect(&info);
        if (info.hbmMask) ::DeleteObject(info.hbmMask);
        if (info.hbmColor) ::DeleteObject(info.hbmColor);
    }
    ::DestroyIcon(icon);
    return cursor;
}
}  // namespace

CTreeControl::CTreeDropSource::CTreeDropSource() {
    SetDragStartDistance(100);
    SetDragDelay(CTreeControl::kDragDelayMs);
    m_cursors[kCopy] = CursorFromIcon(IDI_DRAG_COPY, kHotSpot);
    m_cursors[kMove] = CursorFromIcon(IDI_DRAG_MOVE, kHotSpot);
    m_cursors[kNone] = CursorFromIcon(IDI_DRAG_NONE, kHotSpot);
}

CTreeControl::CTreeDropSource::~CTreeDropSource() {
    for (HCURSOR cursor : m_cursors)
        if (cursor) ::DestroyCursor(cursor);
}

HCURSOR CTreeControl::CTreeDropSource::GetCursor(DROPEFFECT effect) const {
    if (effect & DROPEFFECT_COPY) return m_cursors[kCopy];
    if (effect & DROPEFFECT_MOVE) return m_cursors[kMove];
    return m_cursors[kNone];
}

SCODE CTreeControl::CTreeDropSource::GiveFeedback(DROPEFFECT effect) {
    if (m_dragImage) return DRAGDROP_S_USEDEFAULTCURSORS;
    HCURSOR cursor = GetCursor(effect);
    if (!cursor) return DRAGDROP_S_USEDEFAULTCURSORS;
    ::SetCursor(cursor);
    return S_OK;
}

const char* CTreeControl::CTreeDropSource::GetRuntimeClassName() const { return "CTreeDropSource"; }
