// CSkinnedListView on real windows in both shipped skins: the generated
// column header images (one per column and one for the rest), the sort
// arrow that follows the sorted column, a skin change, the frame, and the
// list worked with the real pointer and keyboard.
#include "CSkinnedListView.h"
#include "ClsBitMap.h"
#include "ListsTestSupport.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace liststest;

namespace {

constexpr int kHostX = 80, kHostY = 60;

class RecordingList : public CSkinnedListView {
public:
    using CSkinnedListView::CSkinnedListView;
    std::vector<int> clicks;
    std::vector<std::pair<int, CPoint>> contexts;

protected:
    void OnItemClick(int item) override { clicks.push_back(item); }
    void OnItemContextMenu(int item, CPoint at) override { contexts.emplace_back(item, at); }
};

// A list of 420 x 260 in a host, with three columns (120, 80, 100) and the
// rows below, skinned from a shipped skin.
struct ListScene {
    Host host{kHostX, kHostY, 460, 300, RGB(240, 240, 240)};
    explicit ListScene(const ShippedSkin& skin) : list(host.GetSafeHwnd(), 77) {
        list.SetPos(10, 10, 420, 260);
        list.GetHandleC();
        list.InsertColumn(0, "Name", 120);
        list.InsertColumn(1, "Age", 80);
        list.InsertColumn(2, "Town", 100);
        const char* rows[][3] = {{"Cleo", "9", "Oslo"}, {"ada", "31", "Bern"}, {"Bert", "10", "Rome"},
                                 {"Dora", "100", "Athens"}};
        for (int i = 0; i < 4; ++i) {
            list.InsertItem(i, rows[i][0]);
            list.SetItemText(i, 1, rows[i][1]);
            list.SetItemText(i, 2, rows[i][2]);
        }
        Skin(skin);
    }
    void Skin(const ShippedSkin& skin) {
        list.SetHeaderSkin(skin.Record(srListHeaders));
        list.SetBorder(skin.Frame(crListViews));
        ClsFont font;
        font.SetName("Arial");
        font.SetHeight(14);
        font.SetColor(RGB(20, 20, 20));
        list.SetTextFont(font);
        list.RealizeSkin();
        PumpPending();
    }
    std::vector<std::string> Column(int column) const {
        std::vector<std::string> texts;
        for (int i = 0; i < list.GetItemCount(); ++i) texts.push_back(std::string(list.GetItemText(i, column)));
        return texts;
    }
    CRect HeaderOnScreen() const {
        CRect rect;
        ::GetWindowRect(list.GetHeaderHandle(), &rect);
        return rect;
    }
    RecordingList list;
};

// Pixels of an image in the record's text colour inside a rectangle.
int CountColor(const ClsBitMap& image, const RECT& area, COLORREF color) {
    int count = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x) count += ImagePixel(image, x, y) == color;
    return count;
}

}  // namespace

