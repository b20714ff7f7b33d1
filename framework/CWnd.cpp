#include "CWnd.h"

#include "AfxGlobals.h"
#include "AfxTrace.h"
#include "CCriticalSection.h"
#include "CDC.h"
#include "CException.h"
#include "CFont.h"
#include "CWinThread.h"
#include "HandleMap.h"

#include <cstdio>
#include <exception>
#include <set>
#include <string>

namespace {
// The procedure a window had before AfxWndProc, kept on the window itself so
// that a detached window still reaches it.
const char kSuperProp[] = "OrvFwSuperProc";

// The window CreateEx is creating on this thread, until the creation hook
// has taken it.
thread_local CWnd* t_wndInit = nullptr;
// The window the creation hook took last on this thread.
thread_local HWND t_wndTaken = nullptr;
// The message WindowProc is handling on this thread, for Default().
thread_local MSG t_currentMsg = {};

volatile LONG g_stoppedExceptions = 0;

HINSTANCE FrameworkInstance() {
    static const HINSTANCE module = AfxGetModuleOf(reinterpret_cast<const void*>(&AfxWndProc));
    return module;
}

WNDPROC ThunkAddress() { return &AfxWndProc; }

WNDPROC CurrentProcedure(HWND hWnd) {
    return reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(hWnd, GWLP_WNDPROC));
}

WNDPROC SavedSuper(HWND hWnd) { return reinterpret_cast<WNDPROC>(::GetPropA(hWnd, kSuperProp)); }

class CurrentMessage {
public:
    CurrentMessage(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) : m_saved(t_currentMsg) {
        t_currentMsg.hwnd = hWnd;
        t_currentMsg.message = message;
        t_currentMsg.wParam = wParam;
        t_currentMsg.lParam = lParam;
    }
    ~CurrentMessage() { t_currentMsg = m_saved; }
    CurrentMessage(const CurrentMessage&) = delete;
    CurrentMessage& operator=(const CurrentMessage&) = delete;

private:
    MSG m_saved;
};

// Inside a catch block: traces the exception and returns what the system
// gets back for the message whose handler threw.
LRESULT StoppedException(HWND hWnd, UINT message, const char* where) {
    InterlockedIncrement(&g_stoppedExceptions);
    char place[160];
    std::snprintf(place, sizeof place, "framework: %s (window %p, message 0x%04X)", where,
                  static_cast<void*>(hWnd), message);
    AfxTraceCaughtException(place);
    switch (message) {
    case WM_CREATE: return -1;
    // Leaving the area invalid would repaint (and throw) for ever.
    case WM_PAINT: ::ValidateRect(hWnd, nullptr); return 0;
    default: return 0;
    }
}

bool IsImeWindow(HWND hWnd) {
    if (::GetClassLongPtrA(hWnd, GCL_STYLE) & CS_IME) return true;
    char name[16] = "";
    ::GetClassNameA(hWnd, name, sizeof name);
    return lstrcmpiA(name, "IME") == 0;
}

bool OwnedByThisProcess(HWND hWnd) {
    DWORD process = 0;
    ::GetWindowThreadProcessId(hWnd, &process);
    return process == ::GetCurrentProcessId();
}

const char* DefaultWindowClass() {
    static const char* name = AfxRegisterWndClass(
        CS_DBLCLKS, ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW)),
        reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
    return name;
}

// Framework classes are registered by this DLL; everything else by the
// program or the system.
HINSTANCE InstanceForClass(const char* className) {
    WNDCLASSEXA info{};
    info.cbSize = sizeof info;
    if (::GetClassInfoExA(FrameworkInstance(), className, &info)) return FrameworkInstance();
    return AfxGetInstanceHandle();
}
}  // namespace

// The parts of CWnd that the thunk and the creation hook reach.
struct CWndInternals {
    static void TakeCreatedWindow(CWnd* wnd, HWND hWnd) {
        if (!CHandleMap::Instance().SetPermanent(hWnd, wnd)) return;
        wnd->m_hWnd = hWnd;
        wnd->HookProcedure(hWnd);
    }
    static void FinalNcDestroy(CWnd* wnd, HWND hWnd) { wnd->OnFinalNcDestroy(hWnd); }
};

namespace {
LRESULT CALLBACK CbtFilterHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND && t_wndInit) {
        HWND hWnd = reinterpret_cast<HWND>(wParam);
        // The system may create its input-method window first, on the same thread.
        if (!IsImeWindow(hWnd)) {
            CWnd* wnd = t_wndInit;
            t_wndInit = nullptr;
            t_wndTaken = hWnd;
            try {
                CWndInternals::TakeCreatedWindow(wnd, hWnd);
            } catch (...) {
                // Out of memory for the map: the window is made but not ours.
                StoppedException(hWnd, WM_NCCREATE, "taking a new window");
            }
        }
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}
}  // namespace

LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CWnd* wnd = nullptr;
    try {
        wnd = CHandleMap::Instance().LookupPermanent(hWnd);
    } catch (...) {
        // Only the map's first construction can throw (out of memory).
        StoppedException(hWnd, message, "looking up a window");
    }
    if (wnd) return AfxCallWndProc(wnd, hWnd, message, wParam, lParam);
    // A window whose CWnd detached: pass everything on.
    WNDPROC super = SavedSuper(hWnd);
    if (message == WM_NCDESTROY) ::RemovePropA(hWnd, kSuperProp);
    if (super && super != ThunkAddress()) return ::CallWindowProcA(super, hWnd, message, wParam, lParam);
    return ::DefWindowProcA(hWnd, message, wParam, lParam);
}

LRESULT AfxCallWndProc(CWnd* wnd, HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    try {
        result = wnd->WindowProc(message, wParam, lParam);
    } catch (...) {
        result = StoppedException(hWnd, message, "window procedure");
    }
    // The handler may have deleted the object: touch it only while the map
    // still says it owns the window.
    if (message == WM_NCDESTROY && CHandleMap::Instance().LookupPermanent(hWnd) == wnd)
        CWndInternals::FinalNcDestroy(wnd, hWnd);
    return result;
}

const char* AfxRegisterWndClass(UINT classStyle, HCURSOR cursor, HBRUSH background, HICON icon) {
    static CCriticalSection lock;
    static std::set<std::string> names;
    char name[96];
    std::snprintf(name, sizeof name, "OrvFw:%x:%p:%p:%p", classStyle, static_cast<void*>(cursor),
                  static_cast<void*>(background), static_cast<void*>(icon));
    CSingleLock hold(lock);
    const char* result = nullptr;
    auto found = names.find(name);
    if (found != names.end()) {
        result = found->c_str();
    } else {
        WNDCLASSA wc{};
        wc.style = classStyle;
        // Windows of the class are subclassed to AfxWndProc as they are created.
        wc.lpfnWndProc = ::DefWindowProcA;
        wc.hInstance = FrameworkInstance();
        wc.hCursor = cursor;
        wc.hbrBackground = background;
        wc.hIcon = icon;
        wc.lpszClassName = name;
        if (::RegisterClassA(&wc) || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS)
            result = names.insert(name).first->c_str();
    }
    return result;
}

long AfxGetStoppedExceptionCount() { return g_stoppedExceptions; }

MSG& AfxGetCurrentMessage() { return t_currentMsg; }

// ---------------------------------------------------------------------------

CWnd::CWnd() = default;

CWnd::~CWnd() {
    HWND hWnd = m_hWnd;
    if (!hWnd) return;
    if (CHandleMap::Instance().LookupPermanent(hWnd) == this && ::IsWindow(hWnd) &&
        ::GetWindowThreadProcessId(hWnd, nullptr) == ::GetCurrentThreadId()) {
        // The derived parts are gone: the window's last messages reach CWnd's
        // own handlers only.
        ::DestroyWindow(hWnd);
    }
    ForgetWindow(true);
}

bool CWnd::Create(const char* className, const char* windowName, DWORD style, const RECT& rect,
                  CWnd* parent, UINT id) {
    return CreateEx(0, className, windowName, style | WS_CHILD, rect, parent, id);
}

bool CWnd::CreateEx(DWORD exStyle, const char* className, const char* windowName, DWORD style,
                    const RECT& rect, CWnd* parent, UINT id, void* param) {
    return CreateEx(exStyle, className, windowName, style, rect.left, rect.top,
                    rect.right - rect.left, rect.bottom - rect.top,
                    parent ? parent->m_hWnd : nullptr,
                    reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), param);
}

