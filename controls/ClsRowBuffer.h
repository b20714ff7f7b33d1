#pragma once
// Off-screen drawing of one list row: a memory context over a bitmap the
// size of the row, in the target's coordinates, copied to the target once
// when the buffer goes. Without memory it draws straight on the target.
#include <windows.h>

class ClsRowBuffer {
public:
    ClsRowBuffer(HDC target, const RECT& area);
    ~ClsRowBuffer();
    ClsRowBuffer(const ClsRowBuffer&) = delete;
    ClsRowBuffer& operator=(const ClsRowBuffer&) = delete;

    HDC Dc() const { return IsValid() ? m_dc : m_target; }

private:
    bool IsValid() const { return m_dc && m_bitmap && m_old; }
    int Width() const { return m_area.right - m_area.left; }
    int Height() const { return m_area.bottom - m_area.top; }

    HDC m_target;
    RECT m_area;
    HDC m_dc;
    HBITMAP m_bitmap;
    HGDIOBJ m_old = nullptr;
};
