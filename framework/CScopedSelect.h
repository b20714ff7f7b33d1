#pragma once
#include <windows.h>

// Selects a GDI object into a context and puts the previous one back when
// the scope ends, so no object is ever deleted while still selected:
//     CScopedSelect font(dc, m_font);
// The object must outlive the scope (declare it first).
class CScopedSelect {
public:
    CScopedSelect(HDC dc, HGDIOBJ object)
        : m_dc(dc), m_old(dc && object ? ::SelectObject(dc, object) : nullptr) {}
    ~CScopedSelect() {
        if (m_old && m_old != HGDI_ERROR) ::SelectObject(m_dc, m_old);
    }
    CScopedSelect(const CScopedSelect&) = delete;
    CScopedSelect& operator=(const CScopedSelect&) = delete;

    // False when the selection failed (nothing is put back then).
    bool Succeeded() const { return m_old && m_old != HGDI_ERROR; }

private:
    HDC m_dc;
    HGDIOBJ m_old;
};

// SaveDC for the scope, RestoreDC at its end: for changes of several
// attributes, clipping or coordinates at once.
class CScopedSaveDC {
public:
    explicit CScopedSaveDC(HDC dc) : m_dc(dc), m_saved(dc ? ::SaveDC(dc) : 0) {}
    ~CScopedSaveDC() {
        if (m_saved) ::RestoreDC(m_dc, m_saved);
    }
    CScopedSaveDC(const CScopedSaveDC&) = delete;
    CScopedSaveDC& operator=(const CScopedSaveDC&) = delete;

private:
    HDC m_dc;
    int m_saved;
};
