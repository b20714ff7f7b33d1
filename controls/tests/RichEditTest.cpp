// The chat text view over the Rich Edit 2.0 control of Wine: chat lines
// with the sender bold in its colour and the text in black, system lines
// italic red or blue, smileys (and their variants) shown as embedded
// pictures and read back as codes, the input side, the bounded history,
// and a view that follows the end only when it showed it.
#include "ClsRichEdit.h"
#include "EditsTestSupport.h"
#include "TestSupport.h"

#include "CBitmap.h"

#include <gtest/gtest.h>

#include <string>

using namespace edittest;

namespace {
const COLORREF kSmileyFace = RGB(250, 210, 20);
const COLORREF kKissFace = RGB(230, 40, 120);

// A 22 x 22 picture: a disc of face colour on magenta.
HBITMAP MakePicture(COLORREF face) {
    CBitmap bitmap;
    bitmap.CreateDIBSection(22, 22, 32);
    HDC dc = ::CreateCompatibleDC(nullptr);
    HGDIOBJ old = ::SelectObject(dc, bitmap);
    for (int y = 0; y < 22; ++y)
        for (int x = 0; x < 22; ++x) {
            const int dx = x - 11, dy = y - 11;
            ::SetPixelV(dc, x, y, dx * dx + dy * dy <= 100 ? face : RGB(255, 0, 255));
        }
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
    return static_cast<HBITMAP>(bitmap.Detach());
}

class ChatView : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(view.Create(&host, 5120, RECT{6, 6, 394, 194}, true));
        smiley = MakePicture(kSmileyFace);
        kiss = MakePicture(kKissFace);
        ASSERT_TRUE(view.AddSmiley(":)", smiley));
        ASSERT_TRUE(view.AddSmiley("(K)", kiss));
        ASSERT_TRUE(view.AddSmiley(";(", smiley));
    }
    void TearDown() override {
        ::DeleteObject(smiley);
        ::DeleteObject(kiss);
    }
    // The attributes of the character at position.
    CHARFORMAT2A FormatAt(long position) {
        view.SetSel(position, position + 1);
        CHARFORMAT2A format{};
        format.dwMask = CFM_COLOR | CFM_BOLD | CFM_ITALIC;
        view.GetSelectionCharFormat(format);
        return format;
    }
    std::string Text() { return std::string(view.GetTextWithSmileyCodes()); }

    HostWindow host{60, 60, 400, 200};
    ClsRichEdit view;
    HBITMAP smiley = nullptr;
    HBITMAP kiss = nullptr;
};
}  // namespace

TEST(ChatColors, TwelveCodesNameTwelveColoursAndAnythingElseIsBlack) {
    const char* codes = "0123456789AB";
    const COLORREF expected[] = {RGB(128, 128, 128), RGB(255, 0, 0), RGB(0, 128, 128), RGB(0, 255, 0),
                                 RGB(0, 0, 255),     RGB(255, 0, 255), RGB(0, 0, 0),   RGB(128, 0, 0),
                                 RGB(128, 128, 0),   RGB(0, 128, 0), RGB(0, 0, 128),   RGB(128, 0, 128)};
    for (int i = 0; i < ClsRichEdit::kChatColorCount; ++i) {
        EXPECT_EQ(ClsRichEdit::GetChatColor(codes[i]), expected[i]) << codes[i];
        EXPECT_EQ(ClsRichEdit::GetChatColorCode(i), codes[i]);
    }
    for (char other : {'C', 'a', 'b', ' ', '\0', '#'}) EXPECT_EQ(ClsRichEdit::GetChatColor(other), RGB(0, 0, 0));
    EXPECT_EQ(ClsRichEdit::GetChatColorCode(-1), '0');
    EXPECT_EQ(ClsRichEdit::GetChatColorCode(12), '0');
}

