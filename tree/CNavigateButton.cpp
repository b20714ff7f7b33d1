#include "CNavigateButton.h"

#include "CTreeControl.h"
#include "CTreeView.h"

#include "ClsBitMap.h"

#include <cmath>

namespace {
// Four frames, one above the other.
constexpr int kFrames = 4;
}  // namespace

CRootItem::CNavigateButton::CNavigateButton(CRootItem* owner, Kind kind)
    : m_owner(owner), m_kind(kind), m_position(kind == kNext ? 0.86 : 0.84) {}

const ClsBitMap& CRootItem::CNavigateButton::GetImage() const {
    const CTreeView* view = m_owner->GetControl()->getInterface();
    return m_kind == kNext ? view->GetNextButtonImage() : view->GetPreviousButtonImage();
}

void CRootItem::CNavigateButton::Place(int rootWidth, int rootHeight) {
    const CSize image = GetImage().GetSize();
    const int width = image.cx;
    const int height = image.cy / kFrames;
    int y = ((rootHeight - height - 4) >> 1) + 3;
    if (y < 0) y = (height - 4) >> 1;
    const int edge = static_cast<int>(std::lround(rootWidth * m_position));
    const int left = m_kind == kNext ? edge : edge - width;
    m_rect.SetRect(left, y, left + width, y + height);
}

CRootItem::CNavigateButton::Frame CRootItem::CNavigateButton::GetFrame() const {
    if (!m_enabled) return kFrameDisabled;
    if (m_pressed) return kFramePressed;
    if (m_hovered) return kFrameHovered;
    return kFrameEnabled;
}

bool CRootItem::CNavigateButton::HitTest(CPoint pointInRoot) {
    if (!m_rect.PtInRect(pointInRoot)) return false;
    UpdateRegion();
    return m_region.GetSafeHandle() &&
           m_region.PtInRegion(pointInRoot.x - m_rect.left, pointInRoot.y - m_rect.top);
}

void CRootItem::CNavigateButton::UpdateRegion() {
    const int generation = m_owner->GetControl()->getInterface()->GetSkinGeneration();
    if (generation == m_regionGeneration) return;
    const ClsBitMap& image = GetImage();
    const RECT firstFrame{0, 0, image.GetWidth(), image.GetHeight() / kFrames};
    m_region = image.CreateRgn(ClsBitMap::kTransparentKey, &firstFrame);
    m_regionGeneration = generation;
}

const char* CRootItem::CNavigateButton::GetRuntimeClassName() const { return "CNavigateButton"; }
