#pragma once
// For the tests of the idle hook: the input target in a process of its own,
// and a view of the hook's shared block from outside the library.
#include "ChildProcess.h"
#include "HookSharedData.h"
#include "InputTarget.h"

#include <windows.h>

namespace orvtest {

class InputTargetProcess {
public:
    InputTargetProcess() = default;
    ~InputTargetProcess();
    InputTargetProcess(const InputTargetProcess&) = delete;
    InputTargetProcess& operator=(const InputTargetProcess&) = delete;

    // Starts orv_input_target.exe and waits for its window.
    bool Start();
    // Has the target send itself that input and waits (pumping this
    // thread's messages) until its window received it. When it returns
    // true, every hook has seen the input: hooks run as the target takes
    // the message, before its window gets it.
    bool Deliver(InputKind kind);
    LRESULT Count(InputKind kind);
    bool HookLibraryLoaded();
    bool LoadHookLibrary();

private:
    ChildProcess m_process;
    HWND m_window = nullptr;
};

// The block as any process sees it, opened by name.
class HookBlockView {
public:
    HookBlockView();
    ~HookBlockView();
    HookBlockView(const HookBlockView&) = delete;
    HookBlockView& operator=(const HookBlockView&) = delete;

    bool IsOpen() const { return m_data != nullptr; }
    volatile ORVHOOKSHAREDDATA* operator->() const { return m_data; }
    // Makes the last input look long ago; returns the tick written.
    DWORD BackdateLastInput(DWORD milliseconds = 600000);

private:
    HANDLE m_mapping = nullptr;
    volatile ORVHOOKSHAREDDATA* m_data = nullptr;
};

}  // namespace orvtest