bool CWnd::CreateEx(DWORD exStyle, const char* className, const char* windowName, DWORD style,
                    int x, int y, int width, int height, HWND parent, HMENU menuOrId,
                    void* param) {
    if (m_hWnd) return false;
    CREATESTRUCTA create{};
    create.lpCreateParams = param;
    create.hMenu = menuOrId;
    create.hwndParent = parent;
    create.cy = height;
    create.cx = width;
    create.y = y;
    create.x = x;
    create.style = static_cast<LONG>(style);
    create.lpszName = windowName;
    create.lpszClass = className;
    create.dwExStyle = exStyle;
    if (!PreCreateWindow(create)) return false;
    className = create.lpszClass ? create.lpszClass : DefaultWindowClass();
    if (!className) return false;
    HINSTANCE instance = create.hInstance ? create.hInstance : InstanceForClass(className);
    HHOOK hook = ::SetWindowsHookExA(WH_CBT, CbtFilterHook, nullptr, ::GetCurrentThreadId());
    if (!hook) return false;
    CWnd* const outer = t_wndInit;
    t_wndInit = this;
    HWND hWnd = ::CreateWindowExA(create.dwExStyle, className, create.lpszName,
                                  static_cast<DWORD>(create.style), create.x, create.y, create.cx,
                                  create.cy, create.hwndParent, create.hMenu, instance,
                                  create.lpCreateParams);
    const bool taken = t_wndInit != this;
    const HWND takenHwnd = taken ? t_wndTaken : nullptr;
    t_wndInit = outer;
    ::UnhookWindowsHookEx(hook);
    if (!hWnd) {
        // Refused after WM_NCCREATE: the window went through WM_NCDESTROY and
        // PostNcDestroy, which may have deleted this object, and left the map.
        // Refused before (a CBT hook further down the chain): no message came,
        // and the object still holds the dead handle; only then is it touched.
        if (takenHwnd && CHandleMap::Instance().LookupPermanent(takenHwnd) == this) Detach();
        return false;
    }
    if (!taken) return SubclassWindow(hWnd);
    return true;
}

bool CWnd::DestroyWindow() {
    HWND hWnd = m_hWnd;
    if (!hWnd) return false;
    // A routed window's object leaves the map on WM_NCDESTROY and may delete
    // itself in PostNcDestroy; only an attached one needs forgetting here.
    const bool routed = m_pfnSuper != nullptr;
    const bool destroyed = ::DestroyWindow(hWnd) != 0;
    if (!routed && !::IsWindow(hWnd)) ForgetWindow(false);
    return destroyed;
}

bool CWnd::Attach(HWND hWnd) {
    if (!hWnd || m_hWnd || !::IsWindow(hWnd)) return false;
    if (!CHandleMap::Instance().SetPermanent(hWnd, this)) return false;
    m_hWnd = hWnd;
    return true;
}

HWND CWnd::Detach() {
    HWND hWnd = m_hWnd;
    if (hWnd) CHandleMap::Instance().RemovePermanent(hWnd, this);
    m_hWnd = nullptr;
    m_pfnSuper = nullptr;
    return hWnd;
}

bool CWnd::SubclassWindow(HWND hWnd) {
    if (!hWnd || m_hWnd || !::IsWindow(hWnd) || !OwnedByThisProcess(hWnd)) return false;
    if (!CHandleMap::Instance().SetPermanent(hWnd, this)) return false;
    m_hWnd = hWnd;
    if (!HookProcedure(hWnd)) {
        Detach();
        return false;
    }
    return true;
}

bool CWnd::SubclassDlgItem(UINT id, CWnd* parent) {
    if (!parent || !parent->m_hWnd) return false;
    return SubclassWindow(::GetDlgItem(parent->m_hWnd, static_cast<int>(id)));
}

HWND CWnd::UnsubclassWindow() {
    HWND hWnd = m_hWnd;
    ForgetWindow(true);
    return hWnd;
}

bool CWnd::HookProcedure(HWND hWnd) {
    WNDPROC current = CurrentProcedure(hWnd);
    if (current == ThunkAddress()) {
        // Already routed here (a CWnd had it before and detached).
        m_pfnSuper = SavedSuper(hWnd);
    } else {
        if (!current || !::SetPropA(hWnd, kSuperProp, reinterpret_cast<HANDLE>(current))) return false;
        ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ThunkAddress()));
        m_pfnSuper = current;
    }
    if (!m_pfnSuper) m_pfnSuper = ::DefWindowProcA;
    return true;
}

void CWnd::ForgetWindow(bool unhook) {
    HWND hWnd = m_hWnd;
    if (!hWnd) return;
    // Only while we are the newest procedure; someone who hooked in after us
    // still calls AfxWndProc, which passes messages on through the property.
    if (unhook && m_pfnSuper && ::IsWindow(hWnd) && CurrentProcedure(hWnd) == ThunkAddress()) {
        if (WNDPROC super = SavedSuper(hWnd)) {
            ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(super));
            ::RemovePropA(hWnd, kSuperProp);
        }
    }
    Detach();
}

void CWnd::OnFinalNcDestroy(HWND hWnd) {
    ForgetWindow(true);
    ::RemovePropA(hWnd, kSuperProp);
    CWinThread* thread = AfxGetThread();
    if (thread && thread->m_pMainWnd == this) {
        thread->m_pMainWnd = nullptr;
        ::PostQuitMessage(0);
    }
    try {
        PostNcDestroy();
    } catch (...) {
        StoppedException(hWnd, WM_NCDESTROY, "PostNcDestroy");
    }
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd) { return CHandleMap::Instance().LookupPermanent(hWnd); }

