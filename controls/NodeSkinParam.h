#pragma once
// The look of one kind of contact-tree node, as the skin reader fills it.
#include "CString.h"

#include <windows.h>

#include <cstddef>
#include <cstdint>

struct _NODESKINPARAM {
    COLORREF TextColor;
    COLORREF BgColor;
    int32_t Width;
    int32_t Height;
    CString FontName;
    int32_t FontSize;
    int32_t FontWeight;  // 700 bold, 400 normal
};

static_assert(sizeof(void*) != 4 || sizeof(_NODESKINPARAM) == 28, "_NODESKINPARAM is 28 bytes");
static_assert(sizeof(void*) != 4 || (offsetof(_NODESKINPARAM, FontName) == 16 &&
                                     offsetof(_NODESKINPARAM, FontWeight) == 24),
              "_NODESKINPARAM layout");
