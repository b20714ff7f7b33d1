#include "OrvUpdateDownload.h"

#include "AfxTrace.h"
#include "CHandle.h"
#include "OrvBindStatusCallback.h"
#include "OrvUpdateTexts.h"

#include <objbase.h>
#include <urlmon.h>

#include <cstring>

OrvUpdateDownload::~OrvUpdateDownload() {
    Cancel();
    // A finished archive nobody took is nobody's: it goes with the object.
    const CString untaken = TakeFile();
    if (!untaken.IsEmpty()) ::DeleteFileA(untaken);
}

bool OrvUpdateDownload::IsDownloadableUrl(const CString& url) {
    CString lower = url;
    lower.MakeLower();
    const bool http = lower.Find("http://") == 0 && lower.GetLength() > 7;
    const bool https = lower.Find("https://") == 0 && lower.GetLength() > 8;
    // No control characters: the URL came from the network.
    for (int i = 0; i < url.GetLength(); ++i)
        if (static_cast<unsigned char>(url[i]) < 0x20 || url[i] == 0x7F) return false;
    return http || https;
}

CString OrvUpdateDownload::ProgramDirectory() {
    char path[MAX_PATH + 1] = {};
    const DWORD length = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return CString();
    CString directory(path, static_cast<int>(length));
    const int slash = directory.ReverseFind('\\') > directory.ReverseFind('/') ? directory.ReverseFind('\\')
                                                                              : directory.ReverseFind('/');
    if (slash < 0) return CString();
    return directory.Left(slash + 1);
}

bool OrvUpdateDownload::Start(const CString& url, HWND notify, UINT message) {
    if (!IsDownloadableUrl(url)) return false;
    {
        CSingleLock lock(m_lock);
        if (m_state == State::Running) return false;
        if (m_state == State::Done && !m_file.IsEmpty()) ::DeleteFileA(m_file);
        m_state = State::Running;
        m_file.Empty();
    }
    Join();  // a thread that finished before still needs its join
    m_abort = false;
    try {
        m_thread = std::thread(&OrvUpdateDownload::Run, this, url, notify, message);
    } catch (...) {
        AfxTraceCaughtException("OrvUpdateDownload::Start");
        CSingleLock lock(m_lock);
        m_state = State::Failed;
        return false;
    }
    return true;
}

void OrvUpdateDownload::Cancel() {
    m_abort = true;
    Join();
}

void OrvUpdateDownload::Join() {
    if (m_thread.joinable()) m_thread.join();
}

OrvUpdateDownload::State OrvUpdateDownload::GetState() const {
    CSingleLock lock(m_lock);
    return m_state;
}

CString OrvUpdateDownload::File() const {
    CSingleLock lock(m_lock);
    return m_state == State::Done ? m_file : CString();
}

CString OrvUpdateDownload::TakeFile() {
    CSingleLock lock(m_lock);
    if (m_state != State::Done) return CString();
    CString file = m_file;
    m_file.Empty();
    m_state = State::Idle;
    return file;
}

bool OrvUpdateDownload::HasAnnouncedSize(const char* file, ULONG announced) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExA(file, GetFileExInfoStandard, &data)) return false;
    if (announced == 0) return true;
    return data.nFileSizeHigh == 0 && data.nFileSizeLow == announced;
}

bool OrvUpdateDownload::IsCabinet(const char* file) {
    CHandle handle(::CreateFileA(file, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    char signature[4] = {};
    DWORD read = 0;
    return handle && ::ReadFile(handle.Get(), signature, sizeof signature, &read, nullptr) &&
           read == sizeof signature && memcmp(signature, "MSCF", sizeof signature) == 0;
}

void OrvUpdateDownload::Run(CString url, HWND notify, UINT message) {
    auto fail = [this](const char* path) {
        if (path && *path) ::DeleteFileA(path);
        CSingleLock lock(m_lock);
        m_state = State::Failed;
    };
    char directory[MAX_PATH + 1] = {};
    char file[MAX_PATH + 1] = {};
    const DWORD length = ::GetTempPathA(MAX_PATH, directory);
    if (length == 0 || length >= MAX_PATH ||
        ::GetTempFileNameA(directory, ORV_UPDATE_FILE_PREFIX, 0, file) == 0) {
        fail(nullptr);
        return;
    }
    // The service needs COM on the thread that calls it.
    const HRESULT com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    OrvBindStatusCallback progress(m_abort);
    const HRESULT result = ::URLDownloadToFileA(nullptr, url, file, 0, &progress);
    if (SUCCEEDED(com)) ::CoUninitialize();
    // A failed, stopped or cut-off transfer leaves no partial archive
    // behind; neither does an answer that is no cabinet archive (the
    // service also "succeeds" with a server's error page), nor an update
    // that cannot be installed (no program directory).
    if (FAILED(result) || m_abort.load() || !HasAnnouncedSize(file, progress.AnnouncedSize()) ||
        !IsCabinet(file) || ProgramDirectory().IsEmpty()) {
        fail(file);
        return;
    }
    {
        CSingleLock lock(m_lock);
        m_file = file;
        m_state = State::Done;
    }
    ::PostMessageA(notify, message, 1, 1);
}
