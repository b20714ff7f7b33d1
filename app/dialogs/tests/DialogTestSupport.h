#pragma once
// Helpers for driving the sign-up and contact dialogs under Wine: the
// shipped skins applied through the real skin reader, a parent window that
// receives the dialogs' results, a script that answers the message boxes
// and nested dialogs that open while a handler runs, and window captures
// saved under the test artifacts.
#include "CString.h"
#include "CWnd.h"

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class OrvSkinReader;
class OrvLocaleManager;

namespace dialogtest {

// The program folder of the test (the skins lie in its Skins folder).
std::string ProgramFolder();

// The shipped skins, read once per process; Apply("Daylight\\").
class ShippedSkins {
public:
    static ShippedSkins& Instance();
    bool Apply(const char* lastDirectory);
    OrvSkinReader& Reader() { return *m_reader; }

private:
    ShippedSkins();
    std::unique_ptr<OrvLocaleManager> m_locale;
    std::unique_ptr<OrvSkinReader> m_reader;
};

// A visible top-level window that parents the dialogs.
class ParentWindow : public CWnd {
public:
    ParentWindow();
    ~ParentWindow() override;
    // The first result a dialog posted to this window that was not taken
    // yet, or -1. Results dispatched by any loop are kept until taken.
    int TakeResult();

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    std::vector<int> m_results;
};

// A message box seen by a script.
struct SeenBox {
    std::string caption;
    std::string text;
};

// Answers what opens while a handler runs in a nested loop: each step
// waits for a window of the thread that matches, then acts on it. Driven by
// a thread timer, which every message loop dispatches. When a step never
// comes, the script gives up after a generous time and cancels what is
// open, so a broken dialog fails the test instead of hanging it.
class ModalScript {
public:
    using Match = std::function<bool(HWND)>;
    using Action = std::function<void(HWND)>;

    ModalScript();
    ~ModalScript();
    ModalScript(const ModalScript&) = delete;
    ModalScript& operator=(const ModalScript&) = delete;

    // A message box: its caption and text are recorded, then answer is pressed.
    ModalScript& Box(int answer = IDOK);
    ModalScript& Step(Match match, Action action);
    // Runs body (which opens what the steps answer) and returns whether
    // every step ran.
    bool Run(const std::function<void()>& body);

    const std::vector<SeenBox>& Boxes() const { return m_boxes; }
    std::string BoxText(size_t index = 0) const { return index < m_boxes.size() ? m_boxes[index].text : "<no box>"; }
    std::string BoxCaption(size_t index = 0) const {
        return index < m_boxes.size() ? m_boxes[index].caption : "<no box>";
    }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);
    void OnTick();

    struct Entry {
        Match match;
        Action action;
    };
    std::vector<Entry> m_steps;
    size_t m_next = 0;
    std::vector<SeenBox> m_boxes;
    std::vector<HWND> m_handled;
    DWORD m_started = 0;
    bool m_gaveUp = false;
};

bool IsMessageBox(HWND window);
// Every static text of a window, joined by new lines.
std::string StaticTexts(HWND window);
std::string WindowText(HWND window);
// Clicks a button of a dialog the way the dialog manager does.
void Click(HWND dialog, int id);
// Text of a list view row and column.
std::string ListText(HWND list, int row, int column = 0);
int ListCount(HWND list);
// Selects the given rows of a list view (and nothing else).
void SelectRows(HWND list, const std::vector<int>& rows);

// The window's pixels as the screen shows them (the window brought to the
// front first); saved as a 24-bit BMP under the artifacts when a name is given.
class Shot {
public:
    explicit Shot(HWND window, const std::string& artifactName = std::string());
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    COLORREF At(int x, int y) const;
    // How many pixels inside rect (window coordinates) have this colour.
    int Count(const RECT& rect, COLORREF color) const;

private:
    int m_width = 0;
    int m_height = 0;
    std::vector<COLORREF> m_pixels;
};

}  // namespace dialogtest
