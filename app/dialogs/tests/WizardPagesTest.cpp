// The wizard pages under Wine with the shipped skin, driven by control ids
// and window messages: wrong input shows its message box and keeps the
// page, good input posts "WM_OrvCloseDialog" with the result and hands the
// fields over, Back keeps the fields, Cancel asks first, and the links
// open what they name.
#include "DialogTestSupport.h"

#include "CChangeEmailDialog.h"
#include "CFirstLogInDialog.h"
#include "COrvDialogWait.h"
#include "CWizardEmailPage.h"
#include "CWizardFinishPage.h"
#include "CWizardNamePage.h"
#include "DialogIds.h"
#include "IChangeEmailSender.h"
#include "OrvSiteLinks.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

using namespace dialogtest;

namespace {
std::vector<std::string> g_opened;
void RecordOpen(HWND, const char* url) { g_opened.push_back(url); }

class WizardPages : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(ShippedSkins::Instance().Apply("Daylight\\"));
        ASSERT_TRUE(m_parent.GetSafeHwnd());
        g_opened.clear();
        OrvSiteLinks::SetOpener(&RecordOpen);
    }
    void TearDown() override { OrvSiteLinks::SetOpener(nullptr); }

    template <class Page>
    void Open(Page& page) {
        ASSERT_TRUE(page.Create(&m_parent));
        page.ShowWindow(SW_SHOW);
        orvtest::PumpPending();
    }

    // Presses a button whose handler shows one message box, answers it,
    // and gives what the box said.
    SeenBox PressExpectingBox(HWND dialog, int id, int answer = IDOK) {
        ModalScript script;
        script.Box(answer);
        EXPECT_TRUE(script.Run([&] { Click(dialog, id); })) << "no message box appeared";
        return script.Boxes().empty() ? SeenBox{} : script.Boxes()[0];
    }

    ParentWindow m_parent;
};

class RecordingSender : public IChangeEmailSender {
public:
    CString SendChangeEmail(const CString& oldEmail, const CString& newEmail) override {
        ++calls;
        lastOld = oldEmail;
        lastNew = newEmail;
        return answer;
    }
    int calls = 0;
    CString lastOld, lastNew;
    CString answer = "0";
};
}  // namespace

TEST_F(WizardPages, EmailPageRefusesWrongAddressesAndKeepsThePage) {
    CWizardEmailPage page;
    Open(page);
    struct Case {
        const char* typed;
        const char* text;
    } cases[] = {
        {"   ", "Please fill the e-mail correctly so that the\nOrvane log-in password can be sent to it."},
        {"abcdefghijklmnopqrstuvwxyz01234@example.com", "Name shouldn't be more than 40 symbols."},
        {"anna@e.com", "The e-mail entered was mistyped. \nPlease fill the e-mail correctly so that the \n"
                       "Orvane log-in password can be sent to it."},
        {"anna@example.c", "The e-mail entered was mistyped. \nPlease fill the e-mail correctly so that the \n"
                           "Orvane log-in password can be sent to it."},
    };
    for (const Case& c : cases) {
        ::SetDlgItemTextA(page, IDC_WIZARD_EMAIL, c.typed);
        const SeenBox box = PressExpectingBox(page, IDOK);
        EXPECT_EQ(box.text, c.text) << c.typed;
        EXPECT_EQ(box.caption, "Mistyped e-mail");
        EXPECT_EQ(m_parent.TakeResult(), -1) << "the page must stay for " << c.typed;
        EXPECT_TRUE(page.IsWindowVisible());
        EXPECT_EQ(::GetFocus(), ::GetDlgItem(page, IDC_WIZARD_EMAIL));
    }
    ::SetDlgItemTextA(page, IDC_WIZARD_EMAIL, "  anna@example.com ");
    ::SendMessageA(::GetDlgItem(page, IDC_HIDE_EMAIL), BM_CLICK, 0, 0);
    Click(page, IDOK);
    EXPECT_EQ(m_parent.TakeResult(), COrvSkinnedDialog::kNext);
    EXPECT_EQ(std::string(page.GetEmail()), "anna@example.com");
    EXPECT_TRUE(page.GetHideEmail());
}

