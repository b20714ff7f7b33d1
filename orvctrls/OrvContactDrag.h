#pragma once
// Dragging one person out of a result list: the record travels under the
// "OrvaneContact" clipboard format (a COrvDragContactInfo at the start of
// its block) and as text ("first last e-mail"; the name alone for a private
// address), so that windows of this program take the person and any other
// program the text. The drag runs on the calling thread and is over when
// Run returns.
#include "OrvCtrlsExport.h"

#include "COleDropSource.h"
#include "OrvContactInfo.h"

#include <atomic>

class ORVCTRLS_API OrvContactDrag {
public:
    // The text offered beside the record.
    static CString TextOf(const ORVCONTACTINFO& contact);
    // Runs the drag; the effect the target took (DROPEFFECT_NONE when it
    // was refused or cancelled).
    static DROPEFFECT Run(const ORVCONTACTINFO& contact);
    // True while a drag of a result list runs (any thread may ask).
    static bool IsDragging() { return s_dragging; }

private:
    static std::atomic<bool> s_dragging;
};
