// The manager's virtual table is part of its contract: the program overrides
// the answer operations by slot. With the Itanium C++ ABI (GCC, also for
// Windows) a pointer to a virtual member function holds 1 + the function's
// offset in the virtual table, in bytes.
#include "OrvConnectManager.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace {

struct MemberPointerBits {
    std::uintptr_t pointer;
    std::ptrdiff_t adjustment;
};

// The vtable slot of a virtual member function, or -1 for a non-virtual one.
template <class Member>
long SlotOf(Member member) {
    static_assert(sizeof(Member) == sizeof(MemberPointerBits), "Itanium member pointer");
    MemberPointerBits bits;
    std::memcpy(&bits, &member, sizeof bits);
    if ((bits.pointer & 1) == 0) return -1;
    return static_cast<long>((bits.pointer - 1) / sizeof(void*));
}

// Reaches the protected operations; adds nothing virtual of its own.
struct SlotProbe : OrvConnectManager {
    static std::vector<long> Slots() {
        return {
            SlotOf(&SlotProbe::OnDataReceive),
            SlotOf(&SlotProbe::OnConnectError),
            SlotOf(&SlotProbe::OnCommandFailed),
            SlotOf(&SlotProbe::OnValueAnswer),
            SlotOf(&SlotProbe::OnAddUserAnswer),
            SlotOf(&SlotProbe::OnDropContactsAnswer),
            SlotOf(&SlotProbe::OnAddContactsAnswer),
            SlotOf(&SlotProbe::OnPlainAnswerA),
            SlotOf(&SlotProbe::OnUpdateUserAnswer),
            SlotOf(&SlotProbe::OnUpdateContactsAnswer),
            SlotOf(&SlotProbe::OnPlainAnswerB),
            SlotOf(&SlotProbe::OnSearchAnswer),
            SlotOf(&SlotProbe::OnDropAddContactsAnswer),
            SlotOf(&SlotProbe::OnGetContactsAnswer),
            SlotOf(&SlotProbe::OnChangeEmailAnswer),
            SlotOf(&SlotProbe::OnTreeAnswer),
            SlotOf(&SlotProbe::OnOnlineContactsAnswer),
            SlotOf(&SlotProbe::OnSearchPathAnswer),
            SlotOf(&SlotProbe::OnSearchPathByKeywordAnswer),
            SlotOf(&SlotProbe::OnLogInAnswer),
            SlotOf(&SlotProbe::OnVersionAnswer),
            SlotOf(&SlotProbe::OnServerNotice),
            SlotOf(&SlotProbe::OnVerifyUserAnswer),
            SlotOf(&SlotProbe::OnStartInfoAnswer),
            SlotOf(&SlotProbe::OnReservedAnswerA),
            SlotOf(&SlotProbe::OnReservedAnswerB),
            SlotOf(&SlotProbe::OnReservedAnswerC),
            SlotOf(&SlotProbe::OnReservedAnswerD),
        };
    }
};

// Two classes that differ only in their destructors: their virtual tables
// differ exactly in the destructor's slots.
struct PlainManager : OrvConnectManager {};
struct CountingManager : OrvConnectManager {
    ~CountingManager() override { ++ends; }
    static int ends;
};
int CountingManager::ends = 0;

void* const* VirtualTableOf(const void* object) {
    void* const* table;
    std::memcpy(&table, object, sizeof table);
    return table;
}

}  // namespace

TEST(ConnectLayout, OperationsHoldTheirSlotsInContractOrder) {
    const std::vector<long> slots = SlotProbe::Slots();
    ASSERT_EQ(slots.size(), 28u);
    for (size_t i = 0; i < slots.size(); ++i)
        EXPECT_EQ(slots[i], static_cast<long>(i)) << "operation " << i << " in the header's order";
}

TEST(ConnectLayout, DestructorComesAfterEveryAnswerOperation) {
    // Made and destroyed on this thread, which pumps nothing: no request is sent.
    PlainManager plain;
    {
        CountingManager counting;
        void* const* a = VirtualTableOf(&plain);
        void* const* b = VirtualTableOf(&counting);
        std::vector<size_t> differing;
        for (size_t slot = 0; slot < 30; ++slot)
            if (a[slot] != b[slot]) differing.push_back(slot);
        EXPECT_EQ(differing, (std::vector<size_t>{28, 29}))
            << "complete and deleting destructor, after the 28 operations";
    }
    EXPECT_EQ(CountingManager::ends, 1);
    // Deleting through the base reaches the derived destructor.
    OrvConnectManager* owned = new CountingManager;
    delete owned;
    EXPECT_EQ(CountingManager::ends, 2);
}
