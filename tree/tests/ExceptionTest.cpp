// The library's exceptions: their texts, labels and places, and the ones
// raised by asking for layout or painting before the first skin.
#include "CIndexOfBoundException.h"
#include "CTreeException.h"
#include "CTreeItem.h"
#include "CTreeView.h"
#include "TreeTestSupport.h"

#include <gtest/gtest.h>

#include <string>

using namespace treetest;

namespace {
std::string ErrorMessage(const CException& e) {
    char text[512];
    EXPECT_TRUE(e.GetErrorMessage(text, sizeof text));
    return text;
}
}  // namespace

TEST(TreeExceptions, MessagesCarryLabelTextLineAndFile) {
    const EException base("Something", 12, "Here");
    EXPECT_STREQ(base.GetText(), "Something at line 12 in file Here\n");
    EXPECT_EQ(ErrorMessage(base), "Exception Something at line 12 in file Here\n");

    const CTreeException tree("Too few nodes", 45, "NodesList");
    EXPECT_EQ(ErrorMessage(tree), "ETreeException Too few nodes at line 45 in file NodesList\n");
    const CIndexOfBoundException index("invalid index", 79, "NodesList");
    EXPECT_EQ(ErrorMessage(index),
              "CIndexOfBoundException invalid index at line 79 in file NodesList\n");

    // Caught through the framework's base, as callers of the library do.
    try {
        throw CTreeException("x", 1, "f");
    } catch (CException& e) {
        EXPECT_STREQ(e.GetRuntimeClassName(), "CTreeException");
        EXPECT_EQ(ErrorMessage(e), "ETreeException x at line 1 in file f\n");
    }
}

TEST(TreeExceptions, MessageIsCutToTheCallersBuffer) {
    const CTreeException e("Too few nodes", 45, "NodesList");
    char small[10];
    EXPECT_TRUE(e.GetErrorMessage(small, sizeof small));
    EXPECT_STREQ(small, "ETreeExce");
    EXPECT_FALSE(e.GetErrorMessage(nullptr, 0));
}

TEST(TreeExceptions, LayoutAndPaintingBeforeTheFirstSkinRaise) {
    TreeHost host(nullptr);
    ASSERT_TRUE(host.Ready());
    CTreeView* view = host.Tree().getInterface();
    ASSERT_FALSE(view->IsInitialized());
    const auto expectSkinError = [](const std::function<void()>& call, int line) {
        try {
            call();
            ADD_FAILURE() << "no exception for line " << line;
        } catch (CTreeException& e) {
            EXPECT_EQ(std::string(e.GetText()),
                      "Use uninitialized parametr. Skin not initialized !\n at line " +
                          std::to_string(line) + " in file TreeView\n");
        }
    };
    expectSkinError([&] { view->GetLayoutMargins(); }, 228);
    expectSkinError([&] { view->GetRadiusX(); }, 228);
    expectSkinError([&] { view->GetRadiusY(); }, 228);
    ClsBitMap image;
    expectSkinError([&] { view->Paint(nullptr, CRect(0, 0, 10, 10), image); }, 540);
    expectSkinError(
        [&] {
            CTreeItem node(&host.Tree(), nullptr);
            CDC dc;
            view->DrawNode(dc, node);
        },
        40);
    try {
        view->GetStyle(8);
        ADD_FAILURE() << "state 8 accepted";
    } catch (CIndexOfBoundException& e) {
        EXPECT_STREQ(e.GetText(), "Invalid sate at line 87 in file TreeView\n");
    }
    EXPECT_THROW(view->GetStyle(-1), CIndexOfBoundException);
}
