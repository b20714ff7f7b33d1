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
    bool caught = false;
    try {
        AfxThrowMemoryException();
    } catch (...) {
        caught = true;
        EXPECT_EQ(Describe(), "Out of memory.");
    }
    EXPECT_TRUE(caught);
    caught = false;
    try {
        throw SilentException();
    } catch (...) {
        caught = true;
        EXPECT_EQ(Describe(), "SilentException") << "no message: its class";
    }
    EXPECT_TRUE(caught);
    caught = false;
    try {
        throw BrokenMessageException();
    } catch (...) {
        caught = true;
        EXPECT_EQ(Describe(), "BrokenMessageException (its message failed)");
    }
    EXPECT_TRUE(caught);
    caught = false;
    try {
        throw std::out_of_range("index 7");
    } catch (...) {
        caught = true;
        EXPECT_EQ(Describe(), "index 7");
    }
    EXPECT_TRUE(caught);
    caught = false;
    try {
        throw 42;
    } catch (...) {
        caught = true;
        EXPECT_EQ(Describe(), "unknown exception");
    }
    EXPECT_TRUE(caught);
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
    try {
        throw std::logic_error("table is inconsistent");
    } catch (...) {
        AfxTraceCaughtException("tests: loading the table");
    }
    EXPECT_EQ(AfxGetTracedExceptionCount(), before + 1);
    EXPECT_NE(capture.Text().find("tests: loading the table: exception caught: table is inconsistent\n"),
              std::string::npos)
        << capture.Text();
}
