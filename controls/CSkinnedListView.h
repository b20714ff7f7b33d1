#pragma once
#include "ClsBitMap.h"
#include "ClsFont.h"
#include "ClsSkinnedWnd.h"
#include "ControlsExport.h"
#include "MenuSkinInfo.h"
#include "SkinBorderInfo.h"

#include "CPoint.h"
#include "CString.h"
#include "CWnd.h"

#include <commctrl.h>

#include <memory>
#include <vector>

class ClsListHeaderPainter;

// The arrow a column header shows for the sorted column.
enum SortArrow_e : int32_t {
    saNone = 0,
    saAscending = 1,   // points up
    saDescending = 2,  // points down
};

// The skinned report list that the result lists derive from: the system's
// list view in report mode, framed by its ListViews record (drawn around
// the system's scroll bars), its rows in the text font and the frame's
// background colour, and its column header painted from images generated
// from the ListHeaders record: one per column plus one for the room right
// of the last column, the sorted column's with an arrow. A click on a
// column header sorts the rows by that column (again: the other way).
//
// Reflected item clicks reach OnItemClick, right clicks OnItemContextMenu;
// Enter counts as a click on the focused row. The records are borrowed from
// the skin reader; after giving new ones call RealizeSkin. User-interface
// thread only.
class CTL_API CSkinnedListView : public ClsSkinnedWnd<CWnd> {
public:
    static constexpr int kDefaultLeftMargin = 5;
    static constexpr COLORREF kDefaultSecondRowColor = 0xFFEEEC;

    // A list for parent's client area with that control id; its window is
    // made by GetHandleC at the stored bounds.
    explicit CSkinnedListView(HWND parent = nullptr, UINT controlId = 0);
    ~CSkinnedListView() override;

    void SetParentHandle(HWND parent) { m_parent = parent; }
    void CreateHandle() override;
    // Takes the text font, colours and header images of the current records
    // and redraws with the frame.
    void RealizeSkin() override;

    ClsFont& GetTextFont() { return m_textFont; }
    void SetTextFont(const ClsFont& font);
    SkinBorderInfo_t* GetHeaderSkin() const { return m_headerSkin; }
    void SetHeaderSkin(SkinBorderInfo_t* skin) { m_headerSkin = skin; }
    int GetLeftMargin() const { return m_leftMargin; }
    void SetLeftMargin(int margin) { m_leftMargin = margin < 0 ? 0 : margin; }
    // Fonts and borders for the list's own context menus (borrowed records).
    const MenuSkinInfo_t& GetMenuSkinInfo() const { return m_menuSkin; }
    void SetMenuSkinInfo(const MenuSkinInfo_t& info) { m_menuSkin = info; }
    // The background of every second row (1, 3 ...) of a list that draws
    // its own rows; the others take the frame's background.
    void SetSecondRowColor(COLORREF color) { m_secondRowColor = color; }
    COLORREF GetSecondRowColor() const { return m_secondRowColor; }

    // Rows and columns.
    int InsertColumn(int index, const char* caption, int width);
    int GetColumnCount() const;
    int GetColumnWidth(int column) const;
    bool SetColumnWidth(int column, int width);
    CString GetColumnCaption(int column) const;
    int InsertItem(int index, const char* text);
    bool SetItemText(int item, int column, const char* text);
    CString GetItemText(int item, int column) const;
    int GetItemCount() const;
    bool DeleteAllItems();
    int GetSelectedItem() const;
    bool SelectItem(int item);
    HWND GetHeaderHandle() const;

    // Sorting: the rows by a column's texts; the column shows the arrow.
    int GetSortColumn() const { return m_sortColumn; }
    bool GetSortAscending() const { return m_sortAscending; }
    bool SortByColumn(int column, bool ascending);

    // The header images: one per column, then one for the room right of the
    // last column when there is any. Rebuilt on skin changes and whenever
    // the columns no longer match them.
    void GenerateImages();
    void PurgeImages();
    int GetHeaderImageCount() const { return static_cast<int>(m_headerImages.size()); }
    const ClsBitMap* GetHeaderImage(int index) const;
    // One header image from the ListHeaders record; null when it cannot be
    // made (no record, an empty size).
    std::unique_ptr<ClsBitMap> GenerateHeaderColumnImage(const char* caption, int width, int height,
                                                         SortArrow_e arrow = saNone) const;

    // The header's height for the ListHeaders record: its text size, its
    // top and bottom borders and some air; 0 without a record.
    int GetWantedHeaderHeight() const;

    // Paints the header window's client area from the images (the header
    // painter calls it for WM_PAINT); false without a ListHeaders record,
    // when the system's header paints itself.
    bool PaintHeader(HDC dc);

protected:
    // A click on a row (index 0 or more).
    virtual void OnItemClick(int item);
    // A right click: the row under it (-1 for none) and the point in screen
    // coordinates.
    virtual void OnItemContextMenu(int item, CPoint screenPoint);
    // Orders two rows for a sort by column: below 0 when item1 comes first.
    // The base compares the texts without case, numbers by value.
    virtual int CompareItems(int item1, int item2, int column) const;

    // A list that draws its rows itself returns true: custom draw then hands
    // every row to DrawRow, on an off-screen copy of the row whose
    // background is already filled (the frame's colour, every second row
    // the second row colour). The base lets the system draw the rows.
    virtual bool DrawsOwnRows() const;
    // Draws row's content into dc within bounds (client coordinates).
    virtual void DrawRow(HDC dc, int row, const RECT& bounds);
    // Repaints row (nothing for -1 or no window).
    void InvalidateRow(int row);

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

    void WMEraseBkGnd(WMEraseBkGnd_t& message) override;  // the list erases itself
    void WMKeyDown(WMKey_t& message) override;            // Enter clicks the focused row
    void WMNotify(WMNotify_t& message) override;          // header clicks sort
    void WMPaint(WMNoParams_t& message) override;         // the list paints its rows

private:
    static int CALLBACK CompareThunk(LPARAM item1, LPARAM item2, LPARAM self);
    LRESULT CustomDrawRow(NMLVCUSTOMDRAW& draw);
    LRESULT CustomDrawOwnRow(NMLVCUSTOMDRAW& draw);
    bool GetRowBounds(int row, RECT& bounds) const;
    bool ImagesMatchColumns(int headerHeight) const;
    void ApplyColors();

    HWND m_parent;
    UINT m_controlId;
    ClsFont m_textFont;
    SkinBorderInfo_t* m_headerSkin = nullptr;
    int m_leftMargin = kDefaultLeftMargin;
    MenuSkinInfo_t m_menuSkin;
    COLORREF m_secondRowColor = kDefaultSecondRowColor;
    std::vector<std::unique_ptr<ClsBitMap>> m_headerImages;
    // The arrow each image was made with, to see when it is stale.
    int m_imagesSortColumn = -1;
    bool m_imagesSortAscending = true;
    int m_sortColumn = -1;
    bool m_sortAscending = true;
    std::unique_ptr<ClsListHeaderPainter> m_headerPainter;
};