CWnd* CWnd::FromHandle(HWND hWnd) {
    if (!hWnd) return nullptr;
    if (CWnd* wnd = FromHandlePermanent(hWnd)) return wnd;
    auto make = [](const void* h) -> CObject* {
        CWnd* wnd = new CWnd;
        wnd->m_hWnd = static_cast<HWND>(const_cast<void*>(h));
        return wnd;
    };
    auto free = [](CObject* object) {
        static_cast<CWnd*>(object)->m_hWnd = nullptr;
        delete object;
    };
    return static_cast<CWnd*>(CHandleMap::Instance().Temporary(CHandleMap::Kind::Wnd, hWnd, make, free));
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    CurrentMessage current(m_hWnd, message, wParam, lParam);
    LRESULT result = 0;
    if (!OnWndMsg(message, wParam, lParam, &result)) result = DefWindowProc(message, wParam, lParam);
    return result;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (!m_hWnd) return 0;
    if (m_pfnSuper) return ::CallWindowProcA(m_pfnSuper, m_hWnd, message, wParam, lParam);
    return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default() {
    if (!m_hWnd || t_currentMsg.hwnd != m_hWnd) return 0;
    return DefWindowProc(t_currentMsg.message, t_currentMsg.wParam, t_currentMsg.lParam);
}

BOOL CWnd::PreTranslateMessage(MSG*) { return FALSE; }

BOOL CWnd::PreCreateWindow(CREATESTRUCTA&) { return TRUE; }

void CWnd::PostNcDestroy() {}

BOOL CWnd::OnChildNotify(UINT, WPARAM, LPARAM, LRESULT*) { return FALSE; }

BOOL CWnd::WalkPreTranslateTree(HWND stop, MSG* msg) {
    if (!msg) return FALSE;
    for (HWND hWnd = msg->hwnd; hWnd; hWnd = ::GetParent(hWnd)) {
        CWnd* wnd = FromHandlePermanent(hWnd);
        if (wnd && wnd->PreTranslateMessage(msg)) return TRUE;
        if (hWnd == stop) break;
    }
    return FALSE;
}

bool CWnd::ReflectToChild(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    HWND child = nullptr;
    switch (message) {
    case WM_COMMAND: child = reinterpret_cast<HWND>(lParam); break;
    case WM_NOTIFY:
        if (lParam) child = reinterpret_cast<NMHDR*>(lParam)->hwndFrom;
        break;
    case WM_DRAWITEM:
        if (lParam && reinterpret_cast<DRAWITEMSTRUCT*>(lParam)->CtlType != ODT_MENU)
            child = reinterpret_cast<DRAWITEMSTRUCT*>(lParam)->hwndItem;
        break;
    case WM_MEASUREITEM:
        if (lParam && reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->CtlType != ODT_MENU)
            child = ::GetDlgItem(m_hWnd, static_cast<int>(reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->CtlID));
        break;
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_HSCROLL:
    case WM_VSCROLL:
        child = reinterpret_cast<HWND>(lParam);
        break;
    default: return false;
    }
    if (!child || child == m_hWnd) return false;
    CWnd* wnd = FromHandlePermanent(child);
    return wnd && wnd->OnChildNotify(message, wParam, lParam, result);
}

bool CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    const CPoint point(lParam);
    switch (message) {
    case WM_CREATE: *result = OnCreate(reinterpret_cast<LPCREATESTRUCTA>(lParam)); return true;
    case WM_DESTROY: OnDestroy(); return true;
    case WM_CLOSE: OnClose(); return true;
    case WM_PAINT: OnPaint(); return true;
    case WM_ERASEBKGND: *result = OnEraseBkgnd(CDC::FromHandle(reinterpret_cast<HDC>(wParam))); return true;
    case WM_SIZE: OnSize(static_cast<UINT>(wParam), point.x, point.y); return true;
    case WM_MOVE: OnMove(point.x, point.y); return true;
    case WM_TIMER: OnTimer(wParam); return true;
    case WM_SHOWWINDOW: OnShowWindow(static_cast<BOOL>(wParam), static_cast<UINT>(lParam)); return true;
    case WM_ACTIVATE:
        OnActivate(LOWORD(wParam), FromHandle(reinterpret_cast<HWND>(lParam)), HIWORD(wParam) != 0);
        return true;
    case WM_SETFOCUS: OnSetFocus(FromHandle(reinterpret_cast<HWND>(wParam))); return true;
    case WM_KILLFOCUS: OnKillFocus(FromHandle(reinterpret_cast<HWND>(wParam))); return true;
    case WM_SETCURSOR:
        *result = OnSetCursor(FromHandle(reinterpret_cast<HWND>(wParam)), LOWORD(lParam), HIWORD(lParam));
        return true;
    case WM_MOUSEMOVE: OnMouseMove(static_cast<UINT>(wParam), point); return true;
    case WM_LBUTTONDOWN: OnLButtonDown(static_cast<UINT>(wParam), point); return true;
    case WM_LBUTTONUP: OnLButtonUp(static_cast<UINT>(wParam), point); return true;
    case WM_LBUTTONDBLCLK: OnLButtonDblClk(static_cast<UINT>(wParam), point); return true;
    case WM_RBUTTONDOWN: OnRButtonDown(static_cast<UINT>(wParam), point); return true;
    case WM_RBUTTONUP: OnRButtonUp(static_cast<UINT>(wParam), point); return true;
    case WM_MOUSEWHEEL:
        *result = OnMouseWheel(GET_KEYSTATE_WPARAM(wParam), GET_WHEEL_DELTA_WPARAM(wParam), point);
        return true;
    case WM_CAPTURECHANGED: OnCaptureChanged(FromHandle(reinterpret_cast<HWND>(lParam))); return true;
    case WM_KEYDOWN: OnKeyDown(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam)); return true;
    case WM_KEYUP: OnKeyUp(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam)); return true;
    case WM_CHAR: OnChar(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam)); return true;
    case WM_COMMAND:
        if (!OnCommand(wParam, lParam)) return false;
        *result = 0;
        return true;
    case WM_NOTIFY: {
        LRESULT notifyResult = 0;
        if (!OnNotify(wParam, lParam, &notifyResult)) return false;
        *result = notifyResult;
        return true;
    }
    case WM_SYSCOMMAND: OnSysCommand(static_cast<UINT>(wParam), lParam); return true;
    case WM_CONTEXTMENU: OnContextMenu(FromHandle(reinterpret_cast<HWND>(wParam)), point); return true;
    case WM_GETMINMAXINFO: OnGetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(lParam)); return true;
    case WM_WINDOWPOSCHANGING: OnWindowPosChanging(reinterpret_cast<WINDOWPOS*>(lParam)); return true;
    case WM_WINDOWPOSCHANGED: OnWindowPosChanged(reinterpret_cast<WINDOWPOS*>(lParam)); return true;
    case WM_ACTIVATEAPP: OnActivateApp(static_cast<BOOL>(wParam), static_cast<DWORD>(lParam)); return true;
    case WM_NCHITTEST: *result = OnNcHitTest(point); return true;
    case WM_MOUSELEAVE: OnMouseLeave(); return true;
    case WM_RBUTTONDBLCLK: OnRButtonDblClk(static_cast<UINT>(wParam), point); return true;
    default: break;
    }
    // Notifications: the control's own object first.
    if (ReflectToChild(message, wParam, lParam, result)) return true;
    switch (message) {
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
        *result = reinterpret_cast<LRESULT>(OnCtlColor(CDC::FromHandle(reinterpret_cast<HDC>(wParam)),
                                                       FromHandle(reinterpret_cast<HWND>(lParam)),
                                                       message - WM_CTLCOLORMSGBOX));
        return true;
    case WM_DRAWITEM:
        OnDrawItem(static_cast<int>(wParam), reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
        *result = TRUE;
        return true;
    case WM_MEASUREITEM:
        OnMeasureItem(static_cast<int>(wParam), reinterpret_cast<LPMEASUREITEMSTRUCT>(lParam));
        *result = TRUE;
        return true;
    case WM_HSCROLL:
        OnHScroll(LOWORD(wParam), HIWORD(wParam), FromHandle(reinterpret_cast<HWND>(lParam)));
        return true;
    case WM_VSCROLL:
        OnVScroll(LOWORD(wParam), HIWORD(wParam), FromHandle(reinterpret_cast<HWND>(lParam)));
        return true;
    default: return false;
    }
}

