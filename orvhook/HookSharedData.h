#pragma once
// The block of named shared memory that every process with OrvHook.dll sees.
// Its layout is fixed: 32-bit fields, 16 bytes, for programs of both widths.
#include <cstddef>
#include <cstdint>

#define ORVHOOK_SHARED_BLOCK_NAME "$$ORV$$HOOK$$MMF$6"

struct ORVHOOKSHAREDDATA {
    uint32_t keyboardHook;  // hook handle (user handles are 32-bit values), 0 when not installed
    uint32_t mouseHook;     // likewise
    uint32_t reserved;      // 0
    uint32_t lastInputTick; // GetTickCount() of the last key press or click
};
static_assert(sizeof(ORVHOOKSHAREDDATA) == 16, "the shared block is 16 bytes");
static_assert(offsetof(ORVHOOKSHAREDDATA, lastInputTick) == 12, "the tick is the fourth field");
