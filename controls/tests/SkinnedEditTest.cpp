// Skinned edits and the memo on real windows, in both shipped skins: the
// frame drawn from the Edits cells around a client area cut by the border
// widths, the text in the skin's colours (greyed when disabled), Enter
// handed to the parent (never to the callback), the callback's say over
// other keys and button releases, contacts dropped on an edit reaching the
// parent with that edit, a skin change taken at once, and the memo's new
// lines, scroll bar inside the frame and Tab.
#include "CSkin.h"
#include "CSkinnedEdit.h"
#include "CSkinnedMemo.h"
#include "COleInitializer.h"
#include "ClsFrameDrawer.h"
#include "ControlsTestSupport.h"
#include "DragTestSupport.h"
#include "EditsTestSupport.h"
#include "OrvMessages.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace edittest;
using dragtest::MoveTo;
using dragtest::PressLeft;
using dragtest::ReleaseLeft;
using dragtest::TapKey;

namespace {
const int kX = 14, kY = 12, kWidth = 200, kHeight = 24;

// Hears what the edit lets it hear; turns 'a' into 'b' on its way.
class RecordingCallBack : public IClsSkinnedEdit {
public:
    void OnEditKeyDown(CSkinnedEdit* edit, unsigned* key, long* flags) override {
        keysDown.push_back(*key);
        (void)flags;
        lastEdit = edit;
    }
    void OnEditKeyChar(CSkinnedEdit* edit, unsigned* key) override {
        chars.push_back(*key);
        if (*key == 'a') *key = 'b';
        lastEdit = edit;
    }
    void OnEditMouseUp(CSkinnedEdit* edit, int x, int y, unsigned keys) override {
        ups.push_back({x, y});
        upKeys = keys;
        lastEdit = edit;
    }
    std::vector<unsigned> keysDown, chars;
    std::vector<POINT> ups;
    unsigned upKeys = 0;
    CSkinnedEdit* lastEdit = nullptr;
};

class SkinnedEditTest : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        ASSERT_TRUE(fence.Pass());
        ASSERT_TRUE(ole.IsInitialized());
        ASSERT_TRUE(skin.IsRead());
        record = {kX, kY, kWidth, kHeight, skin.Record(srEdits)};
        ASSERT_NE(record.Skin, nullptr);
        edit = std::make_unique<CSkinnedEdit>(&host, 2001, &record);
        ASSERT_TRUE(edit->GetSafeHwnd());
        edit->SetCallBack(&callBack);
        ::UpdateWindow(host.GetSafeHwnd());
    }
    const SkinBorderInfo_t& Cells() const { return *record.Skin; }
    // Differences between the frame on the screen and the frame drawn
    // from the cells, on the border strips only.
    int FrameDifferences(const Picture& picture, int left, int top, int width, int height) {
        ctltest::Canvas expected(width, height, RGB(1, 2, 3));
        ClsFrameDrawer::DrawEdgesAndCorners(expected.Hdc(), Cells(), *Cells().MainImage, RECT{0, 0, width, height});
        int differing = 0;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const bool border = x < Cells().LeftBorderWidth || x >= width - Cells().RightBorderWidth ||
                                    y < Cells().TopBorderWidth || y >= height - Cells().BottomBorderWidth;
                if (border && picture.Pixel(left + x, top + y) != expected.Pixel(x, y)) ++differing;
            }
        return differing;
    }
    std::string Save(const char* what) {
        orvtest::PumpPending();
        Picture picture(host.GetSafeHwnd());
        const std::string name = std::string("edit-") + GetParam() + "-" + what + ".bmp";
        picture.Save(name);
        return name;
    }

    COleInitializer ole;
    ShippedSkin skin{GetParam()};
    EditSkinInfo_t record;
    HostWindow host{60, 60, 300, 170};
    RecordingCallBack callBack;
    std::unique_ptr<CSkinnedEdit> edit;
    InputFence fence;
};
}  // namespace

TEST_P(SkinnedEditTest, TheFrameSurroundsAClientAreaCutByTheBorderWidthsInTheSkinsColours) {
    RECT client{};
    edit->GetClientRect(&client);
    EXPECT_EQ(client.right, kWidth - Cells().LeftBorderWidth - Cells().RightBorderWidth);
    EXPECT_EQ(client.bottom, kHeight - Cells().TopBorderWidth - Cells().BottomBorderWidth);
    const DWORD style = edit->GetStyle();
    EXPECT_TRUE(style & WS_TABSTOP);
    EXPECT_TRUE(style & ES_AUTOHSCROLL);
    EXPECT_TRUE(style & WS_CLIPSIBLINGS);

    edit->SetWindowText("Ada Lovelace");
    orvtest::PumpPending();
    Picture picture(host.GetSafeHwnd());
    Save("text");
    EXPECT_EQ(FrameDifferences(picture, kX, kY, kWidth, kHeight), 0) << "the frame, cell for cell";
    const RECT inside = {kX + Cells().LeftBorderWidth, kY + Cells().TopBorderWidth,
                         kX + kWidth - Cells().RightBorderWidth, kY + kHeight - Cells().BottomBorderWidth};
    EXPECT_GT(picture.Count(inside, Cells().TextColor), 20) << "the text in the skin's text colour";
    EXPECT_GT(picture.Count(inside, Cells().BgColor), 200) << "on the skin's background";

    edit->EnableWindow(FALSE);
    orvtest::PumpPending();
    Picture greyed(host.GetSafeHwnd());
    Save("disabled");
    EXPECT_GT(greyed.Count(inside, Cells().DisabledTextColor), 20) << "disabled text in the disabled colour";
    EXPECT_EQ(greyed.Count(inside, Cells().TextColor), 0);
}

