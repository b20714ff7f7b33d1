// The contact-tree's record: sent to the tree's window (a real window that
// copies what it receives) as message 0x8010 during the skin change, filled
// from TreeControl and the node sections, with the drag image registered
// alongside; a tree on another thread, or one already gone.
#include "ReaderTestSupport.h"

#include "CSkin.h"
#include "PopupMenuSkin.h"
#include "SkinComponents.h"
#include "TreeSkinInfo.h"
#include "TreeStandIn.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <thread>

using skintest::ApplyIni;
using skintest::HasProblem;
using skintest::Problems;
using skintest::TreeStandIn;

namespace {

const char kTreeSkin[] =
    "[TreeControl]\nLeftBorderWidth = 3\nTopBorderWidth = 1\nContentWidth = 8\nContentHeight = 8\n"
    "BgColor = #FEFEFE\nTextSize = 12\nMainImage = Frame.bmp\n"
    "RowsColor = #010203\nNodeRootFrmColor = #040506\nNodeUnregFrmColor = \"blue\"\n"
    "NodeUnregPassiveFrmColor = #0A0B0C\nRootButtonNextImage = Next.bmp\n"
    "RootButtonPreviousImage = Previous.bmp\nOnlineIconImage = Online.bmp\nDragDropImage = Drag.bmp\n"
    "[NodeRootSelected]\nTextColor = #FFFFFF\nBgColor = #2563EB\nWidth = 176\nHeight = 36\n"
    "FontName = \"Times New Roman\"\nFontSize = 15\nFontBold = 1\n"
    "[NodeRootUnselected]\nWidth = 160\n"
    "[NodeRegisteredSelected]\nFontBold = 2\nHeight = 32\n"
    "[NodeRegisteredUnselected]\nFontBold = \"1\"\nTextColor = 5\n";

class TreeSkin : public ::testing::Test {
protected:
    void SetUp() override {
        CSkin::GetInstance()->Reset();
        m_root.WriteBitmap("Tree\\Frame.bmp", 10, 10, [](int x, int y) { return RGB(10 * x, 10 * y, 7); });
        m_root.WriteBitmap("Tree\\Next.bmp", 16, 64, [](int, int y) { return RGB(0, 4 * y, 0); });
        m_root.WriteBitmap("Tree\\Previous.bmp", 16, 64, [](int, int y) { return RGB(4 * y, 0, 0); });
        m_root.WriteBitmap("Tree\\Online.bmp", 16, 16, [](int, int) { return RGB(0, 200, 0); });
        m_root.WriteBitmap("Tree\\Drag.bmp", 40, 20, [](int, int) { return RGB(0, 0, 200); });
        m_root.WriteIni("Tree", std::string("[Main]\nSkinName = Tree\nBaseSkin = 1\n") + kTreeSkin);
    }
    void TearDown() override { CSkin::GetInstance()->Reset(); }

    SkinRoot m_root;
};

void ExpectNode(const _NODESKINPARAM& node, COLORREF text, COLORREF background, int width, int height,
                const char* face, int size, int weight, const char* what) {
    EXPECT_EQ(node.TextColor, text) << what;
    EXPECT_EQ(node.BgColor, background) << what;
    EXPECT_EQ(node.Width, width) << what;
    EXPECT_EQ(node.Height, height) << what;
    EXPECT_STREQ(node.FontName, face) << what;
    EXPECT_EQ(node.FontSize, size) << what;
    EXPECT_EQ(node.FontWeight, weight) << what;
}

}  // namespace

