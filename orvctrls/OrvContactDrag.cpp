#include "OrvContactDrag.h"

#include "CDataObject.h"
#include "COrvDragContactInfo.h"
#include "COrvDropTarget.h"

#include "AfxTrace.h"
#include "CComPtr.h"
#include "CGlobalMemory.h"

#include <cstring>

std::atomic<bool> OrvContactDrag::s_dragging{false};

CString OrvContactDrag::TextOf(const ORVCONTACTINFO& contact) {
    CString text = OrvDisplayName(contact);
    if (!contact.emailPrivate && !contact.email.IsEmpty()) {
        if (!text.IsEmpty()) text += ' ';
        text += contact.email;
    }
    return text;
}

DROPEFFECT OrvContactDrag::Run(const ORVCONTACTINFO& contact) {
    // One drag at a time: the system's drag loop is modal per thread, and a
    // second list must not start one from inside it.
    if (s_dragging.exchange(true)) return DROPEFFECT_NONE;
    struct Clear {
        ~Clear() { s_dragging = false; }
    } clear;
    try {
        // The payload owns the text blocks its copy in the data points at;
        // it outlives the drag.
        COrvDragContactInfo payload(&contact);
        CComPtr<CDataObject> data;
        data.Attach(new CDataObject);
        CGlobalMemory record(payload.CreateGlobalBlock());
        if (!record || !data->AddGlobalData(static_cast<CLIPFORMAT>(COrvDropTarget::GetClipboardFormat()),
                                            record.Get(), true))
            return DROPEFFECT_NONE;
        record.Release();  // the data object owns it now
        const CString text = TextOf(contact);
        CGlobalMemory textBlock = CGlobalMemory::Allocate(static_cast<size_t>(text.GetLength()) + 1,
                                                          GMEM_MOVEABLE | GMEM_SHARE | GMEM_ZEROINIT);
        {
            CGlobalLock locked(textBlock.Get());
            if (locked.Get()) std::memcpy(locked.Get(), text.GetString(), static_cast<size_t>(text.GetLength()));
        }
        if (textBlock) data->AddGlobalData(CF_TEXT, textBlock.Release(), true);
        COleDropSource source;
        return source.DoDragDrop(data.Get(), DROPEFFECT_COPY);
    } catch (...) {
        // Out of global memory for the payload: no drag.
        AfxTraceCaughtException("orvctrls: dragging a contact out of a result list");
        return DROPEFFECT_NONE;
    }
}
