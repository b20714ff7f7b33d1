// GDI objects, device contexts and off-screen painting, checked pixel by
// pixel on memory contexts; what they draw is saved under the artifacts.
#include "AfxGlobals.h"
#include "BitmapFile.h"
#include "CBitmap.h"
#include "CBrush.h"
#include "CDC.h"
#include "CFont.h"
#include "CMemDC.h"
#include "CPen.h"
#include "CRgn.h"
#include "CScopedSelect.h"
#include "TestSupport.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <memory>
#include <utility>

namespace {
const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kGreen = RGB(0, 255, 0);
const COLORREF kBlue = RGB(0, 0, 255);
const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kBlack = RGB(0, 0, 0);
const COLORREF kMagenta = RGB(255, 0, 255);

// A memory context over a 32-bit bitmap, filled white.
struct Canvas {
    CDC dc;
    CBitmap bitmap;
    std::unique_ptr<CScopedSelect> selection;
    Canvas(int width, int height) {
        EXPECT_TRUE(dc.CreateCompatibleDC(static_cast<HDC>(nullptr)));
        EXPECT_TRUE(bitmap.CreateDIBSection(width, height));
        selection = std::make_unique<CScopedSelect>(dc, bitmap);
        dc.FillSolidRect(0, 0, width, height, kWhite);
    }
    void Save(const char* name) {
        EXPECT_TRUE(orvtest::SaveBitmapFile(bitmap, orvtest::ArtifactPath(name))) << name;
    }
};

bool IsGdiObject(HGDIOBJ object) { return GetObjectType(object) != 0; }
}  // namespace

TEST(GdiObjects, OneOwnerDeletesMovesAndDetaches) {
    HGDIOBJ handle;
    {
        CBrush brush(kRed);
        handle = brush.GetSafeHandle();
        ASSERT_TRUE(IsGdiObject(handle));
        CBrush moved(std::move(brush));
        EXPECT_EQ(brush.GetSafeHandle(), nullptr);
        EXPECT_EQ(moved.GetSafeHandle(), handle);
        CBrush assigned;
        assigned = std::move(moved);
        EXPECT_EQ(assigned.GetSafeHandle(), handle);
        EXPECT_TRUE(IsGdiObject(handle));
    }
    EXPECT_FALSE(IsGdiObject(handle)) << "the last owner deletes the brush";

    CPen pen(PS_SOLID, 1, kBlue);
    HGDIOBJ first = pen.GetSafeHandle();
    ASSERT_TRUE(pen.CreatePen(PS_SOLID, 2, kGreen));
    EXPECT_FALSE(IsGdiObject(first)) << "creating again deletes the object held before";
    LOGPEN info{};
    ASSERT_TRUE(pen.GetLogPen(&info));
    EXPECT_EQ(info.lopnColor, kGreen);

    HGDIOBJ kept = pen.Detach();
    EXPECT_EQ(pen.GetSafeHandle(), nullptr);
    EXPECT_FALSE(pen.DeleteObject());
    EXPECT_TRUE(IsGdiObject(kept)) << "Detach gives the object up without deleting it";
    CGdiObject adopted;
    EXPECT_TRUE(adopted.Attach(kept));
    EXPECT_EQ(adopted.GetObjectType(), static_cast<UINT>(OBJ_PEN));
    EXPECT_TRUE(adopted.DeleteObject());
    EXPECT_FALSE(IsGdiObject(kept));
}