TEST_F(ChatView, ALineShowsTheSenderBoldInItsColourAndTheTextInBlack) {
    view.AddSentence("Ada", '1', "hello there");
    view.AddSentence("Charles", 'A', "good day");
    EXPECT_EQ(Text(), "Ada: hello there\r\nCharles: good day");
    const CHARFORMAT2A sender = FormatAt(0);
    EXPECT_EQ(sender.crTextColor, RGB(255, 0, 0));
    EXPECT_TRUE(sender.dwEffects & CFE_BOLD);
    EXPECT_FALSE(sender.dwEffects & CFE_ITALIC);
    const CHARFORMAT2A colon = FormatAt(3);
    EXPECT_EQ(colon.crTextColor, RGB(255, 0, 0)) << "\"name: \" in the sender's colour";
    const CHARFORMAT2A text = FormatAt(6);
    EXPECT_EQ(text.crTextColor, RGB(0, 0, 0));
    EXPECT_FALSE(text.dwEffects & CFE_BOLD);
    EXPECT_EQ(FormatAt(17).crTextColor, RGB(0, 0, 128)) << "the second sender's colour";
    view.SetSel(0, 0);
    orvtest::PumpPending();
    Picture picture(host.GetSafeHwnd());
    picture.Save("chat-lines.bmp");
    EXPECT_GT(picture.Count(RECT{6, 6, 394, 60}, RGB(255, 0, 0)), 10) << "red name on the screen";
    EXPECT_GT(picture.Count(RECT{6, 6, 394, 60}, RGB(0, 0, 128)), 10);
}

TEST_F(ChatView, SystemLinesAreItalicRedOrBlueOnLinesOfTheirOwn) {
    view.AddSystemMessage("Inviting to chat...", ttSystemError);
    view.AddSentence("Ada", '6', "hi");
    view.AddSystemMessage(" Entering the \"Tea\" room...", ttSystemInfo);
    EXPECT_EQ(Text(), "Inviting to chat...\r\nAda: hi\r\n Entering the \"Tea\" room...");
    const CHARFORMAT2A error = FormatAt(0);
    EXPECT_EQ(error.crTextColor, RGB(255, 0, 0));
    EXPECT_TRUE(error.dwEffects & CFE_ITALIC);
    EXPECT_FALSE(error.dwEffects & CFE_BOLD);
    const CHARFORMAT2A info = FormatAt(30);
    EXPECT_EQ(info.crTextColor, RGB(0, 0, 255));
    EXPECT_TRUE(info.dwEffects & CFE_ITALIC);
    const CHARFORMAT2A black = FormatAt(20);
    EXPECT_EQ(black.crTextColor, RGB(0, 0, 0)) << "sender colour 6 is black";
    EXPECT_TRUE(black.dwEffects & CFE_BOLD);
    orvtest::PumpPending();
    Picture(host.GetSafeHwnd()).Save("chat-system-lines.bmp");
}

TEST_F(ChatView, SmileyCodesAndTheirVariantsBecomePicturesAndReadBackAsCodes) {
    view.AddSentence("Ada", '4', "hi :) and :-) with (k), not (-K), ;-( but :( stays");
    EXPECT_EQ(view.GetObjectCount(), 4) << ":) :-) (k) ;-(";
    EXPECT_EQ(Text(), "Ada: hi :) and :) with (K), not (-K), ;( but :( stays");
    view.SetSel(0, 0);
    orvtest::PumpPending();
    Picture picture(host.GetSafeHwnd());
    picture.Save("chat-smileys.bmp");
    // Three yellow faces and a pink one, magenta shown as the background.
    EXPECT_GT(picture.Count(RECT{6, 6, 394, 194}, kSmileyFace), 3 * 200) << "the pictures are drawn in the text";
    EXPECT_GT(picture.Count(RECT{6, 6, 394, 194}, kKissFace), 200);
    EXPECT_EQ(picture.Count(RECT{6, 6, 394, 194}, RGB(255, 0, 255)), 0);

    view.RemoveSmileys();
    view.AddSentence("Ada", '4', "now :) is text");
    EXPECT_EQ(view.GetObjectCount(), 4);
    EXPECT_FALSE(view.AddSmiley("", smiley));
    EXPECT_FALSE(view.AddSmiley(":P", nullptr));
}

