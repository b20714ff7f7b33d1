#pragma once
// A top-down 32-bit bitmap that stays selected into a memory context of its
// own, for images the tree draws from often (its background, its sprites,
// the pictures of its nodes): drawing from one is a single call, with no
// context made or selection changed per draw. Owns both handles.
#include "CBitmap.h"
#include "CDC.h"
#include "CSize.h"

#include <windows.h>

#include <cstdint>

class CSelectedBitmap {
public:
    CSelectedBitmap() = default;
    ~CSelectedBitmap() { Clear(); }
    CSelectedBitmap(const CSelectedBitmap&) = delete;
    CSelectedBitmap& operator=(const CSelectedBitmap&) = delete;

    // A new bitmap of that size (contents undefined); false when it cannot
    // be made, and then nothing is held.
    bool Create(int width, int height);
    void Clear();
    bool IsEmpty() const { return m_bits == nullptr; }
    CSize GetSize() const { return m_size; }
    HDC GetDC() const { return m_dc.GetSafeHdc(); }
    CDC& GetCDC() { return m_dc; }
    // The pixels, rows top-down, blue-green-red-alpha.
    uint32_t* GetBits() const { return m_bits; }

private:
    // The context is declared after the bitmap it holds, so it goes first.
    CBitmap m_bitmap;
    CDC m_dc;
    HGDIOBJ m_previous = nullptr;
    uint32_t* m_bits = nullptr;
    CSize m_size{0, 0};
};
