#pragma once
#include "ControlsExport.h"

#include "CObject.h"

// The contact drop target every skinned control embeds. Contact drag and
// drop is not wired up yet: the target registers with no window and accepts
// nothing; the drag-and-drop work fills it in (registration, the dragged
// contact, the drag-image service).
class CTL_API COrvDropTarget : public CObject {
public:
    const char* GetRuntimeClassName() const override;
};