int CWnd::OnCreate(LPCREATESTRUCTA) { return static_cast<int>(Default()); }
void CWnd::OnDestroy() { Default(); }
void CWnd::OnClose() { Default(); }
void CWnd::OnPaint() { Default(); }
BOOL CWnd::OnEraseBkgnd(CDC*) { return static_cast<BOOL>(Default()); }
void CWnd::OnSize(UINT, int, int) { Default(); }
void CWnd::OnMove(int, int) { Default(); }
void CWnd::OnTimer(UINT_PTR) { Default(); }
void CWnd::OnShowWindow(BOOL, UINT) { Default(); }
void CWnd::OnActivate(UINT, CWnd*, BOOL) { Default(); }
void CWnd::OnSetFocus(CWnd*) { Default(); }
void CWnd::OnKillFocus(CWnd*) { Default(); }
BOOL CWnd::OnSetCursor(CWnd*, UINT, UINT) { return static_cast<BOOL>(Default()); }
void CWnd::OnMouseMove(UINT, CPoint) { Default(); }
void CWnd::OnLButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnLButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnLButtonDblClk(UINT, CPoint) { Default(); }
void CWnd::OnRButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnRButtonUp(UINT, CPoint) { Default(); }
BOOL CWnd::OnMouseWheel(UINT, short, CPoint) { return static_cast<BOOL>(Default()); }
void CWnd::OnCaptureChanged(CWnd*) { Default(); }
void CWnd::OnKeyDown(UINT, UINT, UINT) { Default(); }
void CWnd::OnKeyUp(UINT, UINT, UINT) { Default(); }
void CWnd::OnChar(UINT, UINT, UINT) { Default(); }