TEST_F(TreeSkin, TheTreeReceivesItsRecordDuringTheChange) {
    TreeStandIn tree;
    ASSERT_TRUE(::IsWindow(tree));
    OrvSkinReader reader(m_root.Path().c_str(), nullptr);
    reader.SetTreeWindow(tree);
    EXPECT_EQ(reader.GetTreeWindow(), tree.GetSafeHwnd());
    reader.SetDefaultSkin();
    ASSERT_EQ(tree.received, 1);
    EXPECT_EQ(tree.firstParameter, 0u);
    EXPECT_EQ(tree.thread, ::GetCurrentThreadId());
    EXPECT_TRUE(tree.imageIsTheRecordsOwn);
    EXPECT_TRUE(tree.gapsAsMade);
    TREESKININFO& info = *tree.copy;

    EXPECT_EQ(info.RowsColor, RGB(1, 2, 3));
    EXPECT_EQ(info.NodeRootFrmColor, RGB(4, 5, 6));
    EXPECT_EQ(info.NodeRegFrmColor, 0xFFFFFFu);
    EXPECT_EQ(info.NodeUnregFrmColor, 0xFFFFFFu);
    EXPECT_TRUE(HasProblem(reader, "TreeControl", "NodeUnregFrmColor")) << Problems(reader);
    EXPECT_EQ(info.NodeUnregPassiveFrmColor, RGB(10, 11, 12));

    ExpectNode(info.NodeRootSelected, 0xFFFFFF, RGB(0x25, 0x63, 0xEB), 176, 36, "Times New Roman", 15, 700, "root sel");
    ExpectNode(info.NodeRootUnselected, 0, 0, 160, 30, "Arial", 14, 400, "root unsel");
    ExpectNode(info.NodeRegisteredSelected, 0, 0, 150, 32, "Arial", 14, 700, "reg sel");
    ExpectNode(info.NodeRegisteredUnselected, 0, 0, 150, 30, "Arial", 14, 400, "reg unsel");
    EXPECT_TRUE(HasProblem(reader, "NodeRegisteredUnselected", "FontBold")) << Problems(reader);
    EXPECT_TRUE(HasProblem(reader, "NodeRegisteredUnselected", "TextColor")) << Problems(reader);
    // Missing node sections leave the record as made: zero and empty.
    for (const _NODESKINPARAM* node : {&info.NodeUnregisteredSelected, &info.NodeUnregisteredUnselected,
                                       &info.NodeUnregisteredPassiveSelected, &info.NodeUnregisteredPassiveUnselected})
        ExpectNode(*node, 0, 0, 0, 0, "", 0, 0, "missing");
    EXPECT_TRUE(HasProblem(reader, "NodeUnregisteredSelected", "")) << Problems(reader);

    EXPECT_EQ(info.RootButtonNextImage.GetSize(), CSize(16, 64));
    EXPECT_EQ(info.RootButtonPreviousImage.GetSize(), CSize(16, 64));
    EXPECT_EQ(info.OnlineIconImage.GetSize(), CSize(16, 16));

    const SkinBorderInfo_t* treeControl = reader.GetSkinBorderInfo(srTreeControl);
    ASSERT_NE(treeControl, nullptr);
    EXPECT_EQ(info.TreeControl.LeftBorderWidth, 3);
    EXPECT_EQ(info.TreeControl.TopBorderWidth, 1);
    EXPECT_EQ(info.TreeControl.ContentWidth, 8);
    EXPECT_EQ(info.TreeControl.BgColor, RGB(0xFE, 0xFE, 0xFE));
    EXPECT_EQ(info.TreeControl.TextSize, 12);
    EXPECT_EQ(std::memcmp(&info.TreeControl, treeControl, sizeof(BorderGeometry_t)), 0);
    // Its own copy of the image: same pixels, another bitmap.
    ASSERT_EQ(info.TreeImage.GetSize(), CSize(10, 10));
    EXPECT_NE(info.TreeImage.GetHandle(), treeControl->MainImage->GetHandle());
    CDC* dc = info.TreeImage.Lock();
    ASSERT_NE(dc, nullptr);
    EXPECT_EQ(::GetPixel(*dc, 4, 7), RGB(40, 70, 7));
    info.TreeImage.Unlock();

#if defined(__i386__)
    EXPECT_EQ(tree.regFrameAt224, 0xFFFFFFu);
    EXPECT_EQ(tree.passiveFrameAt344, RGB(10, 11, 12));
    EXPECT_EQ(tree.treeLeftWidthAt468, 3);
#endif

    // The drag image is registered with the tree.
    CSkinRecordRef<S_STD_SKININFO> drag(CSkin::GetInstance()->GetComponent("OrvNavigateTreeControl"));
    auto* dragImage = dynamic_cast<DragImageSkin*>(drag.Get());
    ASSERT_NE(dragImage, nullptr);
    EXPECT_EQ(dragImage->Image.GetSize(), CSize(40, 20));

    // Every change sends it again.
    reader.SetDefaultSkin();
    EXPECT_EQ(tree.received, 2);
}

TEST_F(TreeSkin, ATreeOnAnotherThreadIsServedBeforeTheChangeReturns) {
    std::atomic<HWND> window{nullptr};
    std::atomic<DWORD> threadId{0};
    std::atomic<int> received{0};
    std::atomic<DWORD> handledOn{0};
    HANDLE ready = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    ASSERT_NE(ready, nullptr);
    std::thread owner([&] {
        TreeStandIn tree;
        window = tree.GetSafeHwnd();
        threadId = ::GetCurrentThreadId();
        ::SetEvent(ready);
        MSG message;
        while (::GetMessageA(&message, nullptr, 0, 0) > 0) ::DispatchMessageA(&message);
        received = tree.received;
        handledOn = tree.thread;
    });
    ASSERT_EQ(::WaitForSingleObject(ready, 30000), WAIT_OBJECT_0);
    ::CloseHandle(ready);
    {
        OrvSkinReader reader(m_root.Path().c_str(), nullptr);
        reader.SetTreeWindow(window);
        reader.SetDefaultSkin();
    }
    ::PostThreadMessageA(threadId, WM_QUIT, 0, 0);
    owner.join();
    EXPECT_EQ(received, 1);
    EXPECT_EQ(handledOn, threadId);
}