TEST_F(WizardPages, CancelAsksAndOnlyOkQuits) {
    CWizardEmailPage page;
    Open(page);
    SeenBox box = PressExpectingBox(page, IDCANCEL, IDCANCEL);
    EXPECT_EQ(box.text,
              "You have chosen to exit the Contact-tree Wizard.\nYour Contact-tree has therefore not been completed.\n"
              "Are you sure you want to quit the Contact-tree Wizard?");
    EXPECT_EQ(box.caption, "Orvane");
    EXPECT_EQ(m_parent.TakeResult(), COrvSkinnedDialog::kStay);
    box = PressExpectingBox(page, IDCANCEL, IDOK);
    EXPECT_EQ(m_parent.TakeResult(), COrvSkinnedDialog::kQuit);
}

TEST_F(WizardPages, NamePageChecksNameAndReformatsFreeText) {
    CWizardNamePage page;
    Open(page);
    ::SetDlgItemTextA(page, IDC_WIZARD_NAME, "Anna+ Smith");
    EXPECT_EQ(PressExpectingBox(page, IDOK).text, "Invalid symbol(s) in name.");
    ::SetDlgItemTextA(page, IDC_WIZARD_NAME, "Abcdefghijklmnop");
    EXPECT_EQ(PressExpectingBox(page, IDOK).text, "First Name shouldn't be more than 15 symbols.");
    EXPECT_EQ(m_parent.TakeResult(), -1);

    ::SetDlgItemTextA(page, IDC_WIZARD_NAME, " Abcdefghijklmno  Smith-Jones ");
    ::SetDlgItemTextA(page, IDC_FREE_TEXT,
                      "I teach physics at the city school\r\nand  play the cello in an orchestra on weekends.");
    Click(page, IDOK);
    EXPECT_EQ(m_parent.TakeResult(), COrvSkinnedDialog::kNext);
    EXPECT_EQ(std::string(page.GetFirstName()), "Abcdefghijklmno");
    EXPECT_EQ(std::string(page.GetLastName()), " Smith-Jones");
    EXPECT_EQ(std::string(page.GetFreeText()),
              "I teach physics at the city school \r\nand play the cello in an orchestra \r\non weekends.");
}

TEST_F(WizardPages, BackKeepsWhatWasTyped) {
    CWizardNamePage page;
    Open(page);
    ::SetDlgItemTextA(page, IDC_WIZARD_NAME, "Anna+ (not checked on the way back)");
    Click(page, IDC_WIZARD_BACK);
    EXPECT_EQ(m_parent.TakeResult(), COrvSkinnedDialog::kBack);
    EXPECT_EQ(std::string(page.GetName()), "Anna+ (not checked on the way back)");
}

TEST_F(WizardPages, FinishPageShowsTheAddressAndFinishes) {
    CWizardFinishPage page;
    page.SetEmail("anna@example.com");
    Open(page);
    EXPECT_EQ(WindowText(::GetDlgItem(page, IDC_FINISH_EMAIL)), "anna@example.com");
    EXPECT_EQ(WindowText(page), "Contact-tree Wizard(step 4 of 4)");
    Click(page, IDOK);
    EXPECT_EQ(m_parent.TakeResult(), COrvSkinnedDialog::kNext);
}

