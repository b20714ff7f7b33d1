#pragma once
// The fixture of the window, dialog and message box tests: both shipped
// skins read once, Daylight registered for every test (and taken away
// after it), a backdrop behind every window.
#include "WindowSkinRecords.h"
#include "WindowTestSupport.h"

#include <gtest/gtest.h>

#include <memory>

namespace wintest {

class SkinnedWindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite();
    static void TearDownTestSuite();
    void SetUp() override;
    void TearDown() override;

    static const WindowSkin& Daylight() { return *s_daylight; }
    static const WindowSkin& Graphite() { return *s_graphite; }

private:
    static std::unique_ptr<WindowSkin> s_daylight;
    static std::unique_ptr<WindowSkin> s_graphite;
    static std::unique_ptr<Backdrop> s_backdrop;
    static bool s_loaded;
};

}  // namespace wintest
