#pragma once
// The one owner of this process's view of the shared block: the mapping
// handle and the mapped view, opened when the library is loaded and closed
// when it is unloaded.
#include "HookSharedData.h"

#include <windows.h>

class HookSharedBlock {
public:
    HookSharedBlock() = default;
    ~HookSharedBlock() { Close(); }
    HookSharedBlock(const HookSharedBlock&) = delete;
    HookSharedBlock& operator=(const HookSharedBlock&) = delete;

    // Creates the block or opens the existing one. The process that creates
    // it clears the hook handles and starts the clock at the current tick.
    bool Open();
    void Close();

    // Null when the block could not be made.
    volatile ORVHOOKSHAREDDATA* Data() const { return m_data; }
    bool IsCreator() const { return m_creator; }

private:
    HANDLE m_mapping = nullptr;
    volatile ORVHOOKSHAREDDATA* m_data = nullptr;
    bool m_creator = false;
};
