#include "ContactSheet.h"

#include "ClsFrameDrawer.h"

#include "CBrush.h"
#include "CFont.h"
#include "CPen.h"
#include "CScopedSelect.h"

#include <algorithm>
#include <cstring>

ContactSheet::ContactSheet(int width, int height, COLORREF background, COLORREF labelColor)
    : m_labelColor(labelColor) {
    m_labelFont.CreateFont(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                           DEFAULT_QUALITY, DEFAULT_PITCH, "Arial");
    if (!m_sheet.AllocateBitMap(width, height, pf32bit)) return;
    if (CDC* dc = m_sheet.Lock()) {
        dc->FillSolidRect(0, 0, width, height, background);
        m_sheet.Unlock();
    }
}

POINT ContactSheet::Place(int width, int height, const char* label) {
    int labelWidth = 0;
    if (CDC* dc = m_sheet.Lock()) {
        CScopedSelect font(*dc, m_labelFont);
        SIZE extent{};
        ::GetTextExtentPoint32A(*dc, label, static_cast<int>(std::strlen(label)), &extent);
        labelWidth = extent.cx;
        m_sheet.Unlock();
    }
    const int itemWidth = std::max(width, labelWidth);
    if (m_x > kMargin && m_x + itemWidth > m_sheet.GetWidth() - kMargin) NewRow();
    const POINT at{m_x, m_y + kLabelHeight};
    if (at.x + width > m_sheet.GetWidth() || at.y + height > m_sheet.GetHeight()) m_overflow = true;
    if (CDC* dc = m_sheet.Lock()) {
        CScopedSelect font(*dc, m_labelFont);
        ::SetBkMode(*dc, TRANSPARENT);
        ::SetTextColor(*dc, m_labelColor);
        ::TextOutA(*dc, m_x, m_y, label, static_cast<int>(std::strlen(label)));
        m_sheet.Unlock();
    }
    m_x += itemWidth + kMargin;
    m_rowHeight = std::max(m_rowHeight, height + kLabelHeight);
    return at;
}

void ContactSheet::NewRow() {
    if (m_x == kMargin) return;
    m_y += m_rowHeight + kMargin;
    m_x = kMargin;
    m_rowHeight = 0;
}

void ContactSheet::Heading(const char* text) {
    NewRow();
    if (CDC* dc = m_sheet.Lock()) {
        CFont bold;
        bold.CreateFont(-15, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                        DEFAULT_QUALITY, DEFAULT_PITCH, "Arial");
        CScopedSelect font(*dc, bold);
        ::SetBkMode(*dc, TRANSPARENT);
        ::SetTextColor(*dc, m_labelColor);
        ::TextOutA(*dc, kMargin, m_y, text, static_cast<int>(std::strlen(text)));
        m_sheet.Unlock();
    }
    m_y += 22;
}

void ContactSheet::AddImage(const char* label, const ClsBitMap& image, bool transparent) {
    const POINT at = Place(image.GetWidth(), image.GetHeight(), label);
    if (!image.GetIsValid()) return;
    CDC* dc = m_sheet.Lock();
    if (!dc) return;
    const RECT dest{at.x, at.y, at.x + image.GetWidth(), at.y + image.GetHeight()};
    if (transparent)
        image.DrawTransparent(dc, &dest);
    else
        image.Draw(*dc, at.x, at.y);
    m_sheet.Unlock();
}

void ContactSheet::AddFrame(const char* label, const ControlBorderInfo_t* frame, int width, int height) {
    const POINT at = Place(width, height, label);
    CDC* dc = m_sheet.Lock();
    if (!dc || !frame) return;
    dc->FillSolidRect(at.x, at.y, width, height, frame->BgColor);
    const CPoint old = dc->SetViewportOrg(at.x, at.y);
    ClsFrameDrawer::FillContent(*dc, frame, width, height);
    ClsFrameDrawer::DrawFrame(*dc, frame, width, height);
    dc->SetViewportOrg(old);
    m_sheet.Unlock();
}

void ContactSheet::AddCells(const char* label, const SkinBorderInfo_t* cells, int width, int height) {
    const POINT at = Place(width, height, label);
    CDC* dc = m_sheet.Lock();
    if (!dc || !cells || !cells->MainImage) return;
    dc->FillSolidRect(at.x, at.y, width, height, cells->BgColor);
    const RECT area{at.x, at.y, at.x + width, at.y + height};
    const RECT inside{area.left + cells->LeftBorderWidth, area.top + cells->TopBorderWidth,
                      area.right - cells->RightBorderWidth, area.bottom - cells->BottomBorderWidth};
    ClsFrameDrawer::TileContent(*dc, *cells, *cells->MainImage, inside);
    ClsFrameDrawer::DrawEdgesAndCorners(*dc, *cells, *cells->MainImage, area);
    m_sheet.Unlock();
}

