#pragma once
// The place of one skinned edit (or memo) in its host control and the
// Edits record it is drawn from. Lives in the host; the skin reader fills
// it on every skin change; the edit only borrows it.
#include "SkinBorderInfo.h"

#include <cstdint>

struct EditSkinInfo_t {
    int32_t X = 0;
    int32_t Y = 0;
    int32_t Width = 0;
    int32_t Height = 0;
    // The frame cells, colours and font of the Edits section (not owned).
    SkinBorderInfo_t* Skin = nullptr;
};

static_assert(sizeof(void*) != 4 || sizeof(EditSkinInfo_t) == 20, "place and record pointer: five words");