TEST_F(WizardPages, SupportAddressOpensANewMail) {
    CWizardEmailPage page;
    Open(page);
    HWND link = ::GetDlgItem(page, IDC_SUPPORT_LINK);
    EXPECT_EQ(WindowText(link), std::string(OrvSiteLinks::GetSupportEmail()));
    EXPECT_EQ(WindowText(::GetDlgItem(page, IDC_SUPPORT_TEXT)), "* for on-line support please e-mail");
    ::SendMessageA(page, WM_COMMAND, MAKEWPARAM(IDC_SUPPORT_LINK, STN_CLICKED), reinterpret_cast<LPARAM>(link));
    ASSERT_EQ(g_opened.size(), 1u);
    EXPECT_EQ(g_opened[0], "mailto:" + std::string(OrvSiteLinks::GetSupportEmail()));
    EXPECT_EQ(m_parent.TakeResult(), -1);
}

TEST_F(WizardPages, WaitRunsThePageUntilItsResult) {
    CWizardEmailPage page;
    ASSERT_TRUE(page.Create(&m_parent));
    ModalScript script;
    script.Step([&](HWND window) { return window == page.GetSafeHwnd(); },
                [](HWND window) {
                    ::SetDlgItemTextA(window, IDC_WIZARD_EMAIL, "bob@example.org");
                    ::PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
                });
    int result = -1;
    EXPECT_TRUE(script.Run([&] { result = COrvDialogWait::Run(page); }));
    EXPECT_EQ(result, COrvSkinnedDialog::kNext);
    EXPECT_FALSE(page.IsWindowVisible()) << "the wait hides the page";
    EXPECT_EQ(std::string(page.GetEmail()), "bob@example.org");
}

TEST_F(WizardPages, LogInNeedsAPassword) {
    CFirstLogInDialog page;
    page.SetEmail("anna@example.com");
    Open(page);
    EXPECT_EQ(WindowText(::GetDlgItem(page, IDC_LOGIN_EMAIL)), "anna@example.com");
    ::SetDlgItemTextA(page, IDC_LOGIN_PASSWORD, "   ");
    const SeenBox box = PressExpectingBox(page, IDC_LOGIN_BUTTON);
    EXPECT_EQ(box.text, "Orvane has sent you a personal password to your e-mail.\nFor accessing the Orvane system, "
                        "please type \nor paste it in the Log-in window");
    EXPECT_EQ(m_parent.TakeResult(), -1);
    ::SetDlgItemTextA(page, IDC_LOGIN_PASSWORD, " s3cret ");
    Click(page, IDC_LOGIN_BUTTON);
    EXPECT_EQ(m_parent.TakeResult(), 0) << "log-in ends the page with 0";
    EXPECT_EQ(std::string(page.GetPassword()), "s3cret");
    Click(page, IDCANCEL);
    EXPECT_EQ(m_parent.TakeResult(), COrvSkinnedDialog::kQuit);
}

TEST_F(WizardPages, ChangeEmailKeepsTheNewAddressOnlyWhenTheServerAccepts) {
    CFirstLogInDialog page;
    RecordingSender sender;
    page.SetEmail("old@example.com");
    page.SetChangeEmailSender(&sender);
    Open(page);
    const auto isChangeBox = [](HWND window) {
        return dynamic_cast<CChangeEmailDialog*>(CWnd::FromHandlePermanent(window)) != nullptr;
    };
    // A refused address first: the box stays open for another try.
    ModalScript first;
    HWND changeBox = nullptr;
    std::string boxText;
    first.Step(isChangeBox,
               [&](HWND box) {
                   changeBox = box;
                   ::SetDlgItemTextA(box, IDC_NEW_EMAIL, "no-at-sign.com");
                   ::PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDC_CHANGE_OK, BN_CLICKED), 0);
               })
        .Step(&IsMessageBox, [&](HWND box) {
            boxText = StaticTexts(box);
            ::PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
            // Typed again while the message is up; pressed once it is gone.
            ::SetDlgItemTextA(changeBox, IDC_NEW_EMAIL, "  new@example.com ");
            ::PostMessageA(changeBox, WM_COMMAND, MAKEWPARAM(IDC_CHANGE_OK, BN_CLICKED), 0);
        });
    EXPECT_TRUE(first.Run([&] { Click(page, IDC_CHANGE_EMAIL_BUTTON); }));
    EXPECT_EQ(boxText, "The e-mail address was mistyped. \nPlease enter it again.");
    EXPECT_EQ(sender.calls, 1);
    EXPECT_EQ(std::string(sender.lastOld), "old@example.com");
    EXPECT_EQ(std::string(sender.lastNew), "new@example.com");
    EXPECT_EQ(std::string(page.GetEmail()), "new@example.com");
    EXPECT_EQ(WindowText(::GetDlgItem(page, IDC_LOGIN_EMAIL)), "new@example.com");
    EXPECT_TRUE(page.IsWindowEnabled());

    sender.answer = "3";
    ModalScript refused;
    refused.Step(isChangeBox, [](HWND box) {
        ::SetDlgItemTextA(box, IDC_NEW_EMAIL, "other@example.com");
        ::PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDC_CHANGE_OK, BN_CLICKED), 0);
    });
    EXPECT_TRUE(refused.Run([&] { Click(page, IDC_CHANGE_EMAIL_BUTTON); }));
    EXPECT_EQ(sender.calls, 2);
    EXPECT_EQ(std::string(page.GetEmail()), "new@example.com") << "a refused change keeps the address";
    EXPECT_EQ(m_parent.TakeResult(), -1);
}

