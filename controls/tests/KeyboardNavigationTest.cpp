// The small skinned controls in a host whose message loop runs the dialog
// manager (IsDialogMessage), as skinned dialogs do: Tab walks the tab order
// through edits, the memo and buttons, Alt with a button's access key
// clicks it, and arrow keys stay inside the radio group.
#include "CSkinnedButton.h"
#include "CSkinnedEdit.h"
#include "CSkinnedMemo.h"
#include "CSkinnedRadioButton.h"
#include "COleInitializer.h"
#include "DragTestSupport.h"
#include "EditsTestSupport.h"
#include "SyntheticInput.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

using namespace edittest;
using dragtest::TapKey;

namespace {
// Pumps this thread's messages through the dialog manager of host until
// condition holds or a generous time passed.
bool PumpDialogUntil(HWND host, const std::function<bool()>& condition) {
    const DWORD start = ::GetTickCount();
    while (!condition()) {
        if (::GetTickCount() - start > 20000) return false;
        MSG msg{};
        if (!::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
            continue;
        }
        if (::IsDialogMessageA(host, &msg)) continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    return true;
}
}  // namespace

TEST(KeyboardNavigation, TabWalksTheControlsAndAnAccessKeyClicksItsButton) {
    COleInitializer ole;
    ShippedSkin skin("Daylight");
    ASSERT_TRUE(skin.IsRead());
    HostWindow host(60, 60, 300, 200, skin.Record(srLabels)->BgColor);
    EditSkinInfo_t first{10, 10, 180, 24, skin.Record(srEdits)};
    EditSkinInfo_t notes{10, 40, 180, 60, skin.Record(srEdits)};
    ButtonSkinInfo_t searchRecord;
    ASSERT_TRUE(FormButton(skin, searchRecord, 200, 10, 70, 24, "Search"));
    RadioButtonSkinInfo_t radioRecords[2];
    ASSERT_TRUE(FormRadio(skin, radioRecords[0], 10, 110, 120, 20, "One"));
    ASSERT_TRUE(FormRadio(skin, radioRecords[1], 10, 132, 120, 20, "Two"));

    CSkinnedEdit edit(&host, 101, &first);
    CSkinnedMemo memo(&host, 102, &notes);
    CSkinnedButton search(&searchRecord);
    ASSERT_TRUE(search.Create(&host, 103));
    search.SetWindowText("&Search");  // never drawn: the access key
    CSkinnedRadioButton one(&host, 104, true, &radioRecords[0]);
    CSkinnedRadioButton two(&host, 105, false, &radioRecords[1]);
    one.SetCheck(BST_CHECKED);
    host.SetForegroundWindow();

    edit.SetFocus();
    TapKey(VK_TAB);
    ASSERT_TRUE(PumpDialogUntil(host, [&] { return ::GetFocus() == memo.GetSafeHwnd(); })) << "edit to memo";
    TapKey(VK_TAB);
    ASSERT_TRUE(PumpDialogUntil(host, [&] { return ::GetFocus() == search.GetSafeHwnd(); }))
        << "Tab leaves the memo for the button";
    TapKey(VK_TAB);
    ASSERT_TRUE(PumpDialogUntil(host, [&] { return ::GetFocus() == one.GetSafeHwnd(); })) << "then the group";
    TapKey(VK_DOWN);
    ASSERT_TRUE(PumpDialogUntil(host, [&] { return two.GetChecked() && !one.GetChecked(); }))
        << "arrows move the check in the group";
    TapKey(VK_TAB);
    ASSERT_TRUE(PumpDialogUntil(host, [&] { return ::GetFocus() == edit.GetSafeHwnd(); })) << "and round again";

    orvtest::PressChord(VK_MENU, 'S');
    EXPECT_TRUE(PumpDialogUntil(host, [&] { return host.Count(WM_COMMAND, MAKEWPARAM(103, BN_CLICKED)) == 1; }))
        << "Alt+S clicks the button whose text names S";
}
