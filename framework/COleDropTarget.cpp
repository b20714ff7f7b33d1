#include "COleDropTarget.h"

#include "AfxTrace.h"
#include "CWnd.h"

#include <commctrl.h>

// What the system holds: forwards every call to the target while there is
// one, and answers "no drop" once the target has gone.
class COleDropTarget::Sink final : public IDropTarget {
public:
    explicit Sink(COleDropTarget* target) : m_target(target) {}
    void Orphan() {
        m_target = nullptr;
        m_data.Release();
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (!object) return E_POINTER;
        if (iid == IID_IUnknown || iid == IID_IDropTarget) {
            *object = static_cast<IDropTarget*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(::InterlockedIncrement(&m_refs)); }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG refs = ::InterlockedDecrement(&m_refs);
        if (refs == 0) delete this;
        return static_cast<ULONG>(refs);
    }

    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keyState, POINTL point,
                                        DWORD* effect) override {
        if (!effect) return E_INVALIDARG;
        const DWORD allowed = *effect;
        *effect = DROPEFFECT_NONE;
        if (!m_target) return S_OK;
        m_data.Attach(data);
        try {
            CWnd* window = CWnd::FromHandle(m_target->m_window);
            const CPoint at = ClientPoint(point);
            DROPEFFECT answer = m_target->OnDragScroll(window, keyState, at);
            if (!(answer & DROPEFFECT_SCROLL)) answer = m_target->OnDragEnter(window, &m_data, keyState, at);
            *effect = Allowed(answer, allowed);
        } catch (...) {
            AfxTraceCaughtException("framework: drop target, drag enter");
        }
        m_lastEffect = *effect & ~DROPEFFECT_SCROLL;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DragOver(DWORD keyState, POINTL point, DWORD* effect) override {
        if (!effect) return E_INVALIDARG;
        const DWORD allowed = *effect;
        *effect = DROPEFFECT_NONE;
        if (!m_target) return S_OK;
        try {
            CWnd* window = CWnd::FromHandle(m_target->m_window);
            const CPoint at = ClientPoint(point);
            DROPEFFECT answer = m_target->OnDragScroll(window, keyState, at);
            if (!(answer & DROPEFFECT_SCROLL)) answer = m_target->OnDragOver(window, &m_data, keyState, at);
            *effect = Allowed(answer, allowed);
        } catch (...) {
            AfxTraceCaughtException("framework: drop target, drag over");
        }
        m_lastEffect = *effect & ~DROPEFFECT_SCROLL;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DragLeave() override {
        if (m_target) {
            try {
                m_target->OnDragLeave(CWnd::FromHandle(m_target->m_window));
            } catch (...) {
                AfxTraceCaughtException("framework: drop target, drag leave");
            }
        }
        m_data.Release();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keyState, POINTL point, DWORD* effect) override {
        (void)keyState;
        if (!effect) return E_INVALIDARG;
        const DWORD allowed = *effect;
        *effect = DROPEFFECT_NONE;
        if (!m_target) {
            m_data.Release();
            return S_OK;
        }
        if (data) m_data.Attach(data);
        // The effect of the drop is the one answered for the last step.
        const DROPEFFECT chosen = m_lastEffect & allowed;
        try {
            CWnd* window = CWnd::FromHandle(m_target->m_window);
            if (m_target->OnDrop(window, &m_data, chosen, ClientPoint(point))) *effect = chosen;
        } catch (...) {
            AfxTraceCaughtException("framework: drop target, drop");
        }
        m_data.Release();
        return S_OK;
    }

private:
    ~Sink() = default;

    CPoint ClientPoint(POINTL point) const {
        POINT at = {point.x, point.y};
        if (m_target) ::ScreenToClient(m_target->m_window, &at);
        return CPoint(at.x, at.y);
    }
    // Scrolling is always allowed; everything else only as the source offers.
    static DWORD Allowed(DROPEFFECT answer, DWORD allowed) {
        return (answer & allowed) | (answer & DROPEFFECT_SCROLL);
    }

    LONG m_refs = 1;
    DWORD m_lastEffect = DROPEFFECT_NONE;
    COleDropTarget* m_target;
    COleDataObject m_data;
};

COleDropTarget::COleDropTarget() = default;

COleDropTarget::~COleDropTarget() { Revoke(); }

const char* COleDropTarget::GetRuntimeClassName() const { return "COleDropTarget"; }

bool COleDropTarget::Register(CWnd* window) { return Register(window ? window->GetSafeHwnd() : nullptr); }

bool COleDropTarget::Register(HWND window) {
    Revoke();
    if (!window || !::IsWindow(window)) return false;
    if (::GetWindowThreadProcessId(window, nullptr) != ::GetCurrentThreadId()) return false;
    Sink* sink = new Sink(this);
    if (FAILED(::RegisterDragDrop(window, sink))) {
        sink->Release();
        return false;
    }
    if (!::SetWindowSubclass(window, &COleDropTarget::WindowEnds, 0, reinterpret_cast<DWORD_PTR>(this))) {
        ::RevokeDragDrop(window);
        sink->Release();
        return false;
    }
    m_sink = sink;
    m_window = window;
    return true;
}

void COleDropTarget::Revoke() {
    if (!m_window) return;
    HWND window = m_window;
    m_window = nullptr;
    ::RemoveWindowSubclass(window, &COleDropTarget::WindowEnds, 0);
    ::RevokeDragDrop(window);
    // A drag still holding the go-between finds no target from now on; a
    // later registration starts with a fresh one.
    m_sink->Orphan();
    m_sink->Release();
    m_sink = nullptr;
}

LRESULT CALLBACK COleDropTarget::WindowEnds(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                            UINT_PTR, DWORD_PTR target) {
    // The registration must end while the window still exists.
    if (message == WM_NCDESTROY) reinterpret_cast<COleDropTarget*>(target)->Revoke();
    return ::DefSubclassProc(window, message, wParam, lParam);
}

DROPEFFECT COleDropTarget::OnDragEnter(CWnd*, COleDataObject*, DWORD, CPoint) { return DROPEFFECT_NONE; }
DROPEFFECT COleDropTarget::OnDragOver(CWnd*, COleDataObject*, DWORD, CPoint) { return DROPEFFECT_NONE; }
void COleDropTarget::OnDragLeave(CWnd*) {}
BOOL COleDropTarget::OnDrop(CWnd*, COleDataObject*, DROPEFFECT, CPoint) { return FALSE; }
DROPEFFECT COleDropTarget::OnDragScroll(CWnd*, DWORD, CPoint) { return DROPEFFECT_NONE; }
