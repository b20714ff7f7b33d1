#pragma once
// Pieces of the OrvCtrls.dll tests: a shipped skin applied to the controls
// the way the skin reader applies it (keys and defaults of the skin
// format), the English texts, and recording fakes of the callbacks.
#include "OrvISearch.h"
#include "OrvISearchPath.h"
#include "OrvISearchPathResult.h"
#include "OrvISearchResult.h"
#include "OrvNavigate.h"

#include "OrvLocaleManager.h"
#include "OrvSkinReader.h"
#include "SyntheticInput.h"

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

class ClsIniFileSection;
class CSkinnedListView;
class OrvMessagePanelCtrl;
class OrvPathFinderCtrl;
class OrvSearchCtrl;
class OrvSearchResultCtrl;
class OrvPathFinderResultCtrl;
class OrvToolBarCtrl;
class SkinFile;

namespace orvctrlstest {

// The English texts of the build's Locale folder.
OrvLocaleManager& EnglishTexts();

// A shipped skin ("Daylight", "Graphite") read by the skin reader, plus its
// description for the keys the reader places the controls by.
class CtrlsSkin {
public:
    explicit CtrlsSkin(const std::string& name);
    ~CtrlsSkin();
    CtrlsSkin(const CtrlsSkin&) = delete;
    CtrlsSkin& operator=(const CtrlsSkin&) = delete;

    bool IsRead() const;
    const std::string& Name() const { return m_name; }
    SkinBorderInfo_t* Record(SkinRecord_e which) const { return m_reader->GetSkinBorderInfo(which); }
    ControlBorderInfo_t* Control(ControlRecord_e which) const { return m_reader->GetControlBorderInfo(which); }
    // The skin's value of key, or fallback (the skin format's default).
    int Number(const char* section, const char* key, int fallback) const;
    std::string Directory() const;

    // As the skin reader applies a skin change to each control.
    void Apply(OrvToolBarCtrl& toolBar);
    void Apply(OrvSearchCtrl& search);
    void Apply(OrvPathFinderCtrl& pathFinder);
    void Apply(OrvMessagePanelCtrl& panel);
    void Apply(OrvSearchResultCtrl& list);
    void Apply(OrvPathFinderResultCtrl& list);

private:
    // What both result lists take: the frame, the header record, the text
    // font and margin, and the second row colour (BgColor2) of the list's
    // own section, which is returned.
    const ClsIniFileSection* ApplyListSkin(CSkinnedListView& list, const char* section, COLORREF secondRowDefault);

    std::string m_name;
    std::unique_ptr<OrvSkinReader> m_reader;
    std::unique_ptr<SkinFile> m_description;
};

// A copy of a navigation request, the contact included.
struct NavigateCall {
    int kind = -1;
    int command = -1;
    bool hasContact = false;
    ORVCONTACTINFO contact;
};

class RecordingNavigate : public OrvINavigate {
public:
    std::vector<NavigateCall> calls;
    std::string userId;
    int Navigate(const ORVNAVIGATEINFO* info) override;
    const char* GetUserId() override { return userId.c_str(); }
};

class RecordingSearchResult : public OrvISearchResult {
public:
    std::vector<NavigateCall> calls;
    void OnResult(const ORVNAVIGATEINFO* info) override;
};

class RecordingPathResult : public OrvISearchPathResult {
public:
    std::vector<NavigateCall> calls;
    void OnPathResult(const ORVNAVIGATEINFO* info) override;
};

class RecordingSearch : public OrvISearch {
public:
    std::vector<std::string> texts;
    void Search(const CString& text) override { texts.emplace_back(text.GetString()); }
};

struct PathRequestCopy {
    int destinationTyped = -1;
    std::string source;
    std::string destination;
    bool hasSourceId = false;
    std::string sourceId;
    bool hasDestinationId = false;
    std::string destinationId;
};

class RecordingSearchPath : public OrvISearchPath {
public:
    std::vector<PathRequestCopy> requests;
    void SearchPath(const ORVPATHREQUEST* request) override;
};

// A result list's row in its client area (LVIR_BOUNDS).
RECT RowBounds(HWND list, int row);

// Redraws window and its children now and waits until no painting is due.
bool RedrawAndSettle(HWND window);

// Where the client area of control begins in a picture of host (the
// controls' frames take border widths off their client areas).
POINT ClientOrigin(HWND control, HWND host);

// A right click at the pointer's place, through SendInput.
void RightClick();

// Holds modifier down while key is tapped, through SendInput.
using orvtest::PressChord;

// A member who can chat, with a shown address.
ORVCONTACTINFO Person(const char* id, const char* first, const char* last, const char* email,
                      int emailPrivate = 0, int canChat = 1, const char* occupation = "");

}  // namespace orvctrlstest
