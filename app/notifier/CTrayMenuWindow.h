#pragma once
// The tray icon's menu as a cloud: up to five items, each with its marker,
// the current presence checked. Which items show and what the last one says
// come from the request's flags (CNotifier::ShowMenu). Choosing an item
// reports its value; Escape, or clicking elsewhere, dismisses the menu.
#include "CNotifyPopup.h"

#include <vector>

class CTrayMenuWindow : public CNotifyPopup {
public:
    static constexpr int kWidth = 292;
    static constexpr int kItemHeight = 32;

    struct Item {
        int value;
        const char* text;
        COLORREF marker;
        bool dot;  // a round marker; else a small square
        bool checked;
        RECT rect;
    };

    CTrayMenuWindow(CNotifier& notifier, const NOTIFYREQUEST& request);

    // The items the flags offer, in order, with their captions and checks.
    static std::vector<Item> ItemsFor(DWORD param);
    const std::vector<Item>& GetItems() const { return m_items; }
    // The item of a value, or null when not offered.
    const Item* FindItem(int value) const;
    int GetHot() const { return m_hot; }
    const char* GetRuntimeClassName() const override;

protected:
    SIZE FullSize() override;
    void OnReshaped(const RECT& body) override;
    void PaintShapes(CCloudCanvas& canvas, const RECT& body) override;
    void PaintText(CDC& dc, const RECT& body) override;
    bool TakesActivation() const override { return true; }
    const char* Caption() const override { return "Menu"; }
    BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message) override;
    void OnMouseMove(UINT flags, CPoint point) override;
    void OnMouseLeave() override;
    void OnLButtonUp(UINT flags, CPoint point) override;
    void OnKeyDown(UINT key, UINT repeat, UINT flags) override;
    void OnActivate(UINT state, CWnd* other, BOOL minimized) override;

private:
    int ItemAt(CPoint point) const;  // index, -1 for none
    int SeparatorY() const;

    std::vector<Item> m_items;
    int m_hot = -1;
    bool m_tracking = false;
    bool m_wasActive = false;
};
