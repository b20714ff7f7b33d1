// controls_drag_helper.exe: the source of a contact drag in a process of
// its own, for the tests that drop into another process.
//   controls_drag_helper x y width height name
// Shows a drag source popup at the screen rectangle, sets the event
// "<name>-ready" once it is up and "<name>-started" when its drag began,
// and ends with 10 + the effect the drop took (10: none, 11: copy), or 2
// when no drag came within a minute. The drag offers the sample contact
// and its text "Ada Lovelace ada@example.com".
#include "COleInitializer.h"
#include "DragTestSupport.h"

#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char** argv) {
    if (argc != 6) return 1;
    COleInitializer ole;
    if (!ole.IsInitialized()) return 1;
    const std::string name = argv[5];
    CHandle ready(::CreateEventA(nullptr, TRUE, FALSE, (name + "-ready").c_str()));
    CHandle started(::CreateEventA(nullptr, TRUE, FALSE, (name + "-started").c_str()));

    const ORVCONTACTINFO contact = dragtest::SampleContact();
    dragtest::ContactData offered = dragtest::MakeContactData(contact, "Ada Lovelace ada@example.com");
    dragtest::DragSourceWindow window(std::atoi(argv[1]), std::atoi(argv[2]), std::atoi(argv[3]), std::atoi(argv[4]));
    window.data = offered.data.Get();
    window.source.onStart = started.Get();
    ::UpdateWindow(window.GetSafeHwnd());
    ::SetEvent(ready.Get());

    const UINT_PTR giveUp = ::SetTimer(nullptr, 0, 60000, nullptr);
    MSG msg{};
    while (!window.finished.Wait(0) && ::GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (msg.message == WM_TIMER && msg.wParam == giveUp) return 2;
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    ::KillTimer(nullptr, giveUp);
    return window.finished.Wait(0) ? 10 + static_cast<int>(window.result) : 2;
}