void CWnd::OnSysCommand(UINT, LPARAM) { Default(); }
void CWnd::OnContextMenu(CWnd*, CPoint) { Default(); }
void CWnd::OnGetMinMaxInfo(MINMAXINFO*) { Default(); }
void CWnd::OnWindowPosChanging(WINDOWPOS*) { Default(); }
void CWnd::OnWindowPosChanged(WINDOWPOS*) { Default(); }
void CWnd::OnActivateApp(BOOL, DWORD) { Default(); }
LRESULT CWnd::OnNcHitTest(CPoint) { return Default(); }
void CWnd::OnMouseLeave() { Default(); }
void CWnd::OnRButtonDblClk(UINT, CPoint) { Default(); }
HBRUSH CWnd::OnCtlColor(CDC*, CWnd*, UINT) { return reinterpret_cast<HBRUSH>(Default()); }
void CWnd::OnDrawItem(int, LPDRAWITEMSTRUCT) { Default(); }
void CWnd::OnMeasureItem(int, LPMEASUREITEMSTRUCT) { Default(); }
void CWnd::OnHScroll(UINT, UINT, CWnd*) { Default(); }
void CWnd::OnVScroll(UINT, UINT, CWnd*) { Default(); }

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
    LRESULT ignored = 0;
    return lParam && ReflectToChild(WM_COMMAND, wParam, lParam, &ignored);
}

BOOL CWnd::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) {
    return lParam && ReflectToChild(WM_NOTIFY, wParam, lParam, result);
}

// ---------------------------------------------------------------------------
// Thin wrappers.

BOOL CWnd::ShowWindow(int command) { return m_hWnd && ::ShowWindow(m_hWnd, command); }

void CWnd::MoveWindow(int x, int y, int width, int height, BOOL repaint) {
    if (m_hWnd) ::MoveWindow(m_hWnd, x, y, width, height, repaint);
}

void CWnd::MoveWindow(const RECT& r, BOOL repaint) {
    MoveWindow(r.left, r.top, r.right - r.left, r.bottom - r.top, repaint);
}

BOOL CWnd::SetWindowPos(const CWnd* insertAfter, int x, int y, int cx, int cy, UINT flags) {
    return SetWindowPos(insertAfter ? insertAfter->m_hWnd : nullptr, x, y, cx, cy, flags);
}

BOOL CWnd::SetWindowPos(HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
    return m_hWnd && ::SetWindowPos(m_hWnd, insertAfter, x, y, cx, cy, flags);
}

void CWnd::GetClientRect(RECT* rect) const {
    if (!rect) return;
    if (!m_hWnd || !::GetClientRect(m_hWnd, rect)) *rect = RECT{0, 0, 0, 0};
}

void CWnd::GetWindowRect(RECT* rect) const {
    if (!rect) return;
    if (!m_hWnd || !::GetWindowRect(m_hWnd, rect)) *rect = RECT{0, 0, 0, 0};
}

void CWnd::ClientToScreen(POINT* point) const {
    if (m_hWnd && point) ::ClientToScreen(m_hWnd, point);
}

void CWnd::ClientToScreen(RECT* rect) const {
    if (m_hWnd && rect) ::MapWindowPoints(m_hWnd, nullptr, reinterpret_cast<POINT*>(rect), 2);
}

void CWnd::ScreenToClient(POINT* point) const {
    if (m_hWnd && point) ::ScreenToClient(m_hWnd, point);
}

void CWnd::ScreenToClient(RECT* rect) const {
    if (m_hWnd && rect) ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(rect), 2);
}

void CWnd::Invalidate(BOOL erase) {
    if (m_hWnd) ::InvalidateRect(m_hWnd, nullptr, erase);
}

void CWnd::InvalidateRect(const RECT* rect, BOOL erase) {
    if (m_hWnd) ::InvalidateRect(m_hWnd, rect, erase);
}

void CWnd::ValidateRect(const RECT* rect) {
    if (m_hWnd) ::ValidateRect(m_hWnd, rect);
}

void CWnd::UpdateWindow() {
    if (m_hWnd) ::UpdateWindow(m_hWnd);
}

