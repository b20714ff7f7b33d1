// CSDialog and CSButton on a real dialog made from a template: push buttons
// taken once and only they, the client area kept, the caption and frame,
// the background and the transparent texts on it, the buttons' 6-band
// images composed from the record with the band of each state on the
// screen, their shapes, clicks that still reach the dialog, the skin
// change to Graphite, the caption following deactivation, and everything
// given back on uninstalling.
#include "CSDialog.h"
#include "CSkin.h"
#include "SkinnedNonClient.h"
#include "WindowTestFixture.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

using namespace wintest;

namespace {
CSButton* SkinnedButton(HWND button) { return dynamic_cast<CSButton*>(CWnd::FromHandlePermanent(button)); }

void Show(HWND window) {
    ::ShowWindow(window, SW_SHOW);
    ::SetForegroundWindow(window);
    ::UpdateWindow(window);
    ::SendMessageA(window, WM_NCACTIVATE, TRUE, 0);
    orvtest::PumpPending();
}

// How many solid pixels of an image band a picture of the button does not
// show (the band's magenta pixels are not looked at).
int BandMismatches(HWND button, const ClsBitMap& image, int band) {
    const Pixels shot = CaptureWindow(button);
    const Pixels bands = ImagePixels(image);
    const int height = shot.Height();
    int wrong = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < shot.Width(); ++x) {
            const COLORREF expected = bands.At(x, band * height + y);
            if (expected != kMagenta && shot.At(x, y) != expected) ++wrong;
        }
    return wrong;
}

