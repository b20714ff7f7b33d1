#include "CTreeItem.h"

#include "CNodesList.h"
#include "CTreeControl.h"
#include "CTreeView.h"

#include <cmath>

CTreeItem::CTreeItem(CTreeControl* control, CNodesList* list) : m_control(control), m_list(list) {}

CTreeItem::~CTreeItem() { RemoveToolTip(); }

CTreeView* CTreeItem::GetView() const { return m_control->getInterface(); }

void CTreeItem::PlaceAround(int x, int y) {
    m_placedAround = CPoint(x, y);
    if (m_list->GetVisibleCount() <= 0) return;
    const CTreeView* view = GetView();
    const double theta = GetAngle();
    const double radiusX = view->GetRadiusX() * m_scale;
    const double radiusY = view->GetRadiusY() * m_scale;
    CenterBoxOn(CPoint(x + static_cast<int>(std::lround(std::cos(theta) * radiusX)),
                       y - static_cast<int>(std::lround(
                               CTreeView::VerticalOffset(theta, radiusY, m_scale)))));
    // Nodes nearly at rest take their real size; shrunken ones keep theirs.
    if (m_scale > 0.9) FitSize(x, y);
    UpdateToolTipRect();
}

CSize CTreeItem::FitSize(int x, int y) {
    const int count = m_list->GetVisibleCount();
    if (count <= 0) {
        SetBoxSize(CSize(0, 0));
        return CSize(0, 0);
    }
    if (IsHighlighted()) {
        const CSize size = GetHighlightSize();
        SetBoxSize(size);
        return size;
    }
    const CSize normal = GetNormalSize();
    int width = normal.cx;
    int height = normal.cy;
    double fitted = width;
    if (count > 10) {
        // Crowded: the node is narrowed to the gap between the rays that
        // bound its share of the ellipse, measured at the height of its
        // edge nearer the centre line; full width remains at the sides.
        const CTreeView* view = GetView();
        const double radiusX = view->GetRadiusX() * m_scale;
        const double radiusY = view->GetRadiusY() * m_scale;
        const double half = CTreeView::kPi / count;
        const double alpha = CTreeView::NormalizeAngle((2.0 * GetPageIndex() - 1.0) * half +
                                                       view->GetAngleCorrection());
        const double beta = alpha + 2 * half;
        const double v = CTreeView::VerticalOffset(alpha, radiusY, 1);
        const double edge = v >= 0 ? v - height / 2 : v + height / 2;
        const auto rayX = [&](double gamma) {
            const double offset = CTreeView::VerticalOffset(gamma, radiusY, 1);
            if (std::fabs(offset) < 0.01) return 65535.0;
            return std::cos(gamma) * radiusX * edge / offset;
        };
        const double gap = std::fabs(rayX(beta) - rayX(alpha));
        if (std::lround(gap) < width) {
            // Small controls shrink the node further.
            if (x < 1.5 * width)
                width = static_cast<int>(std::lround(width * std::sin(x / (1.5 * width))));
            if (y < 1.5 * height)
                height = static_cast<int>(std::lround(height * std::sin(y / (1.5 * height))));
            fitted = gap + std::fabs(std::cos(alpha + half)) * (width - gap);
        }
    }
    const CSize size(static_cast<int>(std::lround(fitted)), height);
    SetBoxSize(size);
    return size;
}

void CTreeItem::Init(const ORVCONTACTINFO& record, int index, double scale, bool registerTip) {
    const CPoint center = GetBoxCenter();
    m_contact = record;
    m_index = index;
    m_scale = scale;
    // The kind first, so the box takes the size of its own kind.
    m_state = KindOfRecord();
    const CSize size = GetNormalSize();
    m_box.SetRect(0, 0, size.cx, size.cy);
    CenterBoxOn(center);
    RemoveToolTip();
    if (registerTip) RegisterToolTip();
}

int CTreeItem::KindOfRecord() const {
    if (m_contact.isMember) return kMember;
    return m_contact.nodeRank >= 2 ? kNonMember : kPassive;
}

