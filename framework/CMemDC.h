#pragma once
#include "CBitmap.h"
#include "CDC.h"
#include "CRect.h"

// Off-screen painting: a memory context over a bitmap the size of an area of
// a target context, with the same logical coordinates as the target. Paint
// into it; when it dies it copies the area to the target once, so nothing
// half-drawn ever reaches the screen. Without memory for the bitmap it
// degrades to painting straight on the target.
class FW_API CMemDC : public CDC {
public:
    CMemDC(CDC& target, const RECT& area);
    ~CMemDC() override;
    CMemDC(CMemDC&&) = delete;
    CMemDC& operator=(CMemDC&&) = delete;

    // Copies now instead of at the end of the scope (once only).
    void Flush();
    // Drops the drawing: nothing is copied.
    void Discard() { m_pending = false; }
    bool IsBuffered() const { return m_buffered; }
    const CRect& GetArea() const { return m_area; }

private:
    HDC m_target;
    CRect m_area;
    CBitmap m_bitmap;
    HGDIOBJ m_oldBitmap = nullptr;
    bool m_buffered = false;
    bool m_pending = false;
};
