#pragma once
// The input of a thread while one of its skinned menus is open (internal to
// controls.dll). Two hooks of the thread: one on the messages taken from the
// queue hands them to the menu first (keys to its innermost list, presses
// outside close it), one on sent messages tells it when the program or the
// menu's window loses activation. One tracker per thread: the menu that
// opens makes it, and it dies when the menu closes.
#include <windows.h>

#include <memory>
#include <type_traits>

class ClsSkinnedMenu;

class ClsMenuTracker {
public:
    // Installs the hooks for the calling thread and makes menu its open menu.
    explicit ClsMenuTracker(ClsSkinnedMenu* menu);
    ~ClsMenuTracker();
    ClsMenuTracker(const ClsMenuTracker&) = delete;
    ClsMenuTracker& operator=(const ClsMenuTracker&) = delete;

    bool IsInstalled() const { return m_queueHook && m_sentHook; }
    // The open menu of the calling thread, or null.
    static ClsSkinnedMenu* GetOpenMenu();

private:
    struct Unhook {
        void operator()(HHOOK hook) const { ::UnhookWindowsHookEx(hook); }
    };
    using HookHandle = std::unique_ptr<std::remove_pointer_t<HHOOK>, Unhook>;

    static LRESULT CALLBACK QueueHook(int code, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK SentHook(int code, WPARAM wParam, LPARAM lParam);

    ClsSkinnedMenu* m_menu;
    HookHandle m_queueHook;
    HookHandle m_sentHook;
};
