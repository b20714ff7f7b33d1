#include "CString.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

TEST(CStringBasics, ConstructionAndLength) {
    EXPECT_EQ(CString().GetLength(), 0);
    EXPECT_TRUE(CString().IsEmpty());
    EXPECT_STREQ(CString(static_cast<const char*>(nullptr)), "");
    EXPECT_STREQ(CString("abc"), "abc");
    EXPECT_EQ(CString("abc").GetLength(), 3);
    EXPECT_STREQ(CString("abcdef", 4), "abcd");
    // An embedded NUL ends the string: the length never disagrees with strlen.
    const char withNul[] = {'a', 'b', 0, 'c'};
    EXPECT_EQ(CString(withNul, 4).GetLength(), 2);
    EXPECT_STREQ(CString('x', 3), "xxx");
    EXPECT_TRUE(CString('x', 0).IsEmpty());
    EXPECT_STREQ(CString(L"wide"), "wide");
}

TEST(CStringBasics, CopiesAreIndependent) {
    CString a("shared");
    CString b(a);
    CString c;
    c = a;
    b.SetAt(0, 'S');
    c += "!";
    EXPECT_STREQ(a, "shared");
    EXPECT_STREQ(b, "Shared");
    EXPECT_STREQ(c, "shared!");
    CString moved(std::move(c));
    EXPECT_STREQ(moved, "shared!");
    EXPECT_TRUE(c.IsEmpty());
}

TEST(CStringBasics, SelfAssignmentAndAliasing) {
    CString s("abc");
    s = s;
    EXPECT_STREQ(s, "abc");
    s += s;
    EXPECT_STREQ(s, "abcabc");
    s = s.GetString() + 3;  // assigning a pointer into its own characters
    EXPECT_STREQ(s, "abc");
    s += s.GetString() + 1;
    EXPECT_STREQ(s, "abcbc");
}

TEST(CStringBasics, IndexingOutOfRangeIsHarmless) {
    CString s("abc");
    EXPECT_EQ(s.GetAt(-1), 0);
    EXPECT_EQ(s.GetAt(3), 0);
    s.SetAt(5, 'x');
    s.SetAt(-1, 'x');
    EXPECT_STREQ(s, "abc");
    s.SetAt(1, 0);  // writing a NUL shortens the string consistently
    EXPECT_EQ(s.GetLength(), 1);
}

TEST(CStringBasics, ConcatenationOperators) {
    CString a("ab");
    EXPECT_STREQ(a + "cd", "abcd");
    EXPECT_STREQ("x" + a, "xab");
    EXPECT_STREQ(a + 'c', "abc");
    EXPECT_STREQ('z' + a, "zab");
    EXPECT_STREQ(a + CString("!"), "ab!");
    CString grow;
    for (int i = 0; i < 1000; ++i) grow += 'q';
    EXPECT_EQ(grow.GetLength(), 1000);
}

TEST(CStringCompare, OrderingAndCase) {
    CString s("Alpha");
    EXPECT_TRUE(s == "Alpha");
    EXPECT_TRUE(s != "alpha");
    EXPECT_EQ(s.CompareNoCase("aLPHA"), 0);
    EXPECT_LT(s.CompareNoCase("beta"), 0);
    EXPECT_GT(s.CompareNoCase("ALP"), 0);
    EXPECT_LT(CString("ALP").CompareNoCase("alpha"), 0);
    EXPECT_EQ(s.CompareNoCase(nullptr), 1);
    EXPECT_TRUE(CString("a") < CString("b"));
    EXPECT_EQ(CString().Compare(""), 0);
}

TEST(CStringExtract, MidLeftRightClamp) {
    CString s("Hello, world");
    EXPECT_STREQ(s.Mid(7), "world");
    EXPECT_STREQ(s.Mid(7, 3), "wor");
    EXPECT_STREQ(s.Mid(7, 100), "world");
    EXPECT_STREQ(s.Mid(-5, 2), "He");
    EXPECT_STREQ(s.Mid(50), "");
    EXPECT_STREQ(s.Mid(3, -1), "");
    EXPECT_STREQ(s.Left(5), "Hello");
    EXPECT_STREQ(s.Left(100), "Hello, world");
    EXPECT_STREQ(s.Left(-1), "");
    EXPECT_STREQ(s.Right(5), "world");
    EXPECT_STREQ(s.Right(100), "Hello, world");
    EXPECT_STREQ(s.SpanIncluding("Hel"), "Hell");
    EXPECT_STREQ(s.SpanExcluding(",;"), "Hello");
}

