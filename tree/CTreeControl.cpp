#include "CTreeControl.h"

#include "CFrameClock.h"
#include "CNavigateButton.h"
#include "CNodesList.h"
#include "CRootItem.h"
#include "CTreeDropSource.h"
#include "CTreeException.h"
#include "CTreeItem.h"
#include "CTreePopupMenu.h"
#include "CTreeView.h"
#include "TreeResources.h"

#include "CDataObject.h"
#include "COrvDragContactInfo.h"
#include "COrvDragImage.h"
#include "COrvDropTarget.h"
#include "ClsSystemVersion.h"
#include "OrvMessages.h"
#include "OrvNavigate.h"
#include "OrvSoundSource.h"

#include "AfxGlobals.h"
#include "AfxTrace.h"
#include "OrvStartTrace.h"
#include "CComPtr.h"
#include "CGlobalMemory.h"
#include "CPaintDC.h"
#include "CWinApp.h"
#include "CWinThread.h"

#include <commctrl.h>
#include <mmsystem.h>

#include <cmath>
#include <cstring>
#include <exception>
#include <utility>

namespace {
// Something in this library, to find the library by.
const int kModuleAnchor = 0;

// Turning the picture by one keypad press.
constexpr double kTurnStep = CTreeView::kPi / 36;
// Frames of each half of the selection animation, and the steps of the
// squeeze.
constexpr double kSelectionStep = 1.0 / 15;
constexpr double kSqueezeStep = 0.1;
// A bound on one pumping of the queue: a window that never validates its
// paint must not keep the tree pumping for ever.
constexpr int kMaxPumpedMessages = 10000;

// Popup menu commands and the codes they send.
struct MenuCommand {
    UINT id;
    int32_t code;
};
constexpr MenuCommand kMenuCommands[] = {
    {ID_TREE_SEND_EMAIL, ORVNAVCMD_SEND_EMAIL},
    {ID_TREE_ADD_TO_FAVORITES, ORVNAVCMD_ADD_TO_FAVORITES},
    {ID_TREE_PATH_FROM, ORVNAVCMD_PATH_FROM},
    {ID_TREE_PATH_TO, ORVNAVCMD_PATH_TO},
    {ID_TREE_EDIT_MY_CONTACTS, ORVNAVCMD_EDIT_MY_CONTACTS},
    {ID_TREE_EDIT_PERSONAL_INFO, ORVNAVCMD_EDIT_PERSONAL_INFO},
    {ID_TREE_CHAT, ORVNAVCMD_CHAT},
    {ID_TREE_SEARCH_PATH, ORVNAVCMD_SEARCH_PATH},
    {ID_TREE_VIEW_MAP, ORVNAVCMD_VIEW_MAP},
};

std::atomic<bool> g_dragging{false};

bool IsClosingMessage(const MSG& msg) {
    switch (msg.message) {
    case WM_QUIT:
    case WM_CLOSE:
    case WM_DESTROY:
    case WM_NCDESTROY:
        return true;
    case WM_SYSCOMMAND:
        return (msg.wParam & 0xFFF0) == SC_CLOSE;
    default:
        return false;
    }
}

// Offers a message to the thread's (or the windows') look before
// translation, then dispatches it.
void DispatchOne(MSG& msg) {
    CWinThread* thread = AfxGetThread();
    const BOOL taken = thread ? thread->PreTranslateMessage(&msg)
                              : CWnd::WalkPreTranslateTree(nullptr, &msg);
    if (taken) return;
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
}
}  // namespace

bool IsDraggingInProccess() { return g_dragging; }

// One action on the control's thread: holds the list lock, and at its end
// (also when it fails) gives the semaphore back and marks the action
// complete, after pumping what queued up meanwhile (input then still finds
// the tree busy and is dropped).
class CTreeControl::ActionScope {
public:
    explicit ActionScope(CTreeControl& control)
        : m_control(control), m_lock(control.m_listLock), m_exceptions(std::uncaught_exceptions()) {
        ++m_control.m_actionDepth;
    }
    ~ActionScope() {
        if (std::uncaught_exceptions() == m_exceptions) {
            try {
                m_control.ProcessMessagesQueue(0);
            } catch (...) {
                AfxTraceCaughtException("tree: pumping at the end of an action");
            }
        }
        --m_control.m_actionDepth;
        OrvStartMark("tree: action end");
        m_control.ReleaseActionSemaphore();
        m_control.m_actionComplete = true;
    }
    ActionScope(const ActionScope&) = delete;
    ActionScope& operator=(const ActionScope&) = delete;

private:
    CTreeControl& m_control;
    CSingleLock m_lock;
    int m_exceptions;
};

