// The virtual operations of ClsSkinnedControl and CComponent sit in fixed
// vtable slots that derived controls in other libraries rely on. With the
// Itanium C++ ABI a pointer to a virtual member function holds 1 plus the
// byte offset of its slot; the destructor takes two slots.
#include "CComponent.h"
#include "ClsSkinnedControl.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <vector>

namespace {
template <class MemberFunction>
std::ptrdiff_t SlotOf(MemberFunction function) {
    static_assert(sizeof(MemberFunction) == 2 * sizeof(std::ptrdiff_t), "Itanium member function pointer");
    std::ptrdiff_t raw[2];
    std::memcpy(raw, &function, sizeof raw);
    if ((raw[0] & 1) == 0) return -1;  // not virtual
    return (raw[0] - 1) / static_cast<std::ptrdiff_t>(sizeof(void*));
}

struct ControlSlots : ClsSkinnedControl {
    static std::vector<std::ptrdiff_t> InOrder() {
        using C = ClsSkinnedControl;
        return {SlotOf(static_cast<HDWP (C::*)(HDWP, int, int, int, int)>(&C::SetPos)),
                SlotOf(&C::RealizeSkin), SlotOf(&C::CreateHandle), SlotOf(&C::DoClose),
                SlotOf(&C::DoMinimize), SlotOf(&C::DoMaximize), SlotOf(&C::DoRestore),
                SlotOf(&ControlSlots::WMActivate), SlotOf(&ControlSlots::WMActivateApp),
                SlotOf(&ControlSlots::WMChar), SlotOf(&ControlSlots::WMCommand),
                SlotOf(&ControlSlots::WMEraseBkGnd), SlotOf(&ControlSlots::WMGetMinMaxInfo),
                SlotOf(&ControlSlots::WMKeyDown), SlotOf(&ControlSlots::WMKeyUp),
                SlotOf(&ControlSlots::WMLButtonDown), SlotOf(&ControlSlots::WMLButtonUp),
                SlotOf(&ControlSlots::WMMouseMove), SlotOf(&ControlSlots::WMMove),
                SlotOf(&ControlSlots::WMNcActivate), SlotOf(&ControlSlots::WMNcCalcSize),
                SlotOf(&ControlSlots::WMNcCreate), SlotOf(&ControlSlots::WMNcDestroy),
                SlotOf(&ControlSlots::WMNcHitTest), SlotOf(&ControlSlots::WMNcLButtonDblClk),
                SlotOf(&ControlSlots::WMNcLButtonDown), SlotOf(&ControlSlots::WMNcLButtonUp),
                SlotOf(&ControlSlots::WMNcMouseMove), SlotOf(&ControlSlots::WMNcPaint),
                SlotOf(&ControlSlots::WMNcRButtonDblClk), SlotOf(&ControlSlots::WMNcRButtonDown),
                SlotOf(&ControlSlots::WMNcRButtonUp), SlotOf(&ControlSlots::WMNotify),
                SlotOf(&ControlSlots::WMPaint), SlotOf(&ControlSlots::WMPaletteChanged),
                SlotOf(&ControlSlots::WMQueryNewPalette), SlotOf(&ControlSlots::WMRButtonDown),
                SlotOf(&ControlSlots::WMRButtonUp), SlotOf(&ControlSlots::WMSetCursor),
                SlotOf(&ControlSlots::WMSize), SlotOf(&ControlSlots::WMSysChar),
                SlotOf(&ControlSlots::WMSysCommand), SlotOf(&ControlSlots::WMSysKeyDown),
                SlotOf(&ControlSlots::WMSysKeyUp), SlotOf(&ControlSlots::WMTimer),
                SlotOf(&ControlSlots::WMWindowPosChanged), SlotOf(&ControlSlots::WMWindowPosChanging),
                SlotOf(&C::ProcessMessages)};
    }
};

struct ComponentSlots : CComponent {
    static std::vector<std::ptrdiff_t> InOrder() {
        using C = CComponent;
        return {SlotOf(&C::WindowProc), SlotOf(&C::Install), SlotOf(&C::Uninstall), SlotOf(&C::Invalidate),
                SlotOf(&C::Refresh), SlotOf(&C::Repaint), SlotOf(&C::GetComponentName),
                SlotOf(&C::OnSkinChanged), SlotOf(&C::OnGetSkinThema),
                SlotOf(&ComponentSlots::OnMove), SlotOf(&ComponentSlots::OnSize),
                SlotOf(&ComponentSlots::OnActivate), SlotOf(&ComponentSlots::OnPaint),
                SlotOf(&ComponentSlots::OnEraseBkGnd), SlotOf(&ComponentSlots::OnActivateApp),
                SlotOf(&ComponentSlots::OnSetCursor), SlotOf(&ComponentSlots::OnNcCalcSize),
                SlotOf(&ComponentSlots::OnNcHitTest), SlotOf(&ComponentSlots::OnNcPaint),
                SlotOf(&ComponentSlots::OnNcActivate), SlotOf(&ComponentSlots::OnNCMouseMove),
                SlotOf(&ComponentSlots::OnNcLButtonDown), SlotOf(&ComponentSlots::OnNCLButtonUp),
                SlotOf(&ComponentSlots::OnNcLButtonDblClk), SlotOf(&ComponentSlots::OnNcRButtonDown),
                SlotOf(&ComponentSlots::OnInitMenuPopup), SlotOf(&ComponentSlots::OnMouseMove),
                SlotOf(&ComponentSlots::OnLButtonDown), SlotOf(&ComponentSlots::OnLButtonUp),
                SlotOf(&ComponentSlots::OnRButtonDown), SlotOf(&ComponentSlots::OnRButtonUp),
                SlotOf(&ComponentSlots::OnQueryNewPalette), SlotOf(&ComponentSlots::OnPaletteChanged),
                SlotOf(&ComponentSlots::OnGetMinMaxInfo), SlotOf(&ComponentSlots::OnSysCommand)};
    }
};
}  // namespace

TEST(VirtualSlots, SkinnedControlOperationsThenHandlersThenProcessMessages) {
    const std::vector<std::ptrdiff_t> slots = ControlSlots::InOrder();
    ASSERT_EQ(slots.size(), 7u + 40u + 1u);
    // Slots 0 and 1: the destructor (complete and deleting).
    for (size_t i = 0; i < slots.size(); ++i)
        EXPECT_EQ(slots[i], static_cast<std::ptrdiff_t>(2 + i)) << "operation " << i << " of the fixed order";
}

TEST(VirtualSlots, ComponentOperationsFollowTheFrameworkObjectBase) {
    const std::vector<std::ptrdiff_t> slots = ComponentSlots::InOrder();
    ASSERT_EQ(slots.size(), 9u + 24u + 2u);
    // Slots 0 to 2: CObject's destructor (two) and GetRuntimeClassName.
    for (size_t i = 0; i < slots.size(); ++i)
        EXPECT_EQ(slots[i], static_cast<std::ptrdiff_t>(3 + i)) << "operation " << i << " of the fixed order";
}
