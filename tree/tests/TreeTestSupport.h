#pragma once
// Shared pieces of the tree.dll tests: the look of a shipped skin read from
// its Skin.Ini (as the skin reader will hand it over), contact records, a
// visible host window with a tree control in it, a navigation callback that
// records its requests, and a message pump that lets windows see messages
// before translation, as the program's message loop does.
#include "CTreeControl.h"
#include "OrvSkinReader.h"
#include "OrvNavigate.h"
#include "TreeSkinInfo.h"

#include "CWnd.h"

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace treetest {

// Sizes the view geometry tests are computed for.
constexpr int kHostWidth = 1000;
constexpr int kHostHeight = 700;

// The folder of a shipped skin next to the test program, with its
// trailing separator ("...\bin\Skins\Daylight\").
std::string SkinFolder(const char* skin);
// The values a skin's Skin.Ini gives the tree, read with the parser on
// their own, for tests to expect (the tree gets its record from the skin
// reader); false when the file has no TreeControl section.
bool LoadTreeSkin(const char* skinName, TREESKININFO& skin);

// A contact; a member unless told otherwise.
ORVCONTACTINFO Contact(const std::string& first, const std::string& last, int isMember = 1,
                       int nodeRank = 0);
// A root and count children with names, members, non-members and passive
// ones in turn, and node ranks from 0 upwards.
std::vector<ORVCONTACTINFO> People(int children, const std::string& rootFirst = "Ada");

// Offers each message to the windows' PreTranslateMessage, then translates
// and dispatches it, as the program's loop does.
void PumpPending();
bool PumpUntil(const std::function<bool()>& done, unsigned timeoutMs = 20000);

// Closes every message box this thread shows while it lives, keeping the
// texts they showed.
class MessageBoxCloser {
public:
    MessageBoxCloser();
    ~MessageBoxCloser();
    MessageBoxCloser(const MessageBoxCloser&) = delete;
    MessageBoxCloser& operator=(const MessageBoxCloser&) = delete;

    const std::vector<std::string>& Texts() const { return m_texts; }

private:
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD);
    static BOOL CALLBACK CloseBox(HWND window, LPARAM closer);
    static BOOL CALLBACK CollectText(HWND child, LPARAM text);

    UINT_PTR m_timer = 0;
    std::vector<std::string> m_texts;
};

// Saves a bitmap under test-artifacts/tree/.
bool SaveArtifact(HBITMAP bitmap, const std::string& name);
std::string Describe(COLORREF color);

// Records the requests of the control, and answers GetUserId.
class RecordingNavigator : public OrvINavigate {
public:
    int Navigate(const ORVNAVIGATEINFO* info) override;
    const char* GetUserId() override { return userId.c_str(); }

    struct Request {
        int kind;
        int command;
        bool hasContact;
        ORVCONTACTINFO contact;
    };
    std::vector<Request> requests;
    std::string userId = "me@example.com";
    // Runs inside Navigate, after recording.
    std::function<void(const ORVNAVIGATEINFO&)> onNavigate;
};

// A visible top-level window at a fixed place with a tree control filling
// its client area, the skin applied by the skin reader (which also
// registers the drag picture).
class TreeHost : public CWnd {
public:
    explicit TreeHost(const char* skinName = "Daylight", int width = kHostWidth,
                      int height = kHostHeight, int x = 20, int y = 20);
    ~TreeHost() override;

    CTreeControl& Tree() { return *m_tree; }
    RecordingNavigator& Navigator() { return m_navigator; }
    // What the skin's file says, to expect on the pixels.
    TREESKININFO& Skin() { return m_skin; }
    OrvSkinReader* Reader() { return m_reader.get(); }
    bool Ready() const { return m_ready; }
    // SetData with the instant action, waiting until it has run.
    bool ShowPeople(std::vector<ORVCONTACTINFO>& people, ANIM_ACTION action = ANIM_INSTANT);
    // Waits until no action holds the tree.
    bool WaitIdle(unsigned timeoutMs = 20000);
    // The pixel of the last frame painted.
    COLORREF FramePixel(int x, int y);
    bool SaveFrame(const std::string& name);

private:
    std::unique_ptr<OrvSkinReader> m_reader;
    std::unique_ptr<CTreeControl> m_tree;
    RecordingNavigator m_navigator;
    TREESKININFO m_skin;
    bool m_ready = false;
};

}  // namespace treetest
