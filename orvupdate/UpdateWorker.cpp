#include "UpdateWorker.h"

#include "CabinetArchive.h"
#include "ExtractionProgress.h"
#include "SafeRelativePath.h"
#include "StagedInstall.h"
#include "UpdateCancelGate.h"
#include "UpdateLog.h"

#include <exception>
#include <utility>
#include <vector>

UpdateWorker::UpdateWorker(std::string archivePath, std::string programFolder, UpdateLog& log,
                           ExtractionProgress& progress, UpdateCancelGate& gate)
    : m_archivePath(std::move(archivePath)),
      m_programFolder(std::move(programFolder)),
      m_log(log),
      m_progress(progress),
      m_gate(gate) {}

UpdateWorker::~UpdateWorker() { Join(); }

bool UpdateWorker::Start(HWND notify, UINT progressMessage) {
    if (m_thread) return false;
    m_notify = notify;
    m_progressMessage = progressMessage;
    m_thread.Reset(::CreateThread(nullptr, 0, ThreadMain, this, 0, nullptr));
    return static_cast<bool>(m_thread);
}

void UpdateWorker::Join() {
    if (m_thread) ::WaitForSingleObject(m_thread.Get(), INFINITE);
    m_thread.Reset();
}

DWORD WINAPI UpdateWorker::ThreadMain(void* parameter) {
    auto* worker = static_cast<UpdateWorker*>(parameter);
    Result result = kExtractionFailed;
    try {
        result = worker->Run();
    } catch (const std::exception& e) {
        worker->m_log.Write("Extraction stopped: %s", e.what());
    } catch (...) {
        worker->m_log.Write("Extraction stopped by an unknown failure");
    }
    ::PostMessageA(worker->m_notify, kDoneMessage, result, 0);
    return 0;
}

void UpdateWorker::NotifyProgress() {
    if (m_notify && m_progress.TakeNoticeTurn()) ::PostMessageA(m_notify, m_progressMessage, 0, 0);
}

UpdateWorker::Result UpdateWorker::Run() {
    CabinetArchive archive(
        [this](uint32_t bytes) {
            m_progress.Advance(bytes);
            NotifyProgress();
            return !m_gate.IsCancelled();
        },
        [this](const char* text) { m_log.Write("Cabinet: %s", text); });
    if (!archive.Open(m_archivePath)) {
        m_log.Write("CCabDecompres::FDI_Open : Failed to open %s file", m_archivePath.c_str());
        return kArchiveUnreadable;
    }

    // Every name is checked before anything is written.
    std::vector<std::pair<const CabinetArchive::Entry*, std::string>> plan;
    for (const CabinetArchive::Entry& entry : archive.Entries()) {
        std::string relative;
        if (!SafeRelativePath::Make(entry.name.c_str(), entry.utf8, relative) ||
            m_programFolder.size() + relative.size() >= MAX_PATH) {
            m_log.Write("Refused the archive's file name \"%s\"; nothing is installed", entry.name.c_str());
            return kExtractionFailed;
        }
        plan.emplace_back(&entry, relative);
    }

    const uint64_t total = archive.TotalSize();
    m_progress.SetRange(total + 100);
    NotifyProgress();
    ULARGE_INTEGER available;
    if (::GetDiskFreeSpaceExA(m_programFolder.c_str(), &available, nullptr, nullptr) && available.QuadPart < total) {
        m_log.Write("Not enough room for %llu bytes in %s", static_cast<unsigned long long>(total),
                    m_programFolder.c_str());
        return kExtractionFailed;
    }
    m_log.Write("Extracting %u files (%llu bytes) from %s", static_cast<unsigned>(plan.size()),
                static_cast<unsigned long long>(total), m_archivePath.c_str());

    StagedInstall install(m_programFolder, m_log);
    if (!install.Prepare()) return kExtractionFailed;
    for (const auto& step : plan) {
        const std::string path = install.StagePath(step.second);
        if (path.empty()) return kExtractionFailed;
        if (!archive.Extract(*step.first, path)) {
            if (m_gate.IsCancelled()) {
                m_log.Write("Update cancelled by the user; nothing is installed");
            } else {
                m_log.Write("Extraction of %s failed (error %d); nothing is installed", step.second.c_str(),
                            archive.LastError());
            }
            return kExtractionFailed;
        }
    }
    if (!m_gate.PassToCommit()) {
        m_log.Write("Update cancelled by the user; nothing is installed");
        return kExtractionFailed;
    }
    if (!install.Commit()) return kExtractionFailed;
    m_log.Write("Installed %u files into %s", static_cast<unsigned>(plan.size()), m_programFolder.c_str());
    return kInstalled;
}
