#include "TreeSkinBuilder.h"

#include "SkinFile.h"
#include "SkinRecordReader.h"

#include "TreeSkinInfo.h"

namespace {
constexpr COLORREF kDefaultRowsColor = 0xC0C0C0;
constexpr COLORREF kDefaultFrameColor = 0xFFFFFF;
}  // namespace

void TreeSkinBuilder::Fill(SkinFile& skin, const SkinBorderInfo_t* treeControl, TREESKININFO& info) {
    const ClsIniFileSection* section = skin.FindSection("TreeControl");
    info.RowsColor = skin.GetColor(section, "RowsColor", kDefaultRowsColor);
    info.NodeRootFrmColor = skin.GetColor(section, "NodeRootFrmColor", kDefaultFrameColor);
    SkinRecordReader::GetNodeInfo(skin, "NodeRootSelected", info.NodeRootSelected);
    SkinRecordReader::GetNodeInfo(skin, "NodeRootUnselected", info.NodeRootUnselected);
    skin.LoadBitmap(section, "RootButtonNextImage", info.RootButtonNextImage);
    skin.LoadBitmap(section, "RootButtonPreviousImage", info.RootButtonPreviousImage);
    info.NodeRegFrmColor = skin.GetColor(section, "NodeRegFrmColor", kDefaultFrameColor);
    SkinRecordReader::GetNodeInfo(skin, "NodeRegisteredSelected", info.NodeRegisteredSelected);
    SkinRecordReader::GetNodeInfo(skin, "NodeRegisteredUnselected", info.NodeRegisteredUnselected);
    info.NodeUnregFrmColor = skin.GetColor(section, "NodeUnregFrmColor", kDefaultFrameColor);
    SkinRecordReader::GetNodeInfo(skin, "NodeUnregisteredSelected", info.NodeUnregisteredSelected);
    SkinRecordReader::GetNodeInfo(skin, "NodeUnregisteredUnselected", info.NodeUnregisteredUnselected);
    info.NodeUnregPassiveFrmColor = skin.GetColor(section, "NodeUnregPassiveFrmColor", kDefaultFrameColor);
    SkinRecordReader::GetNodeInfo(skin, "NodeUnregisteredPassiveSelected", info.NodeUnregisteredPassiveSelected);
    SkinRecordReader::GetNodeInfo(skin, "NodeUnregisteredPassiveUnselected",
                                  info.NodeUnregisteredPassiveUnselected);
    skin.LoadBitmap(section, "OnlineIconImage", info.OnlineIconImage);
    if (treeControl) {
        info.TreeControl = *treeControl;
        if (treeControl->MainImage) info.TreeImage = *treeControl->MainImage;
    }
    // The copy draws from the record's own image, never from the reader's.
    info.TreeControl.MainImage = &info.TreeImage;
}
