#pragma once
#include "CTreeControl.h"

#include "COleDropSource.h"

// The source side of dragging a node out of the tree. Without the shell's
// drag image the pointer shows the tree's own cursors for copy, move and no
// drop; with it the system's. Making one sets the framework's drag start
// distance to 100 pixels and its drag delay to 10 seconds.
class TREE_API CTreeControl::CTreeDropSource : public COleDropSource {
public:
    // The hot spot of the tree's cursors: the tip of their arrow.
    static constexpr int kHotSpot = 1;

    CTreeDropSource();
    ~CTreeDropSource() override;

    bool UsesDragImage() const { return m_dragImage; }
    void SetUsesDragImage(bool uses) { m_dragImage = uses; }
    // The cursor shown for an effect (copy, move, anything else: no drop).
    HCURSOR GetCursor(DROPEFFECT effect) const;

    SCODE GiveFeedback(DROPEFFECT effect) override;
    const char* GetRuntimeClassName() const override;

private:
    enum { kCopy, kMove, kNone, kCursors };
    HCURSOR m_cursors[kCursors] = {};
    bool m_dragImage = false;
};
