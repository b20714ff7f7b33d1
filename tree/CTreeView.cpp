#include "CTreeView.h"

#include "CNavigateButton.h"
#include "CNodesList.h"
#include "CRootItem.h"
#include "CTreeControl.h"
#include "CTreeItem.h"
#include "TreeErrors.h"

#include "ClsFrameDrawer.h"
#include "TreeSkinInfo.h"

#include "CException.h"
#include "CScopedSelect.h"

#include <algorithm>
#include <cmath>

namespace {
// Frame colours are kept by kind: the state without its highlight bit,
// halved (registered 0, root 1, unregistered 2, passive 3).
int KindSlot(int state) { return (state >> 1) & 3; }

void CopyImage(ClsBitMap& target, const ClsBitMap& source) {
    target.DeleteObject();
    if (source.GetIsValid()) target = source;
}

constexpr UINT kTextFormat = DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX;
constexpr int kWhiskerLength = 60;
constexpr int kButtonFrames = 4;
}  // namespace

CTreeView::CTreeView(CTreeControl* control) : m_control(control) {}

CTreeView::~CTreeView() = default;

const char* CTreeView::GetRuntimeClassName() const { return "CTreeView"; }

void CTreeView::CopySkin(const TREESKININFO& skin) {
    m_rowsColor = skin.RowsColor;
    m_frameColors[KindSlot(CTreeItem::kMember)] = skin.NodeRegFrmColor;
    m_frameColors[KindSlot(CTreeItem::kRoot)] = skin.NodeRootFrmColor;
    m_frameColors[KindSlot(CTreeItem::kNonMember)] = skin.NodeUnregFrmColor;
    m_frameColors[KindSlot(CTreeItem::kPassive)] = skin.NodeUnregPassiveFrmColor;
    const int selected = CTreeItem::kHighlightBit;
    m_styles[CTreeItem::kMember] = skin.NodeRegisteredUnselected;
    m_styles[CTreeItem::kMember | selected] = skin.NodeRegisteredSelected;
    m_styles[CTreeItem::kRoot] = skin.NodeRootUnselected;
    m_styles[CTreeItem::kRoot | selected] = skin.NodeRootSelected;
    m_styles[CTreeItem::kNonMember] = skin.NodeUnregisteredUnselected;
    m_styles[CTreeItem::kNonMember | selected] = skin.NodeUnregisteredSelected;
    m_styles[CTreeItem::kPassive] = skin.NodeUnregisteredPassiveUnselected;
    m_styles[CTreeItem::kPassive | selected] = skin.NodeUnregisteredPassiveSelected;
    CopyImage(m_nextButtonImage, skin.RootButtonNextImage);
    CopyImage(m_previousButtonImage, skin.RootButtonPreviousImage);
    CopyImage(m_onlineIcon, skin.OnlineIconImage);
    m_nextButtonSprite.Build(m_nextButtonImage);
    m_previousButtonSprite.Build(m_previousButtonImage);
    m_onlineIconSprite.Build(m_onlineIcon);
    m_backgroundCells = skin.TreeControl;
    m_backgroundColor = skin.TreeControl.BgColor;
    CopyImage(m_backgroundImage, skin.TreeImage);
    MakeSkinObjects();
    m_initialized = true;
    ++m_skinGeneration;
    DropBackground();
}

void CTreeView::MakeSkinObjects() {
    for (int state = 0; state < kStateCount; ++state) {
        const _NODESKINPARAM& style = m_styles[state];
        m_fonts[state].DeleteObject();
        m_fonts[state].CreateFont(style.FontSize, 0, 0, 0, style.FontWeight, FALSE, FALSE, FALSE,
                                  DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                  PROOF_QUALITY, DEFAULT_PITCH | FF_DONTCARE, style.FontName);
        m_fillBrushes[state].DeleteObject();
        m_fillBrushes[state].CreateSolidBrush(style.BgColor);
    }
    for (int kind = 0; kind < 4; ++kind) {
        m_framePens[kind].DeleteObject();
        m_framePens[kind].CreatePen(PS_SOLID, 1, m_frameColors[kind]);
    }
    m_rowsPen.DeleteObject();
    m_rowsPen.CreatePen(PS_SOLID, 1, m_rowsColor);
}

const _NODESKINPARAM& CTreeView::GetStyle(int state) const {
    if (state < 0 || state >= kStateCount) tree_errors::ThrowInvalidState();
    return m_styles[state];
}

CSize CTreeView::GetStyleSize(int state) const {
    const _NODESKINPARAM& style = GetStyle(state);
    return CSize(style.Width, style.Height);
}

