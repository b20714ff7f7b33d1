#pragma once
// The people whose trees the member walked through: up to 1 000 ids, the
// current place and the top (the highest place reached, the end of the
// forward part). Guarded by its own lock: workers move it, answers step it
// back.
#include "CCriticalSection.h"
#include "CString.h"

#include <vector>

class OrvNavigationHistory {
public:
    static constexpr int kCapacity = 1000;

    OrvNavigationHistory();

    // Starts again with one entry.
    void Reset(const CString& id);
    // A new person after the current one; the forward part is cut off. When
    // the history is full the oldest entry goes.
    void Advance(const CString& id);
    // One place back or forward, as far as there is one; the entry there.
    CString Back();
    CString Forward();
    // Steps back one place after a failed request; false at the first place.
    bool StepBack();

    CString Current() const;
    int Index() const;
    int Top() const;
    int Count() const;

private:
    mutable CCriticalSection m_lock;
    std::vector<CString> m_ids;
    int m_index = 0;
    int m_top = 0;
};
