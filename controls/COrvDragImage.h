#pragma once
// The picture shown under the pointer while a contact is dragged: the skin's
// drag image ("OrvNavigateTreeControl", a DragImageSkin) on a blue band
// with the contact's name in white, handed to the system's drag-image
// service for the drag's data.
#include "ControlsExport.h"

#include "ClsBitMap.h"

#include <windows.h>
#include <objidl.h>

class COrvDragImage {
public:
    static constexpr COLORREF kBandColor = 0xF43333;  // a blue, red in the low byte
    static constexpr COLORREF kTransparent = 0xFF00FF;
    static constexpr int kMaxWidth = 200;
    static constexpr int kPadding = 20;
    // Where the pointer sits, from the picture's top-left corner.
    static constexpr int kCursorX = -5;
    static constexpr int kCursorY = 8;
    static constexpr const char* kComponentName = "OrvNavigateTreeControl";

    // Composes the picture into picture (32 bits): as wide as the name
    // (single line, in font, or the context's font when null) plus the
    // image plus kPadding, at most kMaxWidth; as high as the taller of name
    // and image; magenta around a band of the text height + 4 centred
    // vertically, the image at the left (centred vertically), the name in
    // white right of it, centred, cut with an ellipsis. False (picture left
    // alone) without a valid image.
    CTL_API static bool Compose(const char* displayName, HFONT font, const ClsBitMap& image, ClsBitMap& picture);
    // The same with the image of the skin component; false when the skin
    // has none.
    CTL_API static bool Compose(const char* displayName, HFONT font, ClsBitMap& picture);

    // Hands a copy of picture to the drag-image service for data, with the
    // pointer at (kCursorX, kCursorY) and magenta transparent. False when
    // the service is missing or refuses (then the drag runs without it).
    CTL_API static bool AttachToData(IDataObject* data, const ClsBitMap& picture);
};
