#pragma once
// Fills the contact-tree's skin record from the description: colours from
// section TreeControl, the eight node styles from their sections, the page
// buttons' and chat mark's bitmaps, and a copy of the TreeControl record
// with its own copy of the image.
#include "SkinBorderInfo.h"

class SkinFile;
struct TREESKININFO;

class TreeSkinBuilder {
public:
    // info is freshly made; what the description lacks stays as made (the
    // two gaps are never touched). treeControl may be null.
    static void Fill(SkinFile& skin, const SkinBorderInfo_t* treeControl, TREESKININFO& info);
};
