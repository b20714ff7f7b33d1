#include "HookTestSupport.h"

#include "TestSupport.h"

namespace orvtest {

InputTargetProcess::~InputTargetProcess() {
    if (m_window && m_process.IsRunning()) {
        ::PostMessageA(m_window, WM_CLOSE, 0, 0);
        m_process.WaitForExit(10000);
    }
}

bool InputTargetProcess::Start() {
    if (!m_process.Start("\"" + ThisProgramFolder() + "orv_input_target.exe\"")) return false;
    m_window = m_process.WaitForWindow(ORV_INPUT_TARGET_CLASS, nullptr, 60000,
                                       [](HWND window) { return ::IsWindowVisible(window) != FALSE; });
    return m_window != nullptr;
}

LRESULT InputTargetProcess::Count(InputKind kind) {
    DWORD_PTR result = 0;
    if (!::SendMessageTimeoutA(m_window, kTargetCount, kind, 0, SMTO_NORMAL, 30000, &result)) return -1;
    return static_cast<LRESULT>(result);
}

bool InputTargetProcess::Deliver(InputKind kind) {
    const LRESULT before = Count(kind);
    DWORD_PTR sent = 0;
    if (before < 0 || !::SendMessageTimeoutA(m_window, kTargetSynthesize, kind, 0, SMTO_NORMAL, 30000, &sent) ||
        !sent)
        return false;
    return PumpUntil([&] { return Count(kind) > before; }, 30000);
}

bool InputTargetProcess::HookLibraryLoaded() {
    DWORD_PTR result = 0;
    return ::SendMessageTimeoutA(m_window, kTargetHookLoaded, 0, 0, SMTO_NORMAL, 30000, &result) && result == 1;
}

bool InputTargetProcess::LoadHookLibrary() {
    DWORD_PTR result = 0;
    return ::SendMessageTimeoutA(m_window, kTargetLoadHookLibrary, 0, 0, SMTO_NORMAL, 30000, &result) && result == 1;
}

HookBlockView::HookBlockView() {
    m_mapping = ::OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, ORVHOOK_SHARED_BLOCK_NAME);
    if (!m_mapping) return;
    m_data = static_cast<volatile ORVHOOKSHAREDDATA*>(
        ::MapViewOfFile(m_mapping, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(ORVHOOKSHAREDDATA)));
}

HookBlockView::~HookBlockView() {
    if (m_data) ::UnmapViewOfFile(const_cast<ORVHOOKSHAREDDATA*>(m_data));
    if (m_mapping) ::CloseHandle(m_mapping);
}

DWORD HookBlockView::BackdateLastInput(DWORD milliseconds) {
    const DWORD tick = ::GetTickCount() - milliseconds;
    m_data->lastInputTick = tick;
    return tick;
}

}  // namespace orvtest
