// How values are cut out of a line and typed as text, number or colour.
#include "IniFileTest.h"

#include <cstdint>

using IniValues = IniFileTest;

namespace {

void ExpectNumber(const ClsIniFileToken* token, int32_t number) {
    ASSERT_NE(token, nullptr);
    EXPECT_EQ(token->GetType(), ITT_NUMBER) << token->GetName();
    EXPECT_EQ(token->GetNumber(), number) << token->GetName();
}

void ExpectText(const ClsIniFileToken* token, const char* text) {
    ASSERT_NE(token, nullptr);
    EXPECT_EQ(token->GetType(), ITT_TEXT) << token->GetName();
    EXPECT_STREQ(token->GetText(), text) << token->GetName();
}

void ExpectColor(const ClsIniFileToken* token, COLORREF color) {
    ASSERT_NE(token, nullptr);
    EXPECT_EQ(token->GetType(), ITT_COLOR) << token->GetName();
    EXPECT_EQ(token->GetColor(), color) << token->GetName();
}

}  // namespace

TEST_F(IniValues, QuotesMakeTextOfAnything) {
    const auto ini = Parse(
        "[S]\r\n"
        "Width = 120\r\n"
        "QuotedWidth = \"120\"\r\n"
        "SingleQuoted = '-7'\r\n"
        "QuotedColor = \"#FF0000\"\r\n");
    ExpectNumber(Token(*ini, "S", "Width"), 120);
    ExpectText(Token(*ini, "S", "QuotedWidth"), "120");
    ExpectText(Token(*ini, "S", "SingleQuoted"), "-7");
    ExpectText(Token(*ini, "S", "QuotedColor"), "#FF0000");
    // A number entry keeps its text as well.
    EXPECT_STREQ(Token(*ini, "S", "Width")->GetText(), "120");
}

TEST_F(IniValues, UnquotedValuesEndAtTheFirstBlank) {
    const auto ini = Parse(
        "[S]\r\n"
        "FontName = Times New Roman\r\n"
        "Quoted = \"Times New Roman\"\r\n"
        "Tabs = '\tTimes\t New '\r\n"
        "Mixed = \"it's\"\r\n"
        "Other = 'say \"hi\"'\r\n");
    ExpectText(Token(*ini, "S", "FontName"), "Times");
    ExpectText(Token(*ini, "S", "Quoted"), "Times New Roman");
    ExpectText(Token(*ini, "S", "Tabs"), "\tTimes\t New ");
    ExpectText(Token(*ini, "S", "Mixed"), "it's");
    ExpectText(Token(*ini, "S", "Other"), "say \"hi\"");
    // "New" and "Roman" are no entries of their own.
    EXPECT_EQ(Token(*ini, "S", "New"), nullptr);
    EXPECT_EQ(Token(*ini, "S", "Roman"), nullptr);
}

TEST_F(IniValues, AnUnterminatedQuoteRunsToTheEndOfItsLineOnly) {
    const auto ini = Parse(
        "[S]\r\n"
        "Open = \"Times New\r\n"
        "Next = 5\r\n"
        "Last = 'x y");
    ExpectText(Token(*ini, "S", "Open"), "Times New");
    ExpectNumber(Token(*ini, "S", "Next"), 5);
    ExpectText(Token(*ini, "S", "Last"), "x y");
}

TEST_F(IniValues, SeveralPairsOnOneLineAfterUnquotedValues) {
    const auto ini = Parse(
        "[S]\r\n"
        "a = 1 b = 2\tc=3\r\n"
        "q = \"x\" d = 4\r\n"
        "e = 5 ; trailing comment = 6\r\n"
        "f = 7 g\r\n"
        "h = 8\r\n");
    ExpectNumber(Token(*ini, "S", "a"), 1);
    ExpectNumber(Token(*ini, "S", "b"), 2);
    ExpectNumber(Token(*ini, "S", "c"), 3);
    // After a quoted value the closing mark starts a would-be name: the rest
    // of that line is dropped.
    ExpectText(Token(*ini, "S", "q"), "x");
    EXPECT_EQ(Token(*ini, "S", "d"), nullptr);
    // "; trailing" has no '=' right after its name.
    ExpectNumber(Token(*ini, "S", "e"), 5);
    EXPECT_EQ(Token(*ini, "S", ";"), nullptr);
    EXPECT_EQ(Token(*ini, "S", "comment"), nullptr);
    ExpectNumber(Token(*ini, "S", "f"), 7);
    ExpectNumber(Token(*ini, "S", "h"), 8);
}

