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

std::string ProgramFolder() {
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, path, sizeof path - 1);
    std::string folder(path);
    return folder.substr(0, folder.find_last_of('\\') + 1);
}

bool EnsureRichEditIn(const std::string& folder) {
    const std::string target = folder + "riched20.dll";
    if (::GetFileAttributesA(target.c_str()) != INVALID_FILE_ATTRIBUTES) return true;
    char system[MAX_PATH] = {};
    ::GetSystemDirectoryA(system, MAX_PATH);
    return ::CopyFileA((std::string(system) + "\\riched20.dll").c_str(), target.c_str(), FALSE) != FALSE;
}

}  // namespace apptest
