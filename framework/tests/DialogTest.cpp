// CDialog from the test program's templates: modeless and modal, ended by
// posted messages, timers and the keyboard through the modal loop.
#include "BitmapFile.h"
#include "CDialog.h"
#include "CException.h"
#include "TestSupport.h"
#include "resource.h"

#include <gtest/gtest.h>

namespace {
const UINT_PTR kEndTimer = 31;

class TestDialog : public CDialog {
public:
    explicit TestDialog(CWnd* parent = nullptr) : CDialog(IDD_TEST_DIALOG, parent) {}
    int inits = 0, oks = 0, cancels = 0;
    bool editFoundInInit = false;
    bool mappedInInit = false;
    bool ownerDisabledInInit = false;
    // What OnInitDialog arranges to end a modal run.
    enum class Ending { None, PostOk, Timer, EscapeKey, EndInInit } ending = Ending::None;
    HWND owner = nullptr;

    BOOL OnInitDialog() override {
        ++inits;
        editFoundInInit = GetDlgItem(IDC_TEST_EDIT) != nullptr;
        mappedInInit = FromHandlePermanent(m_hWnd) == this;
        ownerDisabledInInit = owner && !::IsWindowEnabled(owner);
        GetDlgItem(IDC_TEST_EDIT)->SetWindowText("typed");
        switch (ending) {
        case Ending::PostOk: PostMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0); break;
        case Ending::Timer: SetTimer(kEndTimer, 20); break;
        case Ending::EscapeKey: {
            // Through the queue, so only the modal loop's IsDialogMessage
            // can turn it into IDCANCEL.
            HWND edit = GetDlgItem(IDC_TEST_EDIT)->GetSafeHwnd();
            ::PostMessageA(edit, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
            break;
        }
        case Ending::EndInInit: EndDialog(55); break;
        case Ending::None: break;
        }
        return CDialog::OnInitDialog();
    }
    void OnOK() override {
        ++oks;
        CDialog::OnOK();
    }
    void OnCancel() override {
        ++cancels;
        CDialog::OnCancel();
    }

protected:
    void OnTimer(UINT_PTR id) override {
        if (id != kEndTimer) return CDialog::OnTimer(id);
        KillTimer(id);
        EndDialog(1234);
    }
};
}  // namespace

TEST(ModelessDialog, CreatedMappedAnsweredAndDestroyed) {
    CWnd owner;
    ASSERT_TRUE(owner.CreateEx(0, nullptr, "owner", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr));
    TestDialog dialog;
    ASSERT_TRUE(dialog.Create(IDD_TEST_DIALOG, &owner));
    HWND hWnd = dialog.GetSafeHwnd();
    EXPECT_EQ(dialog.inits, 1);
    EXPECT_TRUE(dialog.editFoundInInit) << "controls exist by WM_INITDIALOG";
    EXPECT_TRUE(dialog.mappedInInit);
    EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), &dialog);
    EXPECT_EQ(dialog.GetParent(), &owner) << "owned by the given parent";
    EXPECT_EQ(dialog.GetDlgItem(IDC_TEST_EDIT)->GetWindowText(), "typed");
    EXPECT_FALSE(dialog.Create(IDD_TEST_DIALOG, &owner)) << "one window per object";

    // On top, so that the capture from the screen sees the dialog only.
    dialog.SetWindowPos(HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    dialog.UpdateWindow();
    orvtest::PumpPending();
    HBITMAP picture = orvtest::CaptureClient(dialog);
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(orvtest::BitmapPixel(picture, 2, 2), GetSysColor(COLOR_BTNFACE)) << "dialog background";
    EXPECT_TRUE(orvtest::SaveBitmapFile(picture, orvtest::ArtifactPath("framework_modeless_dialog.bmp")));
    DeleteObject(picture);

    // The OK button's click reaches OnOK; a modeless dialog only hides.
    CWnd* ok = dialog.GetDlgItem(IDOK);
    ASSERT_NE(ok, nullptr);
    ok->SendMessage(BM_CLICK);
    EXPECT_EQ(dialog.oks, 1);
    EXPECT_TRUE(IsWindow(hWnd));
    // The close box arrives as IDCANCEL.
    dialog.SendMessage(WM_CLOSE);
    EXPECT_TRUE(orvtest::PumpUntil([&] { return dialog.cancels == 1; }));

    EXPECT_TRUE(dialog.DestroyWindow());
    EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), nullptr);
    EXPECT_FALSE(IsWindow(hWnd));
}

