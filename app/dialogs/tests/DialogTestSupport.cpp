#include "DialogTestSupport.h"

#include "COrvSkinnedDialog.h"
#include "CSMessageBox.h"
#include "OrvLocaleManager.h"
#include "OrvSkinReader.h"

#include "TestSupport.h"

#include <commctrl.h>

#include <fstream>

namespace dialogtest {

namespace {
ModalScript* g_script = nullptr;
// Long enough for the slowest machine; only reached when a step never comes.
const DWORD kGiveUpMs = 60000;

BOOL CALLBACK CollectThreadWindow(HWND window, LPARAM windows) {
    reinterpret_cast<std::vector<HWND>*>(windows)->push_back(window);
    return TRUE;
}

std::vector<HWND> ThreadWindows() {
    std::vector<HWND> windows;
    ::EnumThreadWindows(::GetCurrentThreadId(), &CollectThreadWindow, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

std::string ClassOf(HWND window) {
    char name[64] = {};
    ::GetClassNameA(window, name, sizeof name);
    return name;
}

BOOL CALLBACK CollectStatic(HWND child, LPARAM texts) {
    if (ClassOf(child) == "Static" && ::IsWindowVisible(child)) {
        const std::string text = WindowText(child);
        if (!text.empty()) {
            auto* all = reinterpret_cast<std::string*>(texts);
            if (!all->empty()) *all += "\n";
            *all += text;
        }
    }
    return TRUE;
}
}  // namespace

std::string ProgramFolder() {
    char path[MAX_PATH + 1] = {};
    const DWORD length = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path, length);
    const size_t slash = folder.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : folder.substr(0, slash + 1);
}

ShippedSkins& ShippedSkins::Instance() {
    static ShippedSkins skins;
    return skins;
}

ShippedSkins::ShippedSkins()
    : m_locale(new OrvLocaleManager((ProgramFolder() + "Locale").c_str(), "EN")),
      m_reader(new OrvSkinReader((ProgramFolder() + "Skins").c_str(), m_locale.get())) {}

bool ShippedSkins::Apply(const char* lastDirectory) {
    for (int i = 0; i < m_reader->GetCount(); ++i)
        if (CString(m_reader->GetSkin(i)->GetLastDirectory()).CompareNoCase(lastDirectory) == 0) {
            m_reader->ChangeSkin(m_reader->GetSkin(i));
            return true;
        }
    return false;
}

ParentWindow::ParentWindow() {
    CreateEx(0, AfxRegisterWndClass(0, ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW)),
                                    reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1)),
             "Orvane registration", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 900, 700, nullptr, 0);
}

ParentWindow::~ParentWindow() {
    if (IsWindow()) DestroyWindow();
}

int ParentWindow::TakeResult() {
    MSG msg{};
    const UINT message = COrvSkinnedDialog::GetCloseMessage();
    while (::PeekMessageA(&msg, m_hWnd, message, message, PM_REMOVE)) m_results.push_back(static_cast<int>(msg.wParam));
    if (m_results.empty()) return -1;
    const int result = m_results.front();
    m_results.erase(m_results.begin());
    return result;
}

LRESULT ParentWindow::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == COrvSkinnedDialog::GetCloseMessage()) {
        m_results.push_back(static_cast<int>(wParam));
        return 0;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

ModalScript::ModalScript() = default;

ModalScript::~ModalScript() {
    if (g_script == this) g_script = nullptr;
}

ModalScript& ModalScript::Box(int answer) {
    return Step(&IsMessageBox, [this, answer](HWND box) {
        m_boxes.push_back({WindowText(box), StaticTexts(box)});
        ::PostMessageA(box, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED),
                       reinterpret_cast<LPARAM>(::GetDlgItem(box, answer)));
    });
}

ModalScript& ModalScript::Step(Match match, Action action) {
    m_steps.push_back({std::move(match), std::move(action)});
    return *this;
}

bool ModalScript::Run(const std::function<void()>& body) {
    g_script = this;
    m_started = ::GetTickCount();
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 15, &Tick);
    body();
    // What the body left open (a box shown after the body posted a click).
    // Nothing is pumped once every step ran: what the body left queued (a
    // quit message, a result) stays for the test to see.
    const auto finished = [this] { return m_next >= m_steps.size() || m_gaveUp; };
    if (!finished()) orvtest::PumpUntil(finished, kGiveUpMs + 5000);
    ::KillTimer(nullptr, timer);
    g_script = nullptr;
    return m_next >= m_steps.size() && !m_gaveUp;
}

void CALLBACK ModalScript::Tick(HWND, UINT, UINT_PTR, DWORD) {
    if (g_script) g_script->OnTick();
}

