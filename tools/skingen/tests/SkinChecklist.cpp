#include "SkinChecklist.h"

namespace skintest {
namespace {

const char* const kCellKeys[] = {
    "LeftBorderWidth", "RightBorderWidth", "TopBorderWidth", "BottomBorderWidth",
    "LeftTopCornerX", "LeftTopCornerY", "RightTopCornerX", "RightTopCornerY",
    "LeftBottomCornerX", "LeftBottomCornerY", "RightBottomCornerX", "RightBottomCornerY",
    "LeftBorderX", "LeftBorderY", "LeftBorderLength", "RightBorderX", "RightBorderY", "RightBorderLength",
    "TopBorderX", "TopBorderY", "TopBorderLength", "BottomBorderX", "BottomBorderY", "BottomBorderLength",
    "ContentX", "ContentY", "ContentWidth", "ContentHeight",
};

class Builder {
public:
    explicit Builder(std::vector<KeySpec>& out) : out_(out) {}
    void add(const std::string& section, const std::string& key, KeyType type) { out_.push_back({section, key, type}); }
    void cells(const std::string& s) {
        for (const char* k : kCellKeys)
            add(s, k, KeyType::Number);
    }
    void place(const std::string& s, const std::string& prefix) {
        for (const char* suffix : {"X", "Y", "Width", "Height"})
            add(s, prefix + suffix, KeyType::Number);
    }
    void font(const std::string& s) {
        add(s, "FontName", KeyType::Text);
        add(s, "FontSize", KeyType::Number);
        add(s, "TextColor", KeyType::Color);
        for (const char* flag : {"TextBold", "TextItalic", "TextUnderline", "TextStrikeOut"})
            add(s, flag, KeyType::Flag);
    }
    void node(const std::string& s) {
        add(s, "TextColor", KeyType::Color);
        add(s, "BgColor", KeyType::Color);
        add(s, "Width", KeyType::Number);
        add(s, "Height", KeyType::Number);
        add(s, "FontName", KeyType::Text);
        add(s, "FontSize", KeyType::Number);
        add(s, "FontBold", KeyType::Flag);
    }

private:
    std::vector<KeySpec>& out_;
};

}  // namespace

const std::vector<std::string>& imageRecordSections() {
    static const std::vector<std::string> sections = {
        "Buttons", "RadioButtons", "Edits", "Labels", "TreeControl", "ListHeaders",
        "ToolBtnNavBack", "ToolBtnNavForward", "ToolBtnNavHome", "ToolBtnAddSource",
        "ToolBtnAddDestination", "ToolBtnChat", "ToolBtnEditPersonalInfo",
    };
    return sections;
}

const std::vector<std::string>& frameRecordSections() {
    static const std::vector<std::string> sections = {
        "OrvToolBarCtrl", "VerticalSplitter", "ListViews", "MessagePanel", "OrvSearchCtrlHeader",
        "OrvPathFinderCtrlHeader", "OrvSearchCtrl", "OrvPathFinderCtrl", "OrvTopMenuItem", "OrvMenuItem",
        "OrvSubMenuBorders", "MenuSeparators", "MessageButtons", "MessageCaptions", "MessageBorders",
    };
    return sections;
}

std::vector<KeySpec> skinChecklist() {
    std::vector<KeySpec> list;
    Builder b(list);
    b.add("Main", "SkinName", KeyType::Text);
    b.add("Main", "BaseSkin", KeyType::Number);

    for (const std::string& s : imageRecordSections()) {
        b.cells(s);
        b.add(s, "BgColor", KeyType::Color);
        b.add(s, "TextColor", KeyType::Color);
        b.add(s, "DisabledTextColor", KeyType::Color);
        b.add(s, "TextFont", KeyType::Text);
        b.add(s, "TextSize", KeyType::Number);
        b.add(s, "InterationStep", KeyType::Number);
        b.add(s, "MainImage", KeyType::File);
    }
    for (const std::string& s : frameRecordSections()) {
        b.cells(s);
        b.add(s, "BgColor", KeyType::Color);
        b.add(s, "InterationStep", KeyType::Number);
        b.add(s, "MainImage", KeyType::File);
    }
    for (const char* s : {"MessagePanel", "OrvMenuFont", "OrvMenuDisabledFont", "OrvMenuPressedFont",
                          "OrvSearchCtrlHeader", "OrvPathFinderCtrlHeader", "ListViews", "MessageButtons",
                          "MessageCaptions"})
        b.font(s);

    b.add("MessagePanel", "ClockImage", KeyType::File);
    b.add("MessagePanel", "ClockSteps", KeyType::Number);

    b.add("OrvSearchCtrl", "Width", KeyType::Number);
    b.add("OrvSearchCtrl", "Height", KeyType::Number);
    b.add("OrvSearchCtrl", "HeaderWidth", KeyType::Number);
    b.place("OrvSearchCtrl", "EditSearch");
    b.place("OrvSearchCtrl", "BtnSearch");

    b.add("OrvPathFinderCtrl", "Width", KeyType::Number);
    b.add("OrvPathFinderCtrl", "Height", KeyType::Number);
    b.add("OrvPathFinderCtrl", "HeaderWidth", KeyType::Number);
    b.place("OrvPathFinderCtrl", "LabelSource");
    b.add("OrvPathFinderCtrl", "LabelSourceWWrap", KeyType::Flag);
    b.place("OrvPathFinderCtrl", "EditSource");
    b.place("OrvPathFinderCtrl", "LabelDestination");
    b.add("OrvPathFinderCtrl", "LabelDestinationWWrap", KeyType::Flag);
    b.place("OrvPathFinderCtrl", "EditDestination");
    b.place("OrvPathFinderCtrl", "LabelLink");
    b.place("OrvPathFinderCtrl", "BtnSearch");

    b.add("ListViews", "LinkColor", KeyType::Color);
    b.add("ListHeaders", "LeftMargin", KeyType::Number);
    b.add("OrvSearchResult", "OnLineIconImage", KeyType::File);
    b.add("OrvSearchResult", "BgColor2", KeyType::Color);
    b.add("OrvPathFinderResult", "BgColor2", KeyType::Color);
    b.add("VerticalSplitter", "SplitterWidth", KeyType::Number);

    for (const char* button : {"BtnNavBack", "BtnNavForward", "BtnNavHome", "BtnAddSource", "BtnAddDestination",
                               "BtnChat", "BtnEditPersonalInfo"})
        b.place("OrvToolBarCtrl", button);

    for (const char* k : {"RowsColor", "NodeRootFrmColor", "NodeRegFrmColor", "NodeUnregFrmColor",
                          "NodeUnregPassiveFrmColor"})
        b.add("TreeControl", k, KeyType::Color);
    for (const char* k : {"RootButtonNextImage", "RootButtonPreviousImage", "OnlineIconImage", "DragDropImage"})
        b.add("TreeControl", k, KeyType::File);
    for (const char* s : {"NodeRootSelected", "NodeRootUnselected", "NodeRegisteredSelected",
                          "NodeRegisteredUnselected", "NodeUnregisteredSelected", "NodeUnregisteredUnselected",
                          "NodeUnregisteredPassiveSelected", "NodeUnregisteredPassiveUnselected"})
        b.node(s);

    b.add("MessageButtons", "DisabledTextColor", KeyType::Color);
    b.add("MessageCaptions", "CaptionButtonsImage", KeyType::File);
    for (const char* k : {"IconX", "IconY", "ButtonsX", "ButtonsY"})
        b.add("MessageCaptions", k, KeyType::Number);
    for (const char* k : {"LeftFrameImage", "RightFrameImage", "BottomFrameImage"})
        b.add("MessageBorders", k, KeyType::File);
    b.add("MessageBorders", "MessageBoxBgColor", KeyType::Color);
    return list;
}

}  // namespace skintest
