// Contact drag and drop on real windows under Xvfb, driven by synthesised
// pointer and key input through the system's own drag loop: a contact
// dropped on a window that takes contacts arrives whole; windows that
// refuse, data that is no contact, a cancelled drag and a payload from
// another process deliver nothing; the drop target every skinned control
// embeds works the same; registrations end with their windows.
#include "CGlobalMemory.h"
#include "CHandle.h"
#include "COleInitializer.h"
#include "ChildProcess.h"
#include "ClsSkinnedWnd.h"
#include "DragTestSupport.h"
#include "OrvMessages.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <thread>

using namespace dragtest;

namespace {
// The usual path of a drag: press on the source, move onto the target,
// wait for it to be entered and passed over, then drop (or cancel).
std::function<std::string()> DragOnto(DragSourceWindow& source, HWND target, CEvent& entered, CEvent& over,
                                      bool cancel = false) {
    const POINT from = CentreOf(source.GetSafeHwnd());
    const POINT to = CentreOf(target);
    return [&source, &entered, &over, from, to, cancel]() -> std::string {
        MoveTo(from.x, from.y);
        PressLeft();
        if (!source.source.started.Wait(kStepTimeoutMs)) {
            POINT at{};
            ::GetCursorPos(&at);
            char text[160];
            snprintf(text, sizeof text, "the drag never started (pointer at %ld,%ld, the source's centre %ld,%ld)",
                     at.x, at.y, from.x, from.y);
            ReleaseLeft();
            return text;
        }
        MoveTo(to.x - 12, to.y);
        MoveTo(to.x, to.y);
        if (!entered.Wait(kStepTimeoutMs)) {
            TapKey(VK_ESCAPE);
            ReleaseLeft();
            return "the target was never entered";
        }
        over.Reset();
        MoveTo(to.x + 3, to.y + 2);
        if (!over.Wait(kStepTimeoutMs)) {
            TapKey(VK_ESCAPE);
            ReleaseLeft();
            return "the drag never passed over the target";
        }
        if (cancel) TapKey(VK_ESCAPE);
        ReleaseLeft();
        if (!source.finished.Wait(kStepTimeoutMs)) return "the drag never ended";
        return "";
    };
}

// Runs the script while this thread dispatches (and sits in the drag loop).
std::string RunInput(std::function<std::string()> script) {
    InputWorker worker(std::move(script));
    return worker.Join();
}

// A skinned control taking contacts through the drop target of its base.
class SkinnedContactWindow : public ClsSkinnedWnd<CWnd> {
public:
    SkinnedContactWindow(int x, int y, int width, int height) {
        SetPos(x, y, width, height);
        GetHandleC();
        GetDropTarget().Register(this);
    }
    ~SkinnedContactWindow() override { DestroyWindow(); }
    void CreateHandle() override {
        if (CreateEx(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, nullptr, "skinned", WS_POPUP | WS_VISIBLE, GetLeft(),
                     GetTop(), GetWidth(), GetHeight(), nullptr, nullptr))
            SetHandleC(m_hWnd);
    }
    CEvent queried{true};
    std::vector<ORVCONTACTINFO> dropped;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == ORV_WM_QUERY_DROP) {
            queried.Set();
            return 1;
        }
        if (message == ORV_WM_CONTACT_DROPPED) {
            dropped.push_back(*reinterpret_cast<const ORVCONTACTINFO*>(lParam));
            return 0;
        }
        return ClsSkinnedWnd<CWnd>::WindowProc(message, wParam, lParam);
    }
};

