#pragma once
#include "CSDialog.h"
#include "ControlsExport.h"

#include "CDialog.h"

// Skinned message boxes: the system's message box, dressed as a dialog of
// the theme "msbdialog" (caption, frame, push buttons, background) as it
// opens. Same arguments and result as the system's MessageBoxA.
class CTL_API CSMessageBox : public CDialog {
public:
    static const char* const kThemeName;

    // With an owner that is no window the message box is the system's plain
    // one (without an owner). Otherwise the next dialog window this thread
    // makes, the message box, is taken as it is created and skinned when it
    // initialises.
    static int MessageBoxA(HWND owner, const char* text, const char* caption, UINT type);

    ~CSMessageBox() override;
    CSMessageBox(const CSMessageBox&) = delete;
    CSMessageBox& operator=(const CSMessageBox&) = delete;

    // The dialog skin the message box wears once it has initialised.
    CSDialog& GetSkin() { return m_skin; }
    const char* GetRuntimeClassName() const override;

protected:
    // Everything goes to the message box's own procedure; WM_INITDIALOG
    // installs the skin after it.
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    friend struct MessageBoxCatcher;
    CSMessageBox();

    CSDialog m_skin;
};
