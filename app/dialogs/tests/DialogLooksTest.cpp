// Every page in both shipped skins, captured from the screen under the
// test artifacts (dialogs-<skin>-<page>.bmp): the dialog's client area in
// the skin's background colour, the skinned caption different between the
// skins, and the log-in page's texts in navy.
#include "DialogTestSupport.h"

#include "CAddRemoveContactsDialog.h"
#include "CChangeEmailDialog.h"
#include "CFirstLogInDialog.h"
#include "CManualContactDialog.h"
#include "CWizardContactsPage.h"
#include "CWizardEmailPage.h"
#include "CWizardFinishPage.h"
#include "CWizardNamePage.h"
#include "DialogIds.h"

#include "OrvAddressBook.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>

using namespace dialogtest;

namespace {
struct Look {
    COLORREF background;
    COLORREF captionMiddle;
};

class DialogLooks : public ::testing::TestWithParam<const char*> {
protected:
    // Opens the page, captures it, and checks the background below the
    // caption at a point no control covers (client point x, y).
    Look Capture(COrvSkinnedDialog& page, const char* name, POINT empty, const std::function<void()>& fill = {}) {
        EXPECT_TRUE(page.Create(&m_parent));
        if (fill) fill();
        page.ShowWindow(SW_SHOW);
        orvtest::PumpPending();
        const std::string skin = GetParam();
        const Shot shot(page, "dialogs-" + skin + "-" + name + ".bmp");
        RECT window{};
        ::GetWindowRect(page, &window);
        POINT point = empty;
        ::ClientToScreen(page, &point);
        const COLORREF expected = page.GetSkin().GetBackgroundColor();
        const COLORREF seen = shot.At(point.x - window.left, point.y - window.top);
        EXPECT_EQ(seen, expected) << name << " in " << skin;
        Look look{seen, shot.At(shot.Width() / 2, 4)};
        page.DestroyWindow();
        return look;
    }

    ParentWindow m_parent;
};
}  // namespace

TEST_P(DialogLooks, EveryPageWearsTheSkin) {
    ASSERT_TRUE(ShippedSkins::Instance().Apply((std::string(GetParam()) + "\\").c_str()));
    OrvAddressBook book;
    book.SetSearchRoot(orvtest::SourcePath("app/dialogs/tests/books").c_str());
    std::map<std::string, Look> looks;
    {
        CWizardEmailPage page;
        page.SetEmail("anna.smith@example.com");
        looks["email"] = Capture(page, "step1-email", {6, 6});
    }
    {
        CWizardNamePage page;
        page.SetName("Anna Smith");
        page.SetFreeText("Physics teacher, cellist and hill walker.");
        looks["name"] = Capture(page, "step2-name", {6, 6});
    }
    {
        CWizardContactsPage page;
        page.SetAddressBook(&book);
        page.SetOwnEmail("anna.smith@example.com");
        looks["contacts"] = Capture(page, "step3-contacts", {6, 6}, [&] {
            SelectRows(::GetDlgItem(page, IDC_NONSELECTED_LIST), {0, 1, 2});
            Click(page, IDC_ADD);
        });
    }
    {
        CWizardFinishPage page;
        page.SetEmail("anna.smith@example.com");
        looks["finish"] = Capture(page, "step4-finish", {6, 6});
    }
    {
        CAddRemoveContactsDialog dialog;
        dialog.SetAddressBook(&book);
        looks["addremove"] = Capture(dialog, "add-remove-contacts", {6, 6});
    }
    {
        CManualContactDialog dialog;
        looks["manual"] = Capture(dialog, "manual-contact", {4, 4}, [&] {
            ::SetDlgItemTextA(dialog, IDC_MANUAL_NAME, "Dora Dean");
            ::SetDlgItemTextA(dialog, IDC_MANUAL_EMAIL, "dora@example.com");
        });
    }
    {
        CChangeEmailDialog dialog;
        dialog.SetEmail("anna.smith@example.com");
        looks["change"] = Capture(dialog, "change-email", {4, 4});
    }
    {
        CFirstLogInDialog page;
        page.SetEmail("anna.smith@example.com");
        ASSERT_TRUE(page.Create(&m_parent));
        ::SetDlgItemTextA(page, IDC_LOGIN_PASSWORD, "password");
        page.ShowWindow(SW_SHOW);
        orvtest::PumpPending();
        const Shot shot(page, "dialogs-" + std::string(GetParam()) + "-first-login.bmp");
        RECT text{}, window{};
        ::GetWindowRect(::GetDlgItem(page, IDC_LOGIN_TEXT1), &text);
        ::GetWindowRect(page, &window);
        ::OffsetRect(&text, -window.left, -window.top);
        // Navy on a light skin; lightened where the skin is dark.
        const COLORREF navy = RGB(0, 0, 128);
        const COLORREF ink = COrvSkinnedDialog::ReadableInk(navy, page.GetSkin().GetBackgroundColor());
        if (std::string(GetParam()) == "Daylight") {
            EXPECT_EQ(ink, navy);
        } else {
            EXPECT_NE(ink, navy);
        }
        EXPECT_GT(shot.Count(text, ink), 20) << "the log-in texts in their colour";
    }
    // The caption is the skin's, not the system's: the two skins differ.
    static std::map<std::string, COLORREF> captionBySkin;
    captionBySkin[GetParam()] = looks["email"].captionMiddle;
    if (captionBySkin.size() == 2) {
        EXPECT_NE(captionBySkin["Daylight"], captionBySkin["Graphite"]) << "the captions look the same in both skins";
    }
}

INSTANTIATE_TEST_SUITE_P(ShippedSkins, DialogLooks, ::testing::Values("Daylight", "Graphite"));