COLORREF CTreeView::GetFrameColor(int state) const {
    GetStyle(state);
    return m_frameColors[KindSlot(state)];
}

CSize CTreeView::MeasureText(int state, const CString& text) const {
    CDC dc;
    if (!dc.CreateCompatibleDC(static_cast<HDC>(nullptr))) return CSize(0, 0);
    const HFONT font = m_fonts[state & (kStateCount - 1)];
    CScopedSelect selected(dc, font);
    CRect rect(0, 0, 0, 0);
    dc.DrawText(text, &rect, DT_SINGLELINE | DT_NOPREFIX | DT_CALCRECT);
    return rect.Size();
}

CSize CTreeView::GetLayoutMargins() const {
    if (!m_initialized) tree_errors::ThrowSkinNotInitialized(tree_errors::kLineLayoutMargins);
    return GetStyleSize(CTreeItem::kMember);
}

CRect CTreeView::GetClientRect() const {
    if (!m_clientKnown) {
        if (!m_control->GetSafeHwnd()) return CRect();
        m_control->GetClientRect(&m_client);
        m_clientKnown = true;
    }
    return m_client;
}

double CTreeView::GetRadiusX() const {
    const CSize margins = GetLayoutMargins();
    return ((GetClientRect().Width() - margins.cx) / 2) * 0.9;
}

double CTreeView::GetRadiusY() const {
    const CSize margins = GetLayoutMargins();
    return ((GetClientRect().Height() - margins.cy) / 2) * 0.93;
}

CPoint CTreeView::GetCenterPoint() const { return GetClientRect().CenterPoint(); }

double CTreeView::VerticalOffset(double theta, double a, double s) {
    const double sine = std::sin(theta);
    double pull;
    if (std::fabs(sine) < 0.75)
        pull = 40 * sine;
    else
        pull = sine > 0 ? 20 : -20;
    return a * sine - s * pull;
}

double CTreeView::NormalizeAngle(double angle) {
    if (!std::isfinite(angle)) return 0;
    double result = std::fmod(angle, kTwoPi);
    if (result < 0) result += kTwoPi;
    // A whole turn less rounding noise is a whole turn: back at 0.
    if (result >= kTwoPi - 1e-9) result = 0;
    return result;
}

void CTreeView::SetAngleCorrection(double angle) {
    if (!std::isfinite(angle)) return;
    m_angleCorrection = NormalizeAngle(angle);
}

void CTreeView::DropBackground() {
    m_background.Clear();
    m_outsideEllipse.DeleteObject();
}

void CTreeView::DrawBackground(HDC dc, int width, int height) const {
    CDC target = CDC::Borrow(dc);
    target.FillSolidRect(0, 0, width, height, m_backgroundColor);
    if (m_backgroundImage.GetIsValid())
        ClsFrameDrawer::DrawEdgesAndCorners(dc, m_backgroundCells, m_backgroundImage,
                                            RECT{0, 0, width, height});
}

bool CTreeView::EnsureBackground(int width, int height) {
    if (m_background.GetSize() == CSize(width, height) && !m_background.IsEmpty()) return true;
    DropBackground();
    if (!m_background.Create(width, height)) return false;
    DrawBackground(m_background.GetDC(), width, height);
    CRgn ellipse;
    ellipse.CreateEllipticRgn(kEllipseInset, kEllipseInset, width - kEllipseInset,
                              height - kEllipseInset);
    m_outsideEllipse.CreateRectRgn(0, 0, width, height);
    m_outsideEllipse.CombineRgn(&m_outsideEllipse, &ellipse, RGN_DIFF);
    // The frame's cells lie within its border widths; inside them the
    // background is its colour.
    const BorderGeometry_t& cells = m_backgroundCells;
    m_backgroundInterior.SetRect(std::max(0, cells.LeftBorderWidth), std::max(0, cells.TopBorderWidth),
                                 width - std::max(0, cells.RightBorderWidth),
                                 height - std::max(0, cells.BottomBorderWidth));
    if (m_backgroundInterior.IsRectEmpty()) m_backgroundInterior.SetRectEmpty();
    return true;
}

