#pragma once
#include "COrvSkinnedDialog.h"

// The start-information box: the network's start page as readable text (a
// read-only multi-line field; there is no browser to show the page itself),
// the "show again" check box and OK. OK gives kNext, Esc or the close box
// kQuit; the box keeps the check box's state for the caller.
class CStartInfoDialog : public COrvSkinnedDialog {
public:
    CStartInfoDialog();

    void SetText(const CString& text);
    const CString& GetText() const { return m_text; }
    void SetShowAgain(bool showAgain);
    // After kNext: the check box as the member left it.
    bool GetShowAgain() const { return m_showAgain; }

protected:
    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void OnOK() override;

private:
    CString m_text;
    bool m_showAgain = true;
};
