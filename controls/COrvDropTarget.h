#pragma once
// The contact drop target that every skinned control embeds (and the
// skinned edits register on themselves): recognises a dragged contact,
// asks its window whether it takes contacts, and hands the contact over on
// drop.
#include "ControlsExport.h"

#include "CComPtr.h"
#include "COleDropTarget.h"
#include "OrvContactInfo.h"

#include <windows.h>

#include <memory>

struct IDropTargetHelper;

// The window it is registered on answers two messages (OrvMessages.h):
// ORV_WM_QUERY_DROP (0x8DAD, both parameters 0), asked on drag enter: 1
// takes dropped contacts, anything else refuses them; and
// ORV_WM_CONTACT_DROPPED (0x8DAE), sent on drop with the ORVCONTACTINFO*
// as second parameter, valid only during the call. A window that did not
// answer 1 never receives a contact. Data that is not a contact of this
// process (another format, another signature, another process's payload)
// shows no effect and drops nothing.
//
// The system's drag-image service (IDropTargetHelper) is told of every
// step when it could be created; without it dragging works the same.
class CTL_API COrvDropTarget : public COleDropTarget {
public:
    COrvDropTarget();
    ~COrvDropTarget() override;

    // The number of the registered clipboard format "OrvaneContact".
    static UINT GetClipboardFormat();
    static const UINT m_nClipboardFormat;

    // Registers on window and makes the drag-image service when it can.
    bool Register(CWnd* window);
    bool Register(HWND window);

    // While a contact is dragged over the window: the contact; else null.
    const ORVCONTACTINFO* GetDraggedContact() const { return m_contact.get(); }
    bool GetAcceptsContacts() const { return m_acceptsContacts; }
    bool HasDragImageService() const { return static_cast<bool>(m_dragImage); }

    DROPEFFECT OnDragEnter(CWnd* window, COleDataObject* data, DWORD keyState, CPoint point) override;
    DROPEFFECT OnDragOver(CWnd* window, COleDataObject* data, DWORD keyState, CPoint point) override;
    void OnDragLeave(CWnd* window) override;
    BOOL OnDrop(CWnd* window, COleDataObject* data, DROPEFFECT effect, CPoint point) override;
    DROPEFFECT OnDragScroll(CWnd* window, DWORD keyState, CPoint point) override;

    const char* GetRuntimeClassName() const override;

    // Received blocks larger than this are not read.
    static const size_t kMaxPayloadBlock = 64 * 1024;

private:
    POINT ScreenPoint(CWnd* window, CPoint point) const;
    DROPEFFECT Answer() const;

    std::unique_ptr<ORVCONTACTINFO> m_contact;
    bool m_acceptsContacts = false;
    CComPtr<IDropTargetHelper> m_dragImage;
};