BOOL CWnd::RedrawWindow(const RECT* rect, HRGN region, UINT flags) {
    return m_hWnd && ::RedrawWindow(m_hWnd, rect, region, flags);
}

void CWnd::SetWindowText(const char* text) {
    if (m_hWnd) ::SetWindowTextA(m_hWnd, text ? text : "");
}

CString CWnd::GetWindowText() const {
    CString text;
    GetWindowText(text);
    return text;
}

void CWnd::GetWindowText(CString& text) const {
    text.Empty();
    if (!m_hWnd) return;
    const int length = ::GetWindowTextLengthA(m_hWnd);
    if (length <= 0) return;
    char* buffer = text.GetBuffer(length);
    ::GetWindowTextA(m_hWnd, buffer, length + 1);
    text.ReleaseBuffer();
}

int CWnd::GetWindowTextLength() const { return m_hWnd ? ::GetWindowTextLengthA(m_hWnd) : 0; }

CWnd* CWnd::GetDlgItem(int id) const { return m_hWnd ? FromHandle(::GetDlgItem(m_hWnd, id)) : nullptr; }

int CWnd::GetDlgCtrlID() const { return m_hWnd ? ::GetDlgCtrlID(m_hWnd) : 0; }

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return m_hWnd ? ::SendMessageA(m_hWnd, message, wParam, lParam) : 0;
}

BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return m_hWnd && ::PostMessageA(m_hWnd, message, wParam, lParam);
}

UINT_PTR CWnd::SetTimer(UINT_PTR id, UINT elapse, TIMERPROC timerProc) {
    return m_hWnd ? ::SetTimer(m_hWnd, id, elapse, timerProc) : 0;
}

BOOL CWnd::KillTimer(UINT_PTR id) { return m_hWnd && ::KillTimer(m_hWnd, id); }

CWnd* CWnd::SetCapture() { return m_hWnd ? FromHandle(::SetCapture(m_hWnd)) : nullptr; }

CWnd* CWnd::GetCapture() { return FromHandle(::GetCapture()); }

BOOL CWnd::ReleaseCapture() { return ::ReleaseCapture(); }

CWnd* CWnd::GetParent() const { return m_hWnd ? FromHandle(::GetParent(m_hWnd)) : nullptr; }

CWnd* CWnd::GetTopLevelParent() const {
    if (!m_hWnd) return nullptr;
    HWND top = m_hWnd;
    while ((::GetWindowLongPtrA(top, GWL_STYLE) & WS_CHILD) && ::GetParent(top)) top = ::GetParent(top);
    return FromHandle(top);
}

BOOL CWnd::EnableWindow(BOOL enable) { return m_hWnd && ::EnableWindow(m_hWnd, enable); }

BOOL CWnd::IsWindowEnabled() const { return m_hWnd && ::IsWindowEnabled(m_hWnd); }

BOOL CWnd::IsWindowVisible() const { return m_hWnd && ::IsWindowVisible(m_hWnd); }

BOOL CWnd::IsChild(const CWnd* wnd) const {
    return m_hWnd && wnd && wnd->m_hWnd && ::IsChild(m_hWnd, wnd->m_hWnd);
}

void CWnd::SetFont(CFont* font, BOOL redraw) {
    SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font ? font->m_hObject : nullptr), redraw);
}

CFont* CWnd::GetFont() const {
    if (!m_hWnd) return nullptr;
    return CFont::FromHandle(reinterpret_cast<HFONT>(::SendMessageA(m_hWnd, WM_GETFONT, 0, 0)));
}

CWnd* CWnd::SetFocus() { return m_hWnd ? FromHandle(::SetFocus(m_hWnd)) : nullptr; }

CWnd* CWnd::GetFocus() { return FromHandle(::GetFocus()); }

DWORD CWnd::GetStyle() const {
    return m_hWnd ? static_cast<DWORD>(::GetWindowLongPtrA(m_hWnd, GWL_STYLE)) : 0;
}

DWORD CWnd::GetExStyle() const {
    return m_hWnd ? static_cast<DWORD>(::GetWindowLongPtrA(m_hWnd, GWL_EXSTYLE)) : 0;
}

namespace {
BOOL ModifyLong(HWND hWnd, int index, DWORD remove, DWORD add, UINT flags) {
    if (!hWnd) return FALSE;
    const DWORD old = static_cast<DWORD>(::GetWindowLongPtrA(hWnd, index));
    const DWORD changed = (old & ~remove) | add;
    if (old == changed) return FALSE;
    ::SetWindowLongPtrA(hWnd, index, static_cast<LONG_PTR>(changed));
    if (flags)
        ::SetWindowPos(hWnd, nullptr, 0, 0, 0, 0,
                       SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | flags);
    return TRUE;
}
}  // namespace

