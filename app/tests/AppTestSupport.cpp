#include "AppTestSupport.h"

#include "OrvRegistry.h"

namespace apptest {

ORVCONTACTINFO Person(const char* id, const char* first, const char* last, const char* email, int member) {
    ORVCONTACTINFO person;
    person.id = id;
    person.firstName = first;
    person.lastName = last;
    person.email = email;
    person.isMember = member;
    person.chatPresence = "1";
    return person;
}

void ClearSettings() { ::RegDeleteTreeA(HKEY_LOCAL_MACHINE, OrvRegistry::kProductKey); }

}  // namespace apptest
