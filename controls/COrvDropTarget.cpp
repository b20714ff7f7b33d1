#include "COrvDropTarget.h"

#include "AfxTrace.h"
#include "CWnd.h"
#include "COrvDragContactInfo.h"
#include "OrvMessages.h"

#include <shlguid.h>
#include <shlobj.h>

// Registered when the library loads.
const UINT COrvDropTarget::m_nClipboardFormat = ::RegisterClipboardFormatA(ORV_CLIPFORMAT_CONTACT);

const size_t COrvDropTarget::kMaxPayloadBlock;

COrvDropTarget::COrvDropTarget() = default;
COrvDropTarget::~COrvDropTarget() = default;

UINT COrvDropTarget::GetClipboardFormat() { return m_nClipboardFormat; }

const char* COrvDropTarget::GetRuntimeClassName() const { return "COrvDropTarget"; }

bool COrvDropTarget::Register(CWnd* window) { return Register(window ? window->GetSafeHwnd() : nullptr); }

bool COrvDropTarget::Register(HWND window) {
    if (!COleDropTarget::Register(window)) return false;
    if (!m_dragImage)
        ::CoCreateInstance(CLSID_DragDropHelper, nullptr, CLSCTX_INPROC_SERVER, IID_IDropTargetHelper,
                           reinterpret_cast<void**>(m_dragImage.Receive()));
    return true;
}

POINT COrvDropTarget::ScreenPoint(CWnd* window, CPoint point) const {
    POINT at = {point.x, point.y};
    if (window) ::ClientToScreen(window->GetSafeHwnd(), &at);
    return at;
}

DROPEFFECT COrvDropTarget::Answer() const {
    return m_contact && m_acceptsContacts ? DROPEFFECT_COPY : DROPEFFECT_NONE;
}

DROPEFFECT COrvDropTarget::OnDragEnter(CWnd* window, COleDataObject* data, DWORD, CPoint point) {
    HWND hwnd = window ? window->GetSafeHwnd() : nullptr;
    m_contact.reset();
    m_acceptsContacts = hwnd && ::SendMessageA(hwnd, ORV_WM_QUERY_DROP, 0, 0) == 1;
    if (!data || !data->IsDataAvailable(static_cast<CLIPFORMAT>(m_nClipboardFormat))) return DROPEFFECT_NONE;

    CGlobalMemory block = data->GetGlobalData(static_cast<CLIPFORMAT>(m_nClipboardFormat), kMaxPayloadBlock);
    CGlobalLock bytes(block.Get());
    if (bytes.Get()) {
        auto contact = std::make_unique<ORVCONTACTINFO>();
        if (COrvDragContactInfo::ReadPayload(bytes.Get(), bytes.Size(), contact.get()))
            m_contact = std::move(contact);
    }
    if (m_dragImage) {
        POINT at = ScreenPoint(window, point);
        m_dragImage->DragEnter(hwnd, data->GetIDataObject(), &at, DROPEFFECT_COPY);
    }
    return Answer();
}

DROPEFFECT COrvDropTarget::OnDragOver(CWnd* window, COleDataObject*, DWORD, CPoint point) {
    if (!m_contact) return DROPEFFECT_NONE;
    if (m_dragImage) {
        POINT at = ScreenPoint(window, point);
        m_dragImage->DragOver(&at, DROPEFFECT_COPY);
    }
    return Answer();
}

void COrvDropTarget::OnDragLeave(CWnd*) {
    if (m_dragImage) m_dragImage->DragLeave();
    m_contact.reset();
    m_acceptsContacts = false;
}

BOOL COrvDropTarget::OnDrop(CWnd* window, COleDataObject* data, DROPEFFECT effect, CPoint point) {
    if (m_dragImage) {
        POINT at = ScreenPoint(window, point);
        m_dragImage->Drop(data ? data->GetIDataObject() : nullptr, &at, effect);
    }
    // Taken out first: the window may start another drag or go away while
    // it handles the contact.
    std::unique_ptr<ORVCONTACTINFO> contact = std::move(m_contact);
    const bool accepted = m_acceptsContacts;
    m_acceptsContacts = false;
    HWND hwnd = window ? window->GetSafeHwnd() : nullptr;
    if (contact && accepted && hwnd)
        ::SendMessageA(hwnd, ORV_WM_CONTACT_DROPPED, 0, reinterpret_cast<LPARAM>(contact.get()));
    return TRUE;
}

DROPEFFECT COrvDropTarget::OnDragScroll(CWnd*, DWORD, CPoint) { return DROPEFFECT_NONE; }