TEST_F(ChatView, TheInputTakesSmileysAtTheCaretAndGivesThemBackAsCodes) {
    ClsRichEdit input;
    ASSERT_TRUE(input.Create(&host, 5121, RECT{6, 150, 394, 194}, false));
    ASSERT_TRUE(input.AddSmiley(":)", smiley));
    ASSERT_TRUE(input.AddSmiley("(K)", kiss));
    input.ReplaceSel("ab");
    EXPECT_TRUE(input.InsertSmiley(1));
    input.ReplaceSel("c");
    EXPECT_TRUE(input.InsertSmiley(0));
    EXPECT_EQ(input.GetObjectCount(), 2);
    EXPECT_STREQ(input.GetTextWithSmileyCodes(), "ab(K)c:)");
    EXPECT_FALSE(input.InsertSmiley(5)) << "no such smiley";
    input.SetSel(0, -1);
    input.ReplaceSel("line one\r\nline two");
    EXPECT_STREQ(input.GetTextWithSmileyCodes(), "line one\r\nline two");
}

TEST_F(ChatView, TheHistoryIsBoundedAndTheOldestLinesGoFirst) {
    view.SetHistoryLimit(2000);
    EXPECT_EQ(view.GetHistoryLimit(), 2000);
    for (int i = 0; i < 300; ++i) view.AddSentence("Ada", '1', ("line " + std::to_string(i) + " of the chat").c_str());
    EXPECT_LE(view.GetTextLength(), 2000);
    const std::string text = Text();
    EXPECT_EQ(text.find("line 0 "), std::string::npos) << "the oldest lines went";
    EXPECT_EQ(text.rfind("Ada: line 299 of the chat"), text.size() - 25) << "the newest is there";
    EXPECT_EQ(text.compare(0, 5, "Ada: "), 0) << "whole lines go";

    const std::string flood(ClsRichEdit::kMaxLineLength * 2, 'x');
    view.AddSentence("Bob", '2', flood.c_str());
    const std::string after = Text();
    EXPECT_EQ(after.size() - after.rfind("Bob: ") - 5, static_cast<size_t>(ClsRichEdit::kMaxLineLength))
        << "a flood is cut";
    view.AddSentence(nullptr, '\0', nullptr);
    view.AddSystemMessage(nullptr, ttSystemInfo);
}

TEST_F(ChatView, TheViewFollowsTheEndOnlyWhenItShowedItAndKeepsTheSelection) {
    EXPECT_TRUE(view.IsAtEnd()) << "an empty view shows its end";
    for (int i = 0; i < 40; ++i) view.AddSentence("Ada", '1', ("line " + std::to_string(i)).c_str());
    EXPECT_TRUE(view.IsAtEnd()) << "followed while at the end";
    EXPECT_GT(view.GetFirstVisibleLine(), 0);

    ::SendMessageA(view.GetSafeHwnd(), WM_VSCROLL, SB_TOP, 0);
    EXPECT_FALSE(view.IsAtEnd());
    view.SetSel(0, 3);
    view.AddSentence("Ada", '1', "while reading the start");
    EXPECT_EQ(view.GetFirstVisibleLine(), 0) << "the reader stays where he was";
    long start = 0, end = 0;
    view.GetSel(start, end);
    EXPECT_EQ(start, 0);
    EXPECT_EQ(end, 3) << "and keeps his selection";

    view.ScrollToEnd();
    EXPECT_TRUE(view.IsAtEnd());
    orvtest::PumpPending();
    Picture(host.GetSafeHwnd()).Save("chat-scrolled.bmp");
}
