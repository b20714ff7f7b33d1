#pragma once
// Paints the column header of a skinned list view from the list's header
// images: a hook on the header window that takes its painting over and
// leaves everything else (tracking, clicks) to the system's header.
#include "CSubclassWnd.h"

class CSkinnedListView;

class ClsListHeaderPainter : public CSubclassWnd {
public:
    explicit ClsListHeaderPainter(CSkinnedListView& list) : m_list(list) {}

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    CSkinnedListView& m_list;
};
