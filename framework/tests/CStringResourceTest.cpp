// String resources come from the resource module, as CString.h and
// CException.h promise, not from whatever module started the process.
#include "AfxGlobals.h"
#include "CException.h"
#include "CString.h"

#include "StringIds.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Sets the resource module for one test and puts the old one back.
class ResourceModule {
public:
    explicit ResourceModule(HINSTANCE module) : m_saved(AfxGetResourceHandle()) {
        AfxSetResourceHandle(module);
    }
    ~ResourceModule() { AfxSetResourceHandle(m_saved); }
    ResourceModule(const ResourceModule&) = delete;
    ResourceModule& operator=(const ResourceModule&) = delete;

private:
    HINSTANCE m_saved;
};

HMODULE StringModule() {
    static const HMODULE module = LoadLibraryA("framework_test_strings.dll");
    return module;
}

// The text of the message box ReportError shows, read by a timer of the
// box's own modal loop, which then closes it.
std::string g_boxText;
BOOL CALLBACK CollectStatic(HWND child, LPARAM) {
    char className[32] = "";
    GetClassNameA(child, className, sizeof className);
    if (lstrcmpiA(className, "Static") == 0) {
        char text[512] = "";
        GetWindowTextA(child, text, sizeof text);
        g_boxText += text;
    }
    return TRUE;
}
BOOL CALLBACK CloseMessageBox(HWND window, LPARAM found) {
    char className[32] = "";
    GetClassNameA(window, className, sizeof className);
    if (lstrcmpA(className, "#32770") != 0) return TRUE;
    EnumChildWindows(window, CollectStatic, 0);
    PostMessageA(window, WM_COMMAND, IDOK, 0);
    *reinterpret_cast<bool*>(found) = true;
    return FALSE;
}
void CALLBACK WatchForMessageBox(HWND, UINT, UINT_PTR id, DWORD) {
    bool found = false;
    EnumThreadWindows(GetCurrentThreadId(), CloseMessageBox, reinterpret_cast<LPARAM>(&found));
    if (found) KillTimer(nullptr, id);
}

std::string ReportedText(const CException& e, unsigned messageId) {
    g_boxText.clear();
    const UINT_PTR timer = SetTimer(nullptr, 0, 20, WatchForMessageBox);
    e.ReportError(MB_OK, messageId);
    KillTimer(nullptr, timer);
    return g_boxText;
}

}  // namespace

TEST(CStringResources, LoadStringReadsTheResourceModule) {
    ASSERT_NE(StringModule(), nullptr) << GetLastError();
    CString text;
    {
        ResourceModule module(StringModule());
        ASSERT_TRUE(text.LoadString(IDS_WHERE_FROM));
        EXPECT_STREQ(text, "from the resource module");
    }
    ASSERT_TRUE(text.LoadString(IDS_WHERE_FROM));
    EXPECT_STREQ(text, "from the program") << "the program is the default resource module";
    EXPECT_FALSE(text.LoadString(IDS_LONG_TEXT)) << "only the resource module has it";
    EXPECT_STREQ(text, "from the program") << "a failed load leaves the string alone";
}

TEST(CStringResources, LongStringsAreLoadedWhole) {
    ResourceModule module(StringModule());
    CString text;
    ASSERT_TRUE(text.LoadString(IDS_LONG_TEXT));
    EXPECT_EQ(text.GetLength(), 6599);
    EXPECT_EQ(text.Find("The resource module's long text."), 0);
    EXPECT_EQ(text.Right(5), CString("text."));
    EXPECT_FALSE(text.LoadString(IDS_NOWHERE));
}

TEST(CStringResources, ReportErrorTakesItsFallbackTextFromTheResourceModule) {
    ResourceModule module(StringModule());
    CException plain;  // no message of its own
    EXPECT_EQ(ReportedText(plain, IDS_WHERE_FROM), "from the resource module");
    EXPECT_EQ(ReportedText(plain, IDS_NOWHERE), "No error message is available.");
    CMemoryException memory;
    EXPECT_EQ(ReportedText(memory, IDS_WHERE_FROM), "Out of memory.") << "its own message first";
}
