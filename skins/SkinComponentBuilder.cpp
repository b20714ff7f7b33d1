#include "SkinComponentBuilder.h"

#include "SkinFile.h"
#include "SkinRecordReader.h"

#include "CSkin.h"
#include "MenuSkinInfo.h"
#include "PopupMenuSkin.h"
#include "SkinComponents.h"

#include <initializer_list>

namespace {

constexpr COLORREF kDefaultButtonDisabledText = 0x969696;
constexpr COLORREF kDefaultWindowBackground = 0xC8D0D4;
constexpr int32_t kDefaultIconX = 10;
constexpr int32_t kDefaultButtonsX = 7;
constexpr int32_t kDefaultSizingStrip = 4;
// The caption buttons image is a 4 x 4 grid of cells.
constexpr int kCaptionGrid = 4;

// Holds the builder's reference on a new record until it is registered.
template <class T>
class NewRecord {
public:
    NewRecord() : m_record(new T) { m_record->AddRef(); }
    ~NewRecord() { m_record->Release(); }
    NewRecord(const NewRecord&) = delete;
    NewRecord& operator=(const NewRecord&) = delete;

    T* operator->() const { return m_record; }
    void RegisterAs(std::initializer_list<const char*> names) const {
        for (const char* name : names) CSkin::GetInstance()->AddComponent(name, m_record);
    }

private:
    T* m_record;
};

void RegisterButton(SkinFile& skin) {
    NewRecord<ButtonSkin> record;
    const ClsIniFileSection* section = skin.FindSection("MessageButtons");
    SkinRecordReader::GetControlBorderValues(skin, section, record->Border);
    record->Border.MainImage = &record->Image;
    skin.LoadBitmap(section, "MainImage", record->Image);
    SkinRecordReader::GetFontInfo(skin, "MessageButtons", record->Font);
    record->DisabledTextColor = skin.GetColor(section, "DisabledTextColor", kDefaultButtonDisabledText);
    record.RegisterAs({"MainFrame\\button", "ChatDialog\\button", "dialog\\button", "msbdialog\\button"});
}

void RegisterCaption(SkinFile& skin) {
    NewRecord<CaptionSkin> record;
    const ClsIniFileSection* section = skin.FindSection("MessageCaptions");
    SkinRecordReader::GetControlBorderValues(skin, section, record->Border);
    skin.LoadBitmap(section, "MainImage", record->CaptionImage);
    skin.LoadBitmap(section, "CaptionButtonsImage", record->ButtonsImage);
    record->ButtonWidth = record->ButtonsImage.GetWidth() / kCaptionGrid;
    record->ButtonHeight = record->ButtonsImage.GetHeight() / kCaptionGrid;
    SkinRecordReader::GetFontInfo(skin, "MessageCaptions", record->Font);
    record->IconX = skin.GetNumber(section, "IconX", kDefaultIconX);
    record->IconY = skin.GetNumber(section, "IconY", 0);
    record->ButtonsX = skin.GetNumber(section, "ButtonsX", kDefaultButtonsX);
    record->ButtonsY = skin.GetNumber(section, "ButtonsY", 0);
    record->FrameWidth = record->FrameHeight = skin.GetNumber(section, "TopBorderWidth", kDefaultSizingStrip);
    record.RegisterAs({"MainFrame\\caption", "dialog\\caption", "msbdialog\\caption"});
}

void RegisterFrame(SkinFile& skin) {
    NewRecord<FrameSkin> record;
    const ClsIniFileSection* section = skin.FindSection("MessageBorders");
    SkinRecordReader::GetControlBorderValues(skin, section, record->Border);
    skin.LoadBitmap(section, "LeftFrameImage", record->LeftFrameImage);
    skin.LoadBitmap(section, "RightFrameImage", record->RightFrameImage);
    skin.LoadBitmap(section, "BottomFrameImage", record->BottomFrameImage);
    record.RegisterAs({"MainFrame\\border", "dialog\\border", "msbdialog\\border"});
}

void RegisterBackground(SkinFile& skin) {
    NewRecord<BackgroundSkin> record;
    record->Color = skin.GetColor(skin.FindSection("MessageBorders"), "MessageBoxBgColor", kDefaultWindowBackground);
    record.RegisterAs({"dialog", "MainFrame"});
}

}  // namespace

void SkinComponentBuilder::RegisterWindowComponents(SkinFile& skin) {
    RegisterButton(skin);
    RegisterCaption(skin);
    RegisterFrame(skin);
    RegisterBackground(skin);
}

void SkinComponentBuilder::RegisterDragImage(SkinFile& skin) {
    NewRecord<DragImageSkin> record;
    skin.LoadBitmap(skin.FindSection("TreeControl"), "DragDropImage", record->Image);
    record.RegisterAs({"OrvNavigateTreeControl"});
}

void SkinComponentBuilder::RegisterPopupMenu(const MenuSkinInfo_t& menu) {
    NewRecord<PopupMenuSkin> record;
    record->Assign(menu);
    record.RegisterAs({PopupMenuSkin::kComponentName});
}

void SkinComponentBuilder::GetMenuSkinInfo(SkinFile& skin, ControlBorderInfo_t* item, ControlBorderInfo_t* separator,
                                           ControlBorderInfo_t* subMenu, MenuSkinInfo_t& menu) {
    SkinRecordReader::GetFontInfo(skin, "OrvMenuFont", menu.Font);
    SkinRecordReader::GetFontInfo(skin, "OrvMenuDisabledFont", menu.FontDisabled);
    if (skin.FindSection("OrvMenuPressedFont", true))
        SkinRecordReader::GetFontInfo(skin, "OrvMenuPressedFont", menu.FontPressed);
    else
        menu.FontPressed = menu.Font;
    menu.ItemBorder = item;
    menu.SeparatorBorder = separator;
    menu.SubMenuBorder = subMenu;
}