void CTreeView::RestoreBackground(CDC& dc, const CRect& area) {
    CRect inside;
    if (!inside.IntersectRect(area, m_backgroundInterior)) {
        dc.BitBlt(area.left, area.top, area.Width(), area.Height(), &m_background.GetCDC(), area.left,
                  area.top, SRCCOPY);
        return;
    }
    dc.FillSolidRect(inside, m_backgroundColor);
    // The frame strips around the interior, as far as they meet the area.
    const CSize size = m_background.GetSize();
    const CRect& in = m_backgroundInterior;
    const CRect strips[4] = {CRect(0, 0, size.cx, in.top), CRect(0, in.bottom, size.cx, size.cy),
                             CRect(0, in.top, in.left, in.bottom), CRect(in.right, in.top, size.cx, in.bottom)};
    for (const CRect& strip : strips) {
        CRect part;
        if (part.IntersectRect(strip, area))
            dc.BitBlt(part.left, part.top, part.Width(), part.Height(), &m_background.GetCDC(), part.left,
                      part.top, SRCCOPY);
    }
}

bool CTreeView::IsInsideEllipse(const CRect& rect) const {
    const CSize size = m_background.GetSize();
    // A little inside the clip ellipse, so whatever passes lies within it.
    const double a = (size.cx - 2 * kEllipseInset) / 2.0 - 1.5;
    const double b = (size.cy - 2 * kEllipseInset) / 2.0 - 1.5;
    if (a <= 0 || b <= 0) return false;
    const double cx = size.cx / 2.0, cy = size.cy / 2.0;
    for (const double x : {static_cast<double>(rect.left), static_cast<double>(rect.right)})
        for (const double y : {static_cast<double>(rect.top), static_cast<double>(rect.bottom)}) {
            const double dx = (x - cx) / a, dy = (y - cy) / b;
            if (dx * dx + dy * dy > 1.0) return false;
        }
    return true;
}

void CTreeView::NoteDrawn(const CRect& rect) {
    if (rect.IsRectEmpty() || IsInsideEllipse(rect)) return;
    if (m_spill.IsRectEmpty())
        m_spill = rect;
    else
        m_spill.UnionRect(m_spill, rect);
}

void CTreeView::Paint(HDC target, const CRect& update, ClsBitMap& image) {
    if (!m_initialized) tree_errors::ThrowSkinNotInitialized(tree_errors::kLinePainting);
    const CRect client = GetClientRect();
    if (client.Height() == kLayoutHeight) return;
    const int width = client.Width();
    const int height = client.Height();
    CRect area;
    if (width <= 0 || height <= 0 || !area.IntersectRect(update, client)) return;
    if (image.GetSize() != CSize(width, height) && !image.AllocateBitMap(width, height, pf32bit))
        return;
    if (!EnsureBackground(width, height)) return;

    ClsBitMap::ScopedLock imageLock(image);
    CDC* dc = image.Lock();
    if (!dc) return;
    RestoreBackground(*dc, area);
    // Drawn clipped to the update area only (the ellipse as a clip would
    // slow every primitive down); the few things that cross the ellipse's
    // edge get the background back outside it afterwards, where nothing
    // but the background may show.
    m_spill.SetRectEmpty();
    {
        CScopedSaveDC saved(*dc);
        dc->IntersectClipRect(area);
        DrawPicture(*dc, area);
    }
    CRect spill;
    if (spill.IntersectRect(m_spill, area)) {
        CRgn outside;
        outside.CreateRectRgnIndirect(&spill);
        if (outside.CombineRgn(&outside, &m_outsideEllipse, RGN_AND) != NULLREGION) {
            CScopedSaveDC saved(*dc);
            dc->SelectClipRgn(&outside);
            dc->BitBlt(spill.left, spill.top, spill.Width(), spill.Height(), &m_background.GetCDC(),
                       spill.left, spill.top, SRCCOPY);
        }
    }
    ::BitBlt(target, area.left, area.top, area.Width(), area.Height(), *dc, area.left, area.top,
             SRCCOPY);
}

void CTreeView::DrawPicture(CDC& dc, const CRect& update) {
    CNodesList* current = m_control->GetCurrentList();
    CNodesList* buffered = m_control->GetBufferedList();
    switch (m_drawMode) {
    case DRAW_NORMAL:
        if (current) DrawNormal(dc, update, *current);
        break;
    case DRAW_SLIDE_OUT:
        if (current) DrawSlideOut(dc, *current, buffered);
        break;
    case DRAW_SLIDE_IN:
        if (buffered) DrawSlideIn(dc, current, *buffered);
        break;
    default:
        AfxThrowNotSupportedException();
    }
}

void CTreeView::DrawLine(CDC& dc, CPoint from, CPoint to, const CRect* update) {
    CRect bounds(from, to);
    bounds.NormalizeRect();
    bounds.InflateRect(1, 1);
    CRect meet;
    if (update && !meet.IntersectRect(bounds, *update)) return;
    NoteDrawn(bounds);
    dc.MoveTo(from);
    dc.LineTo(to);
}