CTreeControl::CTreeControl()
    : m_view(std::make_unique<CTreeView>(this)),
      m_actionSemaphore(::CreateSemaphoreA(nullptr, 1, 1, nullptr)),
      m_popupMenu(std::make_unique<CTreePopupMenu>()) {}

CTreeControl::~CTreeControl() {
    DestroyWindow();
    CSingleLock lock(m_listLock);
    m_menuNode = nullptr;
    m_bufferedList.reset();
    m_currentList.reset();
}

const char* CTreeControl::GetRuntimeClassName() const { return "CTreeControl"; }

HMODULE CTreeControl::GetModule() { return AfxGetModuleOf(&kModuleAnchor); }

CString CTreeControl::GetPrivateEmailText() {
    static const CString text = [] {
        CString loaded;
        char buffer[256] = {};
        if (::LoadStringA(GetModule(), IDS_EMAIL_PRIVATE, buffer, sizeof buffer) > 0) loaded = buffer;
        return loaded;
    }();
    return text;
}

BOOL CTreeControl::PreCreateWindow(CREATESTRUCTA& create) {
    HMODULE module = GetModule();
    WNDCLASSEXA existing{};
    existing.cbSize = sizeof existing;
    if (!::GetClassInfoExA(module, kWindowClass, &existing)) {
        WNDCLASSEXA windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS | CS_OWNDC;
        windowClass.lpfnWndProc = ::DefWindowProcA;
        windowClass.hInstance = module;
        windowClass.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
        windowClass.lpszClassName = kWindowClass;
        // Two threads may race to it; the loser finds it registered.
        if (!::RegisterClassExA(&windowClass) && ::GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
            return FALSE;
    }
    create.lpszClass = kWindowClass;
    create.hInstance = module;
    create.style &= ~WS_BORDER;
    create.style |= WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    return TRUE;
}

BOOL CTreeControl::Create(CWnd* parent, CRect rect, OrvINavigate* navigate, void*) {
    if (m_hWnd || !parent || !m_actionSemaphore) return FALSE;
    m_navigate = navigate;
    m_threadId = ::GetCurrentThreadId();
    if (!CreateEx(0, kWindowClass, "", WS_CHILD, rect, parent, kControlId)) return FALSE;
    // Without OLE on this thread the tree simply takes part in no drop.
    GetDropTarget().Register(this);
    CreateToolTip();
    SetTimer(kBlinkTimer, kBlinkPeriodMs);
    if (!m_popupMenu->Load(GetModule(), IDR_TREE_POPUP, m_hWnd))
        ::OutputDebugStringA("tree: the popup menu resource did not load\n");
    return TRUE;
}

void CTreeControl::CreateToolTip() {
    INITCOMMONCONTROLSEX init{sizeof init, ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&init);
    const bool balloon = ClsSystemVersion::GetInstance()->GetIsBalloonToolTips();
    DWORD style = WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX;
    if (balloon) style |= TTS_BALLOON;
    if (!m_toolTip.CreateEx(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, style, CW_USEDEFAULT,
                            CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, m_hWnd, nullptr))
        return;
    if (balloon) {
        m_toolTip.SendMessage(TTM_SETMAXTIPWIDTH, 0, 40);
        RECT margins{-5, -5, -5, -5};
        m_toolTip.SendMessage(TTM_SETMARGIN, 0, reinterpret_cast<LPARAM>(&margins));
    }
    m_toolTip.SendMessage(TTM_SETDELAYTIME, TTDT_AUTOPOP, 10000);
    m_toolTip.SendMessage(TTM_ACTIVATE, TRUE);
}

void CTreeControl::AddTool(unsigned id, const CRect& rect, const CString& text) {
    if (!m_toolTip.IsWindow()) return;
    CString copy = text;
    TOOLINFOA tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = m_hWnd;
    tool.uId = id;
    tool.rect = rect;
    tool.lpszText = copy.GetBuffer(copy.GetLength());
    m_toolTip.SendMessage(TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
    copy.ReleaseBuffer();
}

void CTreeControl::RemoveTool(unsigned id) {
    if (!m_toolTip.IsWindow()) return;
    TOOLINFOA tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = m_hWnd;
    tool.uId = id;
    m_toolTip.SendMessage(TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
}

void CTreeControl::MoveTool(unsigned id, const CRect& rect) {
    if (!m_toolTip.IsWindow()) return;
    TOOLINFOA tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = m_hWnd;
    tool.uId = id;
    tool.rect = rect;
    m_toolTip.SendMessage(TTM_NEWTOOLRECTA, 0, reinterpret_cast<LPARAM>(&tool));
}

void CTreeControl::EnableTips(bool enable) {
    if (m_toolTip.IsWindow()) m_toolTip.SendMessage(TTM_ACTIVATE, enable ? TRUE : FALSE);
}

bool CTreeControl::IsControlThread() const { return ::GetCurrentThreadId() == m_threadId; }

int CTreeControl::Advise(ORV_INTERFACE which, void* object) {
    if (which != ORV_SOUNDS) return 0;
    m_sounds = static_cast<OrvSoundSource*>(object);
    return 1;
}

void CTreeControl::PlaySoundEvent(const char* eventName) {
    if (!m_sounds) return;
    const CString file = m_sounds->GetSoundFile(eventName);
    if (file.IsEmpty()) return;
    ::PlaySoundA(file, nullptr, SND_ASYNC | SND_NODEFAULT | SND_FILENAME | SND_NOSTOP);
}

// ---- Data and actions -------------------------------------------------

bool CTreeControl::TakeActionSemaphore() {
    HANDLE semaphore = m_actionSemaphore.Get();
    if (!IsControlThread()) return ::WaitForSingleObject(semaphore, kSetDataWaitMs) == WAIT_OBJECT_0;
    // Inside an action of this thread: the action that holds the semaphore
    // cannot end before this call returns, so waiting would only stall.
    if (m_actionDepth > 0) return ::WaitForSingleObject(semaphore, 0) == WAIT_OBJECT_0;
    // On the control's thread the holder is an action still queued here (or
    // a caller of DoStartingAction): keep the messages flowing meanwhile.
    const ULONGLONG deadline = ::GetTickCount64() + kSetDataWaitMs;
    for (;;) {
        const ULONGLONG now = ::GetTickCount64();
        const DWORD left = now >= deadline ? 0 : static_cast<DWORD>(deadline - now);
        const DWORD woke = ::MsgWaitForMultipleObjectsEx(1, &semaphore, left, QS_ALLINPUT,
                                                          MWMO_INPUTAVAILABLE);
        if (woke == WAIT_OBJECT_0) return true;
        if (woke != WAIT_OBJECT_0 + 1) return false;
        MSG next;
        if (::PeekMessageA(&next, nullptr, 0, 0, PM_NOREMOVE) && IsClosingMessage(next)) return false;
        ProcessMessagesQueue(0);
    }
}

void CTreeControl::ReleaseActionSemaphore() { ::ReleaseSemaphore(m_actionSemaphore.Get(), 1, nullptr); }

int CTreeControl::SetData(ORVCONTACTINFO* records, unsigned count, ANIM_ACTION action) {
    if (!records || !m_hWnd) return 0;
    OrvStartMark("tree: SetData");
    if (!TakeActionSemaphore()) return 0;
    m_actionComplete = false;
    {
        CSingleLock lock(m_listLock);
        // The previous root becomes the first child, where the selection
        // animation leaves it.
        if (!m_rootEmail.IsEmpty() && count > 1) {
            for (unsigned i = 1; i < count; ++i)
                if (records[i].email.CompareNoCase(m_rootEmail) == 0) std::swap(records[i], records[1]);
        }
        m_rootEmail.Empty();
    }
    bool built = false;
    if (IsControlThread()) {
        try {
            CreateNodes(count, records);
            built = true;
        } catch (...) {
            ReleaseActionSemaphore();
            m_actionComplete = true;
            throw;
        }
    } else {
        built = ::SendMessageA(m_hWnd, ORV_WM_TREE_DATA, count, reinterpret_cast<LPARAM>(records)) != 0;
    }
    if (!built) {
        ReleaseActionSemaphore();
        m_actionComplete = true;
        return 0;
    }
    {
        CSingleLock lock(m_listLock);
        const CNodesList* current = m_currentList.get();
        if (!current) {
            action = ANIM_INSTANT;
        } else if (action == ANIM_SELECT) {
            const CTreeItem* highlighted = current->GetHighlighted();
            if (!highlighted || highlighted->IsRoot()) action = ANIM_SQUEEZE;
        }
    }
    UINT message = 0;
    switch (action) {
    case ANIM_SELECT: message = ORV_WM_TREE_SELECT; break;
    case ANIM_SQUEEZE: message = ORV_WM_TREE_SQUEEZE; break;
    case ANIM_INSTANT: message = ORV_WM_TREE_INSTANT; break;
    case ANIM_HIDDEN: message = ORV_WM_TREE_HIDDEN; break;
    default:
        // No action: the caller ends it with DoActionComplete.
        return 1;
    }
    if (!::PostMessageA(m_hWnd, message, 0, 0)) {
        ReleaseActionSemaphore();
        m_actionComplete = true;
        return 0;
    }
    return 1;
}

void CTreeControl::CreateNodes(unsigned count, const ORVCONTACTINFO* records) {
    CSingleLock lock(m_listLock);
    m_menuTarget.reset();
    auto list = std::make_unique<CNodesList>(this);
    try {
        list->Build(records ? count : 0, records);
    } catch (CTreeException& e) {
        e.ReportError();
        throw;
    }
    m_bufferedList = std::move(list);
}

void CTreeControl::FlushNodeListBuffer() {
    CSingleLock lock(m_listLock);
    m_menuNode = nullptr;
    m_currentList.reset();
    m_currentList = std::move(m_bufferedList);
    ++m_listGeneration;
    if (m_currentList) m_currentList->RegisterToolTips();
}

void CTreeControl::OnPerformInstantAction() {
    ActionScope scope(*this);
    OrvStartMark("tree: instant action");
    FlushNodeListBuffer();
    if (m_currentList) m_currentList->SetScaleAll(1.0);
    SetDrawMode(DRAW_NORMAL);
    Update();
}

void CTreeControl::OnPerformSqueezeAction(bool withSound) {
    ActionScope scope(*this);
    OrvStartMark("tree: squeeze action");
    SetDrawMode(DRAW_NORMAL);
    if (m_currentList) m_currentList->Highlight(m_currentList->GetRoot(), false);
    Update();
    if (withSound) PlaySoundEvent("ActionSqueeze");
    Shrink();
    ProcessMessagesQueue(PM_QS_INPUT | PM_QS_PAINT | PM_QS_SENDMESSAGE);
    FlushNodeListBuffer();
    if (m_currentList) m_currentList->Highlight(m_currentList->GetRoot(), false);
    Grow();
}

void CTreeControl::OnPerformSelectAction() {
    CTreeItem* selected = nullptr;
    {
        CSingleLock lock(m_listLock);
        CNodesList* current = m_currentList.get();
        CNodesList* buffered = m_bufferedList.get();
        if (current && buffered && buffered->GetVisibleCount() > 0) {
            CTreeItem* highlighted = current->GetHighlighted();
            if (highlighted && !highlighted->IsRoot() && highlighted->GetPageIndex() >= 0)
                selected = highlighted;
        }
    }
    // Without a child to travel from, or a child to arrive at, the squeeze
    // brings the tree.
    if (!selected) {
        OnPerformSqueezeAction(true);
        return;
    }
    ActionScope scope(*this);
    PlaySoundEvent("ActionSelect");
    RunSelectionAnimation(*selected);
    FlushNodeListBuffer();
    Update();
}

void CTreeControl::Shrink() {
    CNodesList* list = m_currentList.get();
    if (!list) return;
    CFrameClock clock(kFrameMs);
    bool changed;
    do {
        changed = list->ShrinkStep(kSqueezeStep);
        Update();
        clock.Wait();
    } while (changed && IsWindow());
}

void CTreeControl::Grow() {
    CNodesList* list = m_currentList.get();
    if (!list) return;
    CFrameClock clock(kFrameMs);
    bool changed;
    do {
        changed = list->GrowStep(kSqueezeStep, 0.99);
        Update();
        clock.Wait();
    } while (changed && IsWindow());
    list->SetScaleAll(1.0);
    Update();
}

void CTreeControl::RunSelectionAnimation(CTreeItem& selected) {
    CNodesList& oldList = *m_currentList;
    CNodesList& newList = *m_bufferedList;
    CRootItem& oldRoot = *oldList.GetRoot();
    CRootItem& newRoot = *newList.GetRoot();
    const double theta = selected.GetAngle();
    const double radiusX = m_view->GetRadiusX();
    const double radiusY = m_view->GetRadiusY();
    const CPoint center = m_view->GetCenterPoint();
    const double cosine = std::cos(theta);
    const auto offsetY = [&](double f) { return CTreeView::VerticalOffset(theta, f * radiusY, f); };
    const auto round = [](double value) { return static_cast<int>(std::lround(value)); };

    // The new root starts as the selected child, at its place and size.
    const CPoint start = selected.GetBoxCenter();
    newRoot.CenterBoxOn(start);
    newRoot.RememberStartDistance();
    newRoot.PlaceAround(start.x, start.y);

    CFrameClock clock(kFrameMs);
    // The old root travels from the centre to the point opposite the
    // selected child while its children shrink into it.
    SetDrawMode(DRAW_SLIDE_OUT);
    double f = 1;
    do {
        f -= kSelectionStep;
        oldRoot.PlaceAround(center.x + round(cosine * f * radiusX - cosine * radiusX),
                            center.y - round(offsetY(f) - offsetY(1)));
        oldList.ShrinkStep(kSelectionStep);
        Update();
        ProcessMessagesQueue(PM_QS_PAINT);
        clock.Wait();
    } while (f > 0.001 && IsWindow());

    // The new tree arrives, turned so that its first child (the old root's
    // own record) stands where the old root now is.
    setAngleCorrection(theta + CTreeView::kPi);
    SetDrawMode(DRAW_SLIDE_IN);
    f = 1;
    do {
        f -= kSelectionStep;
        newRoot.PlaceAround(center.x + round(f * cosine * radiusX), center.y - round(offsetY(f)));
        newList.GrowStep(kSelectionStep, 0.99);
        Update();
        ProcessMessagesQueue(PM_QS_PAINT);
        clock.Wait();
    } while (f > 0.001 && IsWindow());

    ProcessMessagesQueue(PM_QS_PAINT);
    newRoot.RememberStartDistance();
    newList.SetScaleAll(1.0);
    SetDrawMode(DRAW_NORMAL);
}

void CTreeControl::ProcessMessagesQueue(unsigned flags) {
    for (int pumped = 0; pumped < kMaxPumpedMessages; ++pumped) {
        MSG msg;
        if (!::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | flags)) return;
        if (IsClosingMessage(msg)) return;
        if (!::PeekMessageA(&msg, msg.hwnd, msg.message, msg.message, PM_REMOVE | flags)) return;
        if (msg.message == WM_QUIT) {
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        DispatchOne(msg);
    }
}

void CTreeControl::DoActionComplete() {
    ProcessMessagesQueue(0);
    ReleaseActionSemaphore();
    m_actionComplete = true;
}

bool CTreeControl::IsLocked() {
    if (::WaitForSingleObject(m_actionSemaphore.Get(), 0) != WAIT_OBJECT_0) return true;
    ReleaseActionSemaphore();
    return false;
}

bool CTreeControl::DoStartingAction(int milliseconds) {
    const DWORD wait = milliseconds > 0 ? static_cast<DWORD>(milliseconds) : 0;
    if (::WaitForSingleObject(m_actionSemaphore.Get(), wait) != WAIT_OBJECT_0) return false;
    if (milliseconds <= 0) ReleaseActionSemaphore();
    return true;
}

bool CTreeControl::IsInputAllowed() { return m_actionComplete && !IsLocked(); }

// ---- Drawing and geometry ---------------------------------------------

void CTreeControl::Update() {
    if (IsWindow()) RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

CPoint CTreeControl::GetCenterPoint() const { return m_view->GetCenterPoint(); }

double CTreeControl::getAngleCorrection() const { return m_view->GetAngleCorrection(); }

void CTreeControl::setAngleCorrection(double angle) { m_view->SetAngleCorrection(angle); }

void CTreeControl::SetDrawMode(DRAW_MODE mode) { m_view->SetDrawMode(mode); }

void CTreeControl::OnChangeSkin(const TREESKININFO* skin) {
    if (!skin || !IsWindow()) return;
    {
        CSingleLock lock(m_listLock);
        m_view->CopySkin(*skin);
    }
    Update();
}

void CTreeControl::WMEraseBkGnd(WMEraseBkGnd_t& message) { message.Result = 1; }

void CTreeControl::WMPaint(WMNoParams_t&) {
    CPaintDC dc(this);
    const CRect update(dc.m_ps.rcPaint);
    if (update.IsRectEmpty()) return;
    CSingleLock lock(m_listLock);
    m_view->Paint(dc, update, m_viewImage);
    OrvStartMark(m_currentList && m_currentList->GetVisibleCount() > 0 ? "tree: painted with nodes" : "tree: painted");
}

void CTreeControl::WMSize(WMSize_t& message) {
    m_view->ForgetClientSize();
    ClsSkinnedWnd<CWnd>::WMSize(message);
}

// ---- Input ------------------------------------------------------------

BOOL CTreeControl::PreTranslateMessage(MSG* msg) {
    if (msg->hwnd == m_hWnd) {
        if (msg->message >= WM_MOUSEFIRST && msg->message <= WM_MOUSELAST && m_toolTip.IsWindow())
            m_toolTip.SendMessage(TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(msg));
        if (msg->message == WM_KEYDOWN) OnKey(static_cast<UINT>(msg->wParam));
    }
    return ClsSkinnedWnd<CWnd>::PreTranslateMessage(msg);
}

void CTreeControl::OnKey(UINT key) {
    if (key != VK_RIGHT && key != VK_LEFT && key != VK_NUMPAD1 && key != VK_NUMPAD2) return;
    if (!IsInputAllowed()) return;
    switch (key) {
    case VK_RIGHT:
    case VK_LEFT: {
        CSingleLock lock(m_listLock);
        if (m_currentList) {
            if (key == VK_RIGHT)
                m_currentList->NextPage();
            else
                m_currentList->PreviousPage();
        }
        break;
    }
    case VK_NUMPAD1:
        setAngleCorrection(getAngleCorrection() + kTurnStep);
        break;
    case VK_NUMPAD2:
        setAngleCorrection(getAngleCorrection() - kTurnStep);
        break;
    }
    Update();
}

void CTreeControl::WMMouseMove(WMMouse_t& message) {
    if (!IsInputAllowed()) return;
    if (!m_mouseTracked) {
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, m_hWnd, 0};
        m_mouseTracked = ::TrackMouseEvent(&track) != FALSE;
    }
    CSingleLock lock(m_listLock);
    CNodesList* list = m_currentList.get();
    if (!list) return;
    const CPoint point = message.Pos();
    list->SetLastMousePosition(point);
    CTreeItem* node = list->HitTest(point.x, point.y);
    if (!node) {
        list->ClearHighlight();
        return;
    }
    if (node != list->GetHighlighted()) list->Highlight(node, true);
    if (node->IsRoot()) {
        CRootItem* root = list->GetRoot();
        const CRootItem::CNavigateButton* under = root->ButtonAt(point);
        bool changed = false;
        for (CRootItem::CNavigateButton* button : {&root->GetNextButton(), &root->GetPreviousButton()}) {
            const bool hovered = button == under;
            changed |= button->IsHovered() != hovered;
            button->SetHovered(hovered);
        }
        if (changed) InvalidateRect(&root->GetBox(), FALSE);
    }
    OpenPopupMenu(node);
}

void CTreeControl::OnMouseLeaveTree() {
    m_mouseTracked = false;
    if (!IsInputAllowed()) return;
    // Moving onto the node's menu leaves the tree but keeps the menu.
    if (IsPointerOverMenu()) return;
    m_popupMenu->Close();
    m_menuNode = nullptr;
    m_menuTarget.reset();
    CSingleLock lock(m_listLock);
    if (m_currentList) m_currentList->ClearHighlight();
}

void CTreeControl::WMLButtonDown(WMMouse_t& message) {
    if (!IsInputAllowed()) return;
    SetFocus();
    m_popupMenu->Close();
    m_menuNode = nullptr;
    m_menuTarget.reset();
    const CPoint point = message.Pos();
    ORVCONTACTINFO contact;
    bool isChild = false;
    int state = 0;
    unsigned generation = 0;
    {
        CSingleLock lock(m_listLock);
        CNodesList* list = m_currentList.get();
        CTreeItem* node = list ? list->HitTest(point.x, point.y) : nullptr;
        if (!node) return;
        list->Highlight(node, true);
        if (node->IsRoot()) {
            CRootItem::CNavigateButton* button = list->GetRoot()->ButtonAt(point);
            if (button) {
                button->SetPressed(true);
                if (button->GetKind() == CRootItem::CNavigateButton::kNext)
                    list->NextPage();
                else
                    list->PreviousPage();
                Update();
                return;
            }
        }
        contact = node->GetContact();
        state = node->GetState();
        isChild = !node->IsRoot();
        generation = m_listGeneration;
    }
    // The drag runs a modal loop in which the lists may change; only the
    // copy of the record is used from here on.
    CPoint screenPress = point;
    ClientToScreen(&screenPress);
    const bool dragged = DragOut(contact, state, screenPress);
    CPoint now;
    ::GetCursorPos(&now);
    if ((!dragged || now == screenPress) && isChild && generation == m_listGeneration)
        Activate(contact);
}

void CTreeControl::WMLButtonUp(WMMouse_t&) {
    ForgetClosedMenu();
    if (!IsInputAllowed()) return;
    CSingleLock lock(m_listLock);
    if (!m_currentList) return;
    CRootItem* root = m_currentList->GetRoot();
    root->GetNextButton().SetPressed(false);
    root->GetPreviousButton().SetPressed(false);
    InvalidateRect(&root->GetBox(), FALSE);
}

void CTreeControl::WMTimer(WMTimer_t& message) {
    if (message.TimerID() != kBlinkTimer) {
        ClsSkinnedWnd<CWnd>::WMTimer(message);
        return;
    }
    ForgetClosedMenu();
    if (!IsInputAllowed()) return;
    CSingleLock lock(m_listLock);
    if (!m_currentList) return;
    CRootItem* root = m_currentList->GetRoot();
    for (CRootItem::CNavigateButton* button : {&root->GetNextButton(), &root->GetPreviousButton()})
        button->SetHovered(!button->IsHovered());
    // Only shown buttons change the picture.
    if (root->AreButtonsShown()) InvalidateRect(&root->GetBox(), FALSE);
}

void CTreeControl::Activate(const ORVCONTACTINFO& contact) {
    if (!m_navigate) return;
    {
        CSingleLock lock(m_listLock);
        if (m_currentList) m_rootEmail = m_currentList->GetRoot()->GetContact().email;
    }
    Navigate(ORVNAV_ACTIVATE, -1, &contact);
}

void CTreeControl::Navigate(int kind, int command, const ORVCONTACTINFO* contact) {
    if (!m_navigate) return;
    // Busy from the request on; set first, so that a callee that answers at
    // once with CancelAction or DoActionComplete is not overridden.
    m_actionComplete = false;
    ORVNAVIGATEINFO info{kind, command, contact};
    m_navigate->Navigate(&info);
}

void CTreeControl::OnForwardAction() {
    if (IsInputAllowed()) Navigate(ORVNAV_FORWARD, -1, nullptr);
}

void CTreeControl::OnBackwardAction() {
    if (IsInputAllowed()) Navigate(ORVNAV_BACKWARD, -1, nullptr);
}

// ---- Popup menu -------------------------------------------------------

void CTreeControl::OpenPopupMenu(CTreeItem* node) {
    if (!node || !IsInputAllowed() || !m_popupMenu->IsLoaded()) return;
    if (m_menuNode == node && m_popupMenu->IsOpen()) {
        EnableTips(true);
        return;
    }
    CWinApp* app = AfxGetApp();
    const CWnd* main = app ? app->GetMainWnd() : nullptr;
    if (main && main->GetSafeHwnd() && ::GetForegroundWindow() != main->GetSafeHwnd()) return;
    m_popupMenu->Close();
    m_menuTarget = std::make_unique<ORVCONTACTINFO>(node->GetContact());
    m_menuNode = node;
    const ORVCONTACTINFO& contact = *m_menuTarget;
    const char* userId = m_navigate ? m_navigate->GetUserId() : nullptr;
    const bool self = userId && contact.id.CompareNoCase(userId) == 0;
    m_popupMenu->EnableItem(ID_TREE_CHAT, contact.canChat != 0 && !self);
    m_popupMenu->EnableItem(ID_TREE_SEARCH_PATH, !self);
    m_popupMenu->EnableItem(ID_TREE_SEND_EMAIL, contact.emailPrivate == 0 && !self);

    CRect box = node->GetBox();
    ClientToScreen(&box);
    const CPoint anchor = PopupAnchor(box, ::GetSystemMetrics(SM_CXSCREEN), nullptr);
    if (!m_popupMenu->Open(anchor.x, anchor.y, box.Height())) {
        m_menuNode = nullptr;
        m_menuTarget.reset();
    }
    EnableTips(true);
}

void CTreeControl::ForgetClosedMenu() {
    // A chosen item's command is posted before the menu's next timer can
    // come, so a target still here once the menu closed was dismissed.
    if (m_popupMenu->IsOpen()) return;
    m_menuNode = nullptr;
    m_menuTarget.reset();
}

bool CTreeControl::IsPointerOverMenu() const {
    POINT cursor{};
    return ::GetCursorPos(&cursor) && m_popupMenu->IsMenuWindow(::WindowFromPoint(cursor));
}

CPoint CTreeControl::PopupAnchor(const CRect& screenBox, int screenWidth, bool* rightAlign) {
    const bool atRight = screenWidth - screenBox.left < 200;
    if (rightAlign) *rightAlign = atRight;
    return CPoint(atRight ? screenBox.right : screenBox.left, screenBox.bottom);
}

void CTreeControl::OnMenuCommand(UINT id) {
    if (!m_menuTarget) return;
    for (const MenuCommand& entry : kMenuCommands) {
        if (entry.id != id) continue;
        const ORVCONTACTINFO contact = *m_menuTarget;
        m_menuTarget.reset();
        if (!m_navigate) return;
        try {
            ORVNAVIGATEINFO info{ORVNAV_COMMAND, entry.code, &contact};
            m_navigate->Navigate(&info);
        } catch (...) {
            AfxTraceCaughtException("tree: menu command");
        }
        return;
    }
}

void CTreeControl::WMCommand(WMCommand_t& message) {
    if (message.Ctl() || !IsInputAllowed()) {
        message.Handled = FALSE;
        return;
    }
    OnMenuCommand(message.ItemID());
}

void CTreeControl::OnContextMenuAt(CPoint screenPoint) {
    if (!IsInputAllowed()) return;
    CTreeItem* node = nullptr;
    {
        CSingleLock lock(m_listLock);
        if (!m_currentList) return;
        if (screenPoint.x == -1 && screenPoint.y == -1) {
            node = m_currentList->GetHighlighted();
        } else {
            CPoint point = screenPoint;
            ScreenToClient(&point);
            node = m_currentList->HitTest(point.x, point.y);
        }
    }
    if (node) OpenPopupMenu(node);
}

void CTreeControl::ClosePopUps() {
    // The menu and the highlight belong to the control's thread; the main
    // program asks from its workers too.
    if (!IsControlThread()) {
        if (IsWindow()) PostMessage(kClosePopUpsMessage);
        return;
    }
    m_popupMenu->Close();
    m_menuNode = nullptr;
    m_menuTarget.reset();
    CSingleLock lock(m_listLock);
    if (m_currentList) m_currentList->ClearHighlight();
}

// ---- Messages of its own ----------------------------------------------

bool CTreeControl::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    switch (message) {
    case ORV_WM_TREE_SKIN:
        OnChangeSkin(reinterpret_cast<const TREESKININFO*>(lParam));
        *result = 0;
        return true;
    case ORV_WM_TREE_SELECT:
        OnPerformSelectAction();
        *result = 0;
        return true;
    case ORV_WM_TREE_SQUEEZE:
        OnPerformSqueezeAction(true);
        *result = 0;
        return true;
    case ORV_WM_TREE_INSTANT:
        OnPerformInstantAction();
        *result = 0;
        return true;
    case ORV_WM_TREE_HIDDEN:
        OnPerformSqueezeAction(false);
        *result = 0;
        return true;
    case ORV_WM_TREE_DATA:
        // Sent by SetData from another thread: nothing may unwind into it.
        try {
            CreateNodes(static_cast<unsigned>(wParam), reinterpret_cast<const ORVCONTACTINFO*>(lParam));
            *result = 1;
        } catch (...) {
            AfxTraceCaughtException("tree: building a node list for another thread");
            *result = 0;
        }
        return true;
    case kClosePopUpsMessage:
        ClosePopUps();
        *result = 0;
        return true;
    case ORV_WM_QUERY_DROP:
        // The tree takes no dropped contacts.
        *result = 0;
        return true;
    case WM_MOUSELEAVE:
        OnMouseLeaveTree();
        *result = 0;
        return true;
    case WM_CONTEXTMENU:
        OnContextMenuAt(CPoint(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))));
        *result = 0;
        return true;
    case WM_DESTROY:
        KillTimer(kBlinkTimer);
        m_popupMenu->Close();
        if (m_toolTip.IsWindow()) m_toolTip.DestroyWindow();
        break;
    default:
        break;
    }
    return ClsSkinnedWnd<CWnd>::OnWndMsg(message, wParam, lParam, result);
}

