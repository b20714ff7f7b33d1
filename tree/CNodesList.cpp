#include "CNodesList.h"

#include "CRootItem.h"
#include "CTreeControl.h"
#include "CTreeItem.h"
#include "TreeErrors.h"

#include <memory>

CNodesList::CNodesList(CTreeControl* control) : m_control(control) {}

CNodesList::~CNodesList() { DeleteNodes(); }

void CNodesList::DeleteNodes() {
    m_highlighted = nullptr;
    m_visible.RemoveAll();
    for (int i = 0; i < m_children.GetSize(); ++i) delete m_children.GetAt(i);
    m_children.RemoveAll();
    delete m_root;
    m_root = nullptr;
}

void CNodesList::Build(unsigned count, const ORVCONTACTINFO* records) {
    if (count == 0 || !records) tree_errors::ThrowTooFewNodes();
    for (unsigned i = 1; i < count; ++i) {
        auto child = std::make_unique<CTreeItem>(m_control, this);
        child->Init(records[i], static_cast<int>(i - 1), 0.0, false);
        m_children.Add(child.get());
        child.release();
    }
    auto root = std::make_unique<CRootItem>(m_control, this);
    root->Init(records[0], CTreeItem::kRootIndex, 1.0, false);
    m_root = root.release();
    SelectPage(0);
}

int CNodesList::GetPageCount() const {
    return (m_children.GetSize() + kPageSize - 1) / kPageSize;
}

void CNodesList::SelectPage(int page) {
    if (page < 0 || page >= GetPageCount()) return;
    const int count = m_children.GetSize();
    m_firstIndex = page * kPageSize;
    m_endIndex = count - m_firstIndex <= kPageSize ? count : m_firstIndex + kPageSize;
    // Only the shown nodes keep their pictures.
    for (int i = 0; i < m_visible.GetSize(); ++i) m_visible.GetAt(i)->ForgetPicture();
    m_visible.RemoveAll();
    for (int i = m_firstIndex; i < m_endIndex; ++i) m_visible.Add(m_children.GetAt(i));
    m_currentPage = page;
    if (m_root) {
        m_root->SetUpButtons();
        Highlight(m_root, false);
    }
}

bool CNodesList::NextPage() {
    if (m_currentPage + 1 >= GetPageCount()) return false;
    m_control->PlaySoundEvent("PageSelect");
    RemoveToolTips();
    SelectPage(m_currentPage + 1);
    RegisterToolTips();
    return true;
}

bool CNodesList::PreviousPage() {
    if (m_currentPage <= 0) return false;
    m_control->PlaySoundEvent("PageSelect");
    RemoveToolTips();
    SelectPage(m_currentPage - 1);
    RegisterToolTips();
    return true;
}

CTreeItem* CNodesList::HitTest(int x, int y) const {
    const CPoint point(x, y);
    if (m_root && m_root->GetBox().PtInRect(point)) return m_root;
    for (int i = m_visible.GetSize() - 1; i >= 0; --i) {
        CTreeItem* child = m_visible.GetAt(i);
        if (child->GetBox().PtInRect(point)) return child;
    }
    return nullptr;
}

void CNodesList::InvalidateNode(const CTreeItem& node) const {
    if (!m_control->GetSafeHwnd()) return;
    const CRect box = node.GetBox();
    const CRect icon = node.GetIconRect();
    m_control->InvalidateRect(&box, FALSE);
    if (!icon.IsRectEmpty()) m_control->InvalidateRect(&icon, FALSE);
}

bool CNodesList::Highlight(CTreeItem* node, bool redrawNow) {
    ClearHighlight();
    if (!node) return false;
    m_highlighted = node;
    // Before and after the refit: the box changes its size both ways.
    InvalidateNode(*node);
    node->SetHighlighted(true);
    InvalidateNode(*node);
    if (redrawNow && m_control->GetSafeHwnd()) {
        const CRect box = node->GetBox();
        m_control->RedrawWindow(&box, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    }
    return true;
}

void CNodesList::ClearHighlight() {
    if (!m_highlighted) return;
    CTreeItem* node = m_highlighted;
    m_highlighted = nullptr;
    InvalidateNode(*node);
    node->SetHighlighted(false);
    InvalidateNode(*node);
}

void CNodesList::SetScaleAll(double scale) {
    for (int i = 0; i < m_children.GetSize(); ++i) m_children.GetAt(i)->SetScale(scale);
}

bool CNodesList::ShrinkStep(double step) {
    bool changed = false;
    for (int i = 0; i < m_visible.GetSize(); ++i) {
        CTreeItem* child = m_visible.GetAt(i);
        if (child->GetScale() >= 0.001) {
            child->SetScale(child->GetScale() - step);
            changed = true;
        }
    }
    return changed;
}

bool CNodesList::GrowStep(double step, double limit) {
    bool changed = false;
    for (int i = 0; i < m_visible.GetSize(); ++i) {
        CTreeItem* child = m_visible.GetAt(i);
        if (child->GetScale() < limit) {
            child->SetScale(child->GetScale() + step);
            changed = true;
        }
    }
    return changed;
}

void CNodesList::RegisterToolTips() {
    for (int i = 0; i < m_visible.GetSize(); ++i) m_visible.GetAt(i)->RegisterToolTip();
    if (m_root) m_root->RegisterToolTip();
}

void CNodesList::RemoveToolTips() {
    for (int i = 0; i < m_visible.GetSize(); ++i) m_visible.GetAt(i)->RemoveToolTip();
    if (m_root) m_root->RemoveToolTip();
}

const char* CNodesList::GetRuntimeClassName() const { return "CNodesList"; }
