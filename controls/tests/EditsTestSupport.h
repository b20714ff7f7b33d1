#pragma once
// Pieces of the tests of the skinned buttons, labels, edits and chat view:
// the shipped skins read by the skin reader, a framework host window that
// records what its controls tell it, pictures of windows as the screen shows
// them, and a fence that tells when earlier input has been handled.
#include "ButtonSkinInfo.h"
#include "ControlsTestSupport.h"
#include "ClsBitMap.h"
#include "OrvContactInfo.h"
#include "OrvSkinReader.h"

#include "CWnd.h"

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace edittest {

// A skin of the build's Skins folder ("Daylight", "Graphite") applied by
// the skin reader; its records live as long as this object.
class ShippedSkin {
public:
    explicit ShippedSkin(const char* directory);
    ~ShippedSkin();
    ShippedSkin(const ShippedSkin&) = delete;
    ShippedSkin& operator=(const ShippedSkin&) = delete;

    bool IsRead() const;
    SkinBorderInfo_t* Record(SkinRecord_e which) const;
    const std::string& Name() const { return m_name; }

private:
    std::string m_name;
    std::unique_ptr<OrvSkinReader> m_reader;
};

// The window as the screen shows it, frame included.
class Picture {
public:
    explicit Picture(HWND window);
    ~Picture();
    Picture(const Picture&) = delete;
    Picture& operator=(const Picture&) = delete;

    bool IsValid() const { return m_bitmap != nullptr; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    COLORREF Pixel(int x, int y) const;
    // Saved under the test artifacts.
    bool Save(const std::string& name) const;
    // Pixels of the width x height area at (left, top) that differ from
    // image's area at (sourceX, sourceY).
    int Differences(int left, int top, const ClsBitMap& image, int sourceX, int sourceY, int width,
                    int height) const;
    // Pixels of the area that have colour.
    int Count(const RECT& area, COLORREF colour) const;

private:
    HBITMAP m_bitmap = nullptr;
    HDC m_dc = nullptr;
    HGDIOBJ m_old = nullptr;
    int m_width = 0;
    int m_height = 0;
};

using ctltest::ImagePixel;

// A visible top-level framework window holding skinned controls; control
// notifications and the keys and contacts the controls pass on are
// recorded, and the contact drop query is answered by queryAnswer.
class HostWindow : public CWnd {
public:
    HostWindow(int x, int y, int width, int height, COLORREF background = RGB(255, 255, 255));
    ~HostWindow() override;

    struct Sent {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };
    std::vector<Sent> sent;
    // Answer to ORV_WM_QUERY_DROP given the asking edit (second parameter).
    std::function<LRESULT(LPARAM edit)> queryAnswer;
    std::vector<ORVCONTACTINFO> dropped;
    std::function<void(HDC)> onPaint;
    std::function<void(WPARAM, LPARAM)> onCommand;
    COLORREF background;

    int Count(UINT message, WPARAM wParam) const;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};

// A small window far from the controls: moving the pointer onto it and
// waiting until it saw the move means every earlier input was handled.
class InputFence : public CWnd {
public:
    InputFence();
    ~InputFence() override;
    // Moves the pointer onto the fence and pumps until the move arrived.
    bool Pass();

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    int m_moves = 0;
    int m_step = 0;
};

// Pumps until condition holds (or a generous time passed); returns it.
bool WaitFor(const std::function<bool()>& condition);

// The centre of a child window on the screen.
POINT ScreenCentre(HWND window);

// A composed push button or radio button of the skin, size and caption.
bool FormButton(const ShippedSkin& skin, ButtonSkinInfo_t& button, int x, int y, int width, int height,
                const char* caption);
bool FormRadio(const ShippedSkin& skin, RadioButtonSkinInfo_t& radio, int x, int y, int width, int height,
               const char* caption);

// Shows keyboard focus cues in window's tree (as after the first key).
// (Wine shows them always.)
void ShowFocusCues(HWND window);

}  // namespace edittest
