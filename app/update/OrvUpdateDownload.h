#pragma once
#include "CCriticalSection.h"
#include "CString.h"

#include <windows.h>

#include <atomic>
#include <thread>

// The background download of one update archive: a worker thread fetches
// the URL with the platform's URL-to-file service into a new temporary file
// named "Orv....tmp", and when the file is complete and is a cabinet
// archive posts a message to a window. The object owns the thread: Cancel() and the destructor stop the
// transfer at its next progress report and wait for the thread to end.
// An archive not taken with TakeFile() is deleted with the object.
// Start, Cancel and the getters belong to one thread (the owner's).
class OrvUpdateDownload {
public:
    enum class State { Idle, Running, Done, Failed };

    OrvUpdateDownload() = default;
    ~OrvUpdateDownload();
    OrvUpdateDownload(const OrvUpdateDownload&) = delete;
    OrvUpdateDownload& operator=(const OrvUpdateDownload&) = delete;

    // Starts the download of url (http or https only). When it is complete
    // the worker posts message (wParam 1, lParam 1) to notify. False, and
    // nothing started, while a download runs or for another kind of URL.
    bool Start(const CString& url, HWND notify, UINT message);
    // Stops a running download and waits for its thread; its partial file
    // is deleted and no message is posted. A finished download is kept.
    void Cancel();

    State GetState() const;
    // The complete archive's path once the state is Done, else "".
    CString File() const;
    // Hands the file over: File() becomes "" and the state Idle, so that a
    // later download may begin; the caller now owns the file on disk.
    CString TakeFile();

    static bool IsDownloadableUrl(const CString& url);
    // The directory of the running program, with its trailing separator;
    // "" when it cannot be determined.
    static CString ProgramDirectory();

private:
    void Run(CString url, HWND notify, UINT message);
    // The file exists and, when the server announced a length, has it.
    static bool HasAnnouncedSize(const char* file, ULONG announced);
    // The file begins with the cabinet signature "MSCF": what the updater unpacks.
    static bool IsCabinet(const char* file);
    void Join();

    mutable CCriticalSection m_lock;
    State m_state = State::Idle;
    CString m_file;
    std::atomic<bool> m_abort{false};
    std::thread m_thread;
};
