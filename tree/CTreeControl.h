#pragma once
#include "TreeExport.h"

#include "ClsBitMap.h"
#include "ClsSkinnedWnd.h"
#include "OrvContactInfo.h"
#include "OrvTreeTypes.h"

#include "CCriticalSection.h"
#include "CHandle.h"
#include "CPoint.h"
#include "CRect.h"
#include "CString.h"
#include "CWnd.h"

#include <atomic>
#include <memory>

class CNodesList;
class CTreeItem;
class CTreePopupMenu;
class CTreeView;
class OrvINavigate;
class OrvSoundSource;
struct TREESKININFO;

// The contact-tree control: one level of the contact-tree, the person in the
// centre and the people that person knows on an ellipse around, drawn from
// the skin and animated from one tree to the next.
//
// Data arrives with SetData from any thread; node lists are built, animated
// and drawn on the thread that created the control. Two lists live here:
// the current one (drawn and hit-tested) and the buffered one (built by
// CreateNodes, waiting for its action, which animates from the current to
// the buffered list and then makes it current). The list lock guards every
// access to them; the action semaphore serialises whole actions across
// threads. While an action runs (or a navigation request is out), mouse,
// keyboard and menu input is ignored.
//
// The member's wishes go to the OrvINavigate callback: activating a child,
// a menu command, forward and backward.
class TREE_API CTreeControl : public ClsSkinnedWnd<CWnd> {
public:
    class CTreeDropSource;

    // The control's child window id.
    static constexpr UINT kControlId = 666;
    static constexpr const char* kWindowClass =
        "OrvNavigateTreeControl-FBD06F6-CB70-468c-ACDE-F0BDF3E5EC14";
    // The page buttons blink with this timer.
    static constexpr UINT_PTR kBlinkTimer = 1000;
    static constexpr UINT kBlinkPeriodMs = 500;
    // The global block the dragged contact travels in.
    static constexpr size_t kDragPayloadBytes = 74;
    // A held button starts a drag after this long, even without moving.
    static constexpr DWORD kDragDelayMs = 10000;
    // How long SetData waits for a running action.
    static constexpr DWORD kSetDataWaitMs = 30000;
    // ClosePopUps called on another thread, carried to the control's.
    static constexpr UINT kClosePopUpsMessage = 0x8036;
    // One frame of an animation.
    static constexpr DWORD kFrameMs = 30;

    CTreeControl();
    // Destroys the window, then the view and both node lists.
    ~CTreeControl() override;

    // Makes the (hidden) child window of parent at rect. navigate may be null.
    BOOL Create(CWnd* parent, CRect rect, OrvINavigate* navigate, void* reserved);

    // Brings records (the first is the root) on screen with an action; 1
    // when accepted, 0 when refused (null records, the semaphore still taken
    // after 30 s, or a list that could not be built). Any thread. May swap
    // the caller's records: the previous root, when it is among the
    // children, becomes the first child.
    int SetData(ORVCONTACTINFO* records, unsigned count, ANIM_ACTION action);
    // ORV_SOUNDS with an OrvSoundSource*: 1. Anything else: 0.
    int Advise(ORV_INTERFACE which, void* object);

    void StartAction() { m_actionComplete = false; }
    void CancelAction() { m_actionComplete = true; }
    void setAComplete(bool complete) { m_actionComplete = complete; }
    bool isAComplete() const { return m_actionComplete; }
    // Pumps the pending messages, releases the action semaphore and marks
    // the action complete.
    void DoActionComplete();
    // True while the action semaphore is taken.
    bool IsLocked();
    // Waits up to milliseconds for the semaphore; with 0 it is given back at
    // once, with more the caller keeps it (DoActionComplete releases it).
    bool DoStartingAction(int milliseconds);

    void OnForwardAction();
    void OnBackwardAction();
    // Invalidates the whole control and repaints it now.
    void Update();
    // Closes the popup menu and clears the highlight; from another thread
    // it is done on the control's thread a little later.
    void ClosePopUps();
    CPoint GetCenterPoint() const;
    double getAngleCorrection() const;
    void setAngleCorrection(double angle);
    void SetDrawMode(DRAW_MODE mode);
    void EnableTips(bool enable);
    CWnd* getToolTip() { return &m_toolTip; }
    CTreeView* getInterface() const { return m_view.get(); }
    // The off-screen image every frame is painted into.
    ClsBitMap* GetViewImage() { return &m_viewImage; }
    // A new skin: the view copies what it keeps and the control repaints.
    void OnChangeSkin(const TREESKININFO* skin);
    // Builds a node list from count records and keeps it as the buffered
    // list. On the control's thread; CTreeException (reported to the user
    // first) for no record.
    void CreateNodes(unsigned count, const ORVCONTACTINFO* records);

