#include "Preview.h"

#include "Canvas.h"
#include "IniReader.h"

#include <array>
#include <cmath>
#include <map>
#include <tuple>
#include <vector>

namespace skingen {
namespace {

constexpr int kClientWidth = 1000, kClientHeight = 640;

Rgb fromRef(uint32_t ref) { return Rgb(uint8_t(ref), uint8_t(ref >> 8), uint8_t(ref >> 16)); }

class Composer {
public:
    Composer(const SkinOutput& skin, Canvas& canvas) : ini_(skin.ini().str()), canvas_(canvas) {
        for (const SkinBitmap& b : skin.bitmaps())
            images_[b.file] = &b.image;
    }

    int num(const std::string& s, const std::string& k, int fallback = 0) const { return ini_.number(s, k).value_or(fallback); }
    Rgb color(const std::string& s, const std::string& k) const { return fromRef(ini_.color(s, k).value_or(0)); }
    const RgbImage* image(const std::string& s, const std::string& k = "MainImage") const {
        auto file = ini_.text(s, k);
        auto it = file ? images_.find(*file) : images_.end();
        return it == images_.end() ? nullptr : it->second;
    }

    // Copies pixels straight into the canvas; keyed copies skip magenta.
    void put(const RgbImage& src, int sx, int sy, int w, int h, int dx, int dy, bool keyed = false) {
        cairo_surface_flush(canvas_.surface());
        unsigned char* data = cairo_image_surface_get_data(canvas_.surface());
        const int stride = cairo_image_surface_get_stride(canvas_.surface());
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const int px = dx + x, py = dy + y;
                if (!src.contains(sx + x, sy + y) || px < 0 || py < 0 || px >= canvas_.width() || py >= canvas_.height())
                    continue;
                const Rgb c = src.at(sx + x, sy + y);
                if (keyed && c == kMagenta)
                    continue;
                reinterpret_cast<uint32_t*>(data + size_t(py) * size_t(stride))[px] =
                    0xFF000000u | uint32_t(c.r) << 16 | uint32_t(c.g) << 8 | c.b;
            }
        cairo_surface_mark_dirty(canvas_.surface());
    }

    // A nine-part picture of w x h from a section's cells, state band `band`:
    // content tiled, edges tiled, corners last, each cell at its own size.
    void nine(const std::string& s, int x, int y, int w, int h, int band = 0, bool content = true) {
        const RgbImage* img = image(s);
        if (!img)
            return;
        const int dy = band * num(s, "InterationStep");
        const int l = num(s, "LeftBorderWidth"), r = num(s, "RightBorderWidth");
        const int t = num(s, "TopBorderWidth"), b = num(s, "BottomBorderWidth");
        const int cw = num(s, "ContentWidth"), ch = num(s, "ContentHeight");
        if (content && cw > 0 && ch > 0)
            for (int ty = y + t; ty < y + h - b; ty += ch)
                for (int tx = x + l; tx < x + w - r; tx += cw)
                    put(*img, num(s, "ContentX"), num(s, "ContentY") + dy, std::min(cw, x + w - r - tx),
                        std::min(ch, y + h - b - ty), tx, ty);
        auto edge = [&](const char* name, int cx, int cy, bool horizontal, int thick, int from, int to) {
            const int len = num(s, std::string(name) + "Length");
            if (len <= 0 || thick <= 0)
                return;
            for (int p = from; p < to; p += len)
                horizontal ? put(*img, num(s, std::string(name) + "X"), num(s, std::string(name) + "Y") + dy,
                                 std::min(len, to - p), thick, p, cy)
                           : put(*img, num(s, std::string(name) + "X"), num(s, std::string(name) + "Y") + dy, thick,
                                 std::min(len, to - p), cx, p);
        };
        edge("TopBorder", 0, y, true, t, x + l, x + w - r);
        edge("BottomBorder", 0, y + h - b, true, b, x + l, x + w - r);
        edge("LeftBorder", x, 0, false, l, y + t, y + h - b);
        edge("RightBorder", x + w - r, 0, false, r, y + t, y + h - b);
        put(*img, num(s, "LeftTopCornerX"), num(s, "LeftTopCornerY") + dy, l, t, x, y);
        put(*img, num(s, "RightTopCornerX"), num(s, "RightTopCornerY") + dy, r, t, x + w - r, y);
        put(*img, num(s, "LeftBottomCornerX"), num(s, "LeftBottomCornerY") + dy, l, b, x, y + h - b);
        put(*img, num(s, "RightBottomCornerX"), num(s, "RightBottomCornerY") + dy, r, b, x + w - r, y + h - b);
    }