TEST(CStringFind, FindFamily) {
    CString s("a,b,,c");
    EXPECT_EQ(s.Find(','), 1);
    EXPECT_EQ(s.Find(',', 2), 3);
    EXPECT_EQ(s.Find(',', 6), -1);
    EXPECT_EQ(s.Find(',', -1), -1);
    EXPECT_EQ(s.Find(",,"), 3);
    EXPECT_EQ(s.Find("c", 5), 5);
    EXPECT_EQ(s.Find("", 6), 6);
    EXPECT_EQ(s.Find("x"), -1);
    EXPECT_EQ(s.ReverseFind(','), 4);
    EXPECT_EQ(s.FindOneOf("cb"), 2);
    EXPECT_EQ(s.FindOneOf(""), -1);
}

TEST(CStringEdit, ReplaceRemoveInsertDelete) {
    CString s("one two one");
    EXPECT_EQ(s.Replace("one", "three"), 2);
    EXPECT_STREQ(s, "three two three");
    EXPECT_EQ(s.Replace("three", ""), 2);
    EXPECT_STREQ(s, " two ");
    EXPECT_EQ(s.Replace("", "x"), 0);
    EXPECT_EQ(s.Replace(' ', '_'), 2);
    EXPECT_STREQ(s, "_two_");
    EXPECT_EQ(s.Remove('_'), 2);
    EXPECT_STREQ(s, "two");
    // Replacing with a text that contains the pattern must not loop.
    CString r("aa");
    EXPECT_EQ(r.Replace("a", "aa"), 2);
    EXPECT_STREQ(r, "aaaa");
    CString crlf("line1\r\nline2\r");
    crlf.Replace('\r', ' ');
    crlf.Replace('\n', ' ');
    EXPECT_STREQ(crlf, "line1  line2 ");

    CString t("ace");
    EXPECT_EQ(t.Insert(1, 'b'), 4);
    EXPECT_EQ(t.Insert(3, "d"), 5);
    EXPECT_EQ(t.Insert(99, "f"), 6);
    EXPECT_STREQ(t, "abcdef");
    EXPECT_EQ(t.Delete(1, 2), 4);
    EXPECT_STREQ(t, "adef");
    EXPECT_EQ(t.Delete(2, 100), 2);
    EXPECT_STREQ(t, "ad");
    EXPECT_EQ(t.Delete(-1), 2);
}

TEST(CStringEdit, CaseAndReverse) {
    CString s("MiXeD 123");
    CString copy(s);
    s.MakeUpper();
    EXPECT_STREQ(s, "MIXED 123");
    s.MakeLower();
    EXPECT_STREQ(s, "mixed 123");
    s.MakeReverse();
    EXPECT_STREQ(s, "321 dexim");
    EXPECT_STREQ(copy, "MiXeD 123");
}

TEST(CStringTrim, TrimFamily) {
    CString s(" \t\r\n text \n");
    CString t(s);
    t.TrimLeft();
    EXPECT_STREQ(t, "text \n");
    t = s;
    t.TrimRight();
    EXPECT_STREQ(t, " \t\r\n text");
    t = s;
    t.Trim();
    EXPECT_STREQ(t, "text");
    EXPECT_STREQ(CString("xxaxx").TrimLeft('x'), "axx");
    EXPECT_STREQ(CString("xxaxx").TrimRight('x'), "xxa");
    EXPECT_STREQ(CString("xyaxy").Trim("xy"), "a");
    EXPECT_STREQ(CString("   ").Trim(), "");
    EXPECT_STREQ(CString("").Trim(), "");
    EXPECT_STREQ(CString("abc").Trim(static_cast<const char*>(nullptr)), "abc");
}