TEST(GdiObjects, RegionsCombineOffsetAndCopy) {
    CRgn square, circle, both, either, squareOnly;
    ASSERT_TRUE(square.CreateRectRgn(0, 0, 100, 100));
    ASSERT_TRUE(circle.CreateEllipticRgn(50, 50, 150, 150));
    // Fresh objects take results: they make their own region first.
    EXPECT_NE(both.CombineRgn(&square, &circle, RGN_AND), ERROR);
    EXPECT_NE(either.CombineRgn(&square, &circle, RGN_OR), ERROR);
    EXPECT_NE(squareOnly.CombineRgn(&square, &circle, RGN_DIFF), ERROR);
    EXPECT_TRUE(both.PtInRegion(90, 90));
    EXPECT_FALSE(both.PtInRegion(10, 10));
    EXPECT_FALSE(both.PtInRegion(140, 140));
    EXPECT_TRUE(either.PtInRegion(10, 10));
    EXPECT_TRUE(either.PtInRegion(120, 120));
    EXPECT_FALSE(either.PtInRegion(140, 10));
    EXPECT_TRUE(squareOnly.PtInRegion(10, 10));
    EXPECT_FALSE(squareOnly.PtInRegion(90, 90));

    CRgn copy;
    EXPECT_EQ(copy.CopyRgn(&square), SIMPLEREGION);
    EXPECT_TRUE(copy.EqualRgn(&square));
    copy.OffsetRgn(200, 10);
    RECT box{};
    EXPECT_EQ(copy.GetRgnBox(&box), SIMPLEREGION);
    EXPECT_EQ(box.left, 200);
    EXPECT_EQ(box.top, 10);
    EXPECT_TRUE(square.PtInRegion(10, 5)) << "the copy is a region of its own";
    EXPECT_FALSE(copy.PtInRegion(10, 5));

    const POINT triangle[] = {{0, 0}, {100, 0}, {0, 100}};
    CRgn polygon;
    ASSERT_TRUE(polygon.CreatePolygonRgn(triangle, 3, ALTERNATE));
    EXPECT_TRUE(polygon.PtInRegion(10, 10));
    EXPECT_FALSE(polygon.PtInRegion(90, 90));

    // Bad input fails without touching anything.
    CRgn empty;
    EXPECT_FALSE(empty.CreatePolygonRgn(nullptr, 3, ALTERNATE));
    EXPECT_FALSE(empty.CreatePolygonRgn(triangle, 2, ALTERNATE));
    EXPECT_EQ(empty.CombineRgn(nullptr, &square, RGN_OR), ERROR);
    EXPECT_EQ(empty.CombineRgn(&square, nullptr, RGN_AND), ERROR);
    EXPECT_EQ(empty.CopyRgn(&empty), ERROR);
    EXPECT_FALSE(empty.PtInRegion(0, 0));
    EXPECT_EQ(empty.OffsetRgn(1, 1), ERROR);
}

TEST(GdiObjects, BitmapsFromSectionsAndResources) {
    CBitmap section;
    void* bits = nullptr;
    ASSERT_TRUE(section.CreateDIBSection(33, 7, 32, &bits));
    ASSERT_NE(bits, nullptr);
    EXPECT_EQ(section.GetSize(), CSize(33, 7));
    // The section is top-down: the first pixel in memory is the top left.
    static_cast<DWORD*>(bits)[0] = 0x00FF0000;  // blue in BGRA memory order
    GdiFlush();
    EXPECT_EQ(orvtest::BitmapPixel(section, 0, 0), kRed);
    EXPECT_FALSE(section.CreateDIBSection(0, 5));
    EXPECT_FALSE(section.CreateDIBSection(5, 5, 16));

    CBitmap loaded;
    ASSERT_TRUE(loaded.LoadBitmap(IDB_TEST_BITMAP));
    EXPECT_EQ(loaded.GetSize(), CSize(8, 4));
    EXPECT_EQ(orvtest::BitmapPixel(loaded, 1, 1), kRed);
    EXPECT_EQ(orvtest::BitmapPixel(loaded, 6, 2), kMagenta);
    CBitmap missing;
    EXPECT_FALSE(missing.LoadBitmap(9999));
    EXPECT_FALSE(missing.LoadBitmap("NO_SUCH_BITMAP"));
    EXPECT_FALSE(missing.LoadBitmap(static_cast<const char*>(nullptr)));
    EXPECT_EQ(missing.GetSize(), CSize(0, 0));

    CDC screen = CDC::Borrow(GetDC(nullptr));
    CBitmap compatible;
    EXPECT_TRUE(compatible.CreateCompatibleBitmap(&screen, 20, 10));
    EXPECT_EQ(compatible.GetSize(), CSize(20, 10));
    EXPECT_FALSE(compatible.CreateCompatibleBitmap(static_cast<CDC*>(nullptr), 20, 10));
    ReleaseDC(nullptr, screen.Detach());
}