// Takes the text format from anywhere and keeps what was dropped.
class TextTargetWindow : public PopupWindow {
public:
    class Target : public COleDropTarget {
    public:
        DROPEFFECT OnDragEnter(CWnd*, COleDataObject* data, DWORD, CPoint) override {
            entered.Set();
            return data->IsDataAvailable(CF_TEXT) ? DROPEFFECT_COPY : DROPEFFECT_NONE;
        }
        DROPEFFECT OnDragOver(CWnd*, COleDataObject* data, DWORD, CPoint) override {
            over.Set();
            return data->IsDataAvailable(CF_TEXT) ? DROPEFFECT_COPY : DROPEFFECT_NONE;
        }
        BOOL OnDrop(CWnd*, COleDataObject* data, DROPEFFECT, CPoint) override {
            text = COrvDragContactInfo::globalToStr(data->GetGlobalData(CF_TEXT, 4096).Get());
            contactOffered = data->IsDataAvailable(static_cast<CLIPFORMAT>(COrvDropTarget::GetClipboardFormat()));
            return TRUE;
        }
        CEvent entered{true};
        CEvent over{true};
        std::string text;
        bool contactOffered = false;
    };
    TextTargetWindow(int x, int y, int width, int height) : PopupWindow(x, y, width, height, "text target") {}
    Target target;
};
}  // namespace

TEST(ContactDrag, AContactDroppedOnAWindowThatTakesContactsArrivesWhole) {
    COleInitializer ole;
    ASSERT_TRUE(ole.IsInitialized());
    DragSourceWindow source(40, 60, 140, 90);
    ContactTargetWindow target(320, 60, 180, 120, 1);
    ASSERT_TRUE(target.Register());
    ORVCONTACTINFO contact = SampleContact();
    contact.chatPresence = "";  // arrives empty, not missing
    ContactData offered = MakeContactData(contact, "Ada Lovelace ada@example.com");
    source.data = offered.data.Get();

    EXPECT_EQ(RunInput(DragOnto(source, target.GetSafeHwnd(), target.queried, target.target.over)), "");
    EXPECT_EQ(source.result, DROPEFFECT_COPY);
    EXPECT_GE(target.queries, 1) << "asked on entering";
    ASSERT_EQ(target.dropped.size(), 1u);
    std::string difference;
    EXPECT_TRUE(SameContact(target.dropped[0], contact, &difference)) << difference;
    EXPECT_EQ(target.droppedFirstParameters[0], 0u);
    EXPECT_TRUE(target.target.sawContactWhileOver);
    for (DROPEFFECT answer : target.target.overAnswers) EXPECT_EQ(answer, DROPEFFECT_COPY);
    EXPECT_EQ(target.target.GetDraggedContact(), nullptr) << "freed after the drop";
    bool copyShown = false;
    for (DROPEFFECT shown : source.source.feedback) copyShown = copyShown || shown == DROPEFFECT_COPY;
    EXPECT_TRUE(copyShown) << "the pointer showed the copy effect over the target";
}

TEST(ContactDrag, AWindowThatDoesNotAnswerOneNeverReceivesAContact) {
    COleInitializer ole;
    for (LRESULT answer : {LRESULT(0), LRESULT(2), LRESULT(-1)}) {
        SCOPED_TRACE(answer);
        DragSourceWindow source(40, 60, 140, 90);
        ContactTargetWindow target(320, 60, 180, 120, answer);
        ASSERT_TRUE(target.Register());
        ContactData offered = MakeContactData(SampleContact());
        source.data = offered.data.Get();
        EXPECT_EQ(RunInput(DragOnto(source, target.GetSafeHwnd(), target.queried, target.target.over)), "");
        EXPECT_EQ(source.result, DROPEFFECT_NONE);
        EXPECT_TRUE(target.dropped.empty());
        for (DROPEFFECT shown : target.target.overAnswers) EXPECT_EQ(shown, DROPEFFECT_NONE);
    }
}

