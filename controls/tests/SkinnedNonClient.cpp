#include "SkinnedNonClient.h"

#include <algorithm>
#include <sstream>
#include <vector>

namespace wintest {
namespace {
struct Expectation {
    enum Kind { kSkip, kCut, kColours } kind = kSkip;
    std::vector<COLORREF> colours;
};

Expectation Cut() { return Expectation{Expectation::kCut, {}}; }
Expectation One(COLORREF colour) { return Expectation{Expectation::kColours, {colour}}; }

// Every pixel of a run of cells: stretching picks among them.
Expectation AnyOf(const Pixels& image, int x0, int y0, int dx, int dy, int count) {
    Expectation expectation{Expectation::kColours, {}};
    for (int i = 0; i < count; ++i) expectation.colours.push_back(image.At(x0 + i * dx, y0 + i * dy));
    return expectation;
}

bool CanClose(HWND window) {
    HMENU menu = ::GetSystemMenu(window, FALSE);
    const UINT state = menu ? ::GetMenuState(menu, SC_CLOSE, MF_BYCOMMAND) : static_cast<UINT>(-1);
    return state != static_cast<UINT>(-1) && !(state & (MF_GRAYED | MF_DISABLED));
}

class Checker {
public:
    Checker(HWND window, const NonClientView& view)
        : m_window(window), m_view(view), m_caption(*view.skin->caption.Get()), m_frame(*view.skin->frame.Get()),
          m_captionImage(ImagePixels(m_caption.CaptionImage)), m_grid(ImagePixels(m_caption.ButtonsImage)),
          m_left(ImagePixels(m_frame.LeftFrameImage)), m_right(ImagePixels(m_frame.RightFrameImage)),
          m_bottom(ImagePixels(m_frame.BottomFrameImage)) {
        const CRect bounds = WindowOnScreen(window);
        m_width = bounds.Width();
        m_height = bounds.Height();
        m_captionHeight = m_caption.Border.InterationStep;
        CaptionButtonRects(window, m_caption, m_buttons);
        const LONG_PTR style = ::GetWindowLongPtrA(window, GWL_STYLE);
        m_columns[0] = 3;
        m_columns[1] = ::IsZoomed(window) ? 1 : 2;
        m_columns[2] = 0;
        const bool enabled[3] = {CanClose(window), (style & WS_MAXIMIZEBOX) != 0, (style & WS_MINIMIZEBOX) != 0};
        for (int i = 0; i < 3; ++i) m_rows[i] = view.rows[i] >= 0 ? view.rows[i] : (enabled[i] ? 0 : 3);
        m_text = CaptionTextArea(window, m_caption);
    }

    Expectation At(int x, int y) const {
        if (y < m_captionHeight) return Caption(x, y);
        return Frame(x, y);
    }

private:
    Expectation Caption(int x, int y) const {
        const BorderGeometry_t& c = m_caption.Border;
        const int dy = m_view.active ? 0 : m_captionHeight;
        for (int i = 0; i < 3; ++i) {
            const CRect& button = m_buttons[i];
            if (!button.PtInRect(CPoint(x, y))) continue;
            const COLORREF picture = m_grid.At(m_columns[i] * m_caption.ButtonWidth + x - button.left,
                                               m_rows[i] * m_caption.ButtonHeight + y - button.top);
            if (picture != kMagenta) return One(picture);
        }
        if (m_text.PtInRect(CPoint(x, y))) return Expectation();
        if (x < c.LeftBorderWidth) {
            if (y >= c.LeftBorderLength) return Cut();
            const COLORREF end = m_captionImage.At(c.LeftBorderX + x, c.LeftBorderY + dy + y);
            return end == kMagenta ? Cut() : One(end);
        }
        if (x >= m_width - c.RightBorderWidth) {
            const int top = m_captionHeight - c.RightBorderLength;
            if (y < top) return Cut();
            const COLORREF end =
                m_captionImage.At(c.RightBorderX + x - (m_width - c.RightBorderWidth), c.RightBorderY + dy + y - top);
            return end == kMagenta ? Cut() : One(end);
        }
        // The content cell stretched over the caption: any pixel of the
        // rows the stretch may take.
        const int row = y * c.ContentHeight / m_captionHeight;
        Expectation content{Expectation::kColours, {}};
        for (int r = std::max(0, row - 1); r <= std::min(c.ContentHeight - 1, row + 1); ++r)
            for (int i = 0; i < c.ContentWidth; ++i)
                content.colours.push_back(m_captionImage.At(c.ContentX + i, c.ContentY + dy + r));
        return content;
    }

    Expectation Frame(int x, int y) const {
        const BorderGeometry_t& c = m_frame.Border;
        const int left = c.LeftBorderWidth, right = c.RightBorderWidth, bottom = c.BottomBorderWidth;
        const bool inactive = !m_view.active;
        if (y >= m_height - bottom) {
            const int by = y - (m_height - bottom) + (inactive ? bottom : 0);
            if (x < left) return One(m_bottom.At(c.LeftBottomCornerX + x, c.LeftBottomCornerY + by));
            if (x >= m_width - right)
                return One(m_bottom.At(c.RightBottomCornerX + x - (m_width - right), c.RightBottomCornerY + by));
            return AnyOf(m_bottom, c.BottomBorderX, c.BottomBorderY + by, 1, 0, c.BottomBorderLength);
        }
        if (x < left)
            return AnyOf(m_left, c.LeftBorderX + x, c.LeftBorderY + (inactive ? c.LeftBorderLength : 0), 0, 1,
                         c.LeftBorderLength);
        if (x >= m_width - right)
            return AnyOf(m_right, c.RightBorderX + x - (m_width - right),
                         c.RightBorderY + (inactive ? c.RightBorderLength : 0), 0, 1, c.RightBorderLength);
        return Expectation();  // the client area
    }