    // For the library's parts (nodes, lists, view) and for tests: the lists
    // are used under the list lock on the control's thread.
    CCriticalSection& GetListLock() { return m_listLock; }
    CNodesList* GetCurrentList() const { return m_currentList.get(); }
    CNodesList* GetBufferedList() const { return m_bufferedList.get(); }
    // Plays a sound event of the sound source, asynchronously.
    void PlaySoundEvent(const char* eventName);
    // Tool tips of the nodes (ids: child index + 1, the root 0x10000).
    void AddTool(unsigned id, const CRect& rect, const CString& text);
    void RemoveTool(unsigned id);
    void MoveTool(unsigned id, const CRect& rect);
    // The text of string resource 1001, loaded once per process.
    static CString GetPrivateEmailText();
    // tree.dll itself, where its resources are.
    static HMODULE GetModule();
    // The popup menu's target while one is open (for tests and the skinned
    // menu's command path).
    const ORVCONTACTINFO* GetMenuTarget() const { return m_menuTarget.get(); }
    CTreePopupMenu* GetPopupMenu() const { return m_popupMenu.get(); }
    // Opens the popup menu for a node of the current list.
    void OpenPopupMenu(CTreeItem* node);
    // Where the popup menu of a node box (screen coordinates) opens: its
    // bottom-left corner, or its bottom-right corner (the menu then to the
    // left) when that is less than 200 pixels from the screen's right edge.
    static CPoint PopupAnchor(const CRect& screenBox, int screenWidth, bool* rightAlign);

    const char* GetRuntimeClassName() const override;

protected:
    BOOL PreCreateWindow(CREATESTRUCTA& create) override;
    // Page and turning keys, and mouse messages relayed to the tool tip.
    BOOL PreTranslateMessage(MSG* msg) override;
    // The window is made by Create.
    void CreateHandle() override {}

    void WMCommand(WMCommand_t& message) override;
    void WMEraseBkGnd(WMEraseBkGnd_t& message) override;
    void WMLButtonDown(WMMouse_t& message) override;
    void WMLButtonUp(WMMouse_t& message) override;
    void WMMouseMove(WMMouse_t& message) override;
    void WMPaint(WMNoParams_t& message) override;
    void WMSize(WMSize_t& message) override;
    void WMTimer(WMTimer_t& message) override;
    // The private messages, mouse leave, the context menu and destruction.
    bool OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

private:
    class ActionScope;
    friend class ActionScope;

    void OnPerformSelectAction();
    void OnPerformSqueezeAction(bool withSound);
    void OnPerformInstantAction();
    // Deletes the current list and makes the buffered one current.
    void FlushNodeListBuffer();
    void Shrink();
    void Grow();
    // The selection animation from the highlighted child of the current
    // list to the buffered list.
    void RunSelectionAnimation(CTreeItem& selected);
    // Pumps the messages that match the PeekMessage flags.
    void ProcessMessagesQueue(unsigned flags);
    // Takes the action semaphore for SetData (see there).
    bool TakeActionSemaphore();
    void ReleaseActionSemaphore();
    // Mouse and keyboard count only while no action runs.
    bool IsInputAllowed();
    bool IsControlThread() const;
    void Activate(const ORVCONTACTINFO& contact);
    void Navigate(int kind, int command, const ORVCONTACTINFO* contact);
    void OnMenuCommand(UINT id);
    // Lets go of the menu target once the menu closed without a choice.
    void ForgetClosedMenu();
    bool IsPointerOverMenu() const;
    void OnMouseLeaveTree();
    void OnContextMenuAt(CPoint screenPoint);
    void CreateToolTip();
    // After a press at screenPress (screen coordinates): a drag begins when
    // the pointer leaves 5 pixels around it, or the drag delay passes,
    // before the button comes up; then the contact is dragged out as the
    // "OrvaneContact" payload and as text. True when a drag began.
    bool DragOut(const ORVCONTACTINFO& contact, int state, CPoint screenPress);
    void OnKey(UINT key);

    CWnd m_toolTip;
    std::unique_ptr<CTreeView> m_view;
    std::unique_ptr<CNodesList> m_currentList;
    std::unique_ptr<CNodesList> m_bufferedList;
    // Counts the flushes, so code that waited in a modal loop sees whether
    // the current list is still the one it started with.
    unsigned m_listGeneration = 0;
    OrvINavigate* m_navigate = nullptr;
    // The root's e-mail, remembered when a child is activated, so that the
    // old root becomes the first child of the tree that answers.
    CString m_rootEmail;
    DWORD m_threadId = 0;
    CCriticalSection m_listLock;
    CHandle m_actionSemaphore;
    ClsBitMap m_viewImage;
    std::atomic<bool> m_actionComplete{true};
    // Actions running on the control's thread (nested in one another's
    // message pumping when above 1).
    int m_actionDepth = 0;
    std::unique_ptr<ORVCONTACTINFO> m_menuTarget;
    const CTreeItem* m_menuNode = nullptr;
    std::unique_ptr<CTreePopupMenu> m_popupMenu;
    OrvSoundSource* m_sounds = nullptr;
    bool m_mouseTracked = false;
};

// True while a node is being dragged out of a tree of this process.
TREE_API bool IsDraggingInProccess();
