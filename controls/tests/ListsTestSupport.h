#pragma once
// Real windows for the tests of the splitter and the list view: a host
// window on the screen, plain skinned panes, the shipped skins' records read
// by the skin reader, synthesised input and screen pictures.
#include "ClsSkinnedWnd.h"
#include "OrvSkinReader.h"

#include "CWnd.h"

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

namespace liststest {

// A visible top-level window of one colour, not activated by the tests.
class Host : public CWnd {
public:
    Host(int x, int y, int width, int height, COLORREF fill = RGB(0, 150, 0));
    ~Host() override;
    COLORREF fill;
    std::vector<WPARAM> commands;

protected:
    BOOL OnEraseBkgnd(CDC* dc) override;
};

// A plain skinned child control with a window of one colour; counts its
// deletions and its moves.
class Pane : public ClsSkinnedWnd<CWnd> {
public:
    Pane(HWND parent, int* deleted, COLORREF fill);
    ~Pane() override;
    void CreateHandle() override;
    int moves = 0;

protected:
    void WMPaint(WMNoParams_t& message) override;
    void WMWindowPosChanged(WMWindowPosMsg_t& message) override;

private:
    HWND m_parent;
    int* m_deleted;
    COLORREF m_fill;
};

// The records of a shipped skin, as the skin reader makes them.
class ShippedSkin {
public:
    explicit ShippedSkin(const char* name);
    bool Ok() const;
    SkinBorderInfo_t* Record(SkinRecord_e which) const { return m_reader->GetSkinBorderInfo(which); }
    ControlBorderInfo_t* Frame(ControlRecord_e which) const { return m_reader->GetControlBorderInfo(which); }

private:
    std::unique_ptr<OrvSkinReader> m_reader;
    std::string m_name;
};

// The colour of a bitmap's pixel; CLR_INVALID outside.
COLORREF ImagePixel(const ClsBitMap& image, int x, int y);
// What the screen shows at a point.
COLORREF ScreenPixel(int x, int y);
// Saves what the screen shows in rect under the test artifacts.
bool SaveScreen(const RECT& rect, const std::string& name);

bool PumpUntil(const std::function<bool()>& done, unsigned timeoutMs = 10000);
void PumpPending();
bool MoveMouse(int x, int y);
void MouseButton(bool left, bool down);
void Press(WORD vk);
std::string Describe(COLORREF color);

}  // namespace liststest
