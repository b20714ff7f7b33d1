#include "PopupMenuSkin.h"

#include "ClsBitMap.h"

namespace {
// A record of the same numbers with an image of its own (an empty image
// object stays an empty image object).
ControlBorderInfoPtr CopyBorder(const ControlBorderInfo_t* source) {
    if (!source) return nullptr;
    ControlBorderInfoPtr copy = NewControlBorderInfo();
    *copy = *source;
    copy->MainImage = nullptr;  // never the source's, even if the copy below fails
    if (source->MainImage) copy->MainImage = new ClsBitMap(*source->MainImage);
    return copy;
}
}  // namespace

PopupMenuSkin::PopupMenuSkin() = default;

PopupMenuSkin::~PopupMenuSkin() = default;

void PopupMenuSkin::Assign(const MenuSkinInfo_t& info) {
    ControlBorderInfoPtr item = CopyBorder(info.ItemBorder);
    ControlBorderInfoPtr separator = CopyBorder(info.SeparatorBorder);
    ControlBorderInfoPtr subMenu = CopyBorder(info.SubMenuBorder);
    m_info.Font = info.Font;
    m_info.FontDisabled = info.FontDisabled;
    m_info.FontPressed = info.FontPressed;
    m_info.ItemBorder = item.get();
    m_info.SeparatorBorder = separator.get();
    m_info.SubMenuBorder = subMenu.get();
    m_item = std::move(item);
    m_separator = std::move(separator);
    m_subMenu = std::move(subMenu);
}
