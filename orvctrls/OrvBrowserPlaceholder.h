#pragma once
// Stands where the message page would show. The system web browser cannot
// render here, so every navigation is reported back to the panel as failed
// (the panel then keeps its greeting); while the page area is shown before
// that, it says plainly that messages are not available.
#include "CString.h"
#include "CWnd.h"

class OrvBrowserPlaceholder : public CWnd {
public:
    static constexpr const char* kText = "Messages are not available";

    OrvBrowserPlaceholder();
    ~OrvBrowserPlaceholder() override;

    // A child of panel with id; failures are posted to panel as
    // failedMessage (wParam 0, lParam 0).
    bool Create(CWnd* panel, UINT id, UINT failedMessage);
    // Records the address and reports the navigation as failed.
    void Navigate(const CString& url);
    const CString& GetLocation() const { return m_location; }
    int GetNavigationCount() const { return m_navigations; }

    const char* GetRuntimeClassName() const override;

protected:
    BOOL PreCreateWindow(CREATESTRUCTA& create) override;
    void OnPaint() override;
    BOOL OnEraseBkgnd(CDC* dc) override;

private:
    HWND m_panel = nullptr;
    UINT m_failedMessage = 0;
    CString m_location;
    int m_navigations = 0;
};
