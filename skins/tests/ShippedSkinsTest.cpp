// The two shipped skins as the build installs them: both listed, Daylight the
// default, each applied without a single problem, and one contact sheet per
// skin of everything it composes (saved under the test artifacts).
#include "ContactSheet.h"
#include "ReaderTestSupport.h"
#include "TreeStandIn.h"

#include "SkinFile.h"
#include "SkinRecordReader.h"

#include "CSkin.h"
#include "OrvLocaleManager.h"
#include "SkinComponents.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

using skintest::Problems;
using skintest::ProgramFolder;

namespace {

const char* const kToolButtons[][2] = {
    {"BtnNavBack", "ToolBtnNavBack"},         {"BtnNavForward", "ToolBtnNavForward"},
    {"BtnNavHome", "ToolBtnNavHome"},         {"BtnAddSource", "ToolBtnAddSource"},
    {"BtnAddDestination", "ToolBtnAddDestination"}, {"BtnChat", "ToolBtnChat"},
    {"BtnEditPersonalInfo", "ToolBtnEditPersonalInfo"}};

const char* const kNodeNames[] = {"root sel", "root", "reg sel", "reg", "unreg sel", "unreg", "passive sel", "passive"};

// How many different colours an image holds (at most 64 counted): a
// composed image that came out blank or flat holds one or two.
size_t ColourCount(const ClsBitMap& image) {
    std::set<COLORREF> colours;
    CDC* dc = const_cast<ClsBitMap&>(image).Lock();
    if (!dc) return 0;
    for (int y = 0; y < image.GetHeight() && colours.size() < 64; y += 1)
        for (int x = 0; x < image.GetWidth() && colours.size() < 64; x += 1) colours.insert(::GetPixel(*dc, x, y));
    const_cast<ClsBitMap&>(image).Unlock();
    return colours.size();
}

template <class T>
T* Registered(const char* name, CSkinRecordRef<S_STD_SKININFO>& holder) {
    holder.Reset(CSkin::GetInstance()->GetComponent(name));
    return dynamic_cast<T*>(holder.Get());
}

class ShippedSkins : public ::testing::Test {
protected:
    ShippedSkins()
        : m_locale((ProgramFolder() + "Locale").c_str(), "EN"),
          m_reader((ProgramFolder() + "Skins").c_str(), &m_locale) {}

    // Applies the skin and draws its contact sheet.
    void ApplyAndDraw(const char* directory, bool dark);

