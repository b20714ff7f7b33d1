#pragma once
// Pieces of the contact drag-and-drop tests: pointer and key input
// synthesised from a worker thread (the UI thread sits in the system's drag
// loop meanwhile), popup windows at fixed screen places, a drag source that
// runs a real OLE drag from a left-button press, and a window that takes
// (or refuses) dropped contacts.
#include "CComPtr.h"
#include "CDataObject.h"
#include "CEvent.h"
#include "COleDropSource.h"
#include "COrvDragContactInfo.h"
#include "COrvDropTarget.h"
#include "CMessageWindow.h"
#include "CWnd.h"
#include "OrvContactInfo.h"

#include <windows.h>

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace dragtest {

// Real input through SendInput, as a person gives it. Called on a script's
// worker thread, the input is given on the thread that made the worker
// (which pumps meanwhile): the system moves its pointer for the thread that
// gives the input, and only that thread knows to ignore the echo of that
// move coming back from the display, so input given elsewhere could be
// followed by a jump back to an earlier place.
void MoveTo(int x, int y);
void PressLeft();
void ReleaseLeft();
void TapKey(WORD key);
// The centre of a window on the screen.
POINT CentreOf(HWND window);

// Runs a script of input on a thread of its own; joined by Join or the
// destructor. The script returns "" when it got through, else what it
// waited for in vain.
class InputWorker {
public:
    explicit InputWorker(std::function<std::string()> script);
    ~InputWorker();
    InputWorker(const InputWorker&) = delete;
    InputWorker& operator=(const InputWorker&) = delete;
    // Waits for the script to end (pumping this thread's messages) and
    // returns its outcome.
    std::string Join();
    bool Finished() const { return m_finished; }

private:
    std::string m_outcome;
    std::atomic<bool> m_finished{false};
    CMessageWindow m_giver;  // on the thread that made the worker
    std::thread m_thread;
};

// A waited-for step of a script, generous enough for a slow machine.
const DWORD kStepTimeoutMs = 20000;

// A visible, top-most popup at a fixed screen rectangle, white inside.
// Messages may be answered by onMessage (true: handled with *result).
class PopupWindow : public CWnd {
public:
    PopupWindow(int x, int y, int width, int height, const char* title = "popup");
    ~PopupWindow() override;
    std::function<bool(UINT, WPARAM, LPARAM, LRESULT*)> onMessage;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};

// A window that answers the contact drop query with `answer` and keeps
// every contact dropped on it. Its drop target is a COrvDropTarget whose
// drag-over answers are recorded.
class ContactTargetWindow : public PopupWindow {
public:
    class ObservedTarget : public COrvDropTarget {
    public:
        DROPEFFECT OnDragOver(CWnd* window, COleDataObject* data, DWORD keyState, CPoint point) override;
        std::vector<DROPEFFECT> overAnswers;
        bool sawContactWhileOver = false;
        CEvent over{true};
    };

    ContactTargetWindow(int x, int y, int width, int height, LRESULT answer = 1);
    bool Register() { return target.Register(this); }

    LRESULT answer;
    ObservedTarget target;
    int queries = 0;
    CEvent queried{true};
    std::vector<ORVCONTACTINFO> dropped;
    std::vector<WPARAM> droppedFirstParameters;
    CEvent droppedEvent{true};
};

// What a contact drag offers, kept alive for the drag: the payload object
// (owner of the text blocks) and the data object with the payload block
// of blockSize bytes and, when text is given, the text format.
struct ContactData {
    std::unique_ptr<COrvDragContactInfo> payload;
    CComPtr<CDataObject> data;
};
ContactData MakeContactData(const ORVCONTACTINFO& contact, const char* text = nullptr, size_t blockSize = 74);

// A source window: a left-button press on it runs one drag of `data`
// (copy only) and records how it went.
class DragSourceWindow : public PopupWindow {
public:
    class RecordingSource : public COleDropSource {
    public:
        SCODE QueryContinueDrag(BOOL escapePressed, DWORD keyState) override;
        SCODE GiveFeedback(DROPEFFECT effect) override;
        CEvent started{true};
        HANDLE onStart = nullptr;  // also set, when given (an event of another process)
        std::vector<DROPEFFECT> feedback;
        CEvent fedBack{false};  // auto-reset: once per feedback
    };

    DragSourceWindow(int x, int y, int width, int height);

    IDataObject* data = nullptr;
    RecordingSource source;
    bool dragged = false;
    DROPEFFECT result = DROPEFFECT_NONE;
    CEvent finished{true};
};

// The script (for an InputWorker) of a contact dropped on a field: press
// on source, move to the point to, wait there for the drag loop's feedback
// and once more two pixels on, release, and wait for the drag to end.
std::function<std::string()> DropOnField(DragSourceWindow& source, POINT to);

// Sample contacts.
ORVCONTACTINFO SampleContact();

bool SameContact(const ORVCONTACTINFO& a, const ORVCONTACTINFO& b, std::string* difference = nullptr);

}  // namespace dragtest
