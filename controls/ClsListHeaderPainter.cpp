#include "ClsListHeaderPainter.h"

#include "CSkinnedListView.h"

#include <commctrl.h>

LRESULT ClsListHeaderPainter::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND:
        if (!m_list.GetHeaderSkin()) break;
        return 1;  // the images cover the whole header
    case WM_PAINT:
    case WM_PRINTCLIENT: {
        if (!m_list.GetHeaderSkin()) break;
        if (message == WM_PRINTCLIENT || wParam) {
            m_list.PaintHeader(reinterpret_cast<HDC>(wParam));
            return 0;
        }
        PAINTSTRUCT paint{};
        HDC dc = ::BeginPaint(GetHookedWindow(), &paint);
        if (dc) m_list.PaintHeader(dc);
        ::EndPaint(GetHookedWindow(), &paint);
        return 0;
    }
    case HDM_LAYOUT: {
        // Tall enough for the captions in the record's font.
        const LRESULT result = CSubclassWnd::WindowProc(message, wParam, lParam);
        auto* layout = reinterpret_cast<HDLAYOUT*>(lParam);
        const int wanted = m_list.GetWantedHeaderHeight();
        if (result && layout && layout->pwpos && layout->prc && layout->pwpos->cy > 0 && layout->pwpos->cy < wanted) {
            layout->pwpos->cy = wanted;
            layout->prc->top = layout->pwpos->y + wanted;
        }
        return result;
    }
    default:
        break;
    }
    return CSubclassWnd::WindowProc(message, wParam, lParam);
}
