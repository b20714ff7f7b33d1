#pragma once
// Builds the skin records from a skin description: the border records of
// the controls, fonts and the contact-tree's node styles, each with the keys
// and defaults of the skin format.
#include "SkinBorderInfo.h"

class ClsFont;
class ClsIniFileSection;
class SkinFile;
struct _NODESKINPARAM;

class SkinRecordReader {
public:
    // The 28 numbers shared by both border records, default 0. A number
    // BordersWidth sets all four border widths, and the four single keys are
    // then not read.
    static void GetGeometry(SkinFile& skin, const ClsIniFileSection* section, BorderGeometry_t& cells);

    // A missing section gives an all-zero record without image object.
    // Otherwise the record has an image object (empty when MainImage does
    // not load) and every key its value or default.
    // An optional section (one that has a stand-in) is not noted as missing.
    static SkinBorderInfoPtr GetBorderInfo(SkinFile& skin, const char* section);
    static ControlBorderInfoPtr GetControlBorderInfo(SkinFile& skin, const char* section, bool optional = false);
    // The numbers and colour of a ControlBorderInfo_t, without its image;
    // all zero for a missing section.
    static void GetControlBorderValues(SkinFile& skin, const ClsIniFileSection* section,
                                       ControlBorderInfo_t& record);

    // FontName ("Arial"), FontSize (14), TextColor (white) and the style
    // flags; a missing section resets the font to those defaults.
    static void GetFontInfo(SkinFile& skin, const char* section, ClsFont& font);

    // One node style; a missing section leaves the record as it was.
    static void GetNodeInfo(SkinFile& skin, const char* section, _NODESKINPARAM& node);
};
