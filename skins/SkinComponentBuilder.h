#pragma once
// Builds the shared skin records that top-level windows, dialogs, message
// boxes and the tree's drag image find in the CSkin registry, and registers
// each under all its names (replacing the previous skin's records).
class SkinFile;

class SkinComponentBuilder {
public:
    // ButtonSkin ("MainFrame\button", "ChatDialog\button", "dialog\button",
    // "msbdialog\button"), CaptionSkin ("MainFrame\caption",
    // "dialog\caption", "msbdialog\caption"), FrameSkin ("MainFrame\border",
    // "dialog\border", "msbdialog\border") and BackgroundSkin ("dialog",
    // "MainFrame").
    static void RegisterWindowComponents(SkinFile& skin);
    // DragImageSkin ("OrvNavigateTreeControl").
    static void RegisterDragImage(SkinFile& skin);
};