TEST_P(SkinnedEditTest, EnterGoesToTheParentAndOtherKeysThroughTheCallBack) {
    edit->SetFocus();
    TapKey('A');
    TapKey(VK_RETURN);
    ASSERT_TRUE(fence.Pass());
    CString text = edit->GetWindowText();
    EXPECT_STREQ(text, "b") << "the callback turned a into b";
    std::vector<HostWindow::Sent> keys;
    for (const HostWindow::Sent& sent : host.sent)
        if (sent.message == WM_KEYDOWN || sent.message == WM_CHAR || sent.message == WM_KEYUP) keys.push_back(sent);
    ASSERT_EQ(keys.size(), 3u) << "only Enter reaches the parent";
    EXPECT_EQ(keys[0].message, static_cast<UINT>(WM_KEYDOWN));
    EXPECT_EQ(keys[1].message, static_cast<UINT>(WM_CHAR));
    EXPECT_EQ(keys[2].message, static_cast<UINT>(WM_KEYUP));
    for (const HostWindow::Sent& sent : keys) EXPECT_EQ(sent.wParam, 13u);
    for (unsigned key : callBack.keysDown) EXPECT_NE(key, 13u) << "the callback never sees Enter";
    for (unsigned key : callBack.chars) EXPECT_NE(key, 13u);
    ASSERT_FALSE(callBack.keysDown.empty());
    EXPECT_EQ(callBack.keysDown[0], static_cast<unsigned>('A'));
    EXPECT_EQ(callBack.lastEdit, edit.get());

    const POINT centre = ScreenCentre(edit->GetSafeHwnd());
    MoveTo(centre.x, centre.y);
    PressLeft();
    ReleaseLeft();
    ASSERT_TRUE(fence.Pass());
    ASSERT_EQ(callBack.ups.size(), 1u);
    POINT at = centre;
    ::ScreenToClient(edit->GetSafeHwnd(), &at);
    EXPECT_EQ(callBack.ups[0].x, at.x) << "client coordinates of the release";
    EXPECT_EQ(callBack.ups[0].y, at.y);
}

TEST_P(SkinnedEditTest, AContactDroppedOnAnEditReachesTheParentWithThatEdit) {
    EditSkinInfo_t second = {kX, kY + 40, kWidth, kHeight, skin.Record(srEdits)};
    CSkinnedEdit refusing(&host, 2002, &second);
    // The parent takes contacts into the first edit only.
    host.queryAnswer = [this](LPARAM asking) { return asking == reinterpret_cast<LPARAM>(edit.get()) ? 1 : 0; };
    const ORVCONTACTINFO contact = dragtest::SampleContact();
    for (CSkinnedEdit* target : {edit.get(), &refusing}) {
        dragtest::DragSourceWindow source(420, 300, 120, 80);
        dragtest::ContactData offered = dragtest::MakeContactData(contact);
        source.data = offered.data.Get();
        const size_t asked = host.sent.size();
        dragtest::InputWorker worker(dragtest::DropOnField(source, ScreenCentre(target->GetSafeHwnd())));
        EXPECT_EQ(worker.Join(), "");
        ASSERT_GT(host.sent.size(), asked);
        EXPECT_EQ(host.sent[asked].message, static_cast<UINT>(ORV_WM_QUERY_DROP));
        EXPECT_EQ(host.sent[asked].lParam, reinterpret_cast<LPARAM>(target)) << "asked with the edit";
        if (target == edit.get()) {
            EXPECT_EQ(source.result, static_cast<DROPEFFECT>(DROPEFFECT_COPY));
            ASSERT_EQ(host.dropped.size(), 1u);
            EXPECT_TRUE(dragtest::SameContact(host.dropped[0], contact));
            EXPECT_EQ(host.sent.back().message, static_cast<UINT>(ORV_WM_CONTACT_DROPPED));
            EXPECT_EQ(host.sent.back().wParam, reinterpret_cast<WPARAM>(edit.get())) << "names the edit";
        } else {
            EXPECT_EQ(source.result, static_cast<DROPEFFECT>(DROPEFFECT_NONE));
            EXPECT_EQ(host.dropped.size(), 1u) << "the refusing edit received nothing";
        }
    }
}

