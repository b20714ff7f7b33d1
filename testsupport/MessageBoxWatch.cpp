#include "MessageBoxWatch.h"

namespace orvtest {

thread_local MessageBoxWatch* MessageBoxWatch::s_current = nullptr;

namespace {
constexpr UINT kPeriodMs = 20;

BOOL CALLBACK FindBox(HWND window, LPARAM found) {
    char className[16] = {};
    if (::IsWindowVisible(window) && ::GetClassNameA(window, className, sizeof className) &&
        ::lstrcmpA(className, "#32770") == 0) {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK AppendStatic(HWND child, LPARAM text) {
    char className[16] = {};
    if (::GetClassNameA(child, className, sizeof className) && ::lstrcmpiA(className, "Static") == 0)
        *reinterpret_cast<std::string*>(text) += MessageBoxWatch::TextOf(child);
    return TRUE;
}
}  // namespace

MessageBoxWatch::MessageBoxWatch() {
    s_current = this;
    m_timer = ::SetTimer(nullptr, 0, kPeriodMs, &Tick);
}

MessageBoxWatch::~MessageBoxWatch() {
    ::KillTimer(nullptr, m_timer);
    s_current = nullptr;
}

std::string MessageBoxWatch::TextOf(HWND window) {
    char text[512] = {};
    ::GetWindowTextA(window, text, sizeof text);
    return text;
}

std::string MessageBoxWatch::StaticTexts(HWND window) {
    std::string text;
    ::EnumChildWindows(window, &AppendStatic, reinterpret_cast<LPARAM>(&text));
    return text;
}

void CALLBACK MessageBoxWatch::Tick(HWND, UINT, UINT_PTR, DWORD) {
    MessageBoxWatch* watch = s_current;
    if (!watch || watch->box) return;
    HWND found = nullptr;
    ::EnumThreadWindows(::GetCurrentThreadId(), &FindBox, reinterpret_cast<LPARAM>(&found));
    if (!found) return;
    watch->box = found;
    watch->caption = TextOf(found);
    watch->text = StaticTexts(found);
    ::RedrawWindow(found, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    if (watch->inspect) watch->inspect(found);
    ::PostMessageA(found, WM_COMMAND, MAKEWPARAM(watch->answer, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(found, watch->answer)));
}

}  // namespace orvtest
