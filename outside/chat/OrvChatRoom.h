#pragma once
#include "ChatExport.h"

#include <CString.h>

// A chat room as listed, created, changed and deleted. The identity is
// "#<creator>.<name>" with blanks of the name written "_".
class CHAT_API OrvChatRoom {
public:
    OrvChatRoom() = default;

    CString identity;
    CString displayName;
    CString users;
    int userCount = 0;
    CString description;
    CString welcome;
    CString creator;

    // Builds the identity from a creator identity and a room name.
    static CString MakeIdentity(const char* creator, const char* name);
    // The creator part of an identity of the "#creator.name" form, else "".
    static CString CreatorOf(const char* identity);
    // True for an identity of the "#creator.name" form with a member as
    // creator and a name of letters, digits and "_".
    static bool IsRoomIdentity(const char* identity);

    // True when the room has a valid identity and the filter (case-blind) is
    // empty or found in the display name, the description or the creator.
    bool IsValidRoom(const char* filter) const;
};
