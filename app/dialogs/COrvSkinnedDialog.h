#pragma once
#include "OrvEntryRules.h"

#include "CDialog.h"
#include "CFont.h"
#include "CSDialog.h"
#include "CString.h"

#include <vector>

// A modeless dialog of the sign-up and contact dialogs, dressed in the
// skin's "dialog" theme. It ends by posting the registered message
// "WM_OrvCloseDialog" to its parent with its result as wParam; whoever
// shows it waits for that message (COrvDialogWait) and then hides it. The
// object can be shown again and keeps what was typed.
class COrvSkinnedDialog : public CDialog {
public:
    enum Result : int { kStay = 0, kBack = 1, kNext = 2, kQuit = 3 };
    static const char* const kThemeName;  // "dialog"

    // The registered "WM_OrvCloseDialog".
    static UINT GetCloseMessage();

    ~COrvSkinnedDialog() override;
    COrvSkinnedDialog(const COrvSkinnedDialog&) = delete;
    COrvSkinnedDialog& operator=(const COrvSkinnedDialog&) = delete;

    // Makes the dialog, hidden, owned by parent (which receives the result;
    // without a parent the dialog posts it to itself).
    bool Create(CWnd* parent);
    using CDialog::Create;
    // The result last posted, -1 before any.
    int GetLastResult() const { return m_lastResult; }
    // The window that receives the result.
    HWND GetNotifyWindow() const { return m_notify ? m_notify : m_hWnd; }
    CSDialog& GetSkin() { return m_skin; }
    // ink, lightened when both it and the background are dark, so that
    // coloured texts stay readable on a dark skin.
    static COLORREF ReadableInk(COLORREF ink, COLORREF background);

protected:
    explicit COrvSkinnedDialog(UINT templateId);

    BOOL OnInitDialog() override;
    HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT kind) override;
    // Esc and the close box: OnCancel, never the framework's EndDialog.
    void OnOK() override;
    void OnCancel() override;

    void PostResult(int result);
    // A skinned message box owned by this dialog.
    int ShowMessage(const char* text, const char* caption, UINT type = MB_OK | MB_ICONINFORMATION);
    // Shows the problem and puts the focus on its field.
    void ShowProblem(const OrvEntryProblem& problem);
    CString GetItemText(int id) const;
    void SetItemText(int id, const char* text);
    bool IsItemChecked(int id) const;
    void SetItemChecked(int id, bool checked);
    // Texts drawn in this colour instead of the theme's (CLR_INVALID: none).
    void SetItemColor(int id, COLORREF color);
    // Makes a static text a link: underlined, in link blue, hand cursor.
    void MakeLink(int id);
    // Writes a static text in the dialog's font, bold.
    void MakeBold(int id);


    bool OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

private:
    bool IsLink(HWND control) const;

    const UINT m_templateId;
    CSDialog m_skin;
    HWND m_notify = nullptr;
    int m_lastResult = -1;
    CFont m_linkFont;
    CFont m_boldFont;
    struct ItemColor {
        int id;
        COLORREF color;
    };
    std::vector<ItemColor> m_colors;
    std::vector<int> m_links;
};
