// CSMessageBox::MessageBoxA with real system message boxes: skinned with the
// "msbdialog" records as they open (caption, frame, push buttons, the
// dialogs' background), in both shipped skins, with the system's result;
// plain without a valid owner.
#include "CSMessageBox.h"
#include "CSkin.h"
#include "SkinnedNonClient.h"
#include "WindowTestFixture.h"

#include "MessageBoxWatch.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>

using namespace wintest;
using orvtest::MessageBoxWatch;

namespace {
CSButton* SkinnedButton(HWND button) { return dynamic_cast<CSButton*>(CWnd::FromHandlePermanent(button)); }

class SkinnedMessageBox : public SkinnedWindowTest {
protected:
    // Shows an information box over a frame, checks it against the skin
    // and saves it as artifact.
    void ShowsInSkin(const WindowSkin& skin, const std::string& artifact) {
        // The box opens over its owner, whose client area shows where the
        // box's corners are cut away.
        TestFrame owner("Owner", WS_OVERLAPPEDWINDOW, 60, 60, 500, 400);
        owner.fill = kBackdrop;
        ::ShowWindow(owner, SW_SHOW);
        MessageBoxWatch watch;
        watch.inspect = [&](HWND box) {
            auto* messageBox = dynamic_cast<CSMessageBox*>(CWnd::FromHandlePermanent(box));
            ASSERT_NE(messageBox, nullptr) << "the message box was taken as it was made";
            EXPECT_TRUE(messageBox->GetSkin().GetCaption().IsSkinned());
            EXPECT_EQ(messageBox->GetSkin().GetThemeName(), CString("msbdialog"));
            EXPECT_EQ(messageBox->GetSkin().GetCaption().GetCaptionText(), CString("Orvane"));
            EXPECT_TRUE(messageBox->GetSkin().GetCaption().GetActive());
            CSButton* ok = SkinnedButton(::GetDlgItem(box, IDOK));
            ASSERT_NE(ok, nullptr) << "its push button is skinned";
            EXPECT_EQ(ok->GetSkinName(), CString("msbdialog\\button"));

            NonClientView view;
            view.skin = &skin;
            const Pixels shot = CaptureWindow(box);
            EXPECT_TRUE(ShowsSkinnedNonClient(shot, box, view));
            EXPECT_GT(WrittenPixels(shot, box, *skin.caption.Get(), true), 20) << "the caption's text";
            const CRect client = ClientOnScreen(box), bounds = WindowOnScreen(box);
            EXPECT_EQ(shot.At(client.left - bounds.left + 2, client.bottom - bounds.top - 2),
                      skin.background->Color)
                << "the background of the \"dialog\" record";

            const CRect okOnScreen = WindowOnScreen(::GetDlgItem(box, IDOK));
            ASSERT_TRUE(WaitForScreen(CPoint(okOnScreen.left + okOnScreen.Width() / 2, okOnScreen.top + 1),
                                      CaptureWindow(::GetDlgItem(box, IDOK)).At(okOnScreen.Width() / 2, 1)));
            ASSERT_TRUE(WaitForScreen(CPoint(bounds.left + 2, bounds.bottom - 2), shot.At(2, bounds.Height() - 2)));
            const Pixels screen = CaptureScreen(bounds);
            screen.Save(artifact);
            view.onScreen = true;
            EXPECT_TRUE(ShowsSkinnedNonClient(screen, box, view));
        };
        const int result = CSMessageBox::MessageBoxA(owner, "The contact was added to your favorites.", "Orvane",
                                                     MB_OK | MB_ICONINFORMATION);
        EXPECT_NE(watch.box, nullptr) << "the message box showed";
        EXPECT_EQ(result, IDOK);
        EXPECT_FALSE(::IsWindow(watch.box));
    }
};
}  // namespace

TEST_F(SkinnedMessageBox, AMessageBoxWithAnOwnerWearsTheSkinInDaylight) { ShowsInSkin(Daylight(), "msgbox-daylight.bmp"); }

TEST_F(SkinnedMessageBox, AMessageBoxWithAnOwnerWearsTheSkinInGraphite) {
    RegisterWindowSkin(Graphite());
    ShowsInSkin(Graphite(), "msgbox-graphite.bmp");
}