TEST(DeviceContexts, ShapesPenBrushAndScopedSelection) {
    Canvas canvas(160, 120);
    CDC& dc = canvas.dc;
    HGDIOBJ stockPen = GetCurrentObject(dc, OBJ_PEN);
    HGDIOBJ stockBrush = GetCurrentObject(dc, OBJ_BRUSH);
    {
        CPen pen(PS_SOLID, 1, kBlue);
        CBrush brush(kGreen);
        CScopedSelect selectPen(dc, pen);
        CScopedSelect selectBrush(dc, brush);
        EXPECT_TRUE(selectPen.Succeeded());
        EXPECT_TRUE(dc.Rectangle(10, 10, 50, 40));
        EXPECT_TRUE(dc.Ellipse(CRect(60, 10, 100, 50)));
        const POINT triangle[] = {{110, 10}, {150, 10}, {110, 50}};
        EXPECT_TRUE(dc.Polygon(triangle, 3));
        dc.MoveTo(10, 100);
        EXPECT_TRUE(dc.LineTo(150, 100));
    }
    EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), stockPen) << "the scope put the old pen back";
    EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), stockBrush);

    EXPECT_EQ(dc.GetPixel(10, 10), kBlue) << "rectangle border in the pen";
    EXPECT_EQ(dc.GetPixel(30, 25), kGreen) << "rectangle inside in the brush";
    EXPECT_EQ(dc.GetPixel(80, 30), kGreen) << "ellipse centre";
    EXPECT_EQ(dc.GetPixel(61, 11), kWhite) << "ellipse leaves its corners";
    EXPECT_EQ(dc.GetPixel(115, 15), kGreen) << "inside the triangle";
    EXPECT_EQ(dc.GetPixel(145, 45), kWhite) << "beyond the hypotenuse";
    EXPECT_EQ(dc.GetPixel(80, 100), kBlue) << "the line";
    EXPECT_EQ(dc.GetPixel(80, 101), kWhite);

    // The object forms of SelectObject hand back what was selected.
    CPen red(PS_SOLID, 1, kRed);
    CPen* previous = dc.SelectObject(&red);
    ASSERT_NE(previous, nullptr);
    EXPECT_EQ(previous->GetSafeHandle(), stockPen);
    EXPECT_EQ(dc.SelectObject(previous)->GetSafeHandle(), red.GetSafeHandle());
    canvas.Save("framework_gdi_shapes.bmp");
}

TEST(DeviceContexts, FillsClippingAndSavedState) {
    Canvas canvas(100, 100);
    CDC& dc = canvas.dc;
    dc.SetBkColor(kBlack);
    dc.FillSolidRect(CRect(0, 0, 50, 50), kRed);
    EXPECT_EQ(dc.GetPixel(25, 25), kRed);
    EXPECT_EQ(dc.GetPixel(50, 50), kWhite) << "right and bottom are exclusive";
    EXPECT_EQ(dc.GetBkColor(), kBlack) << "FillSolidRect leaves the background colour alone";

    CBrush blue(kBlue);
    dc.FrameRect(CRect(60, 60, 90, 90), &blue);
    EXPECT_EQ(dc.GetPixel(60, 75), kBlue);
    EXPECT_EQ(dc.GetPixel(75, 75), kWhite);
    dc.Draw3dRect(CRect(0, 60, 40, 100), kGreen, kRed);
    EXPECT_EQ(dc.GetPixel(0, 70), kGreen);
    EXPECT_EQ(dc.GetPixel(39, 70), kRed);

    const int saved = dc.SaveDC();
    ASSERT_NE(saved, 0);
    CRgn clip;
    clip.CreateEllipticRgn(0, 0, 100, 100);
    dc.SelectClipRgn(&clip);
    dc.SetTextColor(kGreen);
    dc.FillSolidRect(CRect(0, 0, 100, 100), kGreen);
    EXPECT_EQ(dc.GetPixel(50, 50), kGreen);
    EXPECT_EQ(dc.GetPixel(1, 1), kRed) << "outside the clip region nothing changed";
    ASSERT_TRUE(dc.RestoreDC(saved));
    EXPECT_NE(dc.GetTextColor(), kGreen) << "RestoreDC brought the old text colour back";
    dc.FillSolidRect(CRect(0, 0, 2, 2), kBlue);
    EXPECT_EQ(dc.GetPixel(1, 1), kBlue) << "and the clipping is gone";
    canvas.Save("framework_gdi_fills.bmp");
}