TEST(ContactDrag, DataWithAnotherSignatureOrWithoutTheFormatCarriesNoContact) {
    COleInitializer ole;
    const ORVCONTACTINFO contact = SampleContact();
    COrvDragContactInfo payload(&contact);
    // The payload with one signature byte changed.
    CGlobalMemory forged(payload.CreateGlobalBlock(74));
    {
        CGlobalLock bytes(forged.Get());
        bytes.As<unsigned char>()[sizeof(void*) + 3] ^= 0x40;
    }
    CComPtr<CDataObject> otherSignature;
    otherSignature.Attach(new CDataObject);
    otherSignature->AddGlobalData(static_cast<CLIPFORMAT>(COrvDropTarget::GetClipboardFormat()), forged.Release(),
                                  true);
    CComPtr<CDataObject> textOnly;
    textOnly.Attach(new CDataObject);
    textOnly->AddGlobalData(CF_TEXT, COrvDragContactInfo::strToGlobal("Ada Lovelace"), true);

    for (IDataObject* data : {static_cast<IDataObject*>(otherSignature.Get()),
                              static_cast<IDataObject*>(textOnly.Get())}) {
        DragSourceWindow source(40, 60, 140, 90);
        ContactTargetWindow target(320, 60, 180, 120, 1);
        ASSERT_TRUE(target.Register());
        source.data = data;
        EXPECT_EQ(RunInput(DragOnto(source, target.GetSafeHwnd(), target.queried, target.target.over)), "");
        EXPECT_EQ(source.result, DROPEFFECT_NONE);
        EXPECT_TRUE(target.dropped.empty()) << "a drop sends nothing";
        EXPECT_FALSE(target.target.sawContactWhileOver);
        for (DROPEFFECT shown : target.target.overAnswers) EXPECT_EQ(shown, DROPEFFECT_NONE);
        for (DROPEFFECT shown : source.source.feedback) EXPECT_EQ(shown, DROPEFFECT_NONE);
    }
}

TEST(ContactDrag, EscapeCancelsTheDragAndTheTargetForgetsTheContact) {
    COleInitializer ole;
    DragSourceWindow source(40, 60, 140, 90);
    ContactTargetWindow target(320, 60, 180, 120, 1);
    ASSERT_TRUE(target.Register());
    ContactData offered = MakeContactData(SampleContact());
    source.data = offered.data.Get();
    EXPECT_EQ(RunInput(DragOnto(source, target.GetSafeHwnd(), target.queried, target.target.over, true)), "");
    EXPECT_EQ(source.result, DROPEFFECT_NONE);
    EXPECT_TRUE(target.target.sawContactWhileOver) << "the contact was there while over";
    EXPECT_TRUE(target.dropped.empty());
    EXPECT_EQ(target.target.GetDraggedContact(), nullptr) << "freed on leaving";
    EXPECT_FALSE(target.target.GetAcceptsContacts());
}

TEST(ContactDrag, ASkinnedControlTakesContactsThroughTheDropTargetOfItsBase) {
    COleInitializer ole;
    DragSourceWindow source(40, 60, 140, 90);
    SkinnedContactWindow control(320, 60, 180, 120);
    ASSERT_TRUE(control.GetDropTarget().IsRegistered());
    ContactData offered = MakeContactData(SampleContact());
    source.data = offered.data.Get();
    CEvent anyFeedback(true);
    const POINT from = CentreOf(source.GetSafeHwnd());
    const POINT to = CentreOf(control.GetSafeHwnd());
    std::string outcome = RunInput([&]() -> std::string {
        MoveTo(from.x, from.y);
        PressLeft();
        if (!source.source.started.Wait(kStepTimeoutMs)) return "the drag never started";
        MoveTo(to.x, to.y);
        if (!control.queried.Wait(kStepTimeoutMs)) return "the control was never asked";
        // The drag loop gives feedback at least every timer tick; one after
        // the control was entered shows its answer.
        source.source.fedBack.Reset();
        if (!source.source.fedBack.Wait(kStepTimeoutMs)) return "no feedback over the control";
        ReleaseLeft();
        return source.finished.Wait(kStepTimeoutMs) ? "" : "the drag never ended";
    });
    EXPECT_EQ(outcome, "");
    EXPECT_EQ(source.result, DROPEFFECT_COPY);
    ASSERT_EQ(control.dropped.size(), 1u);
    EXPECT_TRUE(SameContact(control.dropped[0], SampleContact()));
}

