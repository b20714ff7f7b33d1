#include "SkinRecordReader.h"

#include "SkinFile.h"

#include "ClsBitMap.h"
#include "ClsFont.h"
#include "NodeSkinParam.h"

namespace {

// Defaults of a present section whose key is missing or of another type.
constexpr COLORREF kDefaultBgColor = 0xC0C0C0;
constexpr COLORREF kDefaultTextColor = 0;
constexpr COLORREF kDefaultDisabledTextColor = 0x808080;
constexpr int32_t kDefaultTextSize = 8;

constexpr const char* kDefaultFontName = "Arial";
constexpr int32_t kDefaultFontSize = 14;
constexpr COLORREF kDefaultFontColor = 0xFFFFFF;

constexpr int32_t kDefaultNodeWidth = 150;
constexpr int32_t kDefaultNodeHeight = 30;
constexpr int32_t kBoldWeight = 700;
constexpr int32_t kNormalWeight = 400;

}  // namespace

void SkinRecordReader::GetGeometry(SkinFile& skin, const ClsIniFileSection* s, BorderGeometry_t& c) {
    int32_t all = 0;
    if (skin.FindNumber(s, "BordersWidth", &all)) {
        c.LeftBorderWidth = c.RightBorderWidth = c.TopBorderWidth = c.BottomBorderWidth = all;
    } else {
        c.LeftBorderWidth = skin.GetNumber(s, "LeftBorderWidth", 0);
        c.RightBorderWidth = skin.GetNumber(s, "RightBorderWidth", 0);
        c.TopBorderWidth = skin.GetNumber(s, "TopBorderWidth", 0);
        c.BottomBorderWidth = skin.GetNumber(s, "BottomBorderWidth", 0);
    }
    c.LeftTopCornerX = skin.GetNumber(s, "LeftTopCornerX", 0);
    c.LeftTopCornerY = skin.GetNumber(s, "LeftTopCornerY", 0);
    c.RightTopCornerX = skin.GetNumber(s, "RightTopCornerX", 0);
    c.RightTopCornerY = skin.GetNumber(s, "RightTopCornerY", 0);
    c.LeftBottomCornerX = skin.GetNumber(s, "LeftBottomCornerX", 0);
    c.LeftBottomCornerY = skin.GetNumber(s, "LeftBottomCornerY", 0);
    c.RightBottomCornerX = skin.GetNumber(s, "RightBottomCornerX", 0);
    c.RightBottomCornerY = skin.GetNumber(s, "RightBottomCornerY", 0);
    c.LeftBorderX = skin.GetNumber(s, "LeftBorderX", 0);
    c.LeftBorderY = skin.GetNumber(s, "LeftBorderY", 0);
    c.LeftBorderLength = skin.GetNumber(s, "LeftBorderLength", 0);
    c.RightBorderX = skin.GetNumber(s, "RightBorderX", 0);
    c.RightBorderY = skin.GetNumber(s, "RightBorderY", 0);
    c.RightBorderLength = skin.GetNumber(s, "RightBorderLength", 0);
    c.TopBorderX = skin.GetNumber(s, "TopBorderX", 0);
    c.TopBorderY = skin.GetNumber(s, "TopBorderY", 0);
    c.TopBorderLength = skin.GetNumber(s, "TopBorderLength", 0);
    c.BottomBorderX = skin.GetNumber(s, "BottomBorderX", 0);
    c.BottomBorderY = skin.GetNumber(s, "BottomBorderY", 0);
    c.BottomBorderLength = skin.GetNumber(s, "BottomBorderLength", 0);
    c.ContentX = skin.GetNumber(s, "ContentX", 0);
    c.ContentY = skin.GetNumber(s, "ContentY", 0);
    c.ContentWidth = skin.GetNumber(s, "ContentWidth", 0);
    c.ContentHeight = skin.GetNumber(s, "ContentHeight", 0);
}

SkinBorderInfoPtr SkinRecordReader::GetBorderInfo(SkinFile& skin, const char* name) {
    SkinBorderInfoPtr record = NewSkinBorderInfo();
    const ClsIniFileSection* s = skin.FindSection(name);
    if (!s) return record;
    record->MainImage = new ClsBitMap;
    skin.LoadBitmap(s, "MainImage", *record->MainImage);
    GetGeometry(skin, s, *record);
    record->BgColor = skin.GetColor(s, "BgColor", kDefaultBgColor);
    record->TextColor = skin.GetColor(s, "TextColor", kDefaultTextColor);
    record->DisabledTextColor = skin.GetColor(s, "DisabledTextColor", kDefaultDisabledTextColor);
    record->TextFont = skin.GetText(s, "TextFont", "");
    record->TextSize = skin.GetNumber(s, "TextSize", kDefaultTextSize);
    record->InterationStep = skin.GetNumber(s, "InterationStep", 0);
    return record;
}

void SkinRecordReader::GetControlBorderValues(SkinFile& skin, const ClsIniFileSection* s,
                                              ControlBorderInfo_t& record) {
    ClsBitMap* image = record.MainImage;
    record = ControlBorderInfo_t{};
    record.MainImage = image;
    if (!s) return;
    GetGeometry(skin, s, record);
    record.BgColor = skin.GetColor(s, "BgColor", kDefaultBgColor);
    record.InterationStep = skin.GetNumber(s, "InterationStep", 0);
}

ControlBorderInfoPtr SkinRecordReader::GetControlBorderInfo(SkinFile& skin, const char* name, bool optional) {
    ControlBorderInfoPtr record = NewControlBorderInfo();
    const ClsIniFileSection* s = skin.FindSection(name, optional);
    if (!s) return record;
    record->MainImage = new ClsBitMap;
    skin.LoadBitmap(s, "MainImage", *record->MainImage);
    GetControlBorderValues(skin, s, *record);
    return record;
}

void SkinRecordReader::GetFontInfo(SkinFile& skin, const char* name, ClsFont& font) {
    const ClsIniFileSection* s = skin.FindSection(name);
    font.SetName(skin.GetText(s, "FontName", kDefaultFontName));
    font.SetHeight(skin.GetNumber(s, "FontSize", kDefaultFontSize));
    font.SetColor(skin.GetColor(s, "TextColor", kDefaultFontColor));
    FontStyles_t style = 0;
    if (skin.GetFlag(s, "TextBold")) style |= fsBold;
    if (skin.GetFlag(s, "TextItalic")) style |= fsItalic;
    if (skin.GetFlag(s, "TextUnderline")) style |= fsUnderline;
    if (skin.GetFlag(s, "TextStrikeOut")) style |= fsStrikeOut;
    font.SetStyle(style);
}

void SkinRecordReader::GetNodeInfo(SkinFile& skin, const char* name, _NODESKINPARAM& node) {
    const ClsIniFileSection* s = skin.FindSection(name);
    if (!s) return;
    node.TextColor = skin.GetColor(s, "TextColor", 0);
    node.BgColor = skin.GetColor(s, "BgColor", 0);
    node.Width = skin.GetNumber(s, "Width", kDefaultNodeWidth);
    node.Height = skin.GetNumber(s, "Height", kDefaultNodeHeight);
    node.FontName = skin.GetText(s, "FontName", kDefaultFontName);
    node.FontSize = skin.GetNumber(s, "FontSize", kDefaultFontSize);
    node.FontWeight = skin.GetFlag(s, "FontBold") ? kBoldWeight : kNormalWeight;
}