TEST(DeviceContexts, BlitsStretchAndMagentaTransparency) {
    // A source of 4 x 4: magenta with a red 2 x 2 square in the top left.
    Canvas source(4, 4);
    source.dc.FillSolidRect(0, 0, 4, 4, kMagenta);
    source.dc.FillSolidRect(0, 0, 2, 2, kRed);
    Canvas target(60, 20);
    target.dc.FillSolidRect(0, 0, 60, 20, kBlue);

    EXPECT_TRUE(target.dc.BitBlt(0, 0, 4, 4, &source.dc, 0, 0, SRCCOPY));
    EXPECT_EQ(target.dc.GetPixel(3, 3), kMagenta) << "a plain copy keeps magenta";
    EXPECT_TRUE(target.dc.StretchBlt(10, 0, 8, 8, &source.dc, 0, 0, 4, 4, SRCCOPY));
    EXPECT_EQ(target.dc.GetPixel(13, 3), kRed) << "the red square doubled";
    EXPECT_EQ(target.dc.GetPixel(14, 4), kMagenta);
    EXPECT_TRUE(target.dc.TransparentBlt(30, 0, 4, 4, &source.dc, 0, 0, 4, 4, kMagenta));
    EXPECT_EQ(target.dc.GetPixel(31, 1), kRed);
    EXPECT_EQ(target.dc.GetPixel(33, 3), kBlue) << "magenta lets the target show through";
    EXPECT_TRUE(target.dc.TransparentBlt(40, 0, 8, 8, &source.dc, 0, 0, 4, 4, kMagenta));
    EXPECT_EQ(target.dc.GetPixel(43, 3), kRed);
    EXPECT_EQ(target.dc.GetPixel(46, 6), kBlue);
    EXPECT_FALSE(target.dc.TransparentBlt(0, 0, 4, 4, nullptr, 0, 0, 4, 4, kMagenta));
    EXPECT_FALSE(target.dc.TransparentBlt(0, 0, 0, 4, &source.dc, 0, 0, 4, 4, kMagenta));
    target.Save("framework_gdi_blits.bmp");
}

TEST(DeviceContexts, TextDrawsInsideItsExtentInTheTextColour) {
    Canvas canvas(200, 60);
    CDC& dc = canvas.dc;
    CFont small, large;
    ASSERT_TRUE(small.CreatePointFont(80, "Arial", &dc));
    ASSERT_TRUE(large.CreatePointFont(200, "Arial", &dc));
    LOGFONTA info{};
    ASSERT_TRUE(large.GetLogFont(&info));
    EXPECT_EQ(info.lfHeight, -MulDiv(20, dc.GetDeviceCaps(LOGPIXELSY), 72));
    EXPECT_STREQ(info.lfFaceName, "Arial");

    CSize smallExtent, largeExtent;
    {
        CScopedSelect font(dc, small);
        smallExtent = dc.GetTextExtent("Orvane");
    }
    CScopedSelect font(dc, large);
    largeExtent = dc.GetTextExtent(CString("Orvane"));
    EXPECT_GT(largeExtent.cx, smallExtent.cx);
    EXPECT_GT(largeExtent.cy, smallExtent.cy);
    EXPECT_EQ(dc.GetTextExtent("", 0), CSize(0, 0));

    dc.SetTextColor(kRed);
    dc.SetBkMode(TRANSPARENT);
    EXPECT_TRUE(dc.TextOut(5, 5, "Orvane", -1));
    int inside = 0, outside = 0;
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 200; ++x) {
            if (dc.GetPixel(x, y) == kWhite) continue;
            const bool within = x >= 5 && x < 5 + largeExtent.cx && y >= 5 && y < 5 + largeExtent.cy;
            ++(within ? inside : outside);
        }
    EXPECT_GT(inside, 20) << "the text left ink";
    EXPECT_EQ(outside, 0) << "and none outside its extent";

    CRect box(0, 0, 200, 60);
    EXPECT_GT(dc.DrawText(CString("centred"), &box, DT_CENTER | DT_VCENTER | DT_SINGLELINE), 0);
    EXPECT_EQ(dc.DrawText(nullptr, -1, &box, 0), 0);
    EXPECT_EQ(dc.DrawText("x", -1, nullptr, 0), 0);
    canvas.Save("framework_gdi_text.bmp");
}

