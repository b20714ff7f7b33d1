// The path finder on a real window in both shipped skins: typed and placed
// ends, the guard of a placed contact with a private address, dropped
// contacts, and the request it hands on.
#include "EditsTestSupport.h"
#include "OrvCtrlsTestSupport.h"
#include "OrvPathFinderCtrl.h"

#include "DragTestSupport.h"
#include "OrvMessages.h"

#include "COleInitializer.h"

#include <gtest/gtest.h>

#include <cstring>

using dragtest::MoveTo;
using dragtest::PressLeft;
using dragtest::ReleaseLeft;
using dragtest::TapKey;
using edittest::HostWindow;
using edittest::ImagePixel;
using edittest::InputFence;
using edittest::Picture;
using edittest::WaitFor;
using orvctrlstest::CtrlsSkin;
using orvctrlstest::EnglishTexts;
using orvctrlstest::Person;
using orvctrlstest::PressChord;
using orvctrlstest::RecordingSearchPath;

namespace {

class PathFinderTest : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        ASSERT_TRUE(skin.IsRead());
        ASSERT_TRUE(finder.GetSafeHwnd());
        finder.SetPos(10, 10, 300, 124);
        skin.Apply(finder);
        ASSERT_TRUE(WaitFor([] { return ::GetQueueStatus(QS_PAINT) == 0; }));
    }

    std::string Name(const char* what) const {
        return std::string("orvctrls-pathfinder-") + skin.Name() + "-" + what + ".bmp";
    }

    void Focus(CSkinnedEdit& edit) {
        ::SetForegroundWindow(host.GetSafeHwnd());
        edit.SetFocus();
        ASSERT_TRUE(WaitFor([&] { return ::GetFocus() == edit.GetSafeHwnd(); }));
    }

    void ClickButton() {
        // A fresh hover, so the press surely lands after the move.
        if (finder.GetButton().GetHovered()) {
            ASSERT_TRUE(fence.Pass());
            ASSERT_TRUE(WaitFor([&] { return !finder.GetButton().GetHovered(); }));
        }
        const POINT centre = edittest::ScreenCentre(finder.GetButton().GetSafeHwnd());
        MoveTo(centre.x, centre.y);
        ASSERT_TRUE(WaitFor([&] { return finder.GetButton().GetHovered(); }));
        PressLeft();
        ReleaseLeft();
    }

    static bool SetClipboardText(HWND owner, const char* text) {
        if (!::OpenClipboard(owner)) return false;
        ::EmptyClipboard();
        const size_t size = strlen(text) + 1;
        HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, size);
        bool set = false;
        if (block) {
            memcpy(::GlobalLock(block), text, size);
            ::GlobalUnlock(block);
            set = ::SetClipboardData(CF_TEXT, block) != nullptr;
            if (!set) ::GlobalFree(block);
        }
        ::CloseClipboard();
        return set;
    }

    static std::string ClipboardText(HWND owner) {
        std::string text;
        if (!::OpenClipboard(owner)) return text;
        if (HANDLE block = ::GetClipboardData(CF_TEXT)) {
            if (const char* data = static_cast<const char*>(::GlobalLock(block))) text = data;
            ::GlobalUnlock(block);
        }
        ::CloseClipboard();
        return text;
    }

    static std::string Text(CSkinnedEdit& edit) { return edit.GetWindowText().GetString(); }

    CtrlsSkin skin{GetParam()};
    HostWindow host{40, 40, 340, 160};
    RecordingSearchPath requests;
    OrvPathFinderCtrl finder{&host, &requests, &EnglishTexts()};
    InputFence fence;
    const ORVCONTACTINFO hidden = Person("id-77", "Ann", "Lee", "ann@secret.org", 1);
    const ORVCONTACTINFO shown = Person("id-12", "Bo", "Ng", "bo@x.org", 0);
};

}  // namespace

