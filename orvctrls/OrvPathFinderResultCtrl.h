#pragma once
// The list of found paths, one row per path and one empty row after the
// last: the number of steps, then the names from the source to the
// destination. A click on a name shows that person's tree; the popup menu
// of a name chats, searches a path, shows the map or puts the e-mail at an
// end of the path finder.
#include "ClsPath.h"
#include "ClsPathRowLayout.h"
#include "ClsPaths.h"
#include "OrvCtrlsExport.h"
#include "OrvResultPopupMenu.h"

#include "CCriticalSection.h"
#include "CSkinnedListView.h"

#include <memory>
#include <vector>

class OrvINavigate;
class OrvISearchPathResult;
class OrvLocaleManager;

class ORVCTRLS_API OrvPathFinderResultCtrl : public CSkinnedListView {
public:
    static constexpr UINT kControlId = 81;
    static constexpr UINT_PTR kHoverTimer = 302;
    static constexpr UINT kHoverPeriodMs = 50;
    static constexpr int kStepsColumnMaxWidth = 100;

    // Makes the window at once (zero sized until placed) with its two
    // columns and its popup menu. The callbacks and locale are borrowed;
    // any may be null.
    OrvPathFinderResultCtrl(OrvLocaleManager* locale, CWnd* parent, OrvISearchPathResult* result,
                            OrvINavigate* navigate);
    ~OrvPathFinderResultCtrl() override;

    // Appends one path of count people, copied (nothing for none). Any thread.
    void AddElement(int count, const ORVCONTACTINFO* records);
    // The path of row; null outside 0 .. GetCount() - 1. Read it under Lock.
    const ClsPath* GetPath(int row);
    int GetCount();
    bool DeleteAllItems();
    // Builds (and keeps) the text form of every path.
    ClsPaths* GenerateStringisticPaths();
    ClsPaths* GetStringisticPaths() { return m_texts.get(); }
    void Lock() { m_lock.Lock(); }
    void Unlock() { m_lock.Unlock(); }

    void StretchLastColumn();
    void RealizeSkin() override;

    // Opens the popup menu of the person under the screen point (x, y) in
    // row; nothing when no name is there.
    void OnRightClick(int row, int x, int y);
    void OnMenuCommand(UINT id);
    OrvResultPopupMenu& GetPopupMenu() { return m_menu; }
    // The person of the last right click: row and place in the path (-1).
    int GetMenuRow() const { return m_menuRow; }
    int GetMenuPerson() const { return m_menuPerson; }
    // The name under the pointer: row and place in the path (-1).
    int GetHoverRow() const { return m_hoverRow; }
    int GetHoverPerson() const { return m_hoverPerson; }
    // Whether the last drawing of row ended in "...".
    bool IsRowCut(int row);

    const char* GetRuntimeClassName() const override;

protected:
    void OnItemContextMenu(int item, CPoint screenPoint) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void WMNotify(WMNotify_t& message) override;
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    bool DrawsOwnRows() const override { return true; }
    void DrawRow(HDC dc, int row, const RECT& bounds) override;

private:
    // The row and person under a point of the client area.
    void PersonAt(POINT client, int& row, int& person);
    void SetHover(int row, int person);
    void Report(int row, int person);

    struct Row {
        std::unique_ptr<ClsPath> path;
        bool cut = false;
    };

    OrvISearchPathResult* m_result;
    OrvINavigate* m_navigate;
    CCriticalSection m_lock;
    std::vector<Row> m_rows;
    std::unique_ptr<ClsPaths> m_texts;
    int m_hoverRow = -1;
    int m_hoverPerson = -1;
    int m_menuRow = -1;
    int m_menuPerson = -1;
    // A click is a press and a release at the same point.
    bool m_pressed = false;
    POINT m_pressPoint{0, 0};
    OrvResultPopupMenu m_menu;
};
