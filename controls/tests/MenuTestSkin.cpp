#include "MenuTestSkin.h"

#include "ClsBitMap.h"
#include "ClsSkinnedMenu.h"

#include "ClsIniFileParser.h"

#include <windows.h>

namespace ctltest {
namespace {
int Number(const ClsIniFileSection* section, const char* key, int fallback) {
    const ClsIniFileToken* token = section ? section->FindToken(key) : nullptr;
    return token && token->GetType() == ITT_NUMBER ? token->GetNumber() : fallback;
}

COLORREF Color(const ClsIniFileSection* section, const char* key, COLORREF fallback) {
    const ClsIniFileToken* token = section ? section->FindToken(key) : nullptr;
    return token && token->GetType() == ITT_COLOR ? token->GetColor() : fallback;
}

// A frame record as the reader makes it: zero without the section.
ControlBorderInfoPtr ReadBorder(const ClsIniFileParser& ini, const char* name, const std::string& directory) {
    ControlBorderInfoPtr record = NewControlBorderInfo();
    const ClsIniFileSection* s = ini.FindSection(name);
    if (!s) return record;
    record->MainImage = new ClsBitMap;
    const ClsIniFileToken* image = s->FindToken("MainImage");
    if (image && image->GetType() == ITT_TEXT) record->MainImage->LoadFromFile((directory + image->GetText()).c_str());
    ControlBorderInfo_t& r = *record;
    const ClsIniFileToken* all = s->FindToken("BordersWidth");
    if (all && all->GetType() == ITT_NUMBER) {
        r.LeftBorderWidth = r.RightBorderWidth = r.TopBorderWidth = r.BottomBorderWidth = all->GetNumber();
    } else {
        r.LeftBorderWidth = Number(s, "LeftBorderWidth", 0);
        r.RightBorderWidth = Number(s, "RightBorderWidth", 0);
        r.TopBorderWidth = Number(s, "TopBorderWidth", 0);
        r.BottomBorderWidth = Number(s, "BottomBorderWidth", 0);
    }
    r.LeftTopCornerX = Number(s, "LeftTopCornerX", 0);
    r.LeftTopCornerY = Number(s, "LeftTopCornerY", 0);
    r.RightTopCornerX = Number(s, "RightTopCornerX", 0);
    r.RightTopCornerY = Number(s, "RightTopCornerY", 0);
    r.LeftBottomCornerX = Number(s, "LeftBottomCornerX", 0);
    r.LeftBottomCornerY = Number(s, "LeftBottomCornerY", 0);
    r.RightBottomCornerX = Number(s, "RightBottomCornerX", 0);
    r.RightBottomCornerY = Number(s, "RightBottomCornerY", 0);
    r.LeftBorderX = Number(s, "LeftBorderX", 0);
    r.LeftBorderY = Number(s, "LeftBorderY", 0);
    r.LeftBorderLength = Number(s, "LeftBorderLength", 0);
    r.RightBorderX = Number(s, "RightBorderX", 0);
    r.RightBorderY = Number(s, "RightBorderY", 0);
    r.RightBorderLength = Number(s, "RightBorderLength", 0);
    r.TopBorderX = Number(s, "TopBorderX", 0);
    r.TopBorderY = Number(s, "TopBorderY", 0);
    r.TopBorderLength = Number(s, "TopBorderLength", 0);
    r.BottomBorderX = Number(s, "BottomBorderX", 0);
    r.BottomBorderY = Number(s, "BottomBorderY", 0);
    r.BottomBorderLength = Number(s, "BottomBorderLength", 0);
    r.ContentX = Number(s, "ContentX", 0);
    r.ContentY = Number(s, "ContentY", 0);
    r.ContentWidth = Number(s, "ContentWidth", 0);
    r.ContentHeight = Number(s, "ContentHeight", 0);
    r.BgColor = Color(s, "BgColor", 0xC0C0C0);
    r.InterationStep = Number(s, "InterationStep", 0);
    return record;
}

ClsFont ReadFont(const ClsIniFileParser& ini, const char* name) {
    ClsFont font;
    const ClsIniFileSection* s = ini.FindSection(name);
    const ClsIniFileToken* face = s ? s->FindToken("FontName") : nullptr;
    font.SetName(face && face->GetType() == ITT_TEXT ? face->GetText() : "Arial");
    font.SetHeight(Number(s, "FontSize", 14));
    font.SetColor(Color(s, "TextColor", 0xFFFFFF));
    font.SetBold(Number(s, "TextBold", 0) != 0);
    font.SetItalic(Number(s, "TextItalic", 0) != 0);
    font.SetUnderline(Number(s, "TextUnderline", 0) != 0);
    font.SetStrikeOut(Number(s, "TextStrikeOut", 0) != 0);
    return font;
}
}  // namespace

std::string MenuTestSkin::Directory(const std::string& folder) {
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string directory(path);
    directory.erase(directory.find_last_of("\\/") + 1);
    return directory + "Skins\\" + folder + "\\";
}

MenuTestSkin::MenuTestSkin(const std::string& folder) {
    const std::string directory = Directory(folder);
    ClsIniFileParser ini((directory + "Skin.Ini").c_str());
    m_loaded = ini.FindSection("Main") != nullptr;
    m_item = ReadBorder(ini, "OrvMenuItem", directory);
    m_topItem = ReadBorder(ini, ini.FindSection("OrvTopMenuItem") ? "OrvTopMenuItem" : "OrvMenuItem", directory);
    m_separator = ReadBorder(ini, "MenuSeparators", directory);
    m_subMenu = ReadBorder(ini, "OrvSubMenuBorders", directory);
    m_font = ReadFont(ini, "OrvMenuFont");
    m_disabledFont = ReadFont(ini, "OrvMenuDisabledFont");
    m_pressedFont = ini.FindSection("OrvMenuPressedFont") ? ReadFont(ini, "OrvMenuPressedFont") : m_font;
}

MenuSkinInfo_t MenuTestSkin::Info() const {
    MenuSkinInfo_t info;
    info.Font = m_font;
    info.FontDisabled = m_disabledFont;
    info.FontPressed = m_pressedFont;
    info.ItemBorder = m_item.get();
    info.SeparatorBorder = m_separator.get();
    info.SubMenuBorder = m_subMenu.get();
    return info;
}

void MenuTestSkin::ApplyTo(ClsSkinnedMenu& menu) const {
    menu.SetItemBorder(m_item.get());
    menu.SetTopItemBorder(m_topItem.get());
    menu.SetSubMenuBorder(m_subMenu.get());
    menu.SetSeparatorBorder(m_separator.get());
    menu.SetFontInfo(m_font);
    menu.SetFontDisabled(m_disabledFont);
    menu.SetFontPressed(m_pressedFont);
    menu.SkinUpdated();
}

}  // namespace ctltest