    HWND m_window;
    NonClientView m_view;
    const CaptionSkin& m_caption;
    const FrameSkin& m_frame;
    Pixels m_captionImage, m_grid, m_left, m_right, m_bottom;
    int m_width = 0, m_height = 0, m_captionHeight = 0;
    CRect m_buttons[3];
    int m_columns[3] = {};
    int m_rows[3] = {};
    CRect m_text;
};
}  // namespace

void CaptionButtonRects(HWND window, const CaptionSkin& caption, CRect rects[3]) {
    const CRect bounds = WindowOnScreen(window);
    const LONG_PTR style = ::GetWindowLongPtrA(window, GWL_STYLE);
    const LONG_PTR exStyle = ::GetWindowLongPtrA(window, GWL_EXSTYLE);
    const bool closeOnly = (exStyle & WS_EX_TOOLWINDOW) || !(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
    const int height = caption.Border.InterationStep;
    int right = bounds.Width() - caption.ButtonsX;
    const int top = caption.ButtonsY + (height - caption.ButtonsY - caption.ButtonHeight) / 2;
    for (int i = 0; i < 3; ++i) {
        rects[i] = CRect();
        if (!(style & WS_SYSMENU) || (i > 0 && closeOnly)) continue;
        const int left = std::max(0, right - caption.ButtonWidth);
        rects[i] = CRect(left, top, right, top + caption.ButtonHeight);
        right = left;
    }
}

CRect CaptionTextArea(HWND window, const CaptionSkin& caption) {
    CRect buttons[3];
    CaptionButtonRects(window, caption, buttons);
    int right = WindowOnScreen(window).Width() - caption.Border.RightBorderWidth;
    for (const CRect& button : buttons)
        if (!button.IsRectEmpty()) right = std::min<int>(right, button.left);
    return CRect(caption.IconX, 0, std::max<int>(caption.IconX, right), caption.Border.InterationStep);
}

int WrittenPixels(const Pixels& shot, HWND window, const CaptionSkin& caption, bool active) {
    const Pixels image = ImagePixels(caption.CaptionImage);
    const ControlBorderInfo_t& c = caption.Border;
    const CRect area = CaptionTextArea(window, caption);
    const int dy = active ? 0 : c.InterationStep;
    int written = 0;
    for (int y = area.top; y < area.bottom; ++y) {
        const int row = y * c.ContentHeight / c.InterationStep;
        std::vector<COLORREF> content;
        for (int i = 0; i < c.ContentWidth; ++i) content.push_back(image.At(c.ContentX + i, c.ContentY + dy + row));
        for (int x = area.left; x < area.right; ++x)
            if (std::find(content.begin(), content.end(), shot.At(x, y)) == content.end()) ++written;
    }
    return written;
}

::testing::AssertionResult ShowsSkinnedNonClient(const Pixels& shot, HWND window, const NonClientView& view) {
    if (!view.skin || !view.skin->caption.Get() || !view.skin->frame.Get())
        return ::testing::AssertionFailure() << "no skin to compare with";
    const CRect bounds = WindowOnScreen(window);
    if (shot.Width() != bounds.Width() || shot.Height() != bounds.Height())
        return ::testing::AssertionFailure() << "the picture is " << shot.Width() << " x " << shot.Height()
                                             << ", the window " << bounds.Width() << " x " << bounds.Height();
    const Checker checker(window, view);
    // What lies beyond the screen's edges (a maximised window's frames) is
    // in no picture.
    const CRect screen(::GetSystemMetrics(SM_XVIRTUALSCREEN), ::GetSystemMetrics(SM_YVIRTUALSCREEN),
                       ::GetSystemMetrics(SM_XVIRTUALSCREEN) + ::GetSystemMetrics(SM_CXVIRTUALSCREEN),
                       ::GetSystemMetrics(SM_YVIRTUALSCREEN) + ::GetSystemMetrics(SM_CYVIRTUALSCREEN));
    int wrong = 0, checked = 0;
    std::ostringstream first;
    for (int y = 0; y < shot.Height(); ++y) {
        for (int x = 0; x < shot.Width(); ++x) {
            if (!screen.PtInRect(CPoint(bounds.left + x, bounds.top + y))) continue;
            const Expectation expected = checker.At(x, y);
            if (expected.kind == Expectation::kSkip) continue;
            if (expected.kind == Expectation::kCut && !view.onScreen) continue;
            const COLORREF actual = shot.At(x, y);
            const bool good = expected.kind == Expectation::kCut
                                  ? actual == kBackdrop
                                  : std::find(expected.colours.begin(), expected.colours.end(), actual) !=
                                        expected.colours.end();
            ++checked;
            if (good) continue;
            if (wrong++ < 5)
                first << " (" << x << ", " << y << ") shows " << Describe(actual) << ", expected "
                      << (expected.kind == Expectation::kCut ? "the backdrop " + Describe(kBackdrop)
                                                              : Describe(expected.colours.front()));
        }
    }
    if (checked == 0) return ::testing::AssertionFailure() << "no pixel checked";
    if (wrong) return ::testing::AssertionFailure() << wrong << " of " << checked << " pixels wrong:" << first.str();
    return ::testing::AssertionSuccess() << checked << " pixels as the skin draws them";
}

}  // namespace wintest