TEST(SkinnedListView, TheHeaderImagesFollowTheColumnsAndTheRecord) {
    ShippedSkin skin("Daylight");
    ASSERT_TRUE(skin.Ok());
    ListScene scene(skin);
    const SkinBorderInfo_t& record = *scene.list.GetHeaderSkin();
    ASSERT_TRUE(record.MainImage && record.MainImage->GetIsValid());
    RECT header{};
    ::GetClientRect(scene.list.GetHeaderHandle(), &header);
    ASSERT_GT(header.bottom, 0);
    ASSERT_EQ(scene.list.GetHeaderImageCount(), 4) << "three columns and the rest";
    const int widths[] = {120, 80, 100, header.right - 300};
    for (int i = 0; i < 4; ++i) {
        const ClsBitMap* image = scene.list.GetHeaderImage(i);
        ASSERT_NE(image, nullptr) << i;
        EXPECT_EQ(image->GetWidth(), widths[i]) << i;
        EXPECT_EQ(image->GetHeight(), header.bottom) << i;
        // The content cell inside the borders, the top-left corner cell.
        EXPECT_EQ(Describe(ImagePixel(*image, record.LeftBorderWidth, record.TopBorderWidth)),
                  Describe(ImagePixel(*record.MainImage, record.ContentX, record.ContentY)))
            << i;
        EXPECT_EQ(Describe(ImagePixel(*image, 0, 0)),
                  Describe(ImagePixel(*record.MainImage, record.LeftTopCornerX, record.LeftTopCornerY)))
            << i;
    }
    // Captions start at the border plus the left margin; the rest has none.
    const ClsBitMap& name = *scene.list.GetHeaderImage(0);
    const int textLeft = record.LeftBorderWidth + scene.list.GetLeftMargin();
    EXPECT_EQ(CountColor(name, RECT{0, 0, textLeft, header.bottom}, record.TextColor), 0);
    EXPECT_GT(CountColor(name, RECT{textLeft, 0, 60, header.bottom}, record.TextColor), 0);
    const ClsBitMap& rest = *scene.list.GetHeaderImage(3);
    EXPECT_EQ(CountColor(rest, RECT{0, 0, rest.GetWidth(), header.bottom}, record.TextColor), 0);

    // The header on the screen is made of those images.
    const CRect onScreen = scene.HeaderOnScreen();
    EXPECT_TRUE(PumpUntil([&] {
        return ScreenPixel(onScreen.left + 120 + record.LeftBorderWidth, onScreen.top + record.TopBorderWidth) ==
               ImagePixel(*scene.list.GetHeaderImage(1), record.LeftBorderWidth, record.TopBorderWidth);
    }));
    EXPECT_TRUE(SaveScreen(CRect(kHostX, kHostY, kHostX + 460, kHostY + 300), "listview-daylight.bmp"));

    // A wider column: the images follow on the next paint.
    scene.list.SetColumnWidth(1, 150);
    ::RedrawWindow(scene.list.GetHeaderHandle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    ASSERT_EQ(scene.list.GetHeaderImageCount(), 4);
    EXPECT_EQ(scene.list.GetHeaderImage(1)->GetWidth(), 150);
    EXPECT_EQ(scene.list.GetHeaderImage(3)->GetWidth(), header.right - 370);
}

TEST(SkinnedListView, TheSortArrowFollowsTheSortedColumnAndClicksOnTheHeaderSort) {
    ShippedSkin skin("Daylight");
    ASSERT_TRUE(skin.Ok());
    ListScene scene(skin);
    const SkinBorderInfo_t& record = *scene.list.GetHeaderSkin();
    auto arrowPixels = [&](int column) {
        const ClsBitMap& image = *scene.list.GetHeaderImage(column);
        const int right = image.GetWidth() - record.RightBorderWidth - scene.list.GetLeftMargin();
        return CountColor(image, RECT{right - 9, 0, right, image.GetHeight()}, record.TextColor);
    };
    EXPECT_EQ(arrowPixels(0) + arrowPixels(1) + arrowPixels(2), 0) << "no arrow before sorting";

    ASSERT_TRUE(scene.list.SortByColumn(1, true));
    scene.list.GenerateImages();
    EXPECT_EQ(scene.Column(1), (std::vector<std::string>{"9", "10", "31", "100"})) << "numbers by value";
    EXPECT_GT(arrowPixels(1), 0);
    EXPECT_EQ(arrowPixels(0) + arrowPixels(2), 0);

    // A click on the Name header sorts by name, without case; again: back.
    const CRect header = scene.HeaderOnScreen();
    ASSERT_TRUE(MoveMouse(header.left + 40, header.CenterPoint().y));
    MouseButton(true, true);
    MouseButton(true, false);
    ASSERT_TRUE(PumpUntil([&] { return scene.list.GetSortColumn() == 0; }));
    EXPECT_TRUE(scene.list.GetSortAscending());
    EXPECT_EQ(scene.Column(0), (std::vector<std::string>{"ada", "Bert", "Cleo", "Dora"}));
    ::RedrawWindow(scene.list.GetHeaderHandle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_GT(arrowPixels(0), 0);
    EXPECT_EQ(arrowPixels(1), 0) << "the arrow left the previous column";
    const int upArrow = arrowPixels(0);
    // Far enough from the first click not to make a double click of it.
    ASSERT_TRUE(MoveMouse(header.left + 95, header.CenterPoint().y));
    MouseButton(true, true);
    MouseButton(true, false);
    ASSERT_TRUE(PumpUntil([&] { return !scene.list.GetSortAscending(); }));
    EXPECT_EQ(scene.Column(0), (std::vector<std::string>{"Dora", "Cleo", "Bert", "ada"}));
    ::RedrawWindow(scene.list.GetHeaderHandle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_EQ(arrowPixels(0), upArrow) << "the same arrow, pointing down";
    EXPECT_TRUE(SaveScreen(CRect(kHostX, kHostY, kHostX + 460, kHostY + 300), "listview-sorted.bmp"));

    EXPECT_FALSE(scene.list.SortByColumn(3, true)) << "no such column";
    EXPECT_EQ(scene.list.GetSortColumn(), 0);
}

TEST(SkinnedListView, TheListFollowsASkinChange) {
    ShippedSkin daylight("Daylight");
    ShippedSkin graphite("Graphite");
    ASSERT_TRUE(daylight.Ok() && graphite.Ok());
    ListScene scene(daylight);
    const CRect header = scene.HeaderOnScreen();
    const SkinBorderInfo_t* day = daylight.Record(srListHeaders);
    const SkinBorderInfo_t* dark = graphite.Record(srListHeaders);
    const COLORREF dayCell = ImagePixel(*day->MainImage, day->ContentX, day->ContentY);
    const COLORREF darkCell = ImagePixel(*dark->MainImage, dark->ContentX, dark->ContentY);
    ASSERT_NE(dayCell, darkCell) << "the skins differ where the test looks";
    const CPoint probe(header.left + 60, header.top + dark->TopBorderWidth + 1);
    ASSERT_TRUE(PumpUntil([&] { return ScreenPixel(probe.x + 250, probe.y) == dayCell; }));

    scene.Skin(graphite);
    EXPECT_TRUE(PumpUntil([&] { return ScreenPixel(probe.x + 250, probe.y) == darkCell; }))
        << Describe(ScreenPixel(probe.x + 250, probe.y));
    EXPECT_EQ(scene.list.GetHeaderImage(0)->GetWidth(), 120);
    // The rows take the frame's background colour.
    const ControlBorderInfo_t* frame = graphite.Frame(crListViews);
    EXPECT_EQ(static_cast<COLORREF>(scene.list.SendMessage(LVM_GETBKCOLOR)), frame->BgColor);
    // The frame's top edge shows above the header.
    CRect window;
    ::GetWindowRect(scene.list.GetSafeHwndC(), &window);
    if (frame->TopBorderWidth > 0) {
        EXPECT_EQ(Describe(ScreenPixel(window.left + 50, window.top)),
                  Describe(ImagePixel(*frame->MainImage, frame->TopBorderX, frame->TopBorderY)));
    }
    EXPECT_TRUE(SaveScreen(CRect(kHostX, kHostY, kHostX + 460, kHostY + 300), "listview-graphite.bmp"));

    // No record: the system's own header, no images.
    scene.list.SetHeaderSkin(nullptr);
    scene.list.RealizeSkin();
    EXPECT_EQ(scene.list.GetHeaderImageCount(), 0);
}

TEST(SkinnedListView, KeysAndClicksReachTheListsOperations) {
    ShippedSkin skin("Daylight");
    ASSERT_TRUE(skin.Ok());
    ListScene scene(skin);
    ::SetForegroundWindow(scene.host.GetSafeHwnd());
    scene.list.SetFocus();
    ASSERT_TRUE(PumpUntil([&] { return ::GetFocus() == scene.list.GetSafeHwndC(); }));
    scene.list.SelectItem(0);
    Press(VK_DOWN);
    EXPECT_TRUE(PumpUntil([&] { return scene.list.GetSelectedItem() == 1; }));
    Press(VK_END);
    EXPECT_TRUE(PumpUntil([&] { return scene.list.GetSelectedItem() == 3; }));
    Press(VK_RETURN);
    ASSERT_TRUE(PumpUntil([&] { return !scene.list.clicks.empty(); }));
    EXPECT_EQ(scene.list.clicks, std::vector<int>{3});

    // Clicks on the third row, left and right.
    RECT row{};
    row.left = LVIR_BOUNDS;
    ASSERT_TRUE(scene.list.SendMessage(LVM_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&row)));
    CPoint at(row.left + 30, (row.top + row.bottom) / 2);
    scene.list.ClientToScreen(&at);
    ASSERT_TRUE(MoveMouse(at.x, at.y));
    MouseButton(true, true);
    MouseButton(true, false);
    ASSERT_TRUE(PumpUntil([&] { return scene.list.clicks.size() == 2; }));
    EXPECT_EQ(scene.list.clicks[1], 2);
    MouseButton(false, true);
    MouseButton(false, false);
    ASSERT_TRUE(PumpUntil([&] { return !scene.list.contexts.empty(); }));
    EXPECT_EQ(scene.list.contexts[0].first, 2);
    EXPECT_EQ(scene.list.contexts[0].second, at) << "in screen coordinates";
    // Below the rows: no item click.
    ASSERT_TRUE(MoveMouse(at.x, at.y + 150));
    MouseButton(true, true);
    MouseButton(true, false);
    PumpPending();
    EXPECT_EQ(scene.list.clicks.size(), 2u);
}
