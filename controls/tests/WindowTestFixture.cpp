#include "WindowTestFixture.h"

#include "TestSupport.h"

namespace wintest {

std::unique_ptr<WindowSkin> SkinnedWindowTest::s_daylight;
std::unique_ptr<WindowSkin> SkinnedWindowTest::s_graphite;
std::unique_ptr<Backdrop> SkinnedWindowTest::s_backdrop;
bool SkinnedWindowTest::s_loaded = false;

void SkinnedWindowTest::SetUpTestSuite() {
    s_daylight = std::make_unique<WindowSkin>();
    s_graphite = std::make_unique<WindowSkin>();
    s_loaded = LoadWindowSkin(ShippedSkinFolder("Daylight"), s_daylight.get()) &&
               LoadWindowSkin(ShippedSkinFolder("Graphite"), s_graphite.get());
    s_backdrop = std::make_unique<Backdrop>();
    orvtest::PumpPending();
}

void SkinnedWindowTest::TearDownTestSuite() {
    UnregisterWindowSkin();
    s_backdrop.reset();
    s_graphite.reset();
    s_daylight.reset();
}

void SkinnedWindowTest::SetUp() {
    ASSERT_TRUE(s_loaded) << "the shipped skins Daylight and Graphite must be in " << ShippedSkinFolder("");
    RegisterWindowSkin(*s_daylight);
}

void SkinnedWindowTest::TearDown() {
    UnregisterWindowSkin();
    orvtest::PumpPending();
}

}  // namespace wintest