void ContactSheet::AddNode(const char* label, const _NODESKINPARAM& node, COLORREF frame, bool highlighted) {
    const POINT at = Place(node.Width, node.Height, label);
    CDC* dc = m_sheet.Lock();
    if (!dc) return;
    const RECT box{at.x, at.y, at.x + node.Width, at.y + node.Height};
    dc->FillSolidRect(box, node.BgColor);
    if (highlighted) {
        CPen pen;
        CBrush brush;
        pen.CreatePen(PS_SOLID, 1, frame);
        brush.CreateSolidBrush(node.BgColor);
        CScopedSelect selectPen(*dc, pen);
        CScopedSelect selectBrush(*dc, brush);
        ::RoundRect(*dc, box.left + 1, box.top + 1, box.right - 1, box.bottom - 1, 5, 5);
    }
    CFont font;
    font.CreateFont(node.FontSize, 0, 0, 0, node.FontWeight, 0, 0, 0, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                    CLIP_DEFAULT_PRECIS, PROOF_QUALITY, DEFAULT_PITCH, node.FontName);
    {
        CScopedSelect selectFont(*dc, font);
        ::SetTextColor(*dc, node.TextColor);
        ::SetBkMode(*dc, TRANSPARENT);
        RECT text{box.left + 5, box.top, box.right - 5, box.bottom};
        ::DrawTextA(*dc, "Ada Lovelace", -1, &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
    }
    m_sheet.Unlock();
}

void ContactSheet::AddSwatch(const char* label, COLORREF color) {
    const POINT at = Place(40, 24, label);
    if (CDC* dc = m_sheet.Lock()) {
        dc->FillSolidRect(at.x, at.y, 40, 24, color);
        m_sheet.Unlock();
    }
}

void ContactSheet::AddCaptionBar(const char* label, const CaptionSkin& skin, int width, bool active,
                                 const char* title) {
    const int height = skin.Border.InterationStep;
    const POINT at = Place(width, height, label);
    ClsBitMap bar;
    if (height <= 0 || !bar.AllocateBitMap(width, height, pf32bit)) return;
    const ControlBorderInfo_t& c = skin.Border;
    const int dy = active ? 0 : height;
    if (CDC* dc = bar.Lock()) {
        // As the window's caption composes it: magenta, the content cell
        // stretched over all, the two ends, the title, the three buttons.
        dc->FillSolidRect(0, 0, width, height, ClsBitMap::kTransparentKey);
        ::SetStretchBltMode(*dc, COLORONCOLOR);
        skin.CaptionImage.Draw(*dc, 0, 0, width, height, c.ContentX, c.ContentY + dy, c.ContentWidth, c.ContentHeight);
        skin.CaptionImage.Draw(*dc, 0, 0, c.LeftBorderWidth, c.LeftBorderLength, c.LeftBorderX, c.LeftBorderY + dy);
        skin.CaptionImage.Draw(*dc, width - c.RightBorderWidth, height - c.RightBorderLength, c.RightBorderWidth,
                               c.RightBorderLength, c.RightBorderX, c.RightBorderY + dy);
        int left = width - skin.ButtonsX;
        const int top = skin.ButtonsY + (height - skin.ButtonsY - skin.ButtonHeight) / 2;
        for (const int column : {3, 2, 0}) {  // close, maximise, minimise
            left -= skin.ButtonWidth;
            const RECT dest{left, top, left + skin.ButtonWidth, top + skin.ButtonHeight};
            const RECT src{column * skin.ButtonWidth, 0, (column + 1) * skin.ButtonWidth, skin.ButtonHeight};
            skin.ButtonsImage.DrawTransparent(dc, &dest, &src);
        }
        ClsFont font = skin.Font;
        CScopedSelect selectFont(*dc, font.GetHandle());
        ::SetBkMode(*dc, TRANSPARENT);
        ::SetTextColor(*dc, font.GetColor());
        RECT text{skin.IconX + skin.TextX, skin.TextY, left, height};
        ::DrawTextA(*dc, title, -1, &text, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
        bar.Unlock();
    }
    if (CDC* dc = m_sheet.Lock()) {
        const RECT dest{at.x, at.y, at.x + width, at.y + height};
        bar.DrawTransparent(dc, &dest);
        m_sheet.Unlock();
    }
}