BOOL CWnd::ModifyStyle(DWORD remove, DWORD add, UINT flags) {
    return ModifyLong(m_hWnd, GWL_STYLE, remove, add, flags);
}

BOOL CWnd::ModifyStyleEx(DWORD remove, DWORD add, UINT flags) {
    return ModifyLong(m_hWnd, GWL_EXSTYLE, remove, add, flags);
}

CDC* CWnd::GetDC() { return m_hWnd ? CDC::FromHandle(::GetDC(m_hWnd)) : nullptr; }

int CWnd::ReleaseDC(CDC* dc) { return m_hWnd && dc ? ::ReleaseDC(m_hWnd, dc->m_hDC) : 0; }

int CWnd::SetWindowRgn(HRGN region, BOOL redraw) {
    return m_hWnd ? ::SetWindowRgn(m_hWnd, region, redraw) : 0;
}

int CWnd::GetWindowRgn(HRGN region) const {
    return m_hWnd && region ? ::GetWindowRgn(m_hWnd, region) : ERROR;
}

BOOL CWnd::IsIconic() const { return m_hWnd && ::IsIconic(m_hWnd); }

BOOL CWnd::IsZoomed() const { return m_hWnd && ::IsZoomed(m_hWnd); }

HICON CWnd::SetIcon(HICON icon, BOOL big) {
    if (!m_hWnd) return nullptr;
    return reinterpret_cast<HICON>(::SendMessageA(m_hWnd, WM_SETICON, big ? ICON_BIG : ICON_SMALL,
                                                  reinterpret_cast<LPARAM>(icon)));
}

HICON CWnd::GetIcon(BOOL big) const {
    if (!m_hWnd) return nullptr;
    return reinterpret_cast<HICON>(::SendMessageA(m_hWnd, WM_GETICON, big ? ICON_BIG : ICON_SMALL, 0));
}

BOOL CWnd::GetWindowPlacement(WINDOWPLACEMENT* placement) const {
    if (!m_hWnd || !placement) return FALSE;
    placement->length = sizeof(WINDOWPLACEMENT);
    return ::GetWindowPlacement(m_hWnd, placement);
}

BOOL CWnd::SetWindowPlacement(const WINDOWPLACEMENT* placement) {
    if (!m_hWnd || !placement) return FALSE;
    WINDOWPLACEMENT copy = *placement;
    copy.length = sizeof copy;
    return ::SetWindowPlacement(m_hWnd, &copy);
}

void CWnd::SetRedraw(BOOL redraw) { SendMessage(WM_SETREDRAW, redraw ? TRUE : FALSE); }

void CWnd::BringWindowToTop() {
    if (m_hWnd) ::BringWindowToTop(m_hWnd);
}

BOOL CWnd::SetForegroundWindow() { return m_hWnd && ::SetForegroundWindow(m_hWnd); }

CWnd* CWnd::GetWindow(UINT command) const {
    return m_hWnd ? FromHandle(::GetWindow(m_hWnd, command)) : nullptr;
}

void CWnd::CenterWindow(CWnd* alternateOwner) {
    if (!m_hWnd) return;
    const bool child = (GetStyle() & WS_CHILD) != 0;
    HWND center = alternateOwner ? alternateOwner->m_hWnd
                                 : (child ? ::GetParent(m_hWnd) : ::GetWindow(m_hWnd, GW_OWNER));
    CRect area;
    if (child) {
        ::GetClientRect(center, &area);
    } else if (center && ::IsWindowVisible(center) && !::IsIconic(center)) {
        ::GetWindowRect(center, &area);
    } else {
        ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    }
    CRect window;
    ::GetWindowRect(m_hWnd, &window);
    if (child && center && alternateOwner) {
        // A child's position is in its parent's client coordinates.
        ::MapWindowPoints(center, ::GetParent(m_hWnd), reinterpret_cast<POINT*>(&area), 2);
    }
    const int x = area.left + (area.Width() - window.Width()) / 2;
    const int y = area.top + (area.Height() - window.Height()) / 2;
    ::SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

namespace {
void SendToDescendants(HWND parent, UINT message, WPARAM wParam, LPARAM lParam, bool deep) {
    for (HWND child = ::GetWindow(parent, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        ::SendMessageA(child, message, wParam, lParam);
        if (deep) SendToDescendants(child, message, wParam, lParam, true);
    }
}
}  // namespace

void CWnd::SendMessageToDescendants(UINT message, WPARAM wParam, LPARAM lParam, BOOL deep) {
    if (m_hWnd) SendToDescendants(m_hWnd, message, wParam, lParam, deep != FALSE);
}

const char* CWnd::GetRuntimeClassName() const { return "CWnd"; }
