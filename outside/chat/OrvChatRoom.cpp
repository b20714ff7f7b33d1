#include "OrvChatRoom.h"

#include "IRCChat.h"

#include <cstring>

namespace {

const char kNameChars[] =
    "qwertyuiopasdfghjklzxcvbnmQWERTYUIOPASDFGHJKLZXCVBNM0123456789_";
const char kIdChars[] =
    "qwertyuiopasdfghjklzxcvbnmQWERTYUIOPASDFGHJKLZXCVBNM0123456789_-";

bool ContainsNoCase(const CString& text, const CString& part) {
    CString a(text), b(part);
    a.MakeLower();
    b.MakeLower();
    return a.Find(b) >= 0;
}

}  // namespace

CString OrvChatRoom::MakeIdentity(const char* creator, const char* name) {
    CString room(name ? name : "");
    room.Replace(' ', '_');
    CString identity;
    identity.Format("#%s.%s", creator ? creator : "", room.GetString());
    return identity;
}

CString OrvChatRoom::CreatorOf(const char* identity) {
    if (!IsRoomIdentity(identity)) return CString();
    const char* dot = std::strchr(identity, '.');
    return CString(identity + 1, static_cast<int>(dot - identity - 1));
}

bool OrvChatRoom::IsRoomIdentity(const char* identity) {
    if (!identity || identity[0] != '#') return false;
    const char* dot = std::strchr(identity, '.');
    if (!dot) return false;
    const size_t creatorLength = static_cast<size_t>(dot - identity - 1);
    const char first = identity[1];
    if (creatorLength < 2 || (first != 'O' && first != 'R' && first != 'o' && first != 'r'))
        return false;
    if (std::strspn(identity + 2, kIdChars) != creatorLength - 1) return false;
    const size_t nameLength = std::strlen(dot + 1);
    return nameLength > 0 && std::strspn(dot + 1, kNameChars) == nameLength;
}

bool OrvChatRoom::IsValidRoom(const char* filter) const {
    if (!IsRoomIdentity(identity)) return false;
    CString wanted(filter ? filter : "");
    wanted.Trim();
    if (wanted.IsEmpty()) return true;
    CString shownName(displayName);
    shownName.Replace('_', ' ');
    CString shownFilter(wanted);
    shownFilter.Replace('_', ' ');
    return ContainsNoCase(shownName, shownFilter) || ContainsNoCase(description, wanted) ||
           ContainsNoCase(creator, wanted);
}

BOOL IsEqualID(const char* a, const char* b) {
    if (!a || !b) return FALSE;
    auto isMember = [](char c) { return c == 'O' || c == 'R' || c == 'o' || c == 'r'; };
    if (isMember(a[0]) && isMember(b[0]) && a[1] && b[1]) {
        ++a;
        ++b;
    }
    return CString(a).CompareNoCase(b) == 0 ? TRUE : FALSE;
}
