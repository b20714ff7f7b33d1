// Every small skinned control together on the skin's chrome, as a path
// finder lays them out, in both shipped skins: saved as one picture per
// skin to be looked at, and checked for the pieces each control must show.
#include "CActiveSkinnedLabel.h"
#include "CSkinnedButton.h"
#include "CSkinnedEdit.h"
#include "CSkinnedLabel.h"
#include "CSkinnedMemo.h"
#include "CSkinnedRadioButton.h"
#include "ClsRichEdit.h"
#include "EditsTestSupport.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

using namespace edittest;

namespace {
class ControlsSheet : public ::testing::TestWithParam<const char*> {};
}  // namespace

TEST_P(ControlsSheet, AllControlsTogetherOnTheSkinsChrome) {
    // The pointer that an earlier test program left over a control would
    // show it hovered.
    ::SetCursorPos(::GetSystemMetrics(SM_CXSCREEN) - 1, ::GetSystemMetrics(SM_CYSCREEN) - 1);
    ShippedSkin skin(GetParam());
    ASSERT_TRUE(skin.IsRead());
    SkinBorderInfo_t* labels = skin.Record(srLabels);
    SkinBorderInfo_t* edits = skin.Record(srEdits);
    HostWindow host(40, 40, 320, 300, labels->BgColor);

    LabelSkinInfo_t sourceLabel{8, 12, 86, 16, 0, labels}, destinationLabel{8, 44, 86, 16, 0, labels};
    LabelSkinInfo_t linkLabel{8, 76, 86, 16, 0, labels};
    CSkinnedLabel source("&Source:"), destination("&Destination:");
    CActiveSkinnedLabel link("Who is this?");
    source.SetSkinInfo(&sourceLabel);
    destination.SetSkinInfo(&destinationLabel);
    link.SetSkinInfo(&linkLabel);
    host.onPaint = [&](HDC dc) {
        source.Draw(dc);
        destination.Draw(dc);
        link.Draw(dc);
    };

    EditSkinInfo_t sourceEdit{98, 8, 193, 24, edits}, destinationEdit{98, 40, 193, 24, edits};
    CSkinnedEdit sourceField(&host, 11, &sourceEdit), destinationField(&host, 12, &destinationEdit);
    sourceField.SetWindowText("ada@example.com");
    destinationField.SetWindowText("charles@example.com");
    destinationField.EnableWindow(FALSE);

    ButtonSkinInfo_t searchRecord, greyRecord;
    ASSERT_TRUE(FormButton(skin, searchRecord, 227, 72, 64, 24, "Search"));
    ASSERT_TRUE(FormButton(skin, greyRecord, 159, 72, 64, 24, "Clear"));
    CSkinnedButton search(&searchRecord), grey(&greyRecord);
    ASSERT_TRUE(search.Create(&host, 13));
    ASSERT_TRUE(grey.Create(&host, 14));
    grey.SetEnabled(false);

    RadioButtonSkinInfo_t radioRecords[2];
    ASSERT_TRUE(FormRadio(skin, radioRecords[0], 8, 104, 140, 20, "Members only"));
    ASSERT_TRUE(FormRadio(skin, radioRecords[1], 8, 126, 140, 20, "Everybody"));
    CSkinnedRadioButton members(&host, 15, true, &radioRecords[0]), everybody(&host, 16, false, &radioRecords[1]);
    everybody.SetCheck(BST_CHECKED);

    EditSkinInfo_t memoRecord{160, 104, 131, 60, edits};
    CSkinnedMemo memo(&host, 17, &memoRecord);
    memo.SetWindowText("A room for\r\ntea and talk");

    ClsRichEdit chat;
    ASSERT_TRUE(chat.Create(&host, 18, RECT{8, 172, 291, 290}, true));
    chat.AddSystemMessage(" Entering the \"Tea\" room...", ttSystemInfo);
    chat.AddSentence("Ada", '1', "Good evening");
    chat.AddSentence("Charles", '9', "Evening, Ada");
    chat.AddSystemMessage("Charles has left the chat.", ttSystemError);

    host.Invalidate();
    ::UpdateWindow(host.GetSafeHwnd());
    orvtest::PumpPending();
    Picture sheet(host.GetSafeHwnd());
    ASSERT_TRUE(sheet.Save(std::string("controls-") + GetParam() + ".bmp"));

    EXPECT_GT(sheet.Count(RECT{8, 12, 94, 28}, labels->TextColor), 20) << "label";
    EXPECT_GT(sheet.Count(RECT{8, 76, 94, 92}, RGB(0, 0, 255)), 20) << "link";
    EXPECT_GT(sheet.Count(RECT{106, 12, 285, 28}, edits->TextColor), 20) << "edit text";
    EXPECT_GT(sheet.Count(RECT{106, 44, 285, 60}, edits->DisabledTextColor), 20) << "disabled edit text";
    EXPECT_EQ(sheet.Differences(227, 72, searchRecord.Image, 0, 0, 64, 24), 0) << "button";
    EXPECT_EQ(sheet.Differences(159, 72, greyRecord.Image, 0, 3 * 24, 64, 24), 0) << "disabled button";
    EXPECT_EQ(sheet.Differences(8, 126, radioRecords[1].Image, 0, 3 * 20, 140, 20), 0) << "checked radio";
    EXPECT_GT(sheet.Count(RECT{8, 172, 291, 290}, RGB(255, 0, 0)), 10) << "chat";
}

INSTANTIATE_TEST_SUITE_P(ShippedSkins, ControlsSheet, ::testing::Values("Daylight", "Graphite"));
