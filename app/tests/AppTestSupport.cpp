#include "AppTestSupport.h"

#include "OrvApp.h"
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

std::string ProgramDirectory() {
    char path[1000] = {};
    ::GetModuleFileNameA(nullptr, path, sizeof path - 1);
    return std::string(OrvApp::DirectoryOf(path));
}

bool EnsureRichEdit(const std::string& directory) {
    const std::string target = directory + "riched20.dll";
    if (::GetFileAttributesA(target.c_str()) != INVALID_FILE_ATTRIBUTES) return true;
    char system[MAX_PATH] = {};
    ::GetSystemDirectoryA(system, MAX_PATH);
    return ::CopyFileA((std::string(system) + "\\riched20.dll").c_str(), target.c_str(), FALSE) != FALSE;
}

void StoreMember(const std::string& url, const char* email, const char* password) {
    OrvRegistry registry;
    registry.SetUrl(url.c_str());
    registry.SetEmail(email);
    registry.SetSerkey(password);
    registry.Register();
    registry.Logon();
}

}  // namespace apptest