TEST_P(SkinnedEditTest, ASkinChangeTakesPlaceFrameColoursAndFontAtOnce) {
    const char* other = std::string(GetParam()) == "Daylight" ? "Graphite" : "Daylight";
    ShippedSkin next(other);
    ASSERT_TRUE(next.IsRead());
    edit->SetWindowText("Ada");
    // The reader fills the host's record again in place and says so.
    record = {kX + 10, kY + 30, kWidth - 20, kHeight + 4, next.Record(srEdits)};
    ::SendMessageA(edit->GetSafeHwnd(), CSkin::WM_SKIN_CHANGED, 0, 0);
    orvtest::PumpPending();
    RECT place{};
    ::GetWindowRect(edit->GetSafeHwnd(), &place);
    ::MapWindowPoints(nullptr, host.GetSafeHwnd(), reinterpret_cast<POINT*>(&place), 2);
    EXPECT_EQ(place.left, kX + 10);
    EXPECT_EQ(place.top, kY + 30);
    EXPECT_EQ(place.right - place.left, kWidth - 20);
    Picture picture(host.GetSafeHwnd());
    picture.Save(std::string("edit-") + GetParam() + "-to-" + other + ".bmp");
    EXPECT_EQ(FrameDifferences(picture, kX + 10, kY + 30, kWidth - 20, kHeight + 4), 0);
    const RECT inside = {place.left + Cells().LeftBorderWidth, place.top + Cells().TopBorderWidth,
                         place.right - Cells().RightBorderWidth, place.bottom - Cells().BottomBorderWidth};
    EXPECT_GT(picture.Count(inside, Cells().TextColor), 10);
    LOGFONTA font{};
    ::GetObjectA(reinterpret_cast<HFONT>(edit->SendMessage(WM_GETFONT)), sizeof font, &font);
    EXPECT_EQ(font.lfHeight, Cells().TextSize);
    EXPECT_STREQ(font.lfFaceName, Cells().TextFont);
}

TEST_P(SkinnedEditTest, TheMemoTakesNewLinesAndKeepsItsScrollBarInsideTheFrame) {
    EditSkinInfo_t memoRecord = {kX, kY + 40, kWidth, 100, skin.Record(srEdits)};
    CSkinnedMemo memo(&host, 2003, &memoRecord);
    ASSERT_TRUE(memo.GetSafeHwnd());
    EXPECT_TRUE(memo.GetStyle() & ES_MULTILINE);
    memo.SetFocus();
    TapKey('A');
    TapKey(VK_RETURN);
    TapKey('B');
    ASSERT_TRUE(fence.Pass());
    EXPECT_EQ(memo.GetLineCount(), 2) << "Enter starts a new line";
    EXPECT_EQ(host.Count(WM_KEYDOWN, 13), 0) << "and does not go to the parent";
    memo.ReplaceSel("\r\nthree\r\nfour\r\nfive\r\nsix\r\nseven\r\neight\r\nnine");

    RECT client{}, window{};
    memo.GetClientRect(&client);
    memo.GetWindowRect(&window);
    const int scrollWidth = ::GetSystemMetrics(SM_CXVSCROLL);
    EXPECT_EQ(client.right, kWidth - Cells().LeftBorderWidth - Cells().RightBorderWidth - scrollWidth)
        << "the scroll bar sits inside the frame";
    orvtest::PumpPending();
    Picture picture(host.GetSafeHwnd());
    picture.Save(std::string("memo-") + GetParam() + ".bmp");
    EXPECT_EQ(FrameDifferences(picture, kX, kY + 40, kWidth, 100), 0);

    MSG tab{};
    tab.message = WM_KEYDOWN;
    tab.wParam = VK_TAB;
    const LRESULT code = ::SendMessageA(memo.GetSafeHwnd(), WM_GETDLGCODE, VK_TAB, reinterpret_cast<LPARAM>(&tab));
    EXPECT_FALSE(code & (DLGC_WANTALLKEYS | DLGC_WANTTAB)) << "Tab moves on in dialogs";
    MSG enter = tab;
    enter.wParam = VK_RETURN;
    EXPECT_TRUE(::SendMessageA(memo.GetSafeHwnd(), WM_GETDLGCODE, VK_RETURN, reinterpret_cast<LPARAM>(&enter)) &
                DLGC_WANTALLKEYS)
        << "Enter stays in the memo";
}

TEST_P(SkinnedEditTest, AnEditWithoutARecordIsAPlainEditAndATinyOneNeverTurnsInsideOut) {
    CSkinnedEdit plain(&host, 2004);
    ASSERT_TRUE(plain.GetSafeHwnd());
    plain.MoveWindow(10, 120, 100, 20);
    RECT client{};
    plain.GetClientRect(&client);
    EXPECT_EQ(client.right, 100);
    plain.SetWindowText("plain");
    EXPECT_STREQ(plain.GetWindowText(), "plain");

    EditSkinInfo_t tiny = {150, 120, 6, 3, skin.Record(srEdits)};
    CSkinnedEdit small(&host, 2005, &tiny);
    small.GetClientRect(&client);
    EXPECT_GE(client.right, 0);
    EXPECT_GE(client.bottom, 0);
    small.SetWindowText("abc");
    orvtest::PumpPending();
}

INSTANTIATE_TEST_SUITE_P(ShippedSkins, SkinnedEditTest, ::testing::Values("Daylight", "Graphite"));
