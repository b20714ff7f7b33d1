#pragma once
// Real windows for the tests of the splitter and the list view: a host
// window on the screen, plain skinned panes, the shipped skins' records read
// by the skin reader, synthesised input and screen pictures.
#include "BitmapFile.h"
#include "ClsSkinnedWnd.h"
#include "ControlsTestSupport.h"
#include "OrvSkinReader.h"
#include "SyntheticInput.h"
#include "TestSupport.h"

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

using ctltest::ImagePixel;
using orvtest::Describe;
using orvtest::PumpPending;
using orvtest::PumpUntil;
using orvtest::SaveScreen;
using orvtest::ScreenPixel;

using orvtest::MouseButton;
using orvtest::MoveMouse;
using orvtest::Press;

}  // namespace liststest