TEST_P(PathFinderTest, TheWindowIsMadeAsTheMainWindowExpects) {
    char className[64] = {};
    ::GetClassNameA(finder.GetSafeHwnd(), className, sizeof className);
    EXPECT_STREQ(className, "OrvPathFinderCtrl");
    EXPECT_EQ(::GetDlgCtrlID(finder.GetSafeHwnd()), 50);
    EXPECT_TRUE(::GetWindowLongA(finder.GetSafeHwnd(), GWL_EXSTYLE) & WS_EX_CONTROLPARENT);
    EXPECT_EQ(finder.GetButton().GetDlgCtrlID(), 8);
    const OrvToolTip& tips = finder.GetToolTip();
    EXPECT_EQ(tips.GetToolCount(), 3);
    EXPECT_STREQ(tips.GetRectToolText(OrvPathFinderCtrl::kSourceLabelTip).GetString(),
                 EnglishTexts().GetString("IDS_SKIN_TIP_LBL_SOURCE_EMAIL").GetString());
    EXPECT_STREQ(tips.GetRectToolText(OrvPathFinderCtrl::kDestinationLabelTip).GetString(),
                 EnglishTexts().GetString("IDS_SKIN_TIP_LBL_DESTINATION").GetString());
    EXPECT_STREQ(tips.GetToolText(finder.GetButton().GetSafeHwnd()).GetString(),
                 EnglishTexts().GetString("IDS_SKIN_TIP_BTN_SEARCH2").GetString());
    EXPECT_STREQ(finder.GetSourceLabel().GetText().GetString(),
                 EnglishTexts().GetString("IDS_SKIN_LBL_SOURCE_EMAIL").GetString());
    EXPECT_FALSE(tips.IsActive());
}

TEST_P(PathFinderTest, LabelsFieldsAndButtonAreDrawnWhereTheSkinPutsThem) {
    Picture picture(host.GetSafeHwnd());
    ASSERT_TRUE(picture.Save(Name("empty")));
    const POINT origin = orvctrlstest::ClientOrigin(finder.GetSafeHwnd(), host.GetSafeHwnd());
    const int ox = origin.x, oy = origin.y;
    const ButtonSkinInfo_t* button = finder.GetButtonSkinInfo();
    EXPECT_EQ(picture.Differences(ox + button->X, oy + button->Y, button->Image, 0, 0, button->Width, button->Height), 0)
        << "the button's normal band; see " << Name("empty");

    // Each label's rectangle holds text in the Labels colour; the space
    // between the labels and the button is plain tiled background.
    const LabelSkinInfo_t* label = finder.GetSourceLabelSkinInfo();
    const RECT labelArea{ox + label->X, oy + label->Y, ox + label->X + label->Width, oy + label->Y + label->Height};
    EXPECT_GT(picture.Count(labelArea, label->Skin->TextColor), 5) << "the source label's text";
    const LabelSkinInfo_t* destination = finder.GetDestinationLabelSkinInfo();
    const RECT destinationArea{ox + destination->X, oy + destination->Y, ox + destination->X + destination->Width,
                               oy + destination->Y + destination->Height};
    EXPECT_GT(picture.Count(destinationArea, destination->Skin->TextColor), 5) << "the destination label's text";

    const ControlBorderInfo_t* frame = skin.Control(crPathFinderCtrl);
    ASSERT_TRUE(frame && frame->MainImage && frame->ContentWidth > 0);
    int wrong = 0;
    const int top = destination->Y + destination->Height + 2;
    for (int y = top; y < button->Y; ++y)
        for (int x = 2; x < label->X + 60; x += 3)
            if (picture.Pixel(ox + x, oy + y) != ImagePixel(*frame->MainImage, frame->ContentX + x % frame->ContentWidth,
                                                           frame->ContentY + y % frame->ContentHeight))
                ++wrong;
    EXPECT_EQ(wrong, 0) << "tiled background below the labels";

    const EditSkinInfo_t* edit = finder.GetDestinationEditSkinInfo();
    RECT place{};
    ::GetWindowRect(finder.GetDestinationEdit().GetSafeHwnd(), &place);
    POINT corner{place.left, place.top};
    ::ScreenToClient(finder.GetSafeHwnd(), &corner);
    EXPECT_EQ(corner.x, edit->X);
    EXPECT_EQ(corner.y, edit->Y);
    EXPECT_EQ(place.right - place.left, edit->Width);
}

TEST_P(PathFinderTest, ASearchWithAnEmptyEndDoesNothing) {
    finder.GetSourceEdit().SetWindowText("a@x.org");
    finder.GetDestinationEdit().SetWindowText("   ");
    finder.OnBtnSearchClicked();
    EXPECT_TRUE(requests.requests.empty()) << "a blank destination";
    finder.GetSourceEdit().SetWindowText("");
    finder.GetDestinationEdit().SetWindowText("b@x.org");
    ClickButton();
    ASSERT_TRUE(fence.Pass());
    EXPECT_TRUE(requests.requests.empty()) << "an empty source";

    finder.GetSourceEdit().SetWindowText("  a@x.org ");
    ClickButton();
    ASSERT_TRUE(WaitFor([&] { return requests.requests.size() == 1; }));
    const auto& request = requests.requests[0];
    EXPECT_EQ(request.destinationTyped, 1);
    EXPECT_EQ(request.source, "a@x.org");
    EXPECT_EQ(request.destination, "b@x.org");
    EXPECT_FALSE(request.hasSourceId);
    EXPECT_FALSE(request.hasDestinationId);
    ASSERT_TRUE(fence.Pass());
}

