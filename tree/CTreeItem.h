#pragma once
#include "TreeExport.h"

#include "CSelectedBitmap.h"
#include "OrvContactInfo.h"

#include "CObject.h"
#include "CPoint.h"
#include "CRect.h"
#include "CSize.h"
#include "CString.h"

class CNodesList;
class CTreeControl;
class CTreeView;

// One node of the contact-tree: a child on the ellipse (this class) or the
// root in the centre (CRootItem). It keeps a copy of its contact record, its
// box (the image area, in client coordinates), its index among the list's
// children, its scale (0 to 1: how far out it stands and whether it shows,
// during animations) and its state: bit 0 highlighted, the other bits the
// kind (kRoot, kMember, kNonMember, kPassive).
class TREE_API CTreeItem : public CObject {
public:
    // Node kinds, the state without the highlight bit.
    static constexpr int kMember = 0;
    static constexpr int kRoot = 2;
    static constexpr int kNonMember = 4;  // not a member, node rank 2 or more
    static constexpr int kPassive = 6;    // not a member, node rank below 2
    static constexpr int kHighlightBit = 1;
    static constexpr int kRootIndex = 0xffff;
    // Tool ids: index + 1 for children, this for the root.
    static constexpr unsigned kRootToolId = 0x10000;

    CTreeItem(CTreeControl* control, CNodesList* list);
    // Removes the tool tip this node registered.
    ~CTreeItem() override;
    CTreeItem(const CTreeItem&) = delete;
    CTreeItem& operator=(const CTreeItem&) = delete;

    // Virtual operations, in their fixed order.

    // Stands the node on the ellipse around (x, y), at its angle and scale;
    // its box keeps its size unless the node is nearly at rest.
    virtual void PlaceAround(int x, int y);
    // Recomputes the box size for a node placed around (x, y), keeps the
    // box's centre and returns the size.
    virtual CSize FitSize(int x, int y);
    // Fills the node from a record.
    virtual void Init(const ORVCONTACTINFO& record, int index, double scale, bool registerTip);
    virtual CSize GetNormalSize() const;
    virtual CSize GetHighlightSize() const;
    virtual bool IsRoot() const;
    // The index on the current page, -1 when the node is not on it.
    virtual int GetPageIndex() const;

    const char* GetRuntimeClassName() const override;

    const CRect& GetBox() const { return m_box; }
    CPoint GetBoxCenter() const;
    // Moves the box so that its centre is at point, keeping its size.
    void CenterBoxOn(CPoint point);
    int GetIndex() const { return m_index; }
    double GetScale() const { return m_scale; }
    void SetScale(double scale) { m_scale = scale; }
    int GetState() const { return m_state; }
    int GetKind() const { return m_state & ~kHighlightBit; }
    bool IsHighlighted() const { return (m_state & kHighlightBit) != 0; }
    // Sets or clears the highlight bit and refits the size around the last
    // placement point.
    void SetHighlighted(bool highlighted);
    const ORVCONTACTINFO& GetContact() const { return m_contact; }
    // First name, a blank and last name.
    CString GetDisplayName() const;
    // The e-mail address, or the private-address text when it is hidden.
    CString GetDisplayEmail() const;
    // The tool tip of the node: name, occupation and e-mail for members,
    // the name alone for others.
    CString GetToolTipText() const;
    // The child's angle on the ellipse, in [0, 2 pi).
    double GetAngle() const;
    // Where the chat mark stands: outside the box corner that points away
    // from the root. Empty off the page.
    virtual CRect GetIconRect() const;

    void RegisterToolTip();
    void RemoveToolTip();
    // Moves a registered tool tip's rectangle to the box.
    void UpdateToolTipRect();

    // The picture the view keeps of the node while it shows, and whether it
    // is of this state and skin (and of the box's size).
    CSelectedBitmap& GetPicture() const { return m_picture; }
    bool IsPictureOf(int state, int skinGeneration) const {
        return !m_picture.IsEmpty() && m_pictureState == state &&
               m_pictureGeneration == skinGeneration && m_picture.GetSize() == m_box.Size();
    }
    void SetPictureOf(int state, int skinGeneration) const {
        m_pictureState = state;
        m_pictureGeneration = skinGeneration;
    }
    void ForgetPicture() const { m_picture.Clear(); }

    CTreeControl* GetControl() const { return m_control; }
    CNodesList* GetList() const { return m_list; }

protected:
    CTreeView* GetView() const;
    unsigned GetToolId() const;
    void SetBoxSize(CSize size);
    // The node's state from the record's kind.
    virtual int KindOfRecord() const;

    CTreeControl* m_control;
    CNodesList* m_list;
    CRect m_box{0, 0, 0, 0};
    int m_index = 0;
    double m_scale = 0;
    int m_state = kMember;
    ORVCONTACTINFO m_contact;
    // The point the node was last placed around (its refits use it).
    CPoint m_placedAround{0, 0};
    bool m_toolRegistered = false;
    unsigned m_toolId = 0;
    CRect m_toolRect{0, 0, 0, 0};
    mutable CSelectedBitmap m_picture;
    mutable int m_pictureState = -1;
    mutable int m_pictureGeneration = -1;
};