bool Near(COLORREF a, COLORREF b, int tolerance) {
    return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance && std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
           std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

// Writes a blue bar in each band and counts the calls.
class BarWriter : public IButtonCaptionWriter {
public:
    int calls = 0;
    int bandsSeen = 0;
    void WriteCaption(HDC dc, const RECT& rect, int band, const CString& text) override {
        ++calls;
        bandsSeen |= 1 << band;
        lastText = text;
        RECT bar{rect.left + 2, rect.top + 2, rect.left + 8, rect.bottom - 2};
        ::FillRect(dc, &bar, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
    }
    CString lastText;
};

class SkinnedDialog : public SkinnedWindowTest {};
}  // namespace

TEST_F(SkinnedDialog, PushButtonsAreTakenOnceAndNothingElse) {
    TestDialog dialog;
    ASSERT_TRUE(dialog.GetSafeHwnd());
    CWnd taken;
    ASSERT_TRUE(taken.SubclassWindow(dialog.Item(kTakenId))) << "a push button with a framework object of its own";
    CSDialog skin;
    ASSERT_TRUE(skin.Install(dialog, "dialog"));
    EXPECT_EQ(skin.GetButtonCount(), 2);
    EXPECT_NE(SkinnedButton(dialog.Item(IDOK)), nullptr);
    EXPECT_NE(SkinnedButton(dialog.Item(IDCANCEL)), nullptr);
    for (int other : {kCheckId, kRadioId, kGroupId, kLabelId})
        EXPECT_EQ(CWnd::FromHandlePermanent(dialog.Item(other)), nullptr) << "control " << other;
    EXPECT_EQ(CWnd::FromHandlePermanent(dialog.Item(kTakenId)), &taken);
    EXPECT_EQ(::SendMessageA(dialog.Item(IDOK), CSButton::WM_IS_SBUTTON_ALREADY_SUB, 0, 0), 1);
    EXPECT_EQ(::SendMessageA(dialog.Item(kCheckId), CSButton::WM_IS_SBUTTON_ALREADY_SUB, 0, 0), 0);
    EXPECT_EQ(SkinnedButton(dialog.Item(IDOK))->GetSkinName(), CString("dialog\\button"));

    // Once only: neither a skin change nor a second component takes them again.
    ::SendMessageA(dialog, CSkin::WM_SKIN_CHANGED, 0, 0);
    EXPECT_EQ(skin.GetButtonCount(), 2);
    {
        CSDialog second;
        ASSERT_TRUE(second.Install(dialog, "dialog"));
        EXPECT_EQ(second.GetButtonCount(), 0);
    }
    EXPECT_NE(SkinnedButton(dialog.Item(IDOK)), nullptr);

    // A push button made later is taken at the next skin change.
    HWND later = ::CreateWindowExA(0, "BUTTON", "Later", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 10, 120, 70, 24,
                                   dialog, nullptr, nullptr, nullptr);
    ASSERT_NE(later, nullptr);
    ::SendMessageA(dialog, CSkin::WM_SKIN_CHANGED, 0, 0);
    EXPECT_EQ(skin.GetButtonCount(), 3);
    EXPECT_NE(SkinnedButton(later), nullptr);

    EXPECT_FALSE(CSButton::CanSkin(nullptr));
    EXPECT_FALSE(CSButton::CanSkin(dialog));
    EXPECT_FALSE(CSButton::CanSkin(dialog.Item(kCheckId)));
    EXPECT_FALSE(CSButton::CanSkin(dialog.Item(IDOK)));
    CSButton stray;
    EXPECT_FALSE(stray.Install(dialog.Item(kRadioId)));
    EXPECT_FALSE(stray.Install(reinterpret_cast<HWND>(static_cast<UINT_PTR>(0x5678))));
    taken.UnsubclassWindow();
}

TEST_F(SkinnedDialog, TheDialogKeepsItsClientAreaAndWearsTheSkin) {
    TestDialog dialog;
    const CRect client = ClientOnScreen(dialog);
    CSDialog skin;
    ASSERT_TRUE(skin.Install(dialog, "dialog"));
    EXPECT_EQ(ClientOnScreen(dialog), client) << "the template's client area, where the system put it";
    EXPECT_EQ(skin.GetCaption().GetCaptionText(), CString("Find a contact"));
    Show(dialog);
    ::SetFocus(dialog.Item(kCheckId));
    orvtest::PumpPending();

    NonClientView view;
    view.skin = &Daylight();
    const Pixels shot = CaptureWindow(dialog);
    EXPECT_TRUE(ShowsSkinnedNonClient(shot, dialog, view));
    EXPECT_GT(WrittenPixels(shot, dialog, *Daylight().caption.Get(), true), 40) << "the title";

    // The background, and static texts and check boxes written on it.
    const COLORREF background = Daylight().background->Color;
    EXPECT_EQ(skin.GetBackgroundColor(), background);
    const CRect bounds = WindowOnScreen(dialog);
    const CPoint origin(client.left - bounds.left, client.top - bounds.top);
    EXPECT_EQ(shot.At(origin.x + 3, origin.y + client.Height() - 3), background);
    for (int id : {kLabelId, kCheckId}) {
        const CRect item = WindowOnScreen(dialog.Item(id));
        EXPECT_EQ(shot.At(item.right - 2 - bounds.left, item.top + item.Height() / 2 - bounds.top), background)
            << "behind the text of control " << id;
    }

    ASSERT_TRUE(WaitForScreen(CPoint(client.left + 3, client.bottom - 3), background));
    const CRect okOnScreen = WindowOnScreen(dialog.Item(IDOK));
    ASSERT_TRUE(WaitForScreen(CPoint(okOnScreen.left + okOnScreen.Width() / 2, okOnScreen.top + 1),
                              CaptureWindow(dialog.Item(IDOK)).At(okOnScreen.Width() / 2, 1)));
    const Pixels screen = CaptureScreen(bounds);
    screen.Save("dialog-daylight.bmp");
    view.onScreen = true;
    EXPECT_TRUE(ShowsSkinnedNonClient(screen, dialog, view));
}

TEST_F(SkinnedDialog, ButtonImagesAreComposedFromTheRecordInSixBands) {
    TestDialog dialog;
    CSDialog skin;
    ASSERT_TRUE(skin.Install(dialog, "dialog"));
    Show(dialog);
    CSButton* ok = SkinnedButton(dialog.Item(IDOK));
    ASSERT_NE(ok, nullptr);
    orvtest::PumpPending();
    const ButtonSkin& record = *Daylight().button.Get();
    const ControlBorderInfo_t& cells = record.Border;
    const Pixels source = ImagePixels(record.Image);
    const CRect client = ClientOnScreen(dialog.Item(IDOK));
    const int width = client.Width(), height = client.Height();
    const ClsBitMap& image = ok->GetImage();
    ASSERT_EQ(image.GetWidth(), width);
    ASSERT_EQ(image.GetHeight(), CSButton::kBandCount * height);
    const Pixels bands = ImagePixels(image);
    bands.Save("dialog-daylight-ok-bands.bmp");

    for (int band = 0; band < CSButton::kBandCount; ++band) {
        const int top = band * height, dy = band * cells.InterationStep;
        // The corners at their own size, from the band's cells.
        for (int y = 0; y < cells.TopBorderWidth; ++y)
            for (int x = 0; x < cells.LeftBorderWidth; ++x) {
                ASSERT_EQ(bands.At(x, top + y), source.At(cells.LeftTopCornerX + x, cells.LeftTopCornerY + dy + y))
                    << "band " << band << " left-top (" << x << ", " << y << ")";
                ASSERT_EQ(bands.At(width - cells.RightBorderWidth + x, top + height - cells.BottomBorderWidth + y),
                          source.At(cells.RightBottomCornerX + x, cells.RightBottomCornerY + dy + y))
                    << "band " << band << " right-bottom";
            }
        // The top edge stretched along the band from its cell.
        const COLORREF edge = bands.At(width / 2, top);
        bool fromCell = false;
        for (int i = 0; i < cells.TopBorderLength; ++i) fromCell |= source.At(cells.TopBorderX + i, cells.TopBorderY + dy) == edge;
        EXPECT_TRUE(fromCell) << "band " << band << " top edge shows " << Describe(edge);
        // The text in the font's colour, the disabled colour in band 3.
        const COLORREF ink = band == CSButton::kBandDisabled ? record.DisabledTextColor : record.Font.GetColor();
        int inked = 0;
        for (int y = top; y < top + height; ++y)
            for (int x = 0; x < width; ++x) inked += Near(bands.At(x, y), ink, 24);
        EXPECT_GT(inked, 5) << "\"OK\" written in band " << band << " in " << Describe(ink);
    }

    // The shape is the solid part of band 0.
    CRgn shape;
    shape.CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(::GetWindowRgn(dialog.Item(IDOK), shape), ERROR);
    int cut = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const bool solid = bands.At(x, y) != kMagenta;
            cut += !solid;
            ASSERT_EQ(shape.PtInRegion(x, y), solid) << "(" << x << ", " << y << ")";
        }
    EXPECT_GT(cut, 0) << "the shipped button has round corners";
}