void ModalScript::OnTick() {
    if (m_next >= m_steps.size() || m_gaveUp) return;
    for (HWND window : ThreadWindows()) {
        if (!::IsWindowVisible(window) || !::IsWindowEnabled(window)) continue;
        // An answered message box may stay on the screen for a moment: it
        // is never taken twice. Dialogs may be acted on by several steps.
        bool handled = false;
        for (HWND seen : m_handled) handled = handled || (seen == window && IsMessageBox(window));
        if (handled || !m_steps[m_next].match(window)) continue;
        m_handled.push_back(window);
        Entry step = m_steps[m_next++];
        step.action(window);
        return;
    }
    if (::GetTickCount() - m_started > kGiveUpMs) {
        m_gaveUp = true;
        // Ends whatever waits: message boxes and dialogs are cancelled.
        for (HWND window : ThreadWindows())
            if (::IsWindowVisible(window) && ClassOf(window) == "#32770")
                ::PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    }
}

bool IsMessageBox(HWND window) {
    return ClassOf(window) == "#32770" && dynamic_cast<CSMessageBox*>(CWnd::FromHandlePermanent(window)) != nullptr;
}

std::string StaticTexts(HWND window) {
    std::string texts;
    ::EnumChildWindows(window, &CollectStatic, reinterpret_cast<LPARAM>(&texts));
    return texts;
}

std::string WindowText(HWND window) {
    char text[2048] = {};
    ::GetWindowTextA(window, text, sizeof text);
    return text;
}

void Click(HWND dialog, int id) {
    ::SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(dialog, id)));
}

std::string ListText(HWND list, int row, int column) {
    char text[512] = {};
    LVITEMA item{};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    ::SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    return text;
}

int ListCount(HWND list) { return static_cast<int>(::SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)); }

void SelectRows(HWND list, const std::vector<int>& rows) {
    LVITEMA item{};
    item.stateMask = LVIS_SELECTED;
    item.state = 0;
    ::SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&item));
    item.state = LVIS_SELECTED;
    for (int row : rows) ::SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

Shot::Shot(HWND window, const std::string& artifactName) {
    ::SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    ::SetForegroundWindow(window);
    ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    orvtest::PumpPending();
    RECT rect{};
    ::GetWindowRect(window, &rect);
    m_width = rect.right - rect.left;
    m_height = rect.bottom - rect.top;
    if (m_width <= 0 || m_height <= 0) return;
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = m_width;
    info.bmiHeader.biHeight = -m_height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    ::BitBlt(memory, 0, 0, m_width, m_height, screen, rect.left, rect.top, SRCCOPY);
    ::GdiFlush();
    m_pixels.resize(static_cast<size_t>(m_width) * static_cast<size_t>(m_height));
    const auto* source = static_cast<const unsigned char*>(bits);
    for (size_t i = 0; i < m_pixels.size(); ++i)
        m_pixels[i] = RGB(source[i * 4 + 2], source[i * 4 + 1], source[i * 4]);
    ::SelectObject(memory, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
    if (artifactName.empty()) return;
    // A bottom-up 24-bit file.
    const int stride = (m_width * 3 + 3) & ~3;
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = m_width;
    header.biHeight = m_height;
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biSizeImage = static_cast<DWORD>(stride * m_height);
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof header;
    file.bfSize = file.bfOffBits + header.biSizeImage;
    std::ofstream out(orvtest::ArtifactPath(artifactName), std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file), sizeof file);
    out.write(reinterpret_cast<const char*>(&header), sizeof header);
    std::vector<unsigned char> row(static_cast<size_t>(stride), 0);
    for (int y = m_height - 1; y >= 0; --y) {
        for (int x = 0; x < m_width; ++x) {
            const COLORREF c = At(x, y);
            row[static_cast<size_t>(x) * 3] = GetBValue(c);
            row[static_cast<size_t>(x) * 3 + 1] = GetGValue(c);
            row[static_cast<size_t>(x) * 3 + 2] = GetRValue(c);
        }
        out.write(reinterpret_cast<const char*>(row.data()), stride);
    }
}

COLORREF Shot::At(int x, int y) const {
    if (x < 0 || y < 0 || x >= m_width || y >= m_height) return CLR_INVALID;
    return m_pixels[static_cast<size_t>(y) * static_cast<size_t>(m_width) + static_cast<size_t>(x)];
}

int Shot::Count(const RECT& rect, COLORREF color) const {
    int count = 0;
    for (int y = rect.top; y < rect.bottom; ++y)
        for (int x = rect.left; x < rect.right; ++x) count += At(x, y) == color ? 1 : 0;
    return count;
}

}  // namespace dialogtest