// ---- Dragging a node out ----------------------------------------------

bool CTreeControl::DragOut(const ORVCONTACTINFO& contact, int state, CPoint screenPress) {
    CTreeDropSource source;
    const CRect start(screenPress.x - 5, screenPress.y - 5, screenPress.x + 5, screenPress.y + 5);
    if (!source.OnBeginDrag(this, &start)) return false;

    // The payload owns the text blocks its copy in the data points at; it
    // outlives the drag.
    COrvDragContactInfo payload(&contact);
    CComPtr<CDataObject> data;
    data.Attach(new CDataObject);
    data->AddGlobalData(static_cast<CLIPFORMAT>(COrvDropTarget::GetClipboardFormat()),
                        payload.CreateGlobalBlock(kDragPayloadBytes), true);
    CString text = OrvDisplayName(contact);
    text += ' ';
    text += contact.emailPrivate ? GetPrivateEmailText() : contact.email;
    CGlobalMemory textBlock =
        CGlobalMemory::Allocate(static_cast<size_t>(text.GetLength()) + 1, GMEM_MOVEABLE | GMEM_SHARE | GMEM_ZEROINIT);
    {
        CGlobalLock locked(textBlock.Get());
        if (locked.Get()) std::memcpy(locked.Get(), text.GetString(), static_cast<size_t>(text.GetLength()));
    }
    if (textBlock) data->AddGlobalData(CF_TEXT, textBlock.Release(), true);

    ClsBitMap picture;
    if (COrvDragImage::Compose(OrvDisplayName(contact), m_view->GetFont(state), picture))
        source.SetUsesDragImage(COrvDragImage::AttachToData(data.Get(), picture));

    struct DraggingFlag {
        DraggingFlag() { g_dragging = true; }
        ~DraggingFlag() { g_dragging = false; }
    } flag;
    source.DoDragDrop(data.Get(), DROPEFFECT_COPY);
    return true;
}