    void fill(int x, int y, int w, int h, Rgb c) { canvas_.fillRect(x, y, w, h, c); }

    // Text at a logical font height (cell height) like the program's fonts.
    void text(const std::string& s, double x, double y, double h, int cellHeight, Rgb c, bool bold = false,
              bool centred = false, bool italicUnderline = false) {
        cairo_t* cr = canvas_.cr();
        cairo_select_font_face(cr, "Liberation Sans", italicUnderline ? CAIRO_FONT_SLANT_ITALIC : CAIRO_FONT_SLANT_NORMAL,
                               bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
        cairo_set_font_size(cr, cellHeight / 1.149);
        cairo_text_extents_t e;
        cairo_text_extents(cr, s.c_str(), &e);
        cairo_font_extents_t f;
        cairo_font_extents(cr, &f);
        const double tx = centred ? x - e.x_advance / 2 : x;
        const double baseline = y + (h - (f.ascent + f.descent)) / 2 + f.ascent;
        canvas_.setColor(c);
        cairo_move_to(cr, std::round(tx), std::round(baseline));
        cairo_show_text(cr, s.c_str());
        if (italicUnderline) {
            cairo_rectangle(cr, std::round(tx), std::round(baseline) + 1, e.x_advance, 1);
            cairo_fill(cr);
        }
    }

private:
    IniReader ini_;
    Canvas& canvas_;
    std::map<std::string, const RgbImage*> images_;
};

void menuItem(Composer& c, const std::string& section, const std::string& caption, int x, int y, int w, int h,
              int band, bool bar) {
    c.nine(section, x, y, w, h, band);
    const char* font = band == 3 ? "OrvMenuDisabledFont" : band == 2 ? "OrvMenuPressedFont" : "OrvMenuFont";
    const int size = c.num(font, "FontSize");
    if (bar)
        c.text(caption, x + w / 2.0, y, h, size, c.color(font, "TextColor"), false, true);
    else
        c.text(caption, x + c.num(section, "LeftBorderWidth") + 18, y, h, size, c.color(font, "TextColor"));
}

void toolbarAndPanels(Composer& c, int ox, int oy, int W, int hm) {
    const int ws = c.num("OrvSearchCtrl", "Width"), hs = c.num("OrvSearchCtrl", "Height");
    const int P = ws;
    // Message panel.
    c.nine("MessagePanel", ox + W - P, oy, P, hm + hs);
    const int gs = c.num("MessagePanel", "FontSize");
    c.text("Good morning", ox + W - P / 2.0, oy + 5, gs + 4, gs, c.color("MessagePanel", "TextColor"), false, true);
    c.text("Alex Morgan", ox + W - P / 2.0, oy + 30, gs + 4, gs, c.color("MessagePanel", "TextColor"), true, true);
    // Search control with its header.
    const int sy = oy + hm, hh = c.num("OrvSearchCtrl", "HeaderWidth");
    c.nine("OrvSearchCtrl", ox, sy, ws, hs);
    c.nine("OrvSearchCtrlHeader", ox, sy, ws, hh);
    c.text("FIND PEOPLE", ox + c.num("OrvSearchCtrlHeader", "LeftBorderWidth") + 4, sy, hh,
           c.num("OrvSearchCtrlHeader", "FontSize"), c.color("OrvSearchCtrlHeader", "TextColor"), true);
    const int cy = sy + hh;
    c.nine("Edits", ox + c.num("OrvSearchCtrl", "EditSearchX"), cy + c.num("OrvSearchCtrl", "EditSearchY"),
           c.num("OrvSearchCtrl", "EditSearchWidth"), c.num("OrvSearchCtrl", "EditSearchHeight"));
    c.text("anna berg", ox + c.num("OrvSearchCtrl", "EditSearchX") + c.num("Edits", "LeftBorderWidth"),
           cy + c.num("OrvSearchCtrl", "EditSearchY"), c.num("OrvSearchCtrl", "EditSearchHeight"),
           c.num("OrvSearchCtrlHeader", "FontSize"), c.color("Edits", "TextColor"));
    const int bx = ox + c.num("OrvSearchCtrl", "BtnSearchX"), by = cy + c.num("OrvSearchCtrl", "BtnSearchY");
    const int bw = c.num("OrvSearchCtrl", "BtnSearchWidth"), bh = c.num("OrvSearchCtrl", "BtnSearchHeight");
    c.nine("Buttons", bx, by, bw, bh, 0);
    c.text("Search", bx + bw / 2.0, by, bh, c.num("Buttons", "TextSize"), c.color("Buttons", "TextColor"), false, true);
    // Toolbar: home hovered, forward disabled.
    c.nine("OrvToolBarCtrl", ox + ws, sy, W - ws - P, hs);
    const char* buttons[][2] = {{"BtnNavBack", "ToolBtnNavBack"}, {"BtnNavForward", "ToolBtnNavForward"},
                                {"BtnNavHome", "ToolBtnNavHome"}, {"BtnAddSource", "ToolBtnAddSource"},
                                {"BtnAddDestination", "ToolBtnAddDestination"}, {"BtnChat", "ToolBtnChat"},
                                {"BtnEditPersonalInfo", "ToolBtnEditPersonalInfo"}};
    int index = 0;
    for (auto& b : buttons) {
        const std::string place = b[0];
        const int band = index == 1 ? 3 : index == 2 ? 1 : index == 5 ? 2 : 0;
        c.nine(b[1], ox + ws + c.num("OrvToolBarCtrl", place + "X"), sy + c.num("OrvToolBarCtrl", place + "Y"),
               c.num("OrvToolBarCtrl", place + "Width"), c.num("OrvToolBarCtrl", place + "Height"), band);
        ++index;
    }
}

void lists(Composer& c, int ox, int oy, int W, int H, int hm) {
    const int hs = c.num("OrvSearchCtrl", "Height");
    const int wp = c.num("OrvPathFinderCtrl", "Width"), hp = c.num("OrvPathFinderCtrl", "Height");
    const int Y = hm + hs, S = 300, sw = c.num("VerticalSplitter", "SplitterWidth");
    const int listFont = c.num("ListViews", "FontSize"), rowH = 22, headerH = 24;
    const Rgb text = c.color("ListViews", "TextColor");
    auto header = [&](int x, int y, const std::vector<std::pair<std::string, int>>& cols, int width) {
        int at = x;
        for (auto& col : cols) {
            c.nine("ListHeaders", at, y, col.second, headerH);
            c.text(col.first, at + c.num("ListHeaders", "LeftMargin"), y, headerH - 1, c.num("ListHeaders", "TextSize"),
                   c.color("ListHeaders", "TextColor"));
            at += col.second;
        }
        if (at < x + width)
            c.nine("ListHeaders", at, y, x + width - at, headerH);
    };
    auto rows = [&](int x, int y, int w, int h, const char* altSection) {
        for (int r = 0; y + r * rowH < y + h; ++r)
            c.fill(x, y + r * rowH, w, std::min(rowH, h - r * rowH),
                   r % 2 ? c.color(altSection, "BgColor2") : c.color("ListViews", "BgColor"));
    };
    // Search results.
    const int listH = H - hp - Y;
    c.nine("ListViews", ox, oy + Y, S, listH);
    const int top = c.num("ListViews", "TopBorderWidth");
    header(ox, oy + Y + top, {{"", 22}, {"Name", 96}, {"E-mail", 110}, {"Occupation", 72}}, S);
    const int rowsY = oy + Y + top + headerH;
    rows(ox, rowsY, S, listH - top - headerH, "OrvSearchResult");
    const char* people[][3] = {{"Anna Berg", "anna@berg.example", "Architect"}, {"Tom Hale", "tom@hale.example", "Pilot"},
                               {"Mia Chen", "mia@chen.example", "Designer"}, {"Leo Park", "leo@park.example", "Teacher"},
                               {"Ivy Stone", "ivy@stone.example", "Chemist"}};
    const RgbImage* online = c.image("OrvSearchResult", "OnLineIconImage");
    for (int r = 0; r < 5; ++r) {
        const int y = rowsY + r * rowH;
        if (online && r % 2 == 0)
            c.put(*online, 0, 0, online->width(), online->height(), ox + 3, y + (rowH - online->height()) / 2, true);
        c.text(people[r][0], ox + 24, y, rowH, listFont, r == 1 ? c.color("ListViews", "LinkColor") : text, false, false, r == 1);
        c.text(people[r][1], ox + 120, y, rowH, listFont, text);
        c.text(people[r][2], ox + 230, y, rowH, listFont, text);
    }
    // Splitter.
    c.nine("VerticalSplitter", ox + S, oy + Y, sw, H - hp - Y);
    // Path finder and its results.
    const int py = oy + H - hp, hh = c.num("OrvPathFinderCtrl", "HeaderWidth");
    c.nine("OrvPathFinderCtrl", ox, py, wp, hp);
    const int ft = c.num("OrvPathFinderCtrl", "TopBorderWidth");
    c.nine("OrvPathFinderCtrlHeader", ox, py + ft, wp - c.num("OrvPathFinderCtrl", "RightBorderWidth"), hh);
    c.text("PATH BETWEEN TWO PEOPLE", ox + c.num("OrvPathFinderCtrlHeader", "LeftBorderWidth") + 4, py + ft, hh,
           c.num("OrvPathFinderCtrlHeader", "FontSize"), c.color("OrvPathFinderCtrlHeader", "TextColor"), true);
    const int cx = ox, cy = py + ft + hh;
    auto at = [&](const std::string& k) {
        return std::array<int, 4>{cx + c.num("OrvPathFinderCtrl", k + "X"), cy + c.num("OrvPathFinderCtrl", k + "Y"),
                                  c.num("OrvPathFinderCtrl", k + "Width"), c.num("OrvPathFinderCtrl", k + "Height")};
    };
    const int editFont = c.num("OrvPathFinderCtrlHeader", "FontSize");
    for (auto [label, edit, value] : {std::tuple{"LabelSource", "EditSource", "alex@morgan.example"},
                                      std::tuple{"LabelDestination", "EditDestination", "ivy@stone.example"}}) {
        auto l = at(label), e = at(edit);
        c.text(std::string(label) == "LabelSource" ? "From" : "To", l[0], l[1], l[3], c.num("Labels", "TextSize"),
               c.color("Labels", "TextColor"));
        c.nine("Edits", e[0], e[1], e[2], e[3]);
        c.text(value, e[0] + c.num("Edits", "LeftBorderWidth"), e[1], e[3], editFont, c.color("Edits", "TextColor"));
    }
    auto link = at("LabelLink");
    c.text("Swap ends", link[0], link[1], link[3], c.num("Labels", "TextSize"), Rgb(0, 0, 255), false, false, true);
    auto btn = at("BtnSearch");
    c.nine("Buttons", btn[0], btn[1], btn[2], btn[3], 1);
    c.text("Search", btn[0] + btn[2] / 2.0, btn[1], btn[3], c.num("Buttons", "TextSize"), c.color("Buttons", "TextColor"),
           false, true);
    c.nine("ListViews", ox + wp, py, W - wp, hp);
    header(ox + wp, py + top, {{"Steps", 70}, {"People on the way", 300}}, W - wp);
    rows(ox + wp, py + top + headerH, W - wp, hp - top - headerH, "OrvPathFinderResult");
    const char* paths[] = {"Alex Morgan  *  Tom Hale  *  Ivy Stone", "Alex Morgan  *  Mia Chen  *  Leo Park  *  Ivy Stone"};
    for (int r = 0; r < 2; ++r) {
        c.text(std::to_string(r + 2), ox + wp + 35, py + top + headerH + r * rowH, rowH, listFont, text, false, true);
        c.text(paths[r], ox + wp + 78, py + top + headerH + r * rowH, rowH, listFont, text);
    }
}

void tree(Composer& c, int x, int y, int w, int h) {
    c.fill(x, y, w, h, c.color("TreeControl", "BgColor"));
    c.nine("TreeControl", x, y, w, h, 0, false);
    const double cx = x + w / 2.0, cy = y + h / 2.0;
    const Rgb lines = c.color("TreeControl", "RowsColor");
    struct Child { const char* name; const char* style; const char* frame; bool chat; };
    const Child kids[] = {{"Anna Berg", "NodeRegisteredUnselected", "", true},
                          {"Tom Hale", "NodeRegisteredSelected", "NodeRegFrmColor", false},
                          {"Mia Chen", "NodeRegisteredUnselected", "", true},
                          {"jo@mail.example", "NodeUnregisteredUnselected", "", false},
                          {"Leo Park", "NodeRegisteredUnselected", "", false},
                          {"sam@post.example", "NodeUnregisteredPassiveUnselected", "", false},
                          {"Ivy Stone", "NodeRegisteredUnselected", "", true},
                          {"kai@net.example", "NodeUnregisteredUnselected", "", false}};
    const int n = 8;
    const double rx = (w - 128) / 2 * 0.9, ry = (h - 28) / 2 * 0.93;
    std::vector<std::array<double, 2>> centres;
    for (int k = 0; k < n; ++k) {
        const double a = k * 2 * kPi / n;
        const double s = std::sin(a);
        const double d = std::fabs(s) < 0.75 ? 40 * s : (s > 0 ? 20 : -20);
        centres.push_back({cx + std::cos(a) * rx, cy - (ry * s - d)});
    }
    // Lines from the root to every child.
    for (auto& p : centres) {
        const int steps = int(std::hypot(p[0] - cx, p[1] - cy));
        for (int i = 0; i < steps; ++i)
            c.fill(int(cx + (p[0] - cx) * i / steps), int(cy + (p[1] - cy) * i / steps), 1, 1, lines);
    }
    const RgbImage* online = c.image("TreeControl", "OnlineIconImage");
    for (int k = 0; k < n; ++k) {
        const std::string style = kids[k].style;
        const int nw = c.num(style, "Width"), nh = c.num(style, "Height");
        const int left = int(centres[k][0]) - nw / 2, top = int(centres[k][1]) - nh / 2;
        c.fill(left, top, nw, nh, c.color(style, "BgColor"));
        if (*kids[k].frame) {
            const Rgb frame = c.color("TreeControl", kids[k].frame);
            c.fill(left + 1, top + 1, nw - 2, 1, frame);
            c.fill(left + 1, top + nh - 2, nw - 2, 1, frame);
            c.fill(left + 1, top + 1, 1, nh - 2, frame);
            c.fill(left + nw - 2, top + 1, 1, nh - 2, frame);
        }
        c.text(kids[k].name, left + nw / 2.0, top, nh, c.num(style, "FontSize"), c.color(style, "TextColor"),
               c.num(style, "FontBold") != 0, true);
        if (kids[k].chat && online)
            c.put(*online, 0, 0, online->width(), online->height(), left + nw, top - online->height(), true);
    }
    // The root, with its page buttons.
    const std::string root = "NodeRootUnselected";
    const int rw = 190, rh = c.num(root, "Height");
    const int left = int(cx) - rw / 2, top = int(cy) - rh / 2;
    c.fill(left, top, rw, rh, c.color(root, "BgColor"));
    c.text("Alex Morgan", left + 8, top, rh, c.num(root, "FontSize"), c.color(root, "TextColor"), true);
    const RgbImage* prev = c.image("TreeControl", "RootButtonPreviousImage");
    const RgbImage* next = c.image("TreeControl", "RootButtonNextImage");
    if (prev && next) {
        const int bh = prev->height() / 4, by = top + ((rh - bh - 4) >> 1) + 3;
        c.put(*prev, 0, 0, prev->width(), bh, left + int(std::lround(rw * 0.84)) - prev->width(), by, true);
        c.put(*next, 0, bh, next->width(), bh, left + int(std::lround(rw * 0.86)), by, true);
    }
    if (online)
        c.put(*online, 0, 0, online->width(), online->height(), left + rw, top + rh, true);
}

void dropDown(Composer& c, int x, int y) {
    const int font = c.num("OrvMenuFont", "FontSize");
    const int itemH = font + 6 + c.num("OrvMenuItem", "TopBorderWidth") + c.num("OrvMenuItem", "BottomBorderWidth");
    const int sepH = c.num("MenuSeparators", "LeftBorderLength") + c.num("MenuSeparators", "RightBorderLength") +
                     c.num("MenuSeparators", "TopBorderWidth");
    const int w = 190, b = c.num("OrvSubMenuBorders", "LeftBorderWidth");
    const char* items[] = {"Chat", "Search Path", "View Orvane Map", "-", "Add to Favorites", "-", "Send an E-Mail"};
    int h = 2 * b;
    for (const char* i : items)
        h += *i == '-' ? sepH : itemH;
    c.nine("OrvSubMenuBorders", x, y, w, h);
    int at = y + b;
    int index = 0;
    for (const char* i : items) {
        if (*i == '-') {
            // A separator band: its colour, then the line row its left length down.
            c.fill(x + b, at, w - 2 * b, sepH, c.color("MenuSeparators", "BgColor"));
            const RgbImage* img = c.image("MenuSeparators");
            const int l = c.num("MenuSeparators", "LeftBorderLength");
            if (img)
                for (int px = x + b + c.num("MenuSeparators", "LeftBorderWidth");
                     px < x + w - b - c.num("MenuSeparators", "RightBorderWidth"); ++px)
                    c.put(*img, c.num("MenuSeparators", "TopBorderX"), c.num("MenuSeparators", "TopBorderY"), 1, 1, px, at + l);
            at += sepH;
        } else {
            menuItem(c, "OrvMenuItem", i, x + b, at, w - 2 * b, itemH, index == 1 ? 1 : index == 6 ? 3 : 0, false);
            at += itemH;
        }
        ++index;
    }
}

}  // namespace

bool writePreview(const SkinOutput& skin, const std::string& pngPath) {
    IniReader ini(skin.ini().str());
    const int capH = ini.number("MessageCaptions", "InterationStep").value_or(0);
    const int fw = ini.number("MessageBorders", "LeftBorderWidth").value_or(0);
    const int bw = ini.number("MessageBorders", "BottomBorderWidth").value_or(0);
    const int winW = kClientWidth + 2 * fw, winH = capH + kClientHeight + bw, margin = 24;
    Canvas canvas(winW + 2 * margin, winH + 2 * margin);
    canvas.fillRect(0, 0, canvas.width(), canvas.height(), Rgb(128, 134, 142));  // a desktop
    Composer c(skin, canvas);
    const int wx = margin, wy = margin;

    // Caption: middle stretched, the two ends, the buttons from the right.
    const RgbImage* cap = c.image("MessageCaptions");
    if (cap) {
        const int l = c.num("MessageCaptions", "LeftBorderWidth"), r = c.num("MessageCaptions", "RightBorderWidth");
        for (int x = 0; x < winW; ++x)
            c.put(*cap, c.num("MessageCaptions", "ContentX"), 0, 1, capH, wx + x, wy);
        c.put(*cap, 0, 0, l, capH, wx, wy, true);
        c.put(*cap, c.num("MessageCaptions", "RightBorderX"), 0, r, capH, wx + winW - r, wy, true);
    }
    c.text("Orvane", wx + c.num("MessageCaptions", "IconX") + 5, wy + 2, capH - 2, c.num("MessageCaptions", "FontSize"),
           c.color("MessageCaptions", "TextColor"), true);
    if (const RgbImage* grid = c.image("MessageCaptions", "CaptionButtonsImage")) {
        const int cw = grid->width() / 4, ch = grid->height() / 4;
        int right = wx + winW - c.num("MessageCaptions", "ButtonsX");
        const int by = wy + c.num("MessageCaptions", "ButtonsY") + (capH - c.num("MessageCaptions", "ButtonsY") - ch) / 2;
        for (auto [col, row] : {std::pair{3, 1}, std::pair{2, 0}, std::pair{0, 0}}) {
            c.put(*grid, col * cw, row * ch, cw, ch, right - cw, by, true);
            right -= cw;
        }
    }
    // Frame.
    const RgbImage* left = c.image("MessageBorders", "LeftFrameImage");
    const RgbImage* right = c.image("MessageBorders", "RightFrameImage");
    const RgbImage* bottom = c.image("MessageBorders", "BottomFrameImage");
    if (left && right && bottom) {
        for (int y = wy + capH; y < wy + winH; ++y) {
            c.put(*left, 0, 0, fw, 1, wx, y);
            c.put(*right, 0, 0, fw, 1, wx + winW - fw, y);
        }
        for (int x = wx; x < wx + winW; ++x)
            c.put(*bottom, c.num("MessageBorders", "BottomBorderX"), 0, 1, bw, x, wy + winH - bw);
        c.put(*bottom, 0, 0, fw, bw, wx, wy + winH - bw);
        c.put(*bottom, c.num("MessageBorders", "RightBottomCornerX"), 0, fw, bw, wx + winW - fw, wy + winH - bw);
    }
    const int ox = wx + fw, oy = wy + capH;
    // Menu bar.
    const int font = c.num("OrvMenuFont", "FontSize");
    const int hm = font + 7 + c.num("OrvTopMenuItem", "TopBorderWidth") + c.num("OrvTopMenuItem", "BottomBorderWidth");
    const int P = c.num("OrvSearchCtrl", "Width");
    c.nine("OrvTopMenuItem", ox, oy, kClientWidth - P, hm, 0);
    int x = ox;
    int index = 0;
    for (const char* item : {"File", "Edit", "View", "Tools", "Help"}) {
        const int w = int(std::string(item).size()) * 8 + 12 + 12;
        menuItem(c, "OrvTopMenuItem", item, x, oy, w, hm, index == 2 ? 1 : 0, true);
        x += w;
        ++index;
    }
    toolbarAndPanels(c, ox, oy, kClientWidth, hm);
    const int Y = hm + c.num("OrvSearchCtrl", "Height");
    const int treeX = 300 + c.num("VerticalSplitter", "SplitterWidth");
    lists(c, ox, oy, kClientWidth, kClientHeight, hm);
    tree(c, ox + treeX, oy + Y, kClientWidth - treeX, kClientHeight - c.num("OrvPathFinderCtrl", "Height") - Y);
    // The popup menu of the highlighted node, opened at its bottom-left corner.
    dropDown(c, ox + treeX + (kClientWidth - treeX) * 3 / 4 - 72, oy + Y + 125);
    return cairo_surface_write_to_png(canvas.surface(), pngPath.c_str()) == CAIRO_STATUS_SUCCESS;
}

}  // namespace skingen