TEST(ContactDrag, APayloadFromAnotherProcessIsNoContactButItsTextArrives) {
    COleInitializer ole;
    const std::string helper = orvtest::ThisProgramFolder() + "controls_drag_helper.exe";
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round == 0 ? "onto a window that takes contacts" : "onto a window that takes text");
        const std::string name = "orv-drag-" + std::to_string(::GetCurrentProcessId()) + "-" + std::to_string(round);
        CHandle ready(::CreateEventA(nullptr, TRUE, FALSE, (name + "-ready").c_str()));
        CHandle started(::CreateEventA(nullptr, TRUE, FALSE, (name + "-started").c_str()));
        ContactTargetWindow contactTarget(320, 60, 180, 120, 1);
        TextTargetWindow textTarget(320, 220, 180, 120);
        ASSERT_TRUE(contactTarget.Register());
        ASSERT_TRUE(textTarget.target.Register(&textTarget));
        HWND target = round == 0 ? contactTarget.GetSafeHwnd() : textTarget.GetSafeHwnd();
        CEvent& entered = round == 0 ? contactTarget.queried : textTarget.target.entered;
        CEvent& over = round == 0 ? contactTarget.target.over : textTarget.target.over;

        orvtest::ChildProcess source;
        ASSERT_TRUE(source.Start("\"" + helper + "\" 40 60 140 90 " + name));
        HANDLE readyEvent = ready.Get();
        ASSERT_TRUE(orvtest::PumpUntil([readyEvent] { return ::WaitForSingleObject(readyEvent, 0) == WAIT_OBJECT_0; },
                                       60000))
            << "the helper never showed its window";
        const POINT to = CentreOf(target);
        HANDLE startedEvent = started.Get();
        std::string outcome = RunInput([&, to, startedEvent]() -> std::string {
            MoveTo(110, 105);  // the helper's window
            PressLeft();
            if (::WaitForSingleObject(startedEvent, kStepTimeoutMs) != WAIT_OBJECT_0) {
                ReleaseLeft();
                return "the helper's drag never started";
            }
            MoveTo(to.x - 12, to.y);
            MoveTo(to.x, to.y);
            if (!entered.Wait(kStepTimeoutMs)) {
                TapKey(VK_ESCAPE);
                ReleaseLeft();
                return "the target was never entered from the other process";
            }
            over.Reset();
            MoveTo(to.x + 3, to.y + 2);
            if (!over.Wait(kStepTimeoutMs)) {
                ReleaseLeft();
                return "no drag over from the other process";
            }
            ReleaseLeft();
            return "";
        });
        EXPECT_EQ(outcome, "");
        ASSERT_TRUE(orvtest::PumpUntil([&] { return !source.IsRunning(); }, 60000));
        if (round == 0) {
            EXPECT_EQ(source.ExitCode(), 10u + DROPEFFECT_NONE) << "the drop took nothing";
            EXPECT_TRUE(contactTarget.dropped.empty()) << "another process's handles are never followed";
            EXPECT_FALSE(contactTarget.target.sawContactWhileOver);
        } else {
            EXPECT_EQ(source.ExitCode(), 10u + DROPEFFECT_COPY);
            EXPECT_EQ(textTarget.target.text, "Ada Lovelace ada@example.com");
            EXPECT_TRUE(textTarget.target.contactOffered) << "the contact format crossed too";
        }
    }
}