TEST(DeviceContexts, EmptyContextRefusesEverythingQuietly) {
    CDC dc;
    EXPECT_EQ(dc.GetPixel(0, 0), CLR_INVALID);
    EXPECT_FALSE(dc.Rectangle(0, 0, 1, 1));
    EXPECT_FALSE(dc.TextOut(0, 0, "x", 1));
    dc.FillSolidRect(0, 0, 5, 5, kRed);
    EXPECT_EQ(dc.SaveDC(), 0);
    EXPECT_EQ(dc.SelectObject(static_cast<CPen*>(nullptr)), nullptr);
    EXPECT_FALSE(dc.DeleteDC());
}

TEST(DeviceContexts, OwnedContextsAreDeletedBorrowedOnesAreNot) {
    HDC owned;
    {
        CDC dc;
        ASSERT_TRUE(dc.CreateCompatibleDC(static_cast<HDC>(nullptr)));
        owned = dc;
        CDC moved(std::move(dc));
        EXPECT_EQ(dc.GetSafeHdc(), nullptr);
        EXPECT_EQ(GetObjectType(owned), static_cast<DWORD>(OBJ_MEMDC));
    }
    EXPECT_EQ(GetObjectType(owned), 0u) << "the owner deleted it";

    HDC memory = CreateCompatibleDC(nullptr);
    {
        CDC borrowed = CDC::Borrow(memory);
        EXPECT_EQ(borrowed.GetSafeHdc(), memory);
    }
    EXPECT_EQ(GetObjectType(memory), static_cast<DWORD>(OBJ_MEMDC)) << "a borrower leaves it";

    // Temporary wrappers: one per handle and thread, freed by the idle
    // clean-up, never deleting the handle.
    AfxDeleteTempMaps();
    const size_t before = AfxGetTempMapCount();
    CDC* first = CDC::FromHandle(memory);
    EXPECT_EQ(CDC::FromHandle(memory), first);
    EXPECT_EQ(CDC::FromHandle(nullptr), nullptr);
    EXPECT_EQ(AfxGetTempMapCount(), before + 1);
    AfxDeleteTempMaps();
    EXPECT_EQ(AfxGetTempMapCount(), before);
    EXPECT_EQ(GetObjectType(memory), static_cast<DWORD>(OBJ_MEMDC));
    DeleteDC(memory);
}

TEST(DoubleBuffer, NothingReachesTheTargetBeforeTheCopy) {
    Canvas target(100, 80);
    const CRect area(10, 20, 70, 60);
    {
        CMemDC buffer(target.dc, area);
        ASSERT_TRUE(buffer.IsBuffered());
        // Same coordinates as the target.
        buffer.FillSolidRect(area, kGreen);
        buffer.FillSolidRect(CRect(30, 30, 40, 40), kRed);
        EXPECT_EQ(buffer.GetPixel(35, 35), kRed);
        EXPECT_EQ(target.dc.GetPixel(35, 35), kWhite) << "still off screen";
    }
    EXPECT_EQ(target.dc.GetPixel(35, 35), kRed);
    EXPECT_EQ(target.dc.GetPixel(15, 25), kGreen);
    EXPECT_EQ(target.dc.GetPixel(5, 25), kWhite) << "outside the area nothing changed";
    EXPECT_EQ(target.dc.GetPixel(70, 40), kWhite);
    {
        CMemDC dropped(target.dc, area);
        dropped.FillSolidRect(area, kBlue);
        dropped.Discard();
    }
    EXPECT_EQ(target.dc.GetPixel(15, 25), kGreen) << "a discarded buffer copies nothing";
    {
        CMemDC empty(target.dc, CRect(5, 5, 5, 50));
        EXPECT_FALSE(empty.IsBuffered()) << "an empty area draws straight on the target";
        EXPECT_EQ(empty.GetSafeHdc(), target.dc.GetSafeHdc());
    }
    EXPECT_EQ(GetObjectType(target.dc), static_cast<DWORD>(OBJ_MEMDC)) << "the target survived";
    target.Save("framework_gdi_double_buffer.bmp");
}