TEST_F(IniValues, ColoursAreHashAndExactlySixDigits) {
    const auto ini = Parse(
        "[S]\r\n"
        "Red = #FF0000\r\n"
        "Lower = #00ff80\r\n"
        "Blue = #0000FF\r\n"
        "Short = #FF00\r\n"
        "Long = #FF000000\r\n"
        "NoHash = FF0000\r\n"
        "NotHex = #GG0000\r\n"
        "HalfHex = #1G2H3Z\r\n");
    ExpectColor(Token(*ini, "S", "Red"), 255);
    ExpectColor(Token(*ini, "S", "Lower"), RGB(0, 255, 128));
    ExpectColor(Token(*ini, "S", "Blue"), 0xFF0000);
    ExpectText(Token(*ini, "S", "Short"), "#FF00");
    ExpectText(Token(*ini, "S", "Long"), "#FF000000");
    ExpectText(Token(*ini, "S", "NoHash"), "FF0000");
    // Non-hexadecimal characters count as the digit 0.
    ExpectColor(Token(*ini, "S", "NotHex"), 0);
    ExpectColor(Token(*ini, "S", "HalfHex"), RGB(0x10, 0x20, 0x30));
    EXPECT_STREQ(Token(*ini, "S", "NotHex")->GetText(), "#GG0000");
}

TEST_F(IniValues, SignsDigitsAndWhatIsNoNumber) {
    const auto ini = Parse(
        "[S]\r\n"
        "Minus = -\r\n"
        "Plus = +\r\n"
        "Negative = -7\r\n"
        "Positive = +5\r\n"
        "Octalish = 007\r\n"
        "Zero = 0\r\n"
        "Suffix = 12a\r\n"
        "Hex = 0x10\r\n"
        "TwoSigns = --5\r\n"
        "SignHash = +#12345\r\n"
        "Decimal = 1.5\r\n"
        "Max = 2147483647\r\n"
        "Min = -2147483648\r\n");
    ExpectText(Token(*ini, "S", "Minus"), "-");
    ExpectText(Token(*ini, "S", "Plus"), "+");
    ExpectNumber(Token(*ini, "S", "Negative"), -7);
    ExpectNumber(Token(*ini, "S", "Positive"), 5);
    ExpectNumber(Token(*ini, "S", "Octalish"), 7);
    ExpectNumber(Token(*ini, "S", "Zero"), 0);
    ExpectText(Token(*ini, "S", "Suffix"), "12a");
    ExpectText(Token(*ini, "S", "Hex"), "0x10");
    ExpectText(Token(*ini, "S", "TwoSigns"), "--5");
    ExpectText(Token(*ini, "S", "SignHash"), "+#12345");
    ExpectText(Token(*ini, "S", "Decimal"), "1.5");
    ExpectNumber(Token(*ini, "S", "Max"), INT32_MAX);
    ExpectNumber(Token(*ini, "S", "Min"), INT32_MIN);
}

TEST_F(IniValues, NumbersBeyondThirtyTwoBitsSaturate) {
    const auto ini = Parse(
        "[S]\r\n"
        "Big = 2147483648\r\n"
        "Huge = 99999999999999999999999999\r\n"
        "Small = -2147483649\r\n"
        "Tiny = -99999999999999999999999999\r\n");
    ExpectNumber(Token(*ini, "S", "Big"), INT32_MAX);
    ExpectNumber(Token(*ini, "S", "Huge"), INT32_MAX);
    ExpectNumber(Token(*ini, "S", "Small"), INT32_MIN);
    ExpectNumber(Token(*ini, "S", "Tiny"), INT32_MIN);
}

TEST_F(IniValues, EmptyValuesAreTextWithoutText) {
    const auto ini = Parse(
        "[S]\r\n"
        "Bare =\r\n"
        "Blanks = \t \r\n"
        "Quotes = \"\" later = 1\r\n"
        "Single = ''\r\n"
        "Open = \"\r\n"
        "AtEnd =");
    for (const char* name : {"Bare", "Blanks", "Quotes", "Single", "Open", "AtEnd"}) {
        const ClsIniFileToken* token = Token(*ini, "S", name);
        ASSERT_NE(token, nullptr) << name;
        EXPECT_EQ(token->GetType(), ITT_TEXT) << name;
        EXPECT_FALSE(token->HasText()) << name;
        EXPECT_STREQ(token->GetText(), "") << name;
    }
    // The rest of a line after an empty value is skipped.
    EXPECT_EQ(Token(*ini, "S", "later"), nullptr);
}

TEST_F(IniValues, BytesThatAreNotCharactersStayInTheValue) {
    static const char raw[] = "[S]\r\nNul = 1\0002\r\nHigh = \xE9t\xE9\r\nColor = #\0\0\0\0\0\0\r\n";
    const auto ini = Parse(std::string(raw, sizeof raw - 1));
    // The NUL ends the stored text but not the value: "1\0" "2" is no number.
    const ClsIniFileToken* nul = Token(*ini, "S", "Nul");
    ASSERT_NE(nul, nullptr);
    EXPECT_EQ(nul->GetType(), ITT_TEXT);
    EXPECT_STREQ(nul->GetText(), "1");
    ExpectText(Token(*ini, "S", "High"), "\xE9t\xE9");
    ExpectColor(Token(*ini, "S", "Color"), 0);
}
