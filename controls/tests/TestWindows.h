#pragma once
// Real windows for the skinned control tests: a visible host window and a
// skinned test control made the way every derived control is made.
#include "ClsSkinnedWnd.h"

#include "CDC.h"
#include "CWnd.h"
#include "TestSupport.h"

#include <functional>
#include <vector>

namespace ctltest {

// A visible top-level window of the framework at a fixed screen place,
// white inside, kept on top so captures see it.
class HostWindow : public CWnd {
public:
    HostWindow(int x = 60, int y = 60, int width = 320, int height = 240) {
        CreateEx(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, nullptr, "host", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN,
                 x, y, width, height, nullptr, nullptr);
    }
    ~HostWindow() override { DestroyWindow(); }

protected:
    BOOL OnEraseBkgnd(CDC* dc) override {
        RECT client{};
        GetClientRect(&client);
        ::FillRect(dc->GetSafeHdc(), &client, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
        return TRUE;
    }
};

// The framework side of a test control: records the keys that reach the
// framework's own processing.
class RecordingWnd : public CWnd {
public:
    std::vector<UINT> keysSeen;

protected:
    void OnKeyDown(UINT key, UINT repeat, UINT flags) override {
        keysSeen.push_back(key);
        CWnd::OnKeyDown(key, repeat, flags);
    }
};

// A skinned control with a plain framework window: a child of parent, or a
// top-level window without one. Counts its position changes and tells when
// it dies.
class TestControl : public ClsSkinnedWnd<RecordingWnd> {
public:
    explicit TestControl(HWND parent = nullptr, DWORD style = 0) : m_parent(parent), m_style(style) {}
    ~TestControl() override {
        if (onDestroy) onDestroy(this);
    }

    void CreateHandle() override {
        const DWORD style = m_style ? m_style : (m_parent ? WS_CHILD : WS_POPUP) | WS_VISIBLE | WS_CLIPSIBLINGS;
        if (CreateEx(0, nullptr, "", style, GetLeft(), GetTop(), GetWidth(), GetHeight(), m_parent, nullptr))
            SetHandleC(m_hWnd);
    }
    bool DoMaximize() override {
        ++maximizeCalls;
        return refuseMaximize ? false : ClsSkinnedControl::DoMaximize();
    }

    int positionChanges = 0;
    UINT lastPositionFlags = 0;
    int maximizeCalls = 0;
    bool refuseMaximize = false;
    std::function<void(TestControl*)> onDestroy;

protected:
    void WMWindowPosChanging(WMWindowPosMsg_t& message) override {
        ++positionChanges;
        if (message.WindowPos()) lastPositionFlags = message.WindowPos()->flags;
        ClsSkinnedControl::WMWindowPosChanging(message);
    }

private:
    HWND m_parent;
    DWORD m_style;
};

}  // namespace ctltest
