#pragma once
#include "TreeExport.h"

#include "OrvContactInfo.h"

#include "CObArray.h"
#include "CObject.h"
#include "CPoint.h"
#include "CTypedPtrArray.h"

class CRootItem;
class CTreeControl;
class CTreeItem;

// One built tree: the root and its children in record order, shown in
// pages of 20, with the highlighted node. The list owns its nodes. Used on
// the control's thread with the control's list lock held.
class TREE_API CNodesList : public CObject {
public:
    static constexpr int kPageSize = 20;

    explicit CNodesList(CTreeControl* control);
    // Children first, then the root.
    ~CNodesList() override;
    CNodesList(const CNodesList&) = delete;
    CNodesList& operator=(const CNodesList&) = delete;

    // Fills an empty list from count records: record 0 is the root, the
    // others its children at scale 0; then the first page is selected.
    // CTreeException "Too few nodes" for no record.
    void Build(unsigned count, const ORVCONTACTINFO* records);

    // Number of pages of the children, rounded up; 0 without children.
    int GetPageCount() const;
    // Shows page n (nothing for a page that does not exist) and highlights
    // the root without redrawing.
    void SelectPage(int page);
    // Each acts only when there is such a page: plays "PageSelect" and
    // moves the tool tips to the new page.
    bool NextPage();
    bool PreviousPage();
    int GetCurrentPage() const { return m_currentPage; }
    int GetFirstIndex() const { return m_firstIndex; }
    int GetEndIndex() const { return m_endIndex; }

    // The topmost node whose box contains the point: the root first, then
    // the visible children from the last to the first; null when none.
    CTreeItem* HitTest(int x, int y) const;
    // Makes node the highlighted one (null clears it; result false), and
    // with redrawNow draws it at once.
    bool Highlight(CTreeItem* node, bool redrawNow);
    void ClearHighlight();
    CTreeItem* GetHighlighted() const { return m_highlighted; }
    void SetScaleAll(double scale);
    // One step of a shrinking or growing animation: every visible child at
    // or above 0.001 (shrink) or below limit (grow) changes by step. True
    // when a child changed.
    bool ShrinkStep(double step);
    bool GrowStep(double step, double limit);

    void RegisterToolTips();
    void RemoveToolTips();

    CRootItem* GetRoot() const { return m_root; }
    int GetChildCount() const { return m_children.GetSize(); }
    CTreeItem* GetChild(int index) const { return m_children.GetAt(index); }
    int GetVisibleCount() const { return m_visible.GetSize(); }
    CTreeItem* GetVisible(int index) const { return m_visible.GetAt(index); }
    CTreeControl* GetControl() const { return m_control; }
    CPoint GetLastMousePosition() const { return m_lastMouse; }
    void SetLastMousePosition(CPoint point) { m_lastMouse = point; }

    const char* GetRuntimeClassName() const override;

private:
    void DeleteNodes();
    void InvalidateNode(const CTreeItem& node) const;

    CPoint m_lastMouse{0, 0};
    CTypedPtrArray<CObArray, CTreeItem*> m_children;
    CTypedPtrArray<CObArray, CTreeItem*> m_visible;
    CRootItem* m_root = nullptr;
    CTreeItem* m_highlighted = nullptr;
    CTreeControl* m_control;
    int m_currentPage = 0;
    int m_firstIndex = 0;
    int m_endIndex = 0;
};