TEST_P(PathFinderTest, APlacedPrivateContactShowsItsTextAndTravelsByItsId) {
    finder.SetPathSearchSource(&shown);
    EXPECT_EQ(Text(finder.GetSourceEdit()), "bo@x.org") << "a shown address is the field's text";
    finder.SetPathSearchDestination(&hidden);
    EXPECT_EQ(Text(finder.GetDestinationEdit()), "Ann Lee (address hidden)");
    int start = -1, end = -1;
    finder.GetDestinationEdit().GetSel(start, end);
    EXPECT_EQ(start, 0) << "caret at the start";
    EXPECT_EQ(end, 0);
    ASSERT_TRUE(WaitFor([] { return ::GetQueueStatus(QS_PAINT) == 0; }));
    Picture(host.GetSafeHwnd()).Save(Name("placed"));

    EXPECT_TRUE(finder.PerformSearch()) << "posts the button's command";
    ASSERT_TRUE(WaitFor([&] { return requests.requests.size() == 1; }));
    const auto& request = requests.requests[0];
    EXPECT_EQ(request.destinationTyped, 0);
    EXPECT_EQ(request.destination, "") << "the private text never travels";
    ASSERT_TRUE(request.hasDestinationId);
    EXPECT_EQ(request.destinationId, "id-77");
    EXPECT_EQ(request.source, "bo@x.org");
    EXPECT_FALSE(request.hasSourceId) << "a shown address travels as text";

    finder.SetPathSearchDestination(nullptr);
    EXPECT_TRUE(finder.GetPathSearchDestination().IsEmpty());
    EXPECT_EQ(Text(finder.GetDestinationEdit()), "");
}

TEST_P(PathFinderTest, DeleteClearsAPrivateContactAndTypingReplacesIt) {
    CSkinnedEdit& field = finder.GetDestinationEdit();
    finder.SetPathSearchDestination(&hidden);
    Focus(field);
    TapKey(VK_DELETE);
    ASSERT_TRUE(WaitFor([&] { return Text(field).empty(); })) << "Delete empties the field";
    EXPECT_TRUE(finder.GetPathSearchDestination().IsEmpty()) << "and lets the contact go";

    finder.SetPathSearchDestination(&hidden);
    TapKey(VK_END);  // moving passes
    TapKey('Z');
    ASSERT_TRUE(WaitFor([&] { return Text(field) == "z"; })) << "typing replaces the whole private text";
    EXPECT_TRUE(finder.GetPathSearchDestination().IsEmpty());
    TapKey('Y');
    ASSERT_TRUE(WaitFor([&] { return Text(field) == "zy"; })) << "then the field is an ordinary one";

    // Selecting and copying pass; cutting and pasting are swallowed.
    finder.SetPathSearchDestination(&hidden);
    const std::string privateText = Text(field);
    ASSERT_TRUE(SetClipboardText(host.GetSafeHwnd(), "PASTED"));
    PressChord(VK_SHIFT, VK_END);
    PressChord(VK_CONTROL, 'X');
    PressChord(VK_CONTROL, 'V');
    PressChord(VK_CONTROL, 'C');
    // The copy arrived last: every key before it was handled by then.
    ASSERT_TRUE(WaitFor([&] { return ClipboardText(host.GetSafeHwnd()) == privateText; })) << "Ctrl+C copies";
    EXPECT_EQ(Text(field), privateText) << "neither cut nor paste changed the field";
    EXPECT_FALSE(finder.GetPathSearchDestination().IsEmpty());

    PressChord(VK_SHIFT, VK_INSERT);
    ASSERT_TRUE(WaitFor([&] { return Text(field).empty(); })) << "Shift+Insert clears instead of pasting";
    EXPECT_TRUE(finder.GetPathSearchDestination().IsEmpty());

    // Backspace is a character: like any typed one it takes the whole text.
    finder.SetPathSearchDestination(&hidden);
    TapKey(VK_RIGHT);
    TapKey(VK_BACK);
    ASSERT_TRUE(WaitFor([&] { return Text(field) != privateText; }));
    EXPECT_TRUE(Text(field).empty());
    EXPECT_TRUE(finder.GetPathSearchDestination().IsEmpty());
}