TEST_F(SkinnedDialog, EachButtonShowsTheBandOfItsState) {
    TestDialog dialog;
    CSDialog skin;
    ASSERT_TRUE(skin.Install(dialog, "dialog"));
    Show(dialog);
    HWND okWindow = dialog.Item(IDOK), cancelWindow = dialog.Item(IDCANCEL);
    CSButton* ok = SkinnedButton(okWindow);
    CSButton* cancel = SkinnedButton(cancelWindow);
    ASSERT_TRUE(ok && cancel);
    ::SetFocus(dialog.Item(kCheckId));
    orvtest::PumpPending();

    EXPECT_EQ(ok->GetStateBand(), CSButton::kBandDefault);
    EXPECT_EQ(BandMismatches(okWindow, ok->GetImage(), CSButton::kBandDefault), 0);
    EXPECT_EQ(cancel->GetStateBand(), CSButton::kBandNormal);
    EXPECT_EQ(BandMismatches(cancelWindow, cancel->GetImage(), CSButton::kBandNormal), 0);
    EXPECT_GT(BandMismatches(cancelWindow, cancel->GetImage(), CSButton::kBandDefault), 0)
        << "the bands differ, or this test proves nothing";

    ::SendMessageA(cancelWindow, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_TRUE(cancel->GetHover());
    EXPECT_EQ(BandMismatches(cancelWindow, cancel->GetImage(), CSButton::kBandHover), 0) << "hovered";
    ::SendMessageA(cancelWindow, BM_SETSTATE, TRUE, 0);
    EXPECT_TRUE(cancel->GetPushed());
    EXPECT_EQ(BandMismatches(cancelWindow, cancel->GetImage(), CSButton::kBandPushed), 0) << "hovered and pushed";
    ::SendMessageA(cancelWindow, BM_SETSTATE, FALSE, 0);
    ::SendMessageA(cancelWindow, WM_MOUSELEAVE, 0, 0);
    EXPECT_FALSE(cancel->GetHover());
    EXPECT_EQ(BandMismatches(cancelWindow, cancel->GetImage(), CSButton::kBandNormal), 0);

    ::SetFocus(cancelWindow);
    EXPECT_EQ(BandMismatches(cancelWindow, cancel->GetImage(), CSButton::kBandFocused), 0) << "focused";
    ::EnableWindow(okWindow, FALSE);
    EXPECT_EQ(BandMismatches(okWindow, ok->GetImage(), CSButton::kBandDisabled), 0) << "disabled";
    ::EnableWindow(okWindow, TRUE);
    ::SetFocus(dialog.Item(kCheckId));
    ::SendMessageA(dialog, DM_SETDEFID, IDOK, 0);
    orvtest::PumpPending();
    EXPECT_EQ(BandMismatches(okWindow, ok->GetImage(), ok->GetStateBand()), 0);

    // A new text is written into new bands.
    const Pixels before = ImagePixels(ok->GetImage());
    ::SetWindowTextA(okWindow, "Search");
    const Pixels renamed = ImagePixels(ok->GetImage());
    int changed = 0;
    for (int y = 0; y < renamed.Height(); ++y)
        for (int x = 0; x < renamed.Width(); ++x) changed += renamed.At(x, y) != before.At(x, y);
    EXPECT_GT(changed, 10);
    EXPECT_EQ(BandMismatches(okWindow, ok->GetImage(), ok->GetStateBand()), 0);
    CaptureWindow(dialog).Save("dialog-daylight-buttons.bmp");
}

TEST_F(SkinnedDialog, ClicksStillReachTheDialog) {
    TestDialog dialog;
    CSDialog skin;
    ASSERT_TRUE(skin.Install(dialog, "dialog"));
    Show(dialog);
    ::SendMessageA(dialog.Item(IDOK), BM_CLICK, 0, 0);
    EXPECT_EQ(dialog.okCount, 1);

    const CRect cancel = WindowOnScreen(dialog.Item(IDCANCEL));
    const CPoint centre((cancel.left + cancel.right) / 2, (cancel.top + cancel.bottom) / 2);
    ::SetCursorPos(centre.x, centre.y);
    INPUT input[2] = {};
    input[0].type = input[1].type = INPUT_MOUSE;
    input[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    input[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    ASSERT_EQ(::SendInput(2, input, sizeof(INPUT)), 2u);
    EXPECT_TRUE(orvtest::PumpUntil([&] { return dialog.cancelCount == 1; })) << "a real click on Cancel";
    ::SetCursorPos(0, 0);
}

TEST_F(SkinnedDialog, ASkinChangeReachesTheCaptionTheButtonsAndTheBackground) {
    TestDialog dialog;
    CSDialog skin;
    ASSERT_TRUE(skin.Install(dialog, "dialog"));
    Show(dialog);
    ::SetFocus(dialog.Item(kCheckId));
    const CRect client = ClientOnScreen(dialog);
    CSButton* ok = SkinnedButton(dialog.Item(IDOK));
    ASSERT_NE(ok, nullptr);
    const COLORREF daylightCorner = ImagePixels(ok->GetImage()).At(ok->GetImage().GetWidth() / 2, 0);

    RegisterWindowSkin(Graphite());
    ::SendMessageA(dialog, CSkin::WM_SKIN_CHANGED, 0, 0);
    orvtest::PumpPending();
    EXPECT_EQ(ClientOnScreen(dialog), client);
    NonClientView view;
    view.skin = &Graphite();
    const Pixels shot = CaptureWindow(dialog);
    EXPECT_TRUE(ShowsSkinnedNonClient(shot, dialog, view));
    const CRect bounds = WindowOnScreen(dialog);
    EXPECT_EQ(shot.At(client.left - bounds.left + 3, client.bottom - bounds.top - 3), Graphite().background->Color);
    EXPECT_EQ(skin.GetBackgroundColor(), Graphite().background->Color);
    const COLORREF graphiteEdge = ImagePixels(ok->GetImage()).At(ok->GetImage().GetWidth() / 2, 0);
    EXPECT_NE(graphiteEdge, daylightCorner) << "the button composed from Graphite's record";
    EXPECT_EQ(BandMismatches(dialog.Item(IDOK), ok->GetImage(), ok->GetStateBand()), 0);

    // The label is written in Graphite's light text colour on its dark background.
    const CRect label = WindowOnScreen(dialog.Item(kLabelId));
    int light = 0;
    for (int y = label.top; y < label.bottom; ++y)
        for (int x = label.left; x < label.right; ++x)
            light += Near(shot.At(x - bounds.left, y - bounds.top), Graphite().button->Font.GetColor(), 40);
    EXPECT_GT(light, 10) << "the label is readable";

    ASSERT_TRUE(WaitForScreen(CPoint(client.left + 3, client.bottom - 3), Graphite().background->Color));
    const CRect okOnScreen = WindowOnScreen(dialog.Item(IDOK));
    ASSERT_TRUE(WaitForScreen(CPoint(okOnScreen.left + okOnScreen.Width() / 2, okOnScreen.top + 1),
                              CaptureWindow(dialog.Item(IDOK)).At(okOnScreen.Width() / 2, 1)));
    CaptureScreen(bounds).Save("dialog-graphite.bmp");
}

TEST_F(SkinnedDialog, TheCaptionFollowsWhenAnotherWindowOfTheProgramTakesTheActivation) {
    TestDialog dialog;
    CSDialog skin;
    ASSERT_TRUE(skin.Install(dialog, "dialog"));
    Show(dialog);
    ::SetActiveWindow(dialog);
    orvtest::PumpPending();
    ASSERT_TRUE(skin.GetCaption().GetActive());

    TestFrame other("Other", WS_OVERLAPPEDWINDOW, 600, 400, 200, 150);
    ::ShowWindow(other, SW_SHOW);
    ::SetActiveWindow(other);
    orvtest::PumpPending();
    EXPECT_FALSE(skin.GetCaption().GetActive());
    NonClientView view;
    view.skin = &Daylight();
    view.active = false;
    EXPECT_TRUE(ShowsSkinnedNonClient(CaptureWindow(dialog), dialog, view));

    ::SetActiveWindow(dialog);
    orvtest::PumpPending();
    EXPECT_TRUE(skin.GetCaption().GetActive());
}

TEST_F(SkinnedDialog, StaticsAndCheckBoxesGetTheBackgroundBrushOnlyWithARecord) {
    TestDialog dialog;
    CSDialog skin;
    ASSERT_TRUE(skin.Install(dialog, "dialog"));
    HDC memory = ::CreateCompatibleDC(nullptr);
    ::SetBkMode(memory, OPAQUE);
    auto brush = reinterpret_cast<HBRUSH>(::SendMessageA(dialog, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(memory),
                                                         reinterpret_cast<LPARAM>(dialog.Item(kLabelId))));
    LOGBRUSH description{};
    ASSERT_TRUE(brush && ::GetObjectA(brush, sizeof description, &description));
    EXPECT_EQ(description.lbColor, ::GetNearestColor(memory, Daylight().background->Color));
    EXPECT_EQ(::GetBkMode(memory), TRANSPARENT);
    EXPECT_EQ(::GetTextColor(memory), Daylight().button->Font.GetColor()) << "in the theme's text colour";
    // A colour the dialog chose itself stays.
    dialog.labelInk = RGB(200, 0, 0);
    ::SendMessageA(dialog, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(memory),
                   reinterpret_cast<LPARAM>(dialog.Item(kLabelId)));
    EXPECT_EQ(::GetTextColor(memory), RGB(200, 0, 0));
    dialog.labelInk = CLR_INVALID;
    ::SetBkMode(memory, OPAQUE);
    auto again = reinterpret_cast<HBRUSH>(::SendMessageA(dialog, WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(memory),
                                                         reinterpret_cast<LPARAM>(dialog.Item(kCheckId))));
    EXPECT_EQ(again, brush) << "one brush while the colour stays";

    CSkin::GetInstance()->DeleteComponent(CSDialog::kBackgroundRecord);
    ::SetBkMode(memory, OPAQUE);
    auto plain = reinterpret_cast<HBRUSH>(::SendMessageA(dialog, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(memory),
                                                         reinterpret_cast<LPARAM>(dialog.Item(kLabelId))));
    EXPECT_EQ(::GetBkMode(memory), OPAQUE) << "without the record the system's answer stands";
    if (plain && ::GetObjectA(plain, sizeof description, &description)) {
        EXPECT_NE(description.lbColor, Daylight().background->Color);
    }
    EXPECT_EQ(skin.GetBackgroundColor(), CSDialog::kDefaultBackground);
    Show(dialog);
    const CRect client = ClientOnScreen(dialog), bounds = WindowOnScreen(dialog);
    EXPECT_EQ(CaptureWindow(dialog).At(client.left - bounds.left + 3, client.bottom - bounds.top - 3),
              CSDialog::kDefaultBackground);
    ::DeleteDC(memory);
}

TEST_F(SkinnedDialog, ATextParameterReplacesTheRecordsFontAndMayWriteTheCaption) {
    TestDialog dialog;
    CSDialog skin;
    ASSERT_TRUE(skin.Install(dialog, "dialog"));
    Show(dialog);
    CSButton* cancel = SkinnedButton(dialog.Item(IDCANCEL));
    ASSERT_NE(cancel, nullptr);
    const int height = ClientOnScreen(dialog.Item(IDCANCEL)).Height();
    const auto inked = [&](COLORREF ink, int band) {
        const Pixels bands = ImagePixels(cancel->GetImage());
        int count = 0;
        for (int y = band * height; y < (band + 1) * height; ++y)
            for (int x = 0; x < bands.Width(); ++x) count += Near(bands.At(x, y), ink, 24);
        return count;
    };
    ButtonTextParam_t param;
    param.Font.SetName("Arial");
    param.Font.SetHeight(-14);
    param.Font.SetBold(true);
    param.Font.SetColor(RGB(220, 20, 20));
    param.DisabledTextColor = RGB(20, 20, 220);
    cancel->SetTextParam(&param);
    ASSERT_NE(cancel->GetTextParam(), nullptr);
    ::RedrawWindow(dialog.Item(IDCANCEL), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_GT(inked(RGB(220, 20, 20), 0), 5) << "red text";
    EXPECT_GT(inked(RGB(20, 20, 220), CSButton::kBandDisabled), 5) << "blue when disabled";

    BarWriter writer;
    param.Writer = &writer;
    cancel->SetTextParam(&param);
    ::RedrawWindow(dialog.Item(IDCANCEL), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_EQ(writer.calls, CSButton::kBandCount);
    EXPECT_EQ(writer.bandsSeen, (1 << CSButton::kBandCount) - 1);
    EXPECT_EQ(writer.lastText, CString("Cancel"));
    EXPECT_EQ(ImagePixels(cancel->GetImage()).At(4, height / 2), RGB(0, 0, 0)) << "what the writer drew";
    EXPECT_EQ(inked(RGB(220, 20, 20), 0), 0) << "and nothing else";

    cancel->SetTextParam(nullptr);
    ::RedrawWindow(dialog.Item(IDCANCEL), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_GT(inked(Daylight().button->Font.GetColor(), 0), 5) << "the record's font again";

    // A whole image of the right size replaces the composed one.
    ClsBitMap own;
    const int width = cancel->GetImage().GetWidth();
    ASSERT_TRUE(own.AllocateBitMap(width, CSButton::kBandCount * height, pf32bit));
    own.Lock()->FillSolidRect(0, 0, width, CSButton::kBandCount * height, RGB(10, 120, 200));
    own.Unlock();
    ClsBitMap wrong;
    ASSERT_TRUE(wrong.AllocateBitMap(width, height, pf32bit));
    EXPECT_FALSE(cancel->SetImage(&wrong));
    EXPECT_FALSE(cancel->SetImage(nullptr));
    ASSERT_TRUE(cancel->SetImage(&own));
    ::RedrawWindow(dialog.Item(IDCANCEL), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_EQ(CaptureWindow(dialog.Item(IDCANCEL)).At(width / 2, height / 2), RGB(10, 120, 200));
}

TEST_F(SkinnedDialog, UninstallingGivesTheButtonsBackToTheSystem) {
    auto dialog = std::make_unique<TestDialog>();
    const CRect client = ClientOnScreen(*dialog);
    auto skin = std::make_unique<CSDialog>();
    ASSERT_TRUE(skin->Install(*dialog, "dialog"));
    HWND ok = dialog->Item(IDOK);
    ASSERT_NE(SkinnedButton(ok), nullptr);
    skin.reset();
    EXPECT_EQ(CWnd::FromHandlePermanent(ok), nullptr);
    CRgn shape;
    shape.CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(::GetWindowRgn(ok, shape), ERROR);
    EXPECT_EQ(ClientOnScreen(*dialog), client);
    ::SendMessageA(ok, BM_CLICK, 0, 0);
    EXPECT_EQ(dialog->okCount, 1) << "the button still works";

    // The other way round: the dialog goes first, the component after it.
    skin = std::make_unique<CSDialog>();
    ASSERT_TRUE(skin->Install(*dialog, "dialog"));
    ASSERT_EQ(skin->GetButtonCount(), 3) << "OK, Cancel and Taken";
    dialog.reset();
    EXPECT_FALSE(skin->IsHooked());
    skin.reset();
}
