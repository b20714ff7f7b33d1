#pragma once
// The skin records of windows, dialogs and message boxes, built for the
// tests from a shipped skin's Skin.Ini the way the skin reader builds them
// (caption, frame, push button and background), and registered in CSkin
// under the reader's names.
#include "S_STD_SKININFO.h"
#include "SkinComponents.h"

#include <string>

namespace wintest {

// The folder of a shipped skin ("Daylight", "Graphite") in the program's
// Skins folder, with its trailing separator.
std::string ShippedSkinFolder(const char* name);

// One skin's records, each held once here.
struct WindowSkin {
    CSkinRecordRef<CaptionSkin> caption;
    CSkinRecordRef<FrameSkin> frame;
    CSkinRecordRef<ButtonSkin> button;
    CSkinRecordRef<BackgroundSkin> background;
};

// Reads the skin in folder; false when its description has no caption,
// frame or button section or a bitmap does not load.
bool LoadWindowSkin(const std::string& folder, WindowSkin* skin);

// Registers the records under "MainFrame\", "dialog\" and "msbdialog\"
// caption, border and button (and "ChatDialog\button"), the background as
// "dialog" and "MainFrame".
void RegisterWindowSkin(const WindowSkin& skin);
// Registers one record under one theme only ("msbdialog", "caption").
void RegisterRecord(const char* theme, const char* component, S_STD_SKININFO* record);
// Deletes every name RegisterWindowSkin uses.
void UnregisterWindowSkin();

// A new record held by the returned reference (the caller's).
template <class T>
T* NewRecord() {
    T* record = new T;
    record->AddRef();
    return record;
}

}  // namespace wintest
