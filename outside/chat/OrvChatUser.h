#pragma once
#include "ChatExport.h"

#include <CString.h>

#include <windows.h>

// A user of a chat room. rank: 1 for the room's creator, 0 for others.
class CHAT_API OrvChatUser {
public:
    OrvChatUser() = default;

    CString identity;
    CString displayName;
    CString freeText;
    BYTE rank = 0;
    BYTE color = '0';
};
