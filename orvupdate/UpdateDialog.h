#pragma once
// The update dialog (resource 102): the version line, a progress bar and
// Cancel. Opening it starts the extraction thread; message 1025 from that
// thread ends it: with OK after the changes were applied, with Cancel when
// the update failed. Cancel asks first and, confirmed, stops the extraction
// and waits for its thread before the dialog ends.
#include "ExtractionProgress.h"
#include "UpdateCancelGate.h"
#include "UpdateWorker.h"
#include "WinHandles.h"

#include <windows.h>

#include <string>

class UpdateLog;

class UpdateDialog {
public:
    UpdateDialog(HINSTANCE instance, std::string archivePath, std::string version, std::string programFolder,
                 UpdateLog& log);
    UpdateDialog(const UpdateDialog&) = delete;
    UpdateDialog& operator=(const UpdateDialog&) = delete;

    // Runs the dialog modally: IDOK when the update was installed, IDCANCEL
    // otherwise (-1 when the dialog could not be made).
    INT_PTR Run();

private:
    static const UINT kProgressMessage = WM_APP + 1;

    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void OnInit();
    void OnProgress();
    void OnExtractionDone(WPARAM result);
    void OnCancel();
    void Finish(int result);
    std::string Text(UINT id) const;
    int ShowMessage(UINT textId, UINT style);

    HINSTANCE m_instance;
    std::string m_version;
    std::string m_programFolder;
    UpdateLog& m_log;
    HWND m_window = nullptr;
    UniqueIcon m_bigIcon;
    UniqueIcon m_smallIcon;
    ExtractionProgress m_progress;
    UpdateCancelGate m_gate;
    UpdateWorker m_worker;  // after what it uses: it is joined first when the dialog object goes
    // While the user is asked about Cancel, the thread's result waits here.
    bool m_asking = false;
    bool m_resultWaiting = false;
    WPARAM m_waitingResult = 0;
    bool m_finishing = false;
};