void CTreeView::DrawNormal(CDC& dc, const CRect& update, CNodesList& list) {
    const CPoint center = GetCenterPoint();
    const int count = list.GetVisibleCount();
    for (int i = 0; i < count; ++i) list.GetVisible(i)->PlaceAround(center.x, center.y);
    {
        CScopedSelect pen(dc, m_rowsPen);
        for (int i = 0; i < count; ++i)
            DrawLine(dc, center, list.GetVisible(i)->GetBoxCenter(), &update);
        for (int i = 0; i < count; ++i) DrawWhiskers(dc, *list.GetVisible(i));
    }
    CRect meet;
    for (int i = 0; i < count; ++i) {
        const CTreeItem& child = *list.GetVisible(i);
        if (child.GetScale() > 0.001 && meet.IntersectRect(child.GetBox(), update))
            DrawNode(dc, child);
    }
    // The highlighted child lies on top of its neighbours.
    const CTreeItem* highlighted = list.GetHighlighted();
    if (highlighted && !highlighted->IsRoot() && highlighted->GetPageIndex() >= 0 &&
        highlighted->GetScale() > 0.001 && meet.IntersectRect(highlighted->GetBox(), update))
        DrawNode(dc, *highlighted);
    CRootItem* root = list.GetRoot();
    root->PlaceAround(center.x, center.y);
    DrawRoot(dc, *root);
    for (int i = 0; i < count; ++i) {
        const CTreeItem& child = *list.GetVisible(i);
        if (child.GetScale() > 0.001) DrawChatIcon(dc, child);
    }
    DrawChatIcon(dc, *root);
}

void CTreeView::DrawSlideOut(CDC& dc, CNodesList& oldList, CNodesList* newList) {
    const CTreeItem* selected = oldList.GetHighlighted();
    CRootItem* oldRoot = oldList.GetRoot();
    const CPoint from = oldRoot->GetBoxCenter();
    const int count = oldList.GetVisibleCount();
    for (int i = 0; i < count; ++i) {
        CTreeItem* child = oldList.GetVisible(i);
        if (child != selected) child->PlaceAround(from.x, from.y);
    }
    {
        CScopedSelect pen(dc, m_rowsPen);
        for (int i = 0; i < count; ++i) {
            const CTreeItem* child = oldList.GetVisible(i);
            if (child != selected) DrawLine(dc, from, child->GetBoxCenter(), nullptr);
        }
        if (newList) DrawLine(dc, from, newList->GetRoot()->GetBoxCenter(), nullptr);
    }
    for (int i = 0; i < count; ++i) {
        const CTreeItem* child = oldList.GetVisible(i);
        if (child != selected && child->GetScale() > 0.001) DrawNode(dc, *child);
    }
    DrawRoot(dc, *oldRoot);
    if (newList) DrawRoot(dc, *newList->GetRoot());
}

void CTreeView::DrawSlideIn(CDC& dc, CNodesList* oldList, CNodesList& newList) {
    const int count = newList.GetVisibleCount();
    if (count == 0) tree_errors::ThrowNoVisibleChild();
    CRootItem* newRoot = newList.GetRoot();
    const CPoint to = newRoot->GetBoxCenter();
    // The first child is the old root, which stands in for it.
    for (int i = 1; i < count; ++i) newList.GetVisible(i)->PlaceAround(to.x, to.y);
    {
        CScopedSelect pen(dc, m_rowsPen);
        for (int i = 1; i < count; ++i)
            DrawLine(dc, to, newList.GetVisible(i)->GetBoxCenter(), nullptr);
        if (oldList) DrawLine(dc, oldList->GetRoot()->GetBoxCenter(), to, nullptr);
    }
    for (int i = 1; i < count; ++i) {
        const CTreeItem* child = newList.GetVisible(i);
        if (child->GetScale() > 0.001) DrawNode(dc, *child);
    }
    if (oldList) DrawRoot(dc, *oldList->GetRoot());
    DrawRoot(dc, *newRoot);
}

int CTreeView::GetWhiskerEnds(const CTreeItem& node, CPoint* ends, int max) const {
    const int rank = node.GetContact().nodeRank;
    if (node.GetScale() < 1 || rank <= 1) return 0;
    const int whiskers = rank <= 3 ? 2 : rank < 8 ? 5 : kMaxWhiskers;
    const double step = (kPi / 4) / whiskers;
    const double first = NormalizeAngle(node.GetAngle() - (whiskers - 1) * step / 2);
    const CPoint center = node.GetBoxCenter();
    for (int i = 0; i < whiskers && i < max; ++i) {
        const double phi = first + i * step;
        ends[i] = CPoint(center.x + static_cast<int>(std::lround(kWhiskerLength * std::cos(phi))),
                         center.y - static_cast<int>(std::lround(kWhiskerLength * std::sin(phi))));
    }
    return whiskers;
}