TEST_F(SkinnedMessageBox, TheMessageBoxUsesItsOwnThemeAndReturnsTheSystemsAnswer) {
    // Graphite only for message boxes: the box must not look like a dialog.
    RegisterRecord("msbdialog", "caption", Graphite().caption.Get());
    RegisterRecord("msbdialog", "border", Graphite().frame.Get());
    RegisterRecord("msbdialog", "button", Graphite().button.Get());
    TestFrame owner("Owner");
    ::ShowWindow(owner, SW_SHOW);
    MessageBoxWatch watch;
    watch.answer = IDNO;
    watch.inspect = [&](HWND box) {
        NonClientView view;
        view.skin = &Graphite();
        EXPECT_TRUE(ShowsSkinnedNonClient(CaptureWindow(box), box, view))
            << "the close button is disabled without a Cancel button";
        EXPECT_NE(SkinnedButton(::GetDlgItem(box, IDYES)), nullptr);
        EXPECT_NE(SkinnedButton(::GetDlgItem(box, IDNO)), nullptr);
    };
    const int result = CSMessageBox::MessageBoxA(owner, "Remove Jane Doe from your contacts?", "Orvane",
                                                 MB_YESNO | MB_ICONQUESTION);
    EXPECT_NE(watch.box, nullptr);
    EXPECT_EQ(result, IDNO);
    EXPECT_FALSE(owner.closed);
}

TEST_F(SkinnedMessageBox, WithoutAValidOwnerTheMessageBoxIsThePlainSystemOne) {
    for (HWND owner : {static_cast<HWND>(nullptr), reinterpret_cast<HWND>(static_cast<UINT_PTR>(0x4321))}) {
        MessageBoxWatch watch;
        watch.inspect = [&](HWND box) {
            EXPECT_EQ(CWnd::FromHandlePermanent(box), nullptr) << "not taken";
            EXPECT_EQ(CWnd::FromHandlePermanent(::GetDlgItem(box, IDOK)), nullptr);
            CRgn shape;
            shape.CreateRectRgn(0, 0, 0, 0);
            EXPECT_EQ(::GetWindowRgn(box, shape), ERROR) << "no shape";
            const CRect client = ClientOnScreen(box), bounds = WindowOnScreen(box);
            EXPECT_LT(client.top - bounds.top, Daylight().caption->Border.InterationStep)
                << "the system's caption height";
            CString theme;
            ::SendMessageA(box, CComponent::WM_GET_SKIN_THEMA, 0, reinterpret_cast<LPARAM>(&theme));
            EXPECT_TRUE(theme.IsEmpty());
        };
        const int result = CSMessageBox::MessageBoxA(owner, "No owner.", "Orvane", MB_OK);
        EXPECT_NE(watch.box, nullptr);
        EXPECT_EQ(result, IDOK);
    }
}

TEST_F(SkinnedMessageBox, AMessageBoxShownFromAnotherThreadIsSkinnedOnThatThread) {
    TestFrame owner("Owner", WS_OVERLAPPEDWINDOW, 60, 60, 500, 400);
    ::ShowWindow(owner, SW_SHOW);
    std::atomic<int> result{-1};
    bool taken = false, skinned = false, buttonSkinned = false;
    DWORD boxThread = 0, workerThread = 0;
    // GoogleTest's checks stay on this thread; the worker only records.
    std::thread worker([&] {
        workerThread = ::GetCurrentThreadId();
        MessageBoxWatch watch;
        watch.inspect = [&](HWND box) {
            auto* messageBox = dynamic_cast<CSMessageBox*>(CWnd::FromHandlePermanent(box));
            taken = messageBox != nullptr;
            skinned = messageBox && messageBox->GetSkin().GetCaption().IsSkinned();
            buttonSkinned = SkinnedButton(::GetDlgItem(box, IDOK)) != nullptr;
            boxThread = ::GetWindowThreadProcessId(box, nullptr);
        };
        result = CSMessageBox::MessageBoxA(owner, "Shown by a worker.", "Orvane", MB_OK);
    });
    // The owner's thread answers what the box asks of its owner meanwhile.
    const bool ended = orvtest::PumpUntil([&] { return result != -1; }, 30000);
    worker.join();
    EXPECT_TRUE(ended);
    EXPECT_EQ(result, IDOK);
    EXPECT_TRUE(taken);
    EXPECT_TRUE(skinned);
    EXPECT_TRUE(buttonSkinned);
    EXPECT_EQ(boxThread, workerThread);
    EXPECT_TRUE(::IsWindowEnabled(owner)) << "the owner is given back";
}