TEST_F(WizardPages, EnterInTheFieldGoesNextThroughTheWait) {
    CWizardEmailPage page;
    ASSERT_TRUE(page.Create(&m_parent));
    ModalScript script;
    script.Step([&](HWND window) { return window == page.GetSafeHwnd(); },
                [](HWND window) {
                    HWND edit = ::GetDlgItem(window, IDC_WIZARD_EMAIL);
                    ::SetWindowTextA(edit, "carl@example.com");
                    ::SetFocus(edit);
                    ::PostMessageA(edit, WM_KEYDOWN, VK_RETURN, 1);
                });
    int result = -1;
    EXPECT_TRUE(script.Run([&] { result = COrvDialogWait::Run(page); }));
    EXPECT_EQ(result, COrvSkinnedDialog::kNext);
    EXPECT_EQ(std::string(page.GetEmail()), "carl@example.com");
}

TEST_F(WizardPages, QuitDuringTheWaitIsPassedOn) {
    CWizardEmailPage page;
    ASSERT_TRUE(page.Create(&m_parent));
    ModalScript script;
    script.Step([&](HWND window) { return window == page.GetSafeHwnd(); }, [](HWND) { ::PostQuitMessage(7); });
    int result = 0;
    EXPECT_TRUE(script.Run([&] { result = COrvDialogWait::Run(page); }));
    EXPECT_EQ(result, -1);
    MSG msg{};
    ASSERT_TRUE(::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "the quit message was swallowed";
    EXPECT_EQ(msg.wParam, 7u);
    EXPECT_FALSE(page.IsWindowVisible());
}

TEST_F(WizardPages, ResultGoesToTheParentNotToAnotherWaitingWindow) {
    // Two pages, the first waiting: the second one's result must not end
    // the first one's wait.
    ParentWindow otherParent;
    CWizardFinishPage other;
    ASSERT_TRUE(other.Create(&otherParent));
    CWizardFinishPage page;
    ASSERT_TRUE(page.Create(&m_parent));
    ModalScript script;
    script.Step([&](HWND window) { return window == page.GetSafeHwnd(); },
                [&](HWND window) {
                    ::PostMessageA(other, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
                    ::PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDC_WIZARD_BACK, BN_CLICKED), 0);
                });
    int result = -1;
    EXPECT_TRUE(script.Run([&] { result = COrvDialogWait::Run(page); }));
    EXPECT_EQ(result, COrvSkinnedDialog::kBack);
    orvtest::PumpPending();
    EXPECT_EQ(otherParent.TakeResult(), COrvSkinnedDialog::kNext);
}
