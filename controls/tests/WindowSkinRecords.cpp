#include "WindowSkinRecords.h"

#include "CSkin.h"
#include "ClsIniFileParser.h"

#include <windows.h>

namespace wintest {
namespace {
const char* const kThemes[] = {"MainFrame", "dialog", "msbdialog"};

const ClsIniFileToken* Token(const ClsIniFileSection* section, const char* key, IniTokenType_e type) {
    const ClsIniFileToken* token = section ? section->FindToken(key) : nullptr;
    return token && token->GetType() == type ? token : nullptr;
}

int32_t Number(const ClsIniFileSection* section, const char* key, int32_t fallback) {
    const ClsIniFileToken* token = Token(section, key, ITT_NUMBER);
    return token ? token->GetNumber() : fallback;
}

COLORREF Colour(const ClsIniFileSection* section, const char* key, COLORREF fallback) {
    const ClsIniFileToken* token = Token(section, key, ITT_COLOR);
    return token ? token->GetColor() : fallback;
}

bool Flag(const ClsIniFileSection* section, const char* key) { return Number(section, key, 0) != 0; }

bool LoadBitmap(const ClsIniFileSection* section, const char* key, const std::string& folder, ClsBitMap* image) {
    const ClsIniFileToken* token = Token(section, key, ITT_TEXT);
    return token && image->LoadFromFile((folder + token->GetText()).c_str());
}

void ReadCells(const ClsIniFileSection* section, ControlBorderInfo_t* cells) {
    *cells = ControlBorderInfo_t{};
    if (Token(section, "BordersWidth", ITT_NUMBER)) {
        const int32_t width = Number(section, "BordersWidth", 0);
        cells->LeftBorderWidth = cells->RightBorderWidth = cells->TopBorderWidth = cells->BottomBorderWidth = width;
    } else {
        cells->LeftBorderWidth = Number(section, "LeftBorderWidth", 0);
        cells->RightBorderWidth = Number(section, "RightBorderWidth", 0);
        cells->TopBorderWidth = Number(section, "TopBorderWidth", 0);
        cells->BottomBorderWidth = Number(section, "BottomBorderWidth", 0);
    }
    cells->LeftTopCornerX = Number(section, "LeftTopCornerX", 0);
    cells->LeftTopCornerY = Number(section, "LeftTopCornerY", 0);
    cells->RightTopCornerX = Number(section, "RightTopCornerX", 0);
    cells->RightTopCornerY = Number(section, "RightTopCornerY", 0);
    cells->LeftBottomCornerX = Number(section, "LeftBottomCornerX", 0);
    cells->LeftBottomCornerY = Number(section, "LeftBottomCornerY", 0);
    cells->RightBottomCornerX = Number(section, "RightBottomCornerX", 0);
    cells->RightBottomCornerY = Number(section, "RightBottomCornerY", 0);
    cells->LeftBorderX = Number(section, "LeftBorderX", 0);
    cells->LeftBorderY = Number(section, "LeftBorderY", 0);
    cells->LeftBorderLength = Number(section, "LeftBorderLength", 0);
    cells->RightBorderX = Number(section, "RightBorderX", 0);
    cells->RightBorderY = Number(section, "RightBorderY", 0);
    cells->RightBorderLength = Number(section, "RightBorderLength", 0);
    cells->TopBorderX = Number(section, "TopBorderX", 0);
    cells->TopBorderY = Number(section, "TopBorderY", 0);
    cells->TopBorderLength = Number(section, "TopBorderLength", 0);
    cells->BottomBorderX = Number(section, "BottomBorderX", 0);
    cells->BottomBorderY = Number(section, "BottomBorderY", 0);
    cells->BottomBorderLength = Number(section, "BottomBorderLength", 0);
    cells->ContentX = Number(section, "ContentX", 0);
    cells->ContentY = Number(section, "ContentY", 0);
    cells->ContentWidth = Number(section, "ContentWidth", 0);
    cells->ContentHeight = Number(section, "ContentHeight", 0);
    cells->BgColor = Colour(section, "BgColor", 0xC0C0C0);
    cells->InterationStep = Number(section, "InterationStep", 0);
    cells->MainImage = nullptr;
}

void ReadFont(const ClsIniFileSection* section, ClsFont* font) {
    const ClsIniFileToken* face = Token(section, "FontName", ITT_TEXT);
    font->SetName(face ? face->GetText() : "Arial");
    font->SetHeight(Number(section, "FontSize", 14));
    font->SetColor(Colour(section, "TextColor", 0xFFFFFF));
    font->SetBold(Flag(section, "TextBold"));
    font->SetItalic(Flag(section, "TextItalic"));
    font->SetUnderline(Flag(section, "TextUnderline"));
    font->SetStrikeOut(Flag(section, "TextStrikeOut"));
}

void Register(const char* name, S_STD_SKININFO* record) {
    if (record) CSkin::GetInstance()->AddComponent(name, record);
}
}  // namespace

std::string ShippedSkinFolder(const char* name) {
    char path[MAX_PATH] = {};
    const DWORD length = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path, length);
    folder.erase(folder.find_last_of("\\/") + 1);
    return folder + "Skins\\" + name + "\\";
}