    OrvLocaleManager m_locale;
    OrvSkinReader m_reader;
};

void ShippedSkins::ApplyAndDraw(const char* directory, bool dark) {
    skintest::TreeStandIn tree;
    m_reader.SetTreeWindow(tree);
    m_reader.SetSkinByDirectory(directory);
    ASSERT_NE(m_reader.GetCurrentSkin(), nullptr);
    ASSERT_STREQ(m_reader.GetCurrentSkin()->GetLastDirectory(), directory);
    EXPECT_EQ(m_reader.GetProblemCount(), 0) << Problems(m_reader);
    ASSERT_EQ(tree.received, 1);
    const TREESKININFO& info = *tree.copy;

    // The values the composing below needs, read as the sub-controls will.
    SkinFile file(m_reader.GetCurrentSkin()->GetDirectory());
    const ClsIniFileSection* search = file.FindSection("OrvSearchCtrl");
    const ClsIniFileSection* path = file.FindSection("OrvPathFinderCtrl");
    const ClsIniFileSection* toolbar = file.FindSection("OrvToolBarCtrl");
    ASSERT_TRUE(search && path && toolbar);

    ContactSheet sheet(1100, 1100, dark ? RGB(0x30, 0x33, 0x38) : RGB(0xE2, 0xE6, 0xEC),
                       dark ? RGB(0xE6, 0xE9, 0xED) : RGB(0x1E, 0x29, 0x3B));
    const CString caption = m_locale.GetString("IDS_SKIN_BTN_SEARCH");
    EXPECT_STREQ(caption, "Search");

    sheet.Heading("Push buttons (normal, hovered, pushed, disabled) and radio buttons");
    const SkinBorderInfo_t* buttons = m_reader.GetSkinBorderInfo(srButtons);
    ButtonSkinInfo_t searchButton;
    searchButton.Width = file.GetNumber(search, "BtnSearchWidth", 58);
    searchButton.Height = file.GetNumber(search, "BtnSearchHeight", 20);
    ASSERT_TRUE(OrvSkinReader::FormButtonImage(&searchButton, buttons, caption));
    EXPECT_GT(ColourCount(searchButton.Image), 8u);
    sheet.AddImage("search", searchButton.Image);
    ButtonSkinInfo_t pathButton;
    pathButton.Width = file.GetNumber(path, "BtnSearchWidth", 58);
    pathButton.Height = file.GetNumber(path, "BtnSearchHeight", 20);
    ASSERT_TRUE(OrvSkinReader::FormButtonImage(&pathButton, buttons, caption));
    sheet.AddImage("path search", pathButton.Image);
    ButtonSkinInfo_t wide;
    wide.Width = 140;
    wide.Height = searchButton.Height;
    ASSERT_TRUE(OrvSkinReader::FormButtonImage(&wide, buttons, "A wider button"));
    sheet.AddImage("wide", wide.Image);
    const SkinBorderInfo_t* radios = m_reader.GetSkinBorderInfo(srRadioButtons);
    RadioButtonSkinInfo_t radio;
    radio.Width = 150;
    radio.Height = radios->LeftBorderLength > 0 ? radios->LeftBorderLength : 20;
    ASSERT_TRUE(OrvSkinReader::FormRadioButtonImage(&radio, radios, "Radio button"));
    EXPECT_GT(ColourCount(radio.Image), 8u);
    sheet.AddImage("radio (6 bands)", radio.Image);

    sheet.Heading("Toolbar buttons");
    for (const auto& tool : kToolButtons) {
        SkinBorderInfoPtr cells = SkinRecordReader::GetBorderInfo(file, tool[1]);
        ButtonSkinInfo_t button;
        button.Width = file.GetNumber(toolbar, (std::string(tool[0]) + "Width").c_str(), 56);
        button.Height = file.GetNumber(toolbar, (std::string(tool[0]) + "Height").c_str(), 56);
        ASSERT_TRUE(OrvSkinReader::FormButtonImage(&button, cells.get(), ""));
        EXPECT_GT(ColourCount(button.Image), 8u) << tool[1];
        sheet.AddImage(tool[1] + 7, button.Image);
    }
    EXPECT_EQ(file.GetProblems().size(), 0u);

    sheet.Heading("Caption, caption buttons and window frames");
    CSkinRecordRef<S_STD_SKININFO> holdCaption, holdFrame, holdButton, holdBackground, holdDrag;
    const CaptionSkin* captionSkin = Registered<CaptionSkin>("MainFrame\\caption", holdCaption);
    const FrameSkin* frameSkin = Registered<FrameSkin>("dialog\\border", holdFrame);
    const ButtonSkin* dialogButton = Registered<ButtonSkin>("msbdialog\\button", holdButton);
    const BackgroundSkin* background = Registered<BackgroundSkin>("dialog", holdBackground);
    const DragImageSkin* drag = Registered<DragImageSkin>("OrvNavigateTreeControl", holdDrag);
    ASSERT_TRUE(captionSkin && frameSkin && dialogButton && background && drag);
    EXPECT_TRUE(captionSkin->CaptionImage.GetIsValid());
    EXPECT_EQ(captionSkin->ButtonWidth * 4, captionSkin->ButtonsImage.GetWidth());
    sheet.AddCaptionBar("caption, active", *captionSkin, 420, true, "Orvane");
    sheet.AddCaptionBar("caption, inactive", *captionSkin, 420, false, "An inactive window");
    sheet.NewRow();
    sheet.AddImage("caption cells (active over inactive)", captionSkin->CaptionImage, true);
    sheet.AddImage("caption buttons", captionSkin->ButtonsImage, true);
    sheet.AddImage("dialog button (6 states)", dialogButton->Image, true);
    sheet.AddImage("left", frameSkin->LeftFrameImage);
    sheet.AddImage("right", frameSkin->RightFrameImage);
    sheet.AddImage("bottom", frameSkin->BottomFrameImage);
    sheet.AddSwatch("dialog", background->Color);

    sheet.Heading("Control frames");
    const char* const controlNames[] = {"toolbar", "splitter", "list views", "message panel", "search header",
                                        "path header", "search", "path finder", "top menu item", "menu item",
                                        "sub-menu", "separator"};
    for (int i = 0; i < crCount; ++i) {
        const ControlBorderInfo_t* frame = m_reader.GetControlBorderInfo(static_cast<ControlRecord_e>(i));
        ASSERT_NE(frame, nullptr);
        ASSERT_NE(frame->MainImage, nullptr) << controlNames[i];
        EXPECT_TRUE(frame->MainImage->GetIsValid()) << controlNames[i];
        sheet.AddFrame(controlNames[i], frame, i == crVerticalSplitter ? 6 : 110, 44);
    }
    sheet.AddCells("edit", m_reader.GetSkinBorderInfo(srEdits), 120, 24);
    sheet.AddCells("label", m_reader.GetSkinBorderInfo(srLabels), 60, 24);
    sheet.AddCells("list header", m_reader.GetSkinBorderInfo(srListHeaders), 120, 24);

    sheet.Heading("Contact-tree");
    sheet.AddCells("tree background", &info.TreeControl, 200, 90);
    sheet.AddImage("next page", info.RootButtonNextImage, true);
    sheet.AddImage("previous page", info.RootButtonPreviousImage, true);
    sheet.AddImage("on line", info.OnlineIconImage, true);
    sheet.AddImage("drag image", drag->Image);
    sheet.AddSwatch("rows", info.RowsColor);
    sheet.AddSwatch("root frame", info.NodeRootFrmColor);
    sheet.AddSwatch("reg frame", info.NodeRegFrmColor);
    sheet.AddSwatch("unreg frame", info.NodeUnregFrmColor);
    sheet.AddSwatch("passive frame", info.NodeUnregPassiveFrmColor);
    sheet.NewRow();
    const _NODESKINPARAM* nodes[] = {&info.NodeRootSelected,         &info.NodeRootUnselected,
                                     &info.NodeRegisteredSelected,   &info.NodeRegisteredUnselected,
                                     &info.NodeUnregisteredSelected, &info.NodeUnregisteredUnselected,
                                     &info.NodeUnregisteredPassiveSelected, &info.NodeUnregisteredPassiveUnselected};
    const COLORREF frames[] = {info.NodeRootFrmColor,  info.NodeRootFrmColor,  info.NodeRegFrmColor,
                               info.NodeRegFrmColor,   info.NodeUnregFrmColor, info.NodeUnregFrmColor,
                               info.NodeUnregPassiveFrmColor, info.NodeUnregPassiveFrmColor};
    for (int i = 0; i < 8; ++i) {
        EXPECT_GT(nodes[i]->Width, 0) << kNodeNames[i];
        EXPECT_FALSE(nodes[i]->FontName.IsEmpty()) << kNodeNames[i];
        sheet.AddNode(kNodeNames[i], *nodes[i], frames[i], i % 2 == 0);
    }
    EXPECT_FALSE(sheet.Overflowed());
    const std::string name = std::string("skins-sheet-") + m_reader.GetCurrentSkin()->GetName() + ".bmp";
    EXPECT_TRUE(sheet.Save(orvtest::ArtifactPath(name)));
    m_reader.SetTreeWindow(nullptr);
}

}  // namespace