TEST_P(PathFinderTest, EnterInAFieldSearchesOnlyWhileTheButtonIsEnabled) {
    finder.GetSourceEdit().SetWindowText("a@x.org");
    finder.GetDestinationEdit().SetWindowText("b@x.org");
    Focus(finder.GetDestinationEdit());
    TapKey(VK_END);
    TapKey(VK_RETURN);
    ASSERT_TRUE(WaitFor([&] { return requests.requests.size() == 1; }));
    finder.SetEnabledSearchButton(false);
    EXPECT_FALSE(finder.GetEnabledSearchButton());
    TapKey(VK_RETURN);
    TapKey('C');
    ASSERT_TRUE(WaitFor([&] { return Text(finder.GetDestinationEdit()) == "b@x.orgc"; }));
    EXPECT_EQ(requests.requests.size(), 1u) << "Enter with the button disabled does nothing";
}

TEST_P(PathFinderTest, OnlyTheTwoFieldsTakeDroppedContacts) {
    const HWND window = finder.GetSafeHwnd();
    EXPECT_EQ(::SendMessageA(window, ORV_WM_QUERY_DROP, 0, reinterpret_cast<LPARAM>(&finder.GetSourceEdit())), 1);
    EXPECT_EQ(::SendMessageA(window, ORV_WM_QUERY_DROP, 0, reinterpret_cast<LPARAM>(&finder.GetDestinationEdit())), 1);
    CSkinnedEdit stranger;
    EXPECT_EQ(::SendMessageA(window, ORV_WM_QUERY_DROP, 0, reinterpret_cast<LPARAM>(&stranger)), 0);
    EXPECT_EQ(::SendMessageA(window, ORV_WM_QUERY_DROP, 0, 0), 0);

    // As the drop target of a field asks: through the field.
    const HWND source = finder.GetSourceEdit().GetSafeHwnd();
    EXPECT_EQ(::SendMessageA(source, ORV_WM_QUERY_DROP, 0, 0), 1);
    ORVCONTACTINFO dropped = hidden;
    EXPECT_EQ(::SendMessageA(source, ORV_WM_CONTACT_DROPPED, 0, reinterpret_cast<LPARAM>(&dropped)), 1);
    dropped.id = "changed after the drop";
    EXPECT_STREQ(finder.GetPathSearchSource().GetContact().id.GetString(), "id-77") << "the end keeps a copy";
    EXPECT_EQ(Text(finder.GetSourceEdit()), "Ann Lee (address hidden)");
    EXPECT_EQ(::SendMessageA(window, ORV_WM_CONTACT_DROPPED, reinterpret_cast<WPARAM>(&stranger),
                             reinterpret_cast<LPARAM>(&shown)),
              0);
    EXPECT_EQ(::SendMessageA(window, ORV_WM_CONTACT_DROPPED, reinterpret_cast<WPARAM>(&finder.GetDestinationEdit()), 0),
              0)
        << "no contact, nothing placed";
    EXPECT_TRUE(finder.GetPathSearchDestination().IsEmpty());
}

TEST(PathFinderDragTest, AContactDraggedOntoTheDestinationFieldIsPlacedThere) {
    COleInitializer ole;
    CtrlsSkin skin("Daylight");
    ASSERT_TRUE(skin.IsRead());
    HostWindow host{40, 40, 340, 160};
    RecordingSearchPath requests;
    // Made after OLE, so its fields register their drop targets.
    OrvPathFinderCtrl finder(&host, &requests, &EnglishTexts());
    finder.SetPos(10, 10, 300, 124);
    skin.Apply(finder);
    ORVCONTACTINFO contact = dragtest::SampleContact();
    contact.emailPrivate = 1;

    dragtest::DragSourceWindow source(420, 300, 120, 80);
    dragtest::ContactData offered = dragtest::MakeContactData(contact);
    source.data = offered.data.Get();
    dragtest::InputWorker worker(
        dragtest::DropOnField(source, dragtest::CentreOf(finder.GetDestinationEdit().GetSafeHwnd())));
    ASSERT_EQ(worker.Join(), "");
    EXPECT_EQ(source.result, static_cast<DROPEFFECT>(DROPEFFECT_COPY)) << "the field took the contact";
    ASSERT_FALSE(finder.GetPathSearchDestination().IsEmpty());
    EXPECT_STREQ(finder.GetPathSearchDestination().GetContact().id.GetString(), "4711");
    EXPECT_TRUE(finder.GetPathSearchSource().IsEmpty()) << "the other end stays as it was";
    EXPECT_STREQ(finder.GetDestinationEdit().GetWindowText().GetString(), "Ada Lovelace (address hidden)");
    Picture(host.GetSafeHwnd()).Save("orvctrls-pathfinder-dropped.bmp");
}

INSTANTIATE_TEST_SUITE_P(ShippedSkins, PathFinderTest, ::testing::Values("Daylight", "Graphite"));
