#pragma once
#include "TreeExport.h"

#include "CTreeSprite.h"
#include "ClsBitMap.h"
#include "NodeSkinParam.h"
#include "OrvTreeTypes.h"
#include "SkinBorderInfo.h"

#include "CBrush.h"
#include "CDC.h"
#include "CFont.h"
#include "CObject.h"
#include "CPen.h"
#include "CPoint.h"
#include "CRect.h"
#include "CRgn.h"
#include "CSize.h"

#include <cstdint>

class CNodesList;
class CRootItem;
class CTreeControl;
class CTreeItem;
struct TREESKININFO;

// The look and the geometry of the contact-tree: the copy of the skin the
// tree draws from, the radii and offsets that place the nodes, and the
// painting of a frame into the control's off-screen image. Node states are
// the eight of CTreeItem (bit 0 highlighted, the other bits the kind).
//
// Everything here runs on the control's thread. Layout and painting before
// the first skin raise CTreeException.
class TREE_API CTreeView : public CObject {
public:
    static constexpr int kStateCount = 8;
    static constexpr double kPi = 3.14159265358979323846;
    static constexpr double kTwoPi = 2 * kPi;
    // Margin of the ellipse inside which the tree is drawn.
    static constexpr int kEllipseInset = 5;
    // A client height the layout code uses while it arranges windows.
    static constexpr int kLayoutHeight = 0x7FFF;

    explicit CTreeView(CTreeControl* control);
    ~CTreeView() override;
    CTreeView(const CTreeView&) = delete;
    CTreeView& operator=(const CTreeView&) = delete;

    // The skin: copies every field the tree reads, makes the fonts, pens
    // and brushes again and drops the cached background.
    void CopySkin(const TREESKININFO& skin);
    bool IsInitialized() const { return m_initialized; }
    // Bumped by every skin change, so parts that cache skin pixels notice.
    int GetSkinGeneration() const { return m_skinGeneration; }

    // The style of a node state; CIndexOfBoundException outside 0 to 7.
    const _NODESKINPARAM& GetStyle(int state) const;
    CSize GetStyleSize(int state) const;
    // The frame colour of a highlighted node of that state's kind.
    COLORREF GetFrameColor(int state) const;
    COLORREF GetRowsColor() const { return m_rowsColor; }
    COLORREF GetBackgroundColor() const { return m_backgroundColor; }
    const ClsBitMap& GetNextButtonImage() const { return m_nextButtonImage; }
    const ClsBitMap& GetPreviousButtonImage() const { return m_previousButtonImage; }
    const ClsBitMap& GetOnlineIcon() const { return m_onlineIcon; }
    // The font of a node state (none before the first skin).
    HFONT GetFont(int state) const { return m_fonts[state & (kStateCount - 1)]; }
    // The text's single-line extent in the font of a node state.
    CSize MeasureText(int state, const CString& text) const;

    // Geometry. The margins are the size of the registered unselected
    // style; the radii follow the current client size.
    CSize GetLayoutMargins() const;
    double GetRadiusX() const;
    double GetRadiusY() const;
    // The control's client rectangle, read from the window once after each
    // change of size (ForgetClientSize), since layout asks for it often.
    CRect GetClientRect() const;
    void ForgetClientSize() { m_clientKnown = false; }
    CPoint GetCenterPoint() const;
    // The vertical offset of a node at angle theta on an ellipse of radius
    // a, at scale s: a sin(theta) less s times the pull towards the centre
    // line (40 sin(theta) while |sin(theta)| < 0.75, else 20 with its sign).
    // Positive is upwards.
    static double VerticalOffset(double theta, double a, double s);
    // Into [0, 2 pi).
    static double NormalizeAngle(double angle);

    double GetAngleCorrection() const { return m_angleCorrection; }
    void SetAngleCorrection(double angle);
    DRAW_MODE GetDrawMode() const { return m_drawMode; }
    void SetDrawMode(DRAW_MODE mode) { m_drawMode = mode; }