TEST(DropTargetRegistration, EndsWithItsWindowAndCanMoveToAnother) {
    COleInitializer ole;
    COrvDropTarget target;
    auto first = std::make_unique<PopupWindow>(10, 10, 50, 50);
    HWND firstWindow = first->GetSafeHwnd();
    ASSERT_TRUE(target.Register(first.get()));
    EXPECT_EQ(target.GetWindow(), firstWindow);
    COrvDropTarget second;
    EXPECT_FALSE(second.Register(first.get())) << "one drop target per window";
    first.reset();
    EXPECT_FALSE(target.IsRegistered()) << "the window's end ends the registration";

    PopupWindow other(70, 10, 50, 50);
    ASSERT_TRUE(target.Register(&other));
    PopupWindow third(130, 10, 50, 50);
    ASSERT_TRUE(target.Register(&third)) << "moves";
    EXPECT_TRUE(second.Register(&other)) << "the earlier window was let go";
    target.Revoke();
    EXPECT_FALSE(target.IsRegistered());
    EXPECT_TRUE(target.Register(&third));
    EXPECT_FALSE(target.Register(static_cast<HWND>(nullptr)));
    EXPECT_FALSE(target.IsRegistered()) << "a failed registration leaves none behind";
}

TEST(DropTargetRegistration, IsRefusedForAWindowOfAnotherThreadAndWithoutOle) {
    COleInitializer ole;
    PopupWindow window(10, 10, 50, 50);
    bool registeredElsewhere = true;
    bool registeredWithoutOle = true;
    std::thread other([&] {
        COrvDropTarget foreign;
        registeredElsewhere = foreign.Register(window.GetSafeHwnd());
        HWND own = ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
        COrvDropTarget noOle;
        registeredWithoutOle = noOle.Register(own);
        ::DestroyWindow(own);
    });
    other.join();
    EXPECT_FALSE(registeredElsewhere);
    EXPECT_FALSE(registeredWithoutOle) << "the thread never entered OLE";
}

namespace {
// A press on it asks the framework's drag detection whether a drag begins,
// with a start rectangle of 5 pixels around the press.
class DetectingWindow : public PopupWindow {
public:
    DetectingWindow() : PopupWindow(40, 60, 140, 90, "detecting") {
        onMessage = [this](UINT message, WPARAM, LPARAM, LRESULT*) {
            if (message != WM_LBUTTONDOWN) return false;
            POINT at{};
            ::GetCursorPos(&at);
            const RECT start = {at.x - 5, at.y - 5, at.x + 6, at.y + 6};
            deciding.Set();
            began = source.OnBeginDrag(this, &start) ? 1 : 0;
            decided.Set();
            return true;
        };
    }
    COleDropSource source;
    CEvent deciding{true};
    CEvent decided{true};
    int began = -1;
};
}  // namespace

TEST(DragDetection, APressBecomesADragOnlyWhenThePointerLeavesTheStartRectangle) {
    COleInitializer ole;
    const UINT delay = COleDropSource::GetDragDelay();
    enum Ending { MoveAway, Release, Escape, Hold };
    for (Ending ending : {MoveAway, Release, Escape, Hold}) {
        SCOPED_TRACE(ending);
        // Held long enough, a press becomes a drag without moving: a delay
        // that passes at once shows it; otherwise one that never passes here.
        COleDropSource::SetDragDelay(ending == Hold ? 1 : 600000);
        DetectingWindow window;
        const POINT centre = CentreOf(window.GetSafeHwnd());
        std::string outcome = RunInput([&]() -> std::string {
            MoveTo(centre.x, centre.y);
            PressLeft();
            if (!window.deciding.Wait(kStepTimeoutMs)) {
                ReleaseLeft();
                return "the press never arrived";
            }
            MoveTo(centre.x + 3, centre.y - 3);  // still inside: no drag yet
            if (ending == MoveAway) MoveTo(centre.x + 30, centre.y);
            if (ending == Escape) TapKey(VK_ESCAPE);
            if (ending == Release || ending == Escape) ReleaseLeft();
            const bool decided = window.decided.Wait(kStepTimeoutMs);
            if (ending == MoveAway || ending == Hold) ReleaseLeft();
            return decided ? "" : "the detection never decided";
        });
        EXPECT_EQ(outcome, "");
        EXPECT_EQ(window.began, ending == MoveAway || ending == Hold ? 1 : 0);
        EXPECT_EQ(::GetCapture(), nullptr) << "the capture is given back";
    }
    COleDropSource::SetDragDelay(delay);
}