TEST_F(ShippedSkins, BothListedDaylightTheDefault) {
    ASSERT_EQ(m_reader.GetCount(), 2);
    EXPECT_STREQ(m_reader.GetSkin(0)->GetName(), "Daylight");
    EXPECT_TRUE(m_reader.GetSkin(0)->GetIsBaseSkin());
    EXPECT_STREQ(m_reader.GetSkin(0)->GetLastDirectory(), "Daylight\\");
    EXPECT_STREQ(m_reader.GetSkin(1)->GetName(), "Graphite");
    EXPECT_FALSE(m_reader.GetSkin(1)->GetIsBaseSkin());
    EXPECT_EQ(m_reader.GetDefaultSkin(), m_reader.GetSkin(0));
    m_reader.SetSkinByDirectory("graphite\\");
    EXPECT_EQ(m_reader.GetCurrentSkin(), m_reader.GetSkin(1));
    m_reader.SetSkinByDirectory("Graphite");
    EXPECT_EQ(m_reader.GetCurrentSkin(), m_reader.GetSkin(0));
}

TEST_F(ShippedSkins, DaylightComposesCompletely) { ApplyAndDraw("Daylight\\", false); }

TEST_F(ShippedSkins, GraphiteComposesCompletely) { ApplyAndDraw("Graphite\\", true); }

TEST_F(ShippedSkins, RepeatedChangesLeaveNoObjectBehind) {
    skintest::TreeStandIn tree;
    m_reader.SetTreeWindow(tree);
    auto changeBoth = [&] {
        m_reader.SetSkinByDirectory("Graphite\\");
        m_reader.SetSkinByDirectory("Daylight\\");
        ButtonSkinInfo_t button;
        button.Width = 58;
        button.Height = 20;
        OrvSkinReader::FormButtonImage(&button, m_reader.GetSkinBorderInfo(srButtons), "Search");
    };
    // The first change makes what lives from change to change (the shared
    // records, the tree's copy); after it, every change frees what it replaces.
    changeBoth();
    const int settled = skintest::GdiObjectCount();
    for (int round = 0; round < 10; ++round) changeBoth();
    EXPECT_EQ(skintest::GdiObjectCount(), settled);
    EXPECT_EQ(tree.received, 22);
    m_reader.SetTreeWindow(nullptr);
}