void CTreeView::DrawWhiskers(CDC& dc, const CTreeItem& node) {
    CPoint ends[kMaxWhiskers];
    const int count = GetWhiskerEnds(node, ends, kMaxWhiskers);
    const CPoint center = node.GetBoxCenter();
    for (int i = 0; i < count; ++i) DrawLine(dc, center, ends[i], nullptr);
}

void CTreeView::DrawBox(CDC& dc, const CTreeItem& node) const {
    const int state = node.GetState();
    const _NODESKINPARAM& style = GetStyle(state);
    const CRect& box = node.GetBox();
    dc.FillSolidRect(box, style.BgColor);
    if (node.IsHighlighted()) {
        CScopedSelect pen(dc, m_framePens[KindSlot(state)]);
        CScopedSelect brush(dc, m_fillBrushes[state]);
        dc.RoundRect(box.left + 1, box.top + 1, box.right - 1, box.bottom - 1, 5, 5);
    }
}

void CTreeView::DrawText(CDC& dc, const CTreeItem& node, const CRect& area) const {
    const int state = node.GetState();
    CScopedSelect font(dc, m_fonts[state]);
    dc.SetTextColor(GetStyle(state).TextColor);
    dc.SetBkMode(TRANSPARENT);
    CRect text = area;
    dc.DrawText(node.GetDisplayName(), &text, kTextFormat);
}

void CTreeView::DrawNode(CDC& dc, const CTreeItem& node) {
    if (!m_initialized) tree_errors::ThrowSkinNotInitialized(tree_errors::kLineDrawingNode);
    const int state = node.GetState();
    GetStyle(state);
    const CRect& box = node.GetBox();
    if (box.IsRectEmpty()) return;
    NoteDrawn(box);
    // Nodes keep their picture while their look stays; drawing them is a
    // copy then.
    CSelectedBitmap& picture = node.GetPicture();
    if (!node.IsPictureOf(state, m_skinGeneration)) {
        if (!picture.Create(box.Width(), box.Height())) {
            DrawNodeParts(dc, node);
            return;
        }
        CDC& canvas = picture.GetCDC();
        canvas.SetViewportOrg(-box.left, -box.top);
        DrawNodeParts(canvas, node);
        canvas.SetViewportOrg(0, 0);
        node.SetPictureOf(state, m_skinGeneration);
    }
    dc.BitBlt(box.left, box.top, box.Width(), box.Height(), &picture.GetCDC(), 0, 0, SRCCOPY);
}

void CTreeView::DrawNodeParts(CDC& dc, const CTreeItem& node) const {
    DrawBox(dc, node);
    CRect area = node.GetBox();
    area.DeflateRect(5, 0);
    DrawText(dc, node, area);
}

void CTreeView::DrawRoot(CDC& dc, const CRootItem& root) {
    if (!m_initialized) tree_errors::ThrowSkinNotInitialized(tree_errors::kLineDrawingNode);
    const CRect& box = root.GetBox();
    NoteDrawn(box);
    CScopedSaveDC saved(dc);
    dc.IntersectClipRect(box);
    DrawBox(dc, root);
    CRect area = box;
    area.DeflateRect(4, 1);
    const bool buttons = root.AreButtonsShown();
    if (buttons) area.right = box.left + root.GetPreviousButton().GetRect().left;
    DrawText(dc, root, area);
    if (!buttons) return;
    for (const CRootItem::CNavigateButton* button :
         {&root.GetPreviousButton(), &root.GetNextButton()}) {
        const CTreeSprite& sprite = button->GetKind() == CRootItem::CNavigateButton::kNext
                                        ? m_nextButtonSprite
                                        : m_previousButtonSprite;
        const CRect& place = button->GetRect();
        const int frameHeight = sprite.GetSize().cy / kButtonFrames;
        sprite.Draw(dc, box.left + place.left, box.top + place.top, place.Width(), place.Height(), 0,
                    button->GetFrame() * frameHeight);
    }
}

void CTreeView::DrawChatIcon(CDC& dc, const CTreeItem& node) {
    if (!node.GetContact().canChat || m_onlineIconSprite.IsEmpty()) return;
    const CRect place = node.GetIconRect();
    if (place.IsRectEmpty()) return;
    NoteDrawn(place);
    m_onlineIconSprite.Draw(dc, place.left, place.top, place.Width(), place.Height(), 0, 0);
}
