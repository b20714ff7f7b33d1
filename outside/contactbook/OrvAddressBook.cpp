#include "OrvAddressBook.h"

#include "BookText.h"
#include "ContactFileReader.h"
#include "CsvContactReader.h"
#include "FindHandle.h"
#include "LdifReader.h"
#include "VCardReader.h"

#include "CHandle.h"

#include <shlobj.h>

#include <algorithm>
#include <string>

namespace {
struct Client {
    int code;
    const char* name;    // shown in the lists
    const char* folder;  // under the address books' root
};
const Client kClients[] = {
    {ORV_MAILCLIENT_OUTLOOK, "Outlook", "Outlook"},
    {ORV_MAILCLIENT_WINDOWS_CONTACTS, "Windows Contacts", "Windows Contacts"},
    {ORV_MAILCLIENT_LOTUS, "Lotus", "Lotus"},
    {ORV_MAILCLIENT_ICQ, "ICQ", "ICQ"},
    {ORV_MAILCLIENT_YAHOO, "Yahoo", "Yahoo"},
    {ORV_MAILCLIENT_MSN, "MSN", "MSN"},
};

const Client* FindClient(int code) {
    for (const Client& client : kClients)
        if (client.code == code) return &client;
    return nullptr;
}

CString ShellFolder(int csidl) {
    char path[MAX_PATH] = {};
    if (FAILED(::SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path))) return CString();
    CString folder(path);
    if (!folder.IsEmpty() && folder[folder.GetLength() - 1] != '\\') folder += "\\";
    return folder;
}

CString WithSeparator(const CString& path) {
    if (path.IsEmpty()) return path;
    const char last = path[path.GetLength() - 1];
    return last == '\\' || last == '/' ? path : path + "\\";
}

// The whole file, or false when it cannot be read or is too large.
bool ReadWholeFile(const char* path, std::string* bytes) {
    CHandle file(::CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file.Get(), &size) || size.QuadPart > OrvAddressBook::kMaxFileBytes) return false;
    bytes->assign(static_cast<size_t>(size.QuadPart), '\0');
    size_t done = 0;
    while (done < bytes->size()) {
        DWORD read = 0;
        if (!::ReadFile(file.Get(), &(*bytes)[done], static_cast<DWORD>(bytes->size() - done), &read, nullptr) ||
            read == 0)
            break;
        done += read;
    }
    bytes->resize(done);
    return true;
}

std::string Extension(const char* path) {
    const std::string name(path);
    const size_t dot = name.rfind('.');
    const size_t slash = name.find_last_of("\\/");
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return std::string();
    return BookText::Lower(name.substr(dot + 1));
}
}  // namespace

OrvAddressBook::OrvAddressBook() = default;

OrvAddressBook::~OrvAddressBook() = default;

void OrvAddressBook::ClearContacts() {
    m_contacts.clear();
    m_known.clear();
}

int OrvAddressBook::LoadContacts() {
    int added = 0;
    for (int code : GetSupportedClients()) added += LoadSpeceficContacts(code);
    return added;
}

int OrvAddressBook::LoadSpeceficContacts(int code) {
    int added = 0;
    for (const CString& folder : GetClientFolders(code)) added += LoadFolder(folder, code);
    return added;
}

CString OrvAddressBook::GetMailClientName(int code) {
    const Client* client = FindClient(code);
    return client ? CString(client->name) : CString();
}

std::vector<int> OrvAddressBook::GetSupportedClients() {
    std::vector<int> codes;
    for (const Client& client : kClients) codes.push_back(client.code);
    return codes;
}

std::vector<CString> OrvAddressBook::GetClientFolders(int code) const {
    std::vector<CString> folders;
    const Client* client = FindClient(code);
    if (!client) return folders;
    if (!m_searchRoot.IsEmpty()) {
        folders.push_back(WithSeparator(m_searchRoot) + client->folder + "\\");
        return folders;
    }
    const CString appData = ShellFolder(CSIDL_APPDATA);
    if (!appData.IsEmpty()) folders.push_back(appData + "Orvane\\AddressBooks\\" + client->folder + "\\");
    if (code == ORV_MAILCLIENT_WINDOWS_CONTACTS) {
        const CString profile = ShellFolder(CSIDL_PROFILE);
        if (!profile.IsEmpty()) folders.push_back(profile + "Contacts\\");
    }
    return folders;
}

int OrvAddressBook::LoadFolder(const CString& folder, int code) {
    std::vector<CString> files;
    WIN32_FIND_DATAA data{};
    FindHandle find(folder + "*", data);
    for (bool more = find.IsValid(); more && static_cast<int>(files.size()) < kMaxFilesPerFolder; more = find.Next(data))
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) files.push_back(folder + data.cFileName);
    // The same order on every machine, whatever order the file system lists.
    std::sort(files.begin(), files.end(), [](const CString& a, const CString& b) { return a.CompareNoCase(b) < 0; });
    int added = 0;
    for (const CString& file : files) added += LoadFile(file, code);
    return added;
}

int OrvAddressBook::LoadFile(const char* path, int code) {
    const Client* client = FindClient(code);
    if (!client || !path) return 0;
    const std::string extension = Extension(path);
    const bool known = extension == "vcf" || extension == "vcard" || extension == "csv" || extension == "txt" ||
                       extension == "contact" || extension == "ldif" || extension == "ldi";
    if (!known || GetContactCount() >= kMaxContacts) return 0;
    std::string bytes;
    if (!ReadWholeFile(path, &bytes)) return 0;
    const size_t room = static_cast<size_t>(kMaxContacts - GetContactCount());
    std::vector<BookEntry> entries;
    if (extension == "vcf" || extension == "vcard")
        entries = VCardReader::Parse(bytes, room);
    else if (extension == "csv" || extension == "txt")
        entries = CsvContactReader::Parse(bytes, room);
    else if (extension == "contact")
        entries = ContactFileReader::Parse(bytes);
    else
        entries = LdifReader::Parse(bytes, room);
    std::vector<OrvBookContact> parsed;
    for (const BookEntry& entry : entries) {
        OrvBookContact contact;
        contact.contactName = CString(entry.name.c_str()).Left(kMaxFieldLength);
        contact.email = CString(entry.email.c_str()).Left(kMaxFieldLength);
        parsed.push_back(contact);
    }
    return AddParsed(parsed, client->name);
}

int OrvAddressBook::AddParsed(const std::vector<OrvBookContact>& parsed, const CString& clientName) {
    int added = 0;
    for (const OrvBookContact& contact : parsed) {
        if (GetContactCount() >= kMaxContacts) break;
        if (!m_known.insert(BookText::Lower(contact.email.GetString())).second) continue;
        OrvBookContact copy = contact;
        copy.clientName = clientName;
        m_contacts.push_back(copy);
        ++added;
    }
    return added;
}
