// The module lookup and the trace of swallowed exceptions.
#include "AfxGlobals.h"
#include "AfxTrace.h"
#include "CException.h"

#include "DebugOutputCapture.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace {

int g_dataOfThisProgram = 0;

void FunctionOfThisProgram() {}

std::string Describe() {
    char text[128];
    AfxDescribeCaughtException(text, sizeof text);
    return text;
}

class SilentException : public CException {
public:
    const char* GetRuntimeClassName() const override { return "SilentException"; }
};

class BrokenMessageException : public CException {
public:
    bool GetErrorMessage(char*, unsigned, unsigned*) const override {
        throw std::runtime_error("message failed");
    }
    const char* GetRuntimeClassName() const override { return "BrokenMessageException"; }
};

// The description of what thrower throws; a marker when it throws nothing.
template <class Thrower>
std::string DescribeWhatIsThrown(Thrower thrower) {
    try {
        thrower();
    } catch (...) {
        return Describe();
    }
    return "(nothing was thrown)";
}

}  // namespace

TEST(ModuleLookup, FindsTheModuleHoldingAnAddress) {
    const HMODULE program = GetModuleHandleA(nullptr);
    const HMODULE framework = GetModuleHandleA("framework.dll");
    ASSERT_NE(framework, nullptr);
    EXPECT_EQ(AfxGetModuleOf(reinterpret_cast<const void*>(&FunctionOfThisProgram)), program);
    EXPECT_EQ(AfxGetModuleOf(&g_dataOfThisProgram), program);
    EXPECT_EQ(AfxGetModuleOf(reinterpret_cast<const void*>(&AfxGetModuleOf)), framework)
        << "code of the framework DLL";
    EXPECT_EQ(AfxGetModuleOf(reinterpret_cast<const void*>(&AfxDescribeCaughtException)), framework);
    int onTheStack = 0;
    EXPECT_EQ(AfxGetModuleOf(&onTheStack), nullptr);
    EXPECT_EQ(AfxGetModuleOf(nullptr), nullptr);
}

TEST(ExceptionTrace, DescribesEachKindOfException) {
    EXPECT_EQ(Describe(), "no exception") << "outside a catch block";
    EXPECT_EQ(DescribeWhatIsThrown([] { AfxThrowMemoryException(); }), "Out of memory.");
    EXPECT_EQ(DescribeWhatIsThrown([] { throw SilentException(); }), "SilentException")
        << "no message: its class";
    EXPECT_EQ(DescribeWhatIsThrown([] { throw BrokenMessageException(); }),
              "BrokenMessageException (its message failed)");
    EXPECT_EQ(DescribeWhatIsThrown([] { throw std::out_of_range("index 7"); }), "index 7");
    EXPECT_EQ(DescribeWhatIsThrown([] { throw 42; }), "unknown exception");
}

TEST(ExceptionTrace, DescriptionIsCutToTheBuffer) {
    try {
        throw std::runtime_error(std::string(500, 'x'));
    } catch (...) {
        char small[8] = "#######";
        AfxDescribeCaughtException(small, sizeof small);
        EXPECT_STREQ(small, "xxxxxxx");
        AfxDescribeCaughtException(nullptr, 10);  // no buffer: nothing happens
        return;
    }
    FAIL() << "nothing was thrown";
}

TEST(ExceptionTrace, TraceNamesThePlaceAndWhatWasCaughtOnTheDebuggerOutput) {
    orvtest::DebugOutputCapture capture;
    ASSERT_TRUE(capture.IsActive());
    const long before = AfxGetTracedExceptionCount();
    bool caught = false;
    try {
        throw std::logic_error("table is inconsistent");
    } catch (...) {
        caught = true;
        AfxTraceCaughtException("tests: loading the table");
    }
    ASSERT_TRUE(caught);
    EXPECT_EQ(AfxGetTracedExceptionCount(), before + 1);
    EXPECT_NE(capture.Text().find("tests: loading the table: exception caught: table is inconsistent\n"),
              std::string::npos)
        << capture.Text();
}
