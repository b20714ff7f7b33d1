#include "OrvRegisteredMessages.h"

#include "OrvMessages.h"

namespace {

OrvRegisteredMessages Register() {
    OrvRegisteredMessages messages{};
    messages.showDemoDialog = ::RegisterWindowMessageA(ORV_MSGNAME_SHOW_DEMO_DLG);
    messages.errorNotify = ::RegisterWindowMessageA(ORV_MSGNAME_ERROR_NOTIFY);
    messages.tray = ::RegisterWindowMessageA(ORV_MSGNAME_TRAY);
    messages.changeBanner = ::RegisterWindowMessageA(ORV_MSGNAME_CHANGE_BANNER);
    messages.restoreWindow = ::RegisterWindowMessageA(ORV_MSGNAME_RESTORE_WINDOW);
    messages.startUpgrade = ::RegisterWindowMessageA(ORV_MSGNAME_START_UPGRADE);
    messages.closeDialog = ::RegisterWindowMessageA(ORV_MSGNAME_CLOSE_DIALOG);
    return messages;
}

// Static initialisation of this translation unit registers them.
const OrvRegisteredMessages g_messages = Register();

}  // namespace

const OrvRegisteredMessages& OrvMessages() { return g_messages; }