TEST(CStringFormat, FormatsAndSurvivesLongOutput) {
    CString s;
    s.Format("%s at line %d in file %s\n", "Too few nodes", 45, "NodesList");
    EXPECT_STREQ(s, "Too few nodes at line 45 in file NodesList\n");
    s.Format("#%s.%s", "O12", "room");
    EXPECT_STREQ(s, "#O12.room");
    s.Format("%c%08X", 'x', 0xBEEFu);
    EXPECT_STREQ(s, "x0000BEEF");
    std::string big(70000, 'z');
    s.Format("[%s]", big.c_str());
    EXPECT_EQ(s.GetLength(), 70002);
    s.Format("%s", "");
    EXPECT_TRUE(s.IsEmpty());
}

TEST(CStringBuffer, GetAndReleaseBuffer) {
    CString s("abc");
    CString shared(s);
    char* buffer = s.GetBuffer(20);
    std::strcpy(buffer, "longer text");
    s.ReleaseBuffer();
    EXPECT_STREQ(s, "longer text");
    EXPECT_STREQ(shared, "abc");
    buffer = s.GetBuffer(0);
    buffer[3] = 0;
    s.ReleaseBuffer();
    EXPECT_EQ(s.GetLength(), 3);
    s.GetBufferSetLength(2);
    EXPECT_STREQ(s, "lo");
    s.GetBuffer(5);
    s.ReleaseBuffer(1);
    EXPECT_STREQ(s, "l");
}

// A copy made while the buffer was handed out used to share it, and so saw
// every character written through the pointer afterwards.
TEST(CStringBuffer, CopyTakenDuringBufferAccessKeepsItsOwnCharacters) {
    CString s("before");
    char* buffer = s.GetBuffer(32);
    CString copy(s);
    CString assigned;
    assigned = s;
    std::strcpy(buffer, "after");
    s.ReleaseBuffer();
    EXPECT_STREQ(s, "after");
    EXPECT_STREQ(copy, "before");
    EXPECT_STREQ(assigned, "before");

    // Released, the characters are shared again until one side changes.
    CString later(s);
    EXPECT_EQ(later.GetString(), s.GetString());
    later += "!";
    EXPECT_STREQ(s, "after");
    EXPECT_STREQ(later, "after!");

    // GetBufferSetLength hands out the buffer the same way.
    char* sized = s.GetBufferSetLength(3);
    CString third(s);
    sized[0] = 'A';
    s.ReleaseBuffer();
    EXPECT_STREQ(s, "Aft");
    EXPECT_STREQ(third, "aft");
}

TEST(CStringBuffer, StringChangedOrDroppedDuringBufferAccessStaysSound) {
    {
        CString dropped("x");
        dropped.GetBuffer(100);
    }  // freed without ReleaseBuffer
    CString s("abc");
    s.GetBuffer(10);
    s = "replaced";  // ends the access
    CString copy(s);
    EXPECT_EQ(copy.GetString(), s.GetString()) << "an ordinary string again";
    s += " again";
    EXPECT_STREQ(copy, "replaced");
    EXPECT_STREQ(s, "replaced again");

    CString grown("ab");
    char* buffer = grown.GetBuffer(2);
    buffer[0] = 'X';
    grown += "cd";  // reallocates: the access is over
    CString shared(grown);
    EXPECT_EQ(shared.GetString(), grown.GetString());
    EXPECT_STREQ(grown, "Xbcd");
}

TEST(CStringConversion, WideRoundTrip) {
    CString s("Caf\xe9");  // Latin-1 e acute in the Windows ANSI code page
    std::wstring wide = s.ToWide();
    ASSERT_EQ(wide.size(), 4u);
    EXPECT_EQ(wide[3], L'\u00e9');
    EXPECT_STREQ(CString(wide.c_str()), s);
    EXPECT_TRUE(CString().ToWide().empty());
}

TEST(CStringThreads, SharedCopiesAcrossThreads) {
    // Copies of one string made and dropped on many threads at once: the
    // reference count must stay exact (a lost decrement leaks, a lost
    // increment frees the characters under another thread).
    const CString original("shared between threads");
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&original] {
            for (int i = 0; i < 20000; ++i) {
                CString copy(original);
                CString another = copy;
                if (another.GetLength() != original.GetLength()) std::abort();
            }
        });
    }
    for (auto& thread : threads) thread.join();
    EXPECT_STREQ(original, "shared between threads");
}
