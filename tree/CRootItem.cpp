#include "CRootItem.h"

#include "CNavigateButton.h"
#include "CNodesList.h"
#include "CTreeControl.h"
#include "CTreeView.h"

#include <algorithm>
#include <cmath>

CRootItem::CRootItem(CTreeControl* control, CNodesList* list)
    : CTreeItem(control, list),
      m_nextButton(std::make_unique<CNavigateButton>(this, CNavigateButton::kNext)),
      m_previousButton(std::make_unique<CNavigateButton>(this, CNavigateButton::kPrevious)) {}

// The buttons are complete here, where CNavigateButton is known.
CRootItem::~CRootItem() = default;

void CRootItem::PlaceAround(int x, int y) {
    m_placedAround = CPoint(x, y);
    CenterBoxOn(CPoint(x, y));
    FitSize(x, y);
    UpdateToolTipRect();
}

CSize CRootItem::FitSize(int x, int y) {
    const CTreeView* view = GetView();
    const CSize target = IsHighlighted() ? GetExpandedSize() : GetNormalSize();
    const CPoint center = view->GetCenterPoint();
    CSize size = target;
    if ((x != center.x || y != center.y) && m_startDistance > 0) {
        // Travelling: a child's size far out, the full size at the centre.
        const CPoint at = GetBoxCenter();
        const double distance = std::hypot(at.x - center.x, at.y - center.y);
        const double t = std::fabs(std::cos(distance / m_startDistance * CTreeView::kPi / 2));
        const CSize child = view->GetStyleSize(kMember);
        size.cx = child.cx + static_cast<int>(std::lround(t * (target.cx - child.cx)));
        size.cy = child.cy + static_cast<int>(std::lround(t * (target.cy - child.cy)));
    }
    SetBoxSize(size);
    PlaceButtons();
    return size;
}

void CRootItem::Init(const ORVCONTACTINFO& record, int, double scale, bool registerTip) {
    CTreeItem::Init(record, kRootIndex, scale, registerTip);
    SetUpButtons();
}

int CRootItem::KindOfRecord() const { return kRoot; }

CSize CRootItem::GetNormalSize() const { return GetView()->GetStyleSize(kRoot); }

bool CRootItem::IsRoot() const { return true; }

int CRootItem::GetPageIndex() const { return kRootIndex; }

CRect CRootItem::GetIconRect() const {
    const CSize icon = GetView()->GetOnlineIcon().GetSize();
    return CRect(m_box.right, m_box.bottom, m_box.right + icon.cx, m_box.bottom + icon.cy);
}

const char* CRootItem::GetRuntimeClassName() const { return "CRootItem"; }

void CRootItem::RememberStartDistance() {
    const CPoint center = GetView()->GetCenterPoint();
    const CPoint at = GetBoxCenter();
    m_startDistance = std::hypot(at.x - center.x, at.y - center.y);
}

CSize CRootItem::GetExpandedSize() {
    if (m_expandedSize.cx == 0) {
        const CSize text = GetView()->MeasureText(kRoot | kHighlightBit, GetDisplayName());
        m_expandedSize.cx = std::clamp<int>(text.cx, kMinExpandedWidth, kMaxExpandedWidth);
        m_expandedSize.cy = std::max<int>(text.cy, kMinExpandedHeight);
    }
    return m_expandedSize;
}

void CRootItem::SetUpButtons() {
    const int pages = m_list->GetPageCount();
    m_nextButton->SetEnabled(m_list->GetCurrentPage() + 1 < pages);
    m_previousButton->SetEnabled(m_list->GetCurrentPage() > 0);
    PlaceButtons();
}

void CRootItem::PlaceButtons() {
    m_nextButton->Place(m_box.Width(), m_box.Height());
    m_previousButton->Place(m_box.Width(), m_box.Height());
}

bool CRootItem::AreButtonsShown() const {
    return m_list->GetPageCount() >= 2 && GetBoxCenter() == GetView()->GetCenterPoint();
}

CRootItem::CNavigateButton* CRootItem::ButtonAt(CPoint point) const {
    if (!AreButtonsShown()) return nullptr;
    const CPoint inRoot = point - m_box.TopLeft();
    if (m_nextButton->HitTest(inRoot)) return m_nextButton.get();
    if (m_previousButton->HitTest(inRoot)) return m_previousButton.get();
    return nullptr;
}
