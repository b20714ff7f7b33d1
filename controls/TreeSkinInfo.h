#pragma once
// The look of the contact-tree, handed by the skin reader to the tree control
// with every skin change (window message 0x8010, the record's address as the
// second parameter). The record lives on the reader's stack for the duration
// of that one message: the tree copies what it keeps. Its byte layout on the
// 32-bit product is fixed (the asserts below); the two 16-byte gaps are left
// as constructed and mean nothing.
#include "ClsBitMap.h"
#include "NodeSkinParam.h"
#include "OrvMessages.h"  // ORV_WM_TREE_SKIN carries the record to the tree
#include "SkinBorderInfo.h"

#include <windows.h>

#include <cstddef>
#include <cstdint>

struct TREESKININFO {
    COLORREF RowsColor = 0xC0C0C0;
    COLORREF NodeRootFrmColor = 0xFFFFFF;
    _NODESKINPARAM NodeRootSelected{};
    uint8_t Unused1[16] = {};
    _NODESKINPARAM NodeRootUnselected{};
    uint8_t Unused2[16] = {};
    ClsBitMap RootButtonNextImage;
    ClsBitMap RootButtonPreviousImage;
    COLORREF NodeRegFrmColor = 0xFFFFFF;
    _NODESKINPARAM NodeRegisteredSelected{};
    _NODESKINPARAM NodeRegisteredUnselected{};
    COLORREF NodeUnregFrmColor = 0xFFFFFF;
    _NODESKINPARAM NodeUnregisteredSelected{};
    _NODESKINPARAM NodeUnregisteredUnselected{};
    COLORREF NodeUnregPassiveFrmColor = 0xFFFFFF;
    _NODESKINPARAM NodeUnregisteredPassiveSelected{};
    _NODESKINPARAM NodeUnregisteredPassiveUnselected{};
    ClsBitMap OnlineIconImage;
    // A copy of the TreeControl record; its MainImage points at TreeImage.
    SkinBorderInfo_t TreeControl{};
    ClsBitMap TreeImage;
};


#if defined(__i386__) || defined(_M_IX86)
// ClsBitMap members make the record non-standard-layout; GCC still lays it
// out in declaration order, which is what these checks pin down.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Winvalid-offsetof"
static_assert(sizeof(ClsBitMap) == 64, "ClsBitMap is 64 bytes inside TREESKININFO");
static_assert(offsetof(TREESKININFO, NodeRootSelected) == 8, "TREESKININFO layout");
static_assert(offsetof(TREESKININFO, NodeRootUnselected) == 52, "TREESKININFO layout");
static_assert(offsetof(TREESKININFO, RootButtonNextImage) == 96, "TREESKININFO layout");
static_assert(offsetof(TREESKININFO, RootButtonPreviousImage) == 160, "TREESKININFO layout");
static_assert(offsetof(TREESKININFO, NodeRegFrmColor) == 224, "TREESKININFO layout");
static_assert(offsetof(TREESKININFO, NodeRegisteredSelected) == 228, "TREESKININFO layout");
static_assert(offsetof(TREESKININFO, NodeRegisteredUnselected) == 256, "TREESKININFO layout");
static_assert(offsetof(TREESKININFO, NodeUnregFrmColor) == 284, "TREESKININFO layout");
static_assert(offsetof(TREESKININFO, NodeUnregisteredSelected) == 288, "TREESKININFO layout");
static_assert(offsetof(TREESKININFO, NodeUnregisteredUnselected) == 316, "TREESKININFO layout");
static_assert(offsetof(TREESKININFO, NodeUnregPassiveFrmColor) == 344, "TREESKININFO layout");
static_assert(offsetof(TREESKININFO, NodeUnregisteredPassiveSelected) == 348, "TREESKININFO layout");
static_assert(offsetof(TREESKININFO, NodeUnregisteredPassiveUnselected) == 376, "TREESKININFO layout");
static_assert(offsetof(TREESKININFO, OnlineIconImage) == 404, "TREESKININFO layout");
static_assert(offsetof(TREESKININFO, TreeControl) == 468, "TREESKININFO layout");
static_assert(offsetof(TREESKININFO, TreeImage) == 616, "TREESKININFO layout");
#pragma GCC diagnostic pop
#endif
