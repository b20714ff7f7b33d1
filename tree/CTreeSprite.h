#pragma once
// A skin image drawn with its magenta pixels left out (the page buttons and
// the chat mark), made once per skin into a premultiplied 32-bit image so
// that drawing it is a single blend instead of a colour-keyed copy.
#include "CSelectedBitmap.h"

#include "CSize.h"

#include <windows.h>

class ClsBitMap;

class CTreeSprite {
public:
    // Takes the pixels of image (no sprite when it holds no bitmap).
    void Build(const ClsBitMap& image);
    bool IsEmpty() const { return m_image.IsEmpty(); }
    CSize GetSize() const { return m_image.GetSize(); }
    // Draws the width x height part at (sourceX, sourceY) to (x, y).
    void Draw(HDC dc, int x, int y, int width, int height, int sourceX, int sourceY) const;

private:
    CSelectedBitmap m_image;
};