    // Paints the update area: the picture of the draw mode into image
    // (re-made when the client size changed) over the cached background,
    // then copies the area to target. Nothing while the client is being
    // laid out. The caller holds the list lock.
    void Paint(HDC target, const CRect& update, ClsBitMap& image);
    // The picture of the draw mode alone, on dc (clipped by the caller).
    void DrawPicture(CDC& dc, const CRect& update);
    // One child, and the root with its page buttons.
    void DrawNode(CDC& dc, const CTreeItem& node);
    void DrawRoot(CDC& dc, const CRootItem& root);
    void DrawChatIcon(CDC& dc, const CTreeItem& node);
    void DrawWhiskers(CDC& dc, const CTreeItem& node);
    // Whiskers show a child's node rank: none up to 1, then 2, 5 or 9 lines
    // of 60 pixels from the box centre outwards, fanned over a quarter
    // turn's half around the child's angle. Writes up to max end points and
    // returns how many whiskers the child has (none until it is at rest).
    static constexpr int kMaxWhiskers = 9;
    int GetWhiskerEnds(const CTreeItem& node, CPoint* ends, int max) const;
    // The skinned background of a client of that size (colour, then the
    // frame's edges and corners).
    void DrawBackground(HDC dc, int width, int height) const;
    // Forgets the cached background (the next paint builds it again).
    void DropBackground();

    const char* GetRuntimeClassName() const override;

private:
    void DrawNormal(CDC& dc, const CRect& update, CNodesList& list);
    void DrawSlideOut(CDC& dc, CNodesList& oldList, CNodesList* newList);
    void DrawSlideIn(CDC& dc, CNodesList* oldList, CNodesList& newList);
    void DrawLine(CDC& dc, CPoint from, CPoint to, const CRect* update);
    void DrawText(CDC& dc, const CTreeItem& node, const CRect& area) const;
    void DrawNodeParts(CDC& dc, const CTreeItem& node) const;
    void DrawBox(CDC& dc, const CTreeItem& node) const;
    // The cached background for the size; false when it cannot be made.
    bool EnsureBackground(int width, int height);
    // Puts the background under area back (its colour where that is all
    // it holds, its pixels along the frame).
    void RestoreBackground(CDC& dc, const CRect& area);
    // Notes a rectangle about to be drawn: what does not lie well inside
    // the ellipse gets the background back outside it after the frame.
    void NoteDrawn(const CRect& rect);
    bool IsInsideEllipse(const CRect& rect) const;
    void MakeSkinObjects();

    CTreeControl* m_control;
    bool m_initialized = false;
    int m_skinGeneration = 0;
    DRAW_MODE m_drawMode = DRAW_NORMAL;
    double m_angleCorrection = 0;

    COLORREF m_rowsColor = 0xC0C0C0;
    // Frame colours by kind: registered, root, unregistered, passive.
    COLORREF m_frameColors[4] = {0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF};
    _NODESKINPARAM m_styles[kStateCount]{};
    ClsBitMap m_nextButtonImage;
    ClsBitMap m_previousButtonImage;
    ClsBitMap m_onlineIcon;
    CTreeSprite m_nextButtonSprite;
    CTreeSprite m_previousButtonSprite;
    CTreeSprite m_onlineIconSprite;
    BorderGeometry_t m_backgroundCells{};
    COLORREF m_backgroundColor = 0xC0C0C0;
    ClsBitMap m_backgroundImage;

    CFont m_fonts[kStateCount];
    CBrush m_fillBrushes[kStateCount];
    CPen m_framePens[4];
    CPen m_rowsPen;

    // The finished background of the last client size, and the part of
    // the client outside the ellipse the tree is drawn in.
    CSelectedBitmap m_background;
    CRgn m_outsideEllipse;
    // The background inside its frame's borders, which is its colour alone.
    CRect m_backgroundInterior;
    // What the frame being painted drew across the ellipse's edge.
    CRect m_spill;
    mutable CRect m_client;
    mutable bool m_clientKnown = false;
};