bool LoadWindowSkin(const std::string& folder, WindowSkin* skin) {
    const ClsIniFileParser parser((folder + "Skin.Ini").c_str());
    const ClsIniFileSection* captions = parser.FindSection("MessageCaptions");
    const ClsIniFileSection* borders = parser.FindSection("MessageBorders");
    const ClsIniFileSection* buttons = parser.FindSection("MessageButtons");
    if (!captions || !borders || !buttons) return false;

    CaptionSkin* caption = NewRecord<CaptionSkin>();
    skin->caption.Reset(caption);
    ReadCells(captions, &caption->Border);
    bool loaded = LoadBitmap(captions, "MainImage", folder, &caption->CaptionImage);
    loaded = LoadBitmap(captions, "CaptionButtonsImage", folder, &caption->ButtonsImage) && loaded;
    caption->ButtonWidth = caption->ButtonsImage.GetWidth() / 4;
    caption->ButtonHeight = caption->ButtonsImage.GetHeight() / 4;
    ReadFont(captions, &caption->Font);
    caption->IconX = Number(captions, "IconX", 10);
    caption->IconY = Number(captions, "IconY", 0);
    caption->ButtonsX = Number(captions, "ButtonsX", 7);
    caption->ButtonsY = Number(captions, "ButtonsY", 0);
    caption->FrameWidth = caption->FrameHeight = Number(captions, "TopBorderWidth", 4);

    FrameSkin* frame = NewRecord<FrameSkin>();
    skin->frame.Reset(frame);
    ReadCells(borders, &frame->Border);
    loaded = LoadBitmap(borders, "LeftFrameImage", folder, &frame->LeftFrameImage) && loaded;
    loaded = LoadBitmap(borders, "RightFrameImage", folder, &frame->RightFrameImage) && loaded;
    loaded = LoadBitmap(borders, "BottomFrameImage", folder, &frame->BottomFrameImage) && loaded;

    ButtonSkin* button = NewRecord<ButtonSkin>();
    skin->button.Reset(button);
    ReadCells(buttons, &button->Border);
    loaded = LoadBitmap(buttons, "MainImage", folder, &button->Image) && loaded;
    button->Border.MainImage = &button->Image;
    ReadFont(buttons, &button->Font);
    button->DisabledTextColor = Colour(buttons, "DisabledTextColor", 0x969696);

    BackgroundSkin* background = NewRecord<BackgroundSkin>();
    skin->background.Reset(background);
    background->Color = Colour(borders, "MessageBoxBgColor", 0xC8D0D4);
    return loaded;
}

void RegisterRecord(const char* theme, const char* component, S_STD_SKININFO* record) {
    Register((std::string(theme) + "\\" + component).c_str(), record);
}

void RegisterWindowSkin(const WindowSkin& skin) {
    for (const char* theme : kThemes) {
        RegisterRecord(theme, "caption", skin.caption.Get());
        RegisterRecord(theme, "border", skin.frame.Get());
        RegisterRecord(theme, "button", skin.button.Get());
    }
    RegisterRecord("ChatDialog", "button", skin.button.Get());
    Register("dialog", skin.background.Get());
    Register("MainFrame", skin.background.Get());
}

void UnregisterWindowSkin() {
    CSkin* registry = CSkin::GetInstance();
    for (const char* theme : kThemes)
        for (const char* component : {"caption", "border", "button"})
            registry->DeleteComponent((std::string(theme) + "\\" + component).c_str());
    registry->DeleteComponent("ChatDialog\\button");
    registry->DeleteComponent("dialog");
    registry->DeleteComponent("MainFrame");
}

}  // namespace wintest
