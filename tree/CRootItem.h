#pragma once
#include "CTreeItem.h"

#include <memory>

// The person in the centre of the tree. It grows from a child's size to its
// own as it travels to the centre (its start distance is where the travel
// began), takes its expanded size, measured from its name, while
// highlighted, and carries the two page buttons.
class TREE_API CRootItem : public CTreeItem {
public:
    class CNavigateButton;

    // Bounds of the expanded size.
    static constexpr int kMinExpandedWidth = 150;
    static constexpr int kMaxExpandedWidth = 300;
    static constexpr int kMinExpandedHeight = 28;

    CRootItem(CTreeControl* control, CNodesList* list);
    ~CRootItem() override;

    void PlaceAround(int x, int y) override;
    CSize FitSize(int x, int y) override;
    void Init(const ORVCONTACTINFO& record, int index, double scale, bool registerTip) override;
    CSize GetNormalSize() const override;
    bool IsRoot() const override;
    int GetPageIndex() const override;
    CRect GetIconRect() const override;
    const char* GetRuntimeClassName() const override;

    double GetStartDistance() const { return m_startDistance; }
    // The distance from the control's centre point to the box's centre
    // becomes the start distance.
    void RememberStartDistance();
    // Measured once from the display name, then kept.
    CSize GetExpandedSize();

    CNavigateButton& GetNextButton() const { return *m_nextButton; }
    CNavigateButton& GetPreviousButton() const { return *m_previousButton; }
    // Enables the buttons from the list's pages and places them on the box.
    void SetUpButtons();
    void PlaceButtons();
    // Buttons show only with two pages or more and the root at rest in the
    // centre.
    bool AreButtonsShown() const;
    // The shown button under a client point, or null.
    CNavigateButton* ButtonAt(CPoint point) const;

protected:
    int KindOfRecord() const override;

private:
    double m_startDistance = 0;
    std::unique_ptr<CNavigateButton> m_nextButton;
    std::unique_ptr<CNavigateButton> m_previousButton;
    CSize m_expandedSize{0, 0};
};
