#include "UpdateDialog.h"

#include "UpdateChanges.h"
#include "UpdateLog.h"
#include "resource.h"

#include <commctrl.h>

#include <climits>

UpdateDialog::UpdateDialog(HINSTANCE instance, std::string archivePath, std::string version,
                           std::string programFolder, UpdateLog& log)
    : m_instance(instance),
      m_version(std::move(version)),
      m_programFolder(programFolder),
      m_log(log),
      m_worker(std::move(archivePath), std::move(programFolder), log, m_progress, m_gate) {}

INT_PTR UpdateDialog::Run() {
    const INT_PTR result =
        ::DialogBoxParamA(m_instance, MAKEINTRESOURCEA(IDD_UPDATE), nullptr, DialogProc, reinterpret_cast<LPARAM>(this));
    // Whatever ended the dialog, no thread outlives it.
    m_gate.Cancel();
    m_worker.Join();
    return result;
}

INT_PTR CALLBACK UpdateDialog::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        ::SetWindowLongPtrA(window, DWLP_USER, lParam);
        reinterpret_cast<UpdateDialog*>(lParam)->m_window = window;
    }
    auto* dialog = reinterpret_cast<UpdateDialog*>(::GetWindowLongPtrA(window, DWLP_USER));
    if (!dialog) return FALSE;
    // Nothing may unwind into the dialog manager.
    try {
        return dialog->HandleMessage(message, wParam, lParam);
    } catch (...) {
        dialog->m_log.Write("The update dialog failed on message %u", message);
        dialog->Finish(IDCANCEL);
        return TRUE;
    }
}

INT_PTR UpdateDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    (void)lParam;
    switch (message) {
    case WM_INITDIALOG:
        OnInit();
        return TRUE;
    case kProgressMessage:
        OnProgress();
        return TRUE;
    case UpdateWorker::kDoneMessage:
        OnExtractionDone(wParam);
        return TRUE;
    case WM_COMMAND:
        // Also Esc and the close box, which the dialog manager turns into IDCANCEL.
        if (LOWORD(wParam) == IDCANCEL) {
            OnCancel();
            return TRUE;
        }
        return FALSE;
    default:
        return FALSE;
    }
}

std::string UpdateDialog::Text(UINT id) const {
    char text[512];
    const int length = ::LoadStringA(m_instance, id, text, sizeof text);
    return std::string(text, length > 0 ? static_cast<size_t>(length) : 0);
}

int UpdateDialog::ShowMessage(UINT textId, UINT style) {
    // Posted messages come before painting: a quick update would otherwise
    // show its message over a dialog that was never drawn.
    ::UpdateWindow(m_window);
    return ::MessageBoxA(m_window, Text(textId).c_str(), Text(IDS_UPDATE_CAPTION).c_str(), style);
}

void UpdateDialog::OnInit() {
    m_bigIcon.Reset(static_cast<HICON>(::LoadImageA(m_instance, MAKEINTRESOURCEA(IDI_ORVANE), IMAGE_ICON,
                                                    ::GetSystemMetrics(SM_CXICON), ::GetSystemMetrics(SM_CYICON), 0)));
    m_smallIcon.Reset(static_cast<HICON>(::LoadImageA(m_instance, MAKEINTRESOURCEA(IDI_ORVANE), IMAGE_ICON,
                                                      ::GetSystemMetrics(SM_CXSMICON),
                                                      ::GetSystemMetrics(SM_CYSMICON), 0)));
    ::SendMessageA(m_window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_bigIcon.Get()));
    ::SendMessageA(m_window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_smallIcon.Get()));
    ::SetWindowTextA(m_window, Text(IDS_UPDATE_CAPTION).c_str());

    // The version is the caller's text: put in place, never used as a format.
    std::string line = Text(IDS_UPGRADING_TO);
    const size_t slot = line.find("%s");
    if (slot != std::string::npos) line.replace(slot, 2, m_version);
    ::SetDlgItemTextA(m_window, IDC_UPDATE_TEXT, line.c_str());

    m_log.Write("Upgrading to version %s", m_version.c_str());
    if (!m_worker.Start(m_window, kProgressMessage)) {
        m_log.Write("Can't start the extraction thread (error %lu)", ::GetLastError());
        ::PostMessageA(m_window, UpdateWorker::kDoneMessage, UpdateWorker::kExtractionFailed, 0);
    }
}

void UpdateDialog::OnProgress() {
    ExtractionProgress::Snapshot counters = m_progress.Read();
    // The bar counts in int: large updates are shown in coarser steps.
    while (counters.range > INT_MAX) {
        counters.range >>= 10;
        counters.position >>= 10;
    }
    HWND bar = ::GetDlgItem(m_window, IDC_UPDATE_PROGRESS);
    ::SendMessageA(bar, PBM_SETRANGE32, 0, static_cast<LPARAM>(counters.range));
    ::SendMessageA(bar, PBM_SETPOS, static_cast<WPARAM>(counters.position), 0);
}

void UpdateDialog::OnExtractionDone(WPARAM result) {
    if (m_finishing) return;
    if (m_asking) {
        m_resultWaiting = true;
        m_waitingResult = result;
        return;
    }
    m_finishing = true;
    m_worker.Join();
    OnProgress();
    if (result == UpdateWorker::kInstalled) {
        UpdateChanges(m_programFolder, m_version, m_log).Apply();
        m_log.Write("Update to version %s completed", m_version.c_str());
        ShowMessage(IDS_UPDATE_COMPLETED, MB_OK | MB_ICONINFORMATION);
        Finish(IDOK);
    } else {
        m_log.Write("Update failed (%u)", static_cast<unsigned>(result));
        ShowMessage(IDS_UPDATE_FAILED, MB_OK | MB_ICONINFORMATION);
        Finish(IDCANCEL);
    }
}

void UpdateDialog::OnCancel() {
    if (m_finishing || m_asking) return;
    // Once the files are being moved into place there is nothing to cancel.
    if (!m_gate.BeginAsking()) return;
    m_asking = true;
    const int answer = ShowMessage(IDS_CONFIRM_CANCEL, MB_YESNO | MB_DEFBUTTON2 | MB_ICONQUESTION);
    m_asking = false;
    if (answer == IDYES) {
        m_gate.EndAsking(true);
        m_finishing = true;
        m_log.Write("Update cancelled by the user");
        m_worker.Join();
        Finish(IDCANCEL);
        return;
    }
    m_gate.EndAsking(false);
    if (m_resultWaiting) {
        m_resultWaiting = false;
        OnExtractionDone(m_waitingResult);
    }
}

void UpdateDialog::Finish(int result) {
    m_finishing = true;
    if (m_window) ::EndDialog(m_window, result);
}