TEST(ModelessDialog, MissingTemplateFailsQuietly) {
    TestDialog dialog;
    EXPECT_FALSE(dialog.Create(4242));
    EXPECT_FALSE(dialog.Create(static_cast<const char*>(nullptr)));
    EXPECT_EQ(dialog.GetSafeHwnd(), nullptr);
    CDialog missing(4242);
    EXPECT_EQ(missing.DoModal(), -1);
    CDialog named("NAMED_DIALOG");
    ASSERT_TRUE(named.Create("NAMED_DIALOG"));
    EXPECT_NE(named.GetDlgItem(IDOK), nullptr);
}

TEST(ModelessDialog, ExceptionInOnInitDialogIsStopped) {
    struct ThrowingDialog : CDialog {
        ThrowingDialog() : CDialog(IDD_TEST_DIALOG) {}
        BOOL OnInitDialog() override { AfxThrowNotSupportedException(); }
    } dialog;
    const long before = AfxGetStoppedExceptionCount();
    ASSERT_TRUE(dialog.Create(IDD_TEST_DIALOG));
    EXPECT_EQ(AfxGetStoppedExceptionCount(), before + 1);
    EXPECT_EQ(CWnd::FromHandlePermanent(dialog), &dialog) << "the dialog is there and ours";
}

TEST(ModalDialog, EndsByPostedCommandTimerKeyAndInInit) {
    CWnd owner;
    ASSERT_TRUE(owner.CreateEx(0, nullptr, "owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 200,
                               nullptr, nullptr));
    {
        TestDialog dialog(&owner);
        dialog.owner = owner;
        dialog.ending = TestDialog::Ending::PostOk;
        EXPECT_EQ(dialog.DoModal(), IDOK);
        EXPECT_EQ(dialog.oks, 1);
        EXPECT_TRUE(dialog.ownerDisabledInInit) << "the owner is disabled while the dialog runs";
        EXPECT_TRUE(owner.IsWindowEnabled()) << "and enabled again after";
        EXPECT_EQ(dialog.GetSafeHwnd(), nullptr) << "the window is gone";
    }
    {
        TestDialog dialog(&owner);
        dialog.ending = TestDialog::Ending::Timer;
        EXPECT_EQ(dialog.DoModal(), 1234);
        // The object can run again.
        dialog.ending = TestDialog::Ending::PostOk;
        EXPECT_EQ(dialog.DoModal(), IDOK);
        EXPECT_EQ(dialog.inits, 2);
    }
    {
        TestDialog dialog(&owner);
        dialog.ending = TestDialog::Ending::EscapeKey;
        EXPECT_EQ(dialog.DoModal(), IDCANCEL);
        EXPECT_EQ(dialog.cancels, 1) << "Esc went through the modal loop's dialog keys";
    }
    {
        TestDialog dialog;
        dialog.ending = TestDialog::Ending::EndInInit;
        EXPECT_EQ(dialog.DoModal(), 55);
    }
    EXPECT_TRUE(owner.IsWindowEnabled());
}

TEST(ModalDialog, QuitDuringTheDialogIsPassedOn) {
    TestDialog dialog;
    dialog.ending = TestDialog::Ending::None;
    // WM_QUIT arrives while the dialog runs: the dialog ends and the quit
    // stays for the loop outside.
    PostQuitMessage(9);
    EXPECT_EQ(dialog.DoModal(), -1);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 9u);
}
