#pragma once
// Fixed-layout records of the settings store. Their bytes are what the
// registry holds, so sizes and offsets never change.
#include <cstddef>
#include <cstdint>

#pragma pack(push, 1)

// The main window's saved state.
struct ORVSTATEDATA {
    uint32_t value;         // kept and restored as given
    uint32_t splitterPos;   // position of the main window's splitter, pixels
    uint32_t windowMode;    // set before a minimize, maximize, restore or close
    int32_t left, top, right, bottom;  // main window rectangle, screen coordinates
    char text[24];          // NUL-terminated, at most 23 characters
};

// The account record, stored scrambled as "params".
struct ORVREGISTRYDATA {
    uint32_t versionCheck;
    char firstName[31];     // NUL-terminated, at most 30 characters
    char lastName[31];      // at most 30
    char email[51];         // at most 50
    char serkey[21];        // the log-in password, at most 20
    uint8_t reserved[2];
    uint32_t registered;
    uint32_t logon;
    uint32_t hiddenEmail;
    uint32_t hiddenChat;
    ORVSTATEDATA state;
};

// One favorite; 100 of them make the "favors" block.
struct ORVFAVORITEITEM {
    uint32_t inUse;         // 1 in every stored item
    char key[21];           // the contact's id, at most 20 characters
    char name[33];          // display name cut to 32 characters
    uint8_t reserved[2];
};

#pragma pack(pop)

static_assert(sizeof(ORVSTATEDATA) == 52, "ORVSTATEDATA is 52 bytes");
static_assert(offsetof(ORVSTATEDATA, windowMode) == 8, "");
static_assert(offsetof(ORVSTATEDATA, left) == 12, "");
static_assert(offsetof(ORVSTATEDATA, text) == 28, "");

static_assert(sizeof(ORVREGISTRYDATA) == 208, "ORVREGISTRYDATA is 208 bytes");
static_assert(offsetof(ORVREGISTRYDATA, firstName) == 4, "");
static_assert(offsetof(ORVREGISTRYDATA, lastName) == 35, "");
static_assert(offsetof(ORVREGISTRYDATA, email) == 66, "");
static_assert(offsetof(ORVREGISTRYDATA, serkey) == 117, "");
static_assert(offsetof(ORVREGISTRYDATA, reserved) == 138, "");
static_assert(offsetof(ORVREGISTRYDATA, registered) == 140, "");
static_assert(offsetof(ORVREGISTRYDATA, logon) == 144, "");
static_assert(offsetof(ORVREGISTRYDATA, hiddenEmail) == 148, "");
static_assert(offsetof(ORVREGISTRYDATA, hiddenChat) == 152, "");
static_assert(offsetof(ORVREGISTRYDATA, state) == 156, "");

static_assert(sizeof(ORVFAVORITEITEM) == 60, "ORVFAVORITEITEM is 60 bytes");
static_assert(offsetof(ORVFAVORITEITEM, key) == 4, "");
static_assert(offsetof(ORVFAVORITEITEM, name) == 25, "");
static_assert(offsetof(ORVFAVORITEITEM, reserved) == 58, "");

// The stored favorites: 100 slots of one item each.
constexpr int ORV_FAVORITES_SLOTS = 100;
constexpr size_t ORV_FAVORITES_BLOCK_SIZE = ORV_FAVORITES_SLOTS * sizeof(ORVFAVORITEITEM);
static_assert(ORV_FAVORITES_BLOCK_SIZE == 6000, "the favorites block is 6000 bytes");
