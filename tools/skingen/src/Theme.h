// The design parameters of one skin: palette, type, radii and sizes. Both
// shipped skins share every size and glyph; only the palette differs, so the
// geometry constants live here once and each theme is a palette.
#pragma once

#include "Rgb.h"

#include <string>
#include <vector>

namespace skingen {

// A tree node style: fill, text and size of one node state.
struct NodeStyle {
    Rgb fill, text;
    int width, height, fontSize;
    bool bold;
};

struct Theme {
    std::string directory;  // folder under Skins\ (what the program stores as the chosen skin)
    std::string name;       // shown in the skins dialog
    bool baseSkin = false;

    // Surfaces
    Rgb chrome;      // caption, menu bar, toolbar, search and path panels, dialogs
    Rgb content;     // lists and the contact-tree
    Rgb contentAlt;  // every second list row
    Rgb input;       // edit fields
    Rgb menu;        // drop-down menus
    Rgb secondary;   // face of dialog buttons
    // Lines
    Rgb hairline;     // separators between panes
    Rgb border;       // outlines of edits and secondary buttons
    Rgb frameActive;  // window outline while active
    Rgb frameInactive;
    // Text
    Rgb text, textMuted, textDisabled, textOnAccent;
    // Accent and signals
    Rgb accent, accentHover, accentPressed;
    Rgb accentSoft, accentSoftStrong;  // tints of the accent over chrome: hover, pressed
    Rgb accentText;                    // accent used as a text or glyph colour on chrome
    Rgb disabledFill;
    Rgb danger, dangerPressed;  // close button
    Rgb online;                 // may chat
    Rgb treeLines;
    Rgb dragBand;  // the band the tree's drag image is drawn on (fixed by the program)

    // Contact-tree nodes, in the program's order of node states.
    NodeStyle nodeRegistered, nodeRegisteredSelected, nodeRoot, nodeRootSelected;
    NodeStyle nodeUnregistered, nodeUnregisteredSelected, nodePassive, nodePassiveSelected;
    Rgb rootFrame, registeredFrame, unregisteredFrame, passiveFrame;
};

// Type and geometry shared by every skin (pixels; font sizes are logical
// heights handed unchanged to the system, i.e. cell heights).
namespace geometry {
constexpr const char* kFont = "Arial";
constexpr int kFontSize = 14;         // controls, lists, menus
constexpr int kSmallFontSize = 13;    // pane headers
constexpr int kCaptionFontSize = 15;  // window captions
constexpr int kGreetingFontSize = 16;
constexpr int kRadius = 4;        // buttons, edits, menu highlights
constexpr int kWindowRadius = 7;  // top corners of windows
constexpr int kCaptionHeight = 32;
constexpr int kFrameWidth = 4;  // left, right and bottom window frame
constexpr int kCaptionButtonWidth = 44, kCaptionButtonHeight = 30;
constexpr int kSearchWidth = 196;  // left column, also the message panel
constexpr int kSearchHeight = 56;
constexpr int kPathWidth = 300, kPathHeight = 128;
constexpr int kPaneHeaderHeight = 22;
constexpr int kToolButton = 48;  // square toolbar buttons
constexpr int kSplitterWidth = 6;
constexpr int kClockFrames = 12, kClockSize = 32;
}  // namespace geometry

std::vector<Theme> shippedThemes();

}  // namespace skingen