CSize CTreeItem::GetNormalSize() const { return GetView()->GetStyleSize(GetKind()); }

CSize CTreeItem::GetHighlightSize() const {
    return GetView()->GetStyleSize(GetKind() | kHighlightBit);
}

bool CTreeItem::IsRoot() const { return false; }

int CTreeItem::GetPageIndex() const {
    if (m_index >= m_list->GetFirstIndex() && m_index < m_list->GetEndIndex())
        return m_index - m_list->GetFirstIndex();
    return -1;
}

const char* CTreeItem::GetRuntimeClassName() const { return "CTreeItem"; }

CPoint CTreeItem::GetBoxCenter() const {
    return CPoint((m_box.left + m_box.right) / 2, (m_box.top + m_box.bottom) / 2);
}

void CTreeItem::CenterBoxOn(CPoint point) {
    const int width = m_box.Width();
    const int height = m_box.Height();
    m_box.left = point.x - width / 2;
    m_box.top = point.y - height / 2;
    m_box.right = m_box.left + width;
    m_box.bottom = m_box.top + height;
}

void CTreeItem::SetBoxSize(CSize size) {
    const CPoint center = GetBoxCenter();
    m_box.right = m_box.left + size.cx;
    m_box.bottom = m_box.top + size.cy;
    CenterBoxOn(center);
}

void CTreeItem::SetHighlighted(bool highlighted) {
    m_state = highlighted ? (m_state | kHighlightBit) : (m_state & ~kHighlightBit);
    FitSize(m_placedAround.x, m_placedAround.y);
}

CString CTreeItem::GetDisplayName() const { return OrvDisplayName(m_contact); }

CString CTreeItem::GetDisplayEmail() const {
    return m_contact.emailPrivate ? CTreeControl::GetPrivateEmailText() : m_contact.email;
}

CString CTreeItem::GetToolTipText() const {
    if (!m_contact.isMember) return GetDisplayName();
    CString text = GetDisplayName();
    text += "\r\n";
    text += m_contact.occupation;
    text += "\r\n";
    text += GetDisplayEmail();
    return text;
}

double CTreeItem::GetAngle() const {
    const int count = m_list->GetVisibleCount();
    const double correction = GetView()->GetAngleCorrection();
    if (count <= 0) return correction;
    return CTreeView::NormalizeAngle(GetPageIndex() * CTreeView::kTwoPi / count + correction);
}

CRect CTreeItem::GetIconRect() const {
    if (GetPageIndex() < 0 || m_list->GetVisibleCount() <= 0) return CRect(0, 0, 0, 0);
    const CSize icon = GetView()->GetOnlineIcon().GetSize();
    const double theta = GetAngle();
    const bool left = theta > CTreeView::kPi / 2 && theta < 3 * CTreeView::kPi / 2;
    const bool above = theta > 0 && theta <= CTreeView::kPi;
    const int x = left ? m_box.left - icon.cx : m_box.right;
    const int y = above ? m_box.top - icon.cy : m_box.bottom;
    return CRect(x, y, x + icon.cx, y + icon.cy);
}

unsigned CTreeItem::GetToolId() const {
    return IsRoot() ? kRootToolId : static_cast<unsigned>(m_index) + 1;
}

void CTreeItem::RegisterToolTip() {
    RemoveToolTip();
    m_toolId = GetToolId();
    m_control->AddTool(m_toolId, m_box, GetToolTipText());
    m_toolRegistered = true;
    m_toolRect = m_box;
}

void CTreeItem::RemoveToolTip() {
    if (!m_toolRegistered) return;
    m_control->RemoveTool(m_toolId);
    m_toolRegistered = false;
}

void CTreeItem::UpdateToolTipRect() {
    if (!m_toolRegistered || m_toolRect == m_box) return;
    m_control->MoveTool(m_toolId, m_box);
    m_toolRect = m_box;
}