TEST_F(TreeSkin, NoTreeOrATreeAlreadyGoneGetsNothing) {
    OrvSkinReader reader(m_root.Path().c_str(), nullptr);
    reader.SetDefaultSkin();
    EXPECT_EQ(CSkinRecordRef<S_STD_SKININFO>(CSkin::GetInstance()->GetComponent("OrvNavigateTreeControl")).Get(),
              nullptr);
    HWND gone = nullptr;
    {
        TreeStandIn tree;
        gone = tree;
    }
    ASSERT_FALSE(::IsWindow(gone));
    reader.SetTreeWindow(gone);
    reader.SetDefaultSkin();
    EXPECT_EQ(reader.GetCurrentSkin(), reader.GetSkin(0));
    reader.SetTreeWindow(nullptr);
    reader.SetDefaultSkin();
    EXPECT_EQ(CSkinRecordRef<S_STD_SKININFO>(CSkin::GetInstance()->GetComponent("OrvNavigateTreeControl")).Get(),
              nullptr);
}

TEST_F(TreeSkin, PopupMenusTakeTheMenuFontsAndCopiesOfTheMenuBorders) {
    m_root.WriteBitmap("Menus\\Item.bmp", 24, 96, [](int x, int y) { return RGB(x, y, 9); });
    m_root.WriteIni("Menus", "[Main]\nSkinName = Menus\n"
                             "[OrvMenuItem]\nLeftBorderWidth = 6\nInterationStep = 24\nBgColor = #FFFFFF\n"
                             "MainImage = Item.bmp\n"
                             "[MenuSeparators]\nTopBorderWidth = 1\n[OrvSubMenuBorders]\nBordersWidth = 4\n"
                             "[OrvMenuFont]\nFontName = Tahoma\nFontSize = 13\nTextColor = #102030\n"
                             "[OrvMenuDisabledFont]\nTextColor = #A0A0A0\nTextItalic = 1\n"
                             "[OrvMenuPressedFont]\nTextColor = #0000FF\nTextBold = 1\n");
    TreeStandIn tree;
    OrvSkinReader reader(m_root.Path().c_str(), nullptr);
    reader.SetTreeWindow(tree);
    reader.SetSkinByDirectory("Menus\\");
    ASSERT_STREQ(reader.GetCurrentSkin()->GetName(), "Menus");
    CSkinRecordRef<S_STD_SKININFO> held(CSkin::GetInstance()->GetComponent(PopupMenuSkin::kComponentName));
    auto* popup = dynamic_cast<PopupMenuSkin*>(held.Get());
    ASSERT_NE(popup, nullptr);
    const MenuSkinInfo_t& menu = popup->GetInfo();
    EXPECT_STREQ(menu.Font.GetName(), "Tahoma");
    EXPECT_EQ(menu.Font.GetHeight(), 13);
    EXPECT_EQ(menu.Font.GetColor(), RGB(0x10, 0x20, 0x30));
    EXPECT_STREQ(menu.FontDisabled.GetName(), "Arial");
    EXPECT_EQ(menu.FontDisabled.GetColor(), RGB(0xA0, 0xA0, 0xA0));
    EXPECT_EQ(menu.FontDisabled.GetStyle(), fsItalic);
    EXPECT_EQ(menu.FontPressed.GetColor(), RGB(0, 0, 0xFF));
    EXPECT_EQ(menu.FontPressed.GetStyle(), fsBold);
    // Copies that outlive the reader's records, each with its own image.
    const ControlBorderInfo_t* item = reader.GetControlBorderInfo(crMenuItem);
    ASSERT_NE(menu.ItemBorder, nullptr);
    EXPECT_NE(menu.ItemBorder, item);
    EXPECT_EQ(menu.ItemBorder->LeftBorderWidth, 6);
    EXPECT_EQ(menu.ItemBorder->InterationStep, 24);
    ASSERT_NE(menu.ItemBorder->MainImage, nullptr);
    EXPECT_NE(menu.ItemBorder->MainImage, item->MainImage);
    EXPECT_EQ(menu.ItemBorder->MainImage->GetSize(), CSize(24, 96));
    ASSERT_NE(menu.SeparatorBorder, nullptr);
    EXPECT_EQ(menu.SeparatorBorder->TopBorderWidth, 1);
    ASSERT_NE(menu.SubMenuBorder, nullptr);
    EXPECT_EQ(menu.SubMenuBorder->BottomBorderWidth, 4);

    // Without OrvMenuPressedFont pressed items use the normal font; the
    // previous record is let go.
    reader.SetDefaultSkin();
    EXPECT_EQ(held->GetRef(), 1);
    CSkinRecordRef<S_STD_SKININFO> next(CSkin::GetInstance()->GetComponent(PopupMenuSkin::kComponentName));
    auto* fallback = dynamic_cast<PopupMenuSkin*>(next.Get());
    ASSERT_NE(fallback, nullptr);
    EXPECT_STREQ(fallback->GetInfo().FontPressed.GetName(), "Arial");
    EXPECT_EQ(fallback->GetInfo().FontPressed.GetColor(), fallback->GetInfo().Font.GetColor());
    EXPECT_FALSE(HasProblem(reader, "OrvMenuPressedFont", "")) << Problems(reader);
    EXPECT_TRUE(HasProblem(reader, "OrvMenuFont", "")) << Problems(reader);
}
