#pragma once
// One picture of everything a skin composes, laid out in labelled rows, for
// a person to look at: button bands, frames, caption pieces, the tree's
// bitmaps and node styles.
#include "ClsBitMap.h"
#include "NodeSkinParam.h"
#include "SkinBorderInfo.h"
#include "SkinComponents.h"

#include "CFont.h"

#include <string>

class ContactSheet {
public:
    ContactSheet(int width, int height, COLORREF background, COLORREF labelColor);
    ContactSheet(const ContactSheet&) = delete;
    ContactSheet& operator=(const ContactSheet&) = delete;

    // A heading on a row of its own.
    void Heading(const char* text);
    // The image at its own size (magenta left out when transparent), with
    // its label above it.
    void AddImage(const char* label, const ClsBitMap& image, bool transparent = false);
    // A control window's frame and client background drawn at that size.
    void AddFrame(const char* label, const ControlBorderInfo_t* frame, int width, int height);
    void AddCells(const char* label, const SkinBorderInfo_t* cells, int width, int height);
    // A node of the contact-tree: its box, its frame when highlighted and a
    // name in its font.
    void AddNode(const char* label, const _NODESKINPARAM& node, COLORREF frame, bool highlighted);
    void AddSwatch(const char* label, COLORREF color);
    // A window caption composed from the caption record, with its title
    // and the close, maximise and minimise buttons.
    void AddCaptionBar(const char* label, const CaptionSkin& skin, int width, bool active, const char* title);
    void NewRow();

    bool Save(const std::string& path) const { return m_sheet.SaveToFile(path.c_str()); }
    // Whether everything added fitted on the sheet.
    bool Overflowed() const { return m_overflow; }

private:
    // Room for an item of that size; returns its top-left corner.
    POINT Place(int width, int height, const char* label);

    ClsBitMap m_sheet;
    CFont m_labelFont;
    COLORREF m_labelColor;
    int m_x = kMargin, m_y = kMargin, m_rowHeight = 0;
    bool m_overflow = false;
    static constexpr int kMargin = 12;
    static constexpr int kLabelHeight = 16;
};
