#include "CDialog.h"

#include "AfxGlobals.h"
#include "AfxTrace.h"
#include "CWinThread.h"
#include "CWinApp.h"

struct CDialogInternals {
    // Only WM_INITDIALOG reaches this procedure with work to do: from then
    // on AfxWndProc sits in front of the dialog and answers first.
    static INT_PTR CALLBACK DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message != WM_INITDIALOG) return FALSE;
        CDialog* dialog = reinterpret_cast<CDialog*>(lParam);
        try {
            if (CWnd::FromHandlePermanent(hWnd) || !dialog || !dialog->SubclassWindow(hWnd)) return FALSE;
        } catch (...) {
            // Nothing may unwind into the dialog manager; the dialog stays unowned.
            AfxTraceCaughtException("framework: taking a new dialog");
            return FALSE;
        }
        return AfxCallWndProc(dialog, hWnd, message, wParam, lParam);
    }
};

CDialog::CDialog() = default;

CDialog::CDialog(UINT templateId, CWnd* parent)
    : m_lpszTemplateName(MAKEINTRESOURCEA(templateId)), m_pParentWnd(parent) {}

CDialog::CDialog(const char* templateName, CWnd* parent)
    : m_lpszTemplateName(templateName), m_pParentWnd(parent) {}

HWND CDialog::OwnerWindow() const {
    if (m_pParentWnd && m_pParentWnd->GetSafeHwnd()) return m_pParentWnd->GetSafeHwnd();
    CWinThread* thread = AfxGetThread();
    if (thread && thread->m_pMainWnd && thread->m_pMainWnd != this) return thread->m_pMainWnd->GetSafeHwnd();
    return nullptr;
}

bool CDialog::Create(UINT templateId, CWnd* parent) {
    return Create(MAKEINTRESOURCEA(templateId), parent);
}

bool CDialog::Create(const char* templateName, CWnd* parent) {
    if (m_hWnd || !templateName) return false;
    m_lpszTemplateName = templateName;
    if (parent) m_pParentWnd = parent;
    HWND hWnd = ::CreateDialogParamA(AfxGetResourceHandle(), templateName, OwnerWindow(),
                                     CDialogInternals::DialogProc, reinterpret_cast<LPARAM>(this));
    if (hWnd && m_hWnd != hWnd) {
        // Made but never taken by this object: nobody would destroy it.
        ::DestroyWindow(hWnd);
        return false;
    }
    return hWnd != nullptr;
}

INT_PTR CDialog::DoModal() {
    if (m_hWnd || !m_lpszTemplateName || m_inModalLoop) return -1;
    HINSTANCE module = AfxGetResourceHandle();
    HRSRC resource = ::FindResourceA(module, m_lpszTemplateName, reinterpret_cast<LPCSTR>(RT_DIALOG));
    HGLOBAL loaded = resource ? ::LoadResource(module, resource) : nullptr;
    auto* dialogTemplate = loaded ? static_cast<LPCDLGTEMPLATEA>(::LockResource(loaded)) : nullptr;
    if (!dialogTemplate) return -1;

    // The owner is disabled for the dialog's life, as the system's own modal
    // dialogs do; the top-level window, since a disabled child would not stop input.
    HWND owner = OwnerWindow();
    while (owner && (::GetWindowLongPtrA(owner, GWL_STYLE) & WS_CHILD) && ::GetParent(owner))
        owner = ::GetParent(owner);
    const bool reenableOwner = owner && ::IsWindowEnabled(owner);
    if (reenableOwner) ::EnableWindow(owner, FALSE);

    m_inModalLoop = true;
    m_endModal = false;
    m_modalResult = -1;
    HWND hWnd = ::CreateDialogIndirectParamA(module, dialogTemplate, owner, CDialogInternals::DialogProc,
                                             reinterpret_cast<LPARAM>(this));
    if (hWnd && m_hWnd != hWnd) ::DestroyWindow(hWnd);
    if (hWnd && m_hWnd == hWnd) {
        if (!m_endModal) ::ShowWindow(hWnd, SW_SHOWNORMAL);
        MSG msg;
        while (!m_endModal && m_hWnd) {
            const BOOL got = ::GetMessageA(&msg, nullptr, 0, 0);
            if (got == 0 || got == -1) {
                // Leave the quit request to the loop outside.
                ::PostQuitMessage(got == 0 ? static_cast<int>(msg.wParam) : -1);
                break;
            }
            // The thread's look first, as in its own loop; its walk up the
            // window chain passes the dialog on the way to the main window.
            CWinThread* thread = AfxGetThread();
            const BOOL taken = thread ? thread->PreTranslateMessage(&msg)
                                      : CWnd::WalkPreTranslateTree(nullptr, &msg);
            if (!taken) {
                ::TranslateMessage(&msg);
                ::DispatchMessageA(&msg);
            }
        }
    }
    m_inModalLoop = false;
    // Enable the owner before the dialog goes, so activation returns to it.
    if (reenableOwner) ::EnableWindow(owner, TRUE);
    if (m_hWnd) {
        if (owner && ::GetActiveWindow() == m_hWnd) ::SetActiveWindow(owner);
        DestroyWindow();
    }
    return m_modalResult;
}

void CDialog::EndDialog(int result) {
    if (m_inModalLoop) {
        m_modalResult = result;
        m_endModal = true;
        // Wake the loop, which may be waiting in GetMessage.
        if (m_hWnd) ::PostMessageA(m_hWnd, WM_NULL, 0, 0);
    } else if (m_hWnd) {
        ::EndDialog(m_hWnd, result);
    }
}

BOOL CDialog::OnInitDialog() { return TRUE; }

void CDialog::OnOK() { EndDialog(IDOK); }

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

BOOL CDialog::PreTranslateMessage(MSG* msg) {
    if (!msg || !m_hWnd) return FALSE;
    if (msg->message < WM_KEYFIRST || msg->message > WM_KEYLAST) return FALSE;
    if (msg->hwnd != m_hWnd && !::IsChild(m_hWnd, msg->hwnd)) return FALSE;
    return ::IsDialogMessageA(m_hWnd, msg);
}

bool CDialog::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    if (message != WM_INITDIALOG) return CWnd::OnWndMsg(message, wParam, lParam, result);
    *result = OnInitDialog();
    return true;
}

BOOL CDialog::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (CWnd::OnCommand(wParam, lParam)) return TRUE;
    // Buttons send BN_CLICKED (0); the dialog manager sends IDCANCEL for Esc
    // and the close box with the same code.
    if (HIWORD(wParam) != BN_CLICKED) return FALSE;
    switch (LOWORD(wParam)) {
    case IDOK: OnOK(); return TRUE;
    case IDCANCEL: OnCancel(); return TRUE;
    default: return FALSE;
    }
}

const char* CDialog::GetRuntimeClassName() const { return "CDialog"; }
