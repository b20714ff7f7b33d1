#pragma once
// The list of people a search found: chat mark, name, e-mail (hidden when
// private) and occupation, one row per person and one empty row after the
// last. A double click shows the person's tree; the popup menu of a row
// chats, searches a path, shows the map or puts the e-mail at an end of the
// path finder.
#include "ClsContactInfo.h"
#include "OrvCtrlsExport.h"
#include "OrvResultPopupMenu.h"
#include "OrvResultRules.h"

#include "CCriticalSection.h"
#include "CSkinnedListView.h"
#include "ClsBitMap.h"

#include <memory>
#include <vector>

class OrvINavigate;
class OrvISearchResult;
class OrvLocaleManager;

class ORVCTRLS_API OrvSearchResultCtrl : public CSkinnedListView {
public:
    static constexpr UINT kControlId = 80;
    static constexpr UINT_PTR kHoverTimer = 301;
    static constexpr UINT kHoverPeriodMs = 100;

    // Makes the window at once (zero sized until placed) with its four
    // columns and its popup menu. The callbacks and locale are borrowed;
    // any may be null.
    OrvSearchResultCtrl(OrvLocaleManager* locale, CWnd* parent, OrvISearchResult* result, OrvINavigate* navigate);
    ~OrvSearchResultCtrl() override;

    // Appends a copy of contact (null is ignored). Any thread.
    void AddElement(const ORVCONTACTINFO* contact);
    bool DeleteAllItems();
    int GetCount();
    // The row's person; null outside 0 .. GetCount() - 1.
    const ClsContactInfo* GetContact(int row);
    OrvISearchResult* GetCallBack() const { return m_result; }
    // The rows' lock, for callers that read several rows in one go.
    void Lock() { m_lock.Lock(); }
    void Unlock() { m_lock.Unlock(); }

    // The last column as wide as the room or its widest text.
    void StretchLastColumn();
    void RealizeSkin() override;

    // Sorts by column 0 to 3 (a click on its header): the current column
    // again flips the direction.
    void SortBy(int column);
    const OrvSortOrder& GetSortOrder() const { return m_sortOrder; }

    void OnDblClick(int row);
    // Opens the popup menu of row at the screen point (x, y).
    void OnRightClick(int row, int x, int y);
    // A command of the popup menu, for the row of the last right click.
    void OnMenuCommand(UINT id);
    int GetMenuRow() const { return m_menuRow; }
    OrvResultPopupMenu& GetPopupMenu() { return m_menu; }
    int GetHoverRow() const { return m_hoverRow; }

    // Skin values the reader sets: the chat mark and the link colour (the
    // second row colour is the list view's).
    ClsBitMap& GetChatIcon() { return m_chatIcon; }
    void SetLinkColor(COLORREF color) { m_linkColor = color; }

    const char* GetRuntimeClassName() const override;

protected:
    void OnItemContextMenu(int item, CPoint screenPoint) override;
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void WMNotify(WMNotify_t& message) override;
    bool DrawsOwnRows() const override { return true; }
    void DrawRow(HDC dc, int row, const RECT& bounds) override;

private:
    void SetHoverRow(int row);
    int RowAt(POINT client) const;
    COLORREF TextColor();

    OrvISearchResult* m_result;
    OrvINavigate* m_navigate;
    CCriticalSection m_lock;
    std::vector<std::unique_ptr<ClsContactInfo>> m_rows;
    OrvSortOrder m_sortOrder;
    int m_hoverRow = -1;
    int m_menuRow = -1;
    ClsBitMap m_chatIcon;
    COLORREF m_linkColor = 0xFF0000;
    OrvResultPopupMenu m_menu;
};
