#pragma once
// Decides between the user's Cancel and the installation, so that a Cancel
// the user confirms always leaves the program folder as it was.
//
// The extraction goes on while the user is asked whether to cancel (it only
// fills a staging folder). Before it moves anything into the program folder
// the extraction thread passes the gate: it waits while the question is
// open, and does not go on when the answer was Yes. Once it has passed,
// the installation completes and a later Cancel is not asked any more.
#include "CCriticalSection.h"
#include "WinHandles.h"

class UpdateCancelGate {
public:
    UpdateCancelGate();

    // Dialog thread. False when the installation is already being completed:
    // then there is nothing left to cancel.
    bool BeginAsking();
    // The user's answer; true cancels.
    void EndAsking(bool cancel);
    // Stops the update unless its files are being moved into place already
    // (the dialog ended some other way).
    void Cancel();
    // Extraction thread, between blocks: stop when true.
    bool IsCancelled();
    // Extraction thread, before moving files into place: waits while the
    // user is asked; false when the update was cancelled.
    bool PassToCommit();

private:
    enum class State { Running, Asking, Cancelled, Committing };
    CCriticalSection m_lock;
    State m_state = State::Running;
    // Set whenever no question is open.
    UniqueHandle m_notAsking;
};
