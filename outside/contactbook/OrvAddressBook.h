#pragma once
#include "ContactBookExport.h"
#include "OrvMailClientCode.h"

#include "CString.h"

#include <windows.h>

#include <set>
#include <string>
#include <vector>

// One contact read from a mail client's address book.
struct OrvBookContact {
    CString clientName;   // GetMailClientName of the client it came from
    CString contactName;  // as the client shows it ("First Last"), may be empty
    CString email;
};

// The contacts that the mail clients on this machine keep or export. Every
// client has a folder of files it exported or keeps (vCard .vcf, CSV
// exports, Windows Contacts .contact files, LDIF .ldif); the Windows
// Contacts client reads the user's Contacts folder. Damaged or hostile
// files never crash or hang the reader: sizes, counts and line lengths are
// bounded and what cannot be read is skipped.
//
// Loading appends to the list; ClearContacts empties it. A contact whose
// e-mail (without regard to case) is already in the list is not added
// again. User-interface thread or any one thread at a time.
class CONTACTBOOK_API OrvAddressBook {
public:
    // Limits that keep a hostile address book harmless.
    enum : int {
        kMaxFileBytes = 4 * 1024 * 1024,
        kMaxFilesPerFolder = 512,
        kMaxContacts = 20000,
        kMaxFieldLength = 256,
    };

    OrvAddressBook();
    virtual ~OrvAddressBook();
    OrvAddressBook(const OrvAddressBook&) = delete;
    OrvAddressBook& operator=(const OrvAddressBook&) = delete;

    void ClearContacts();
    // The window that owns the book while it loads (borrowed, may be none).
    void SetOwnerWindow(HWND owner) { m_owner = owner; }
    HWND GetOwnerWindow() const { return m_owner; }

    // Loads every supported client; the number of contacts added.
    int LoadContacts();
    // Loads one client (the name keeps the original spelling of the
    // interface); the number of contacts added.
    int LoadSpeceficContacts(int code);
    // The client's display name ("Outlook"), "" for an unknown code.
    static CString GetMailClientName(int code);
    // The codes LoadContacts reads, in that order.
    static std::vector<int> GetSupportedClients();

    int GetContactCount() const { return static_cast<int>(m_contacts.size()); }
    // The contact at index (0 <= index < GetContactCount()).
    const OrvBookContact& GetContact(int index) const { return m_contacts[static_cast<size_t>(index)]; }

    // Where the client's files are looked for (with a trailing separator):
    // <root>\<client folder>\ where root is %APPDATA%\Orvane\AddressBooks,
    // or the root given with SetSearchRoot; for Windows Contacts also the
    // user's Contacts folder. "" for an unknown code.
    std::vector<CString> GetClientFolders(int code) const;
    // Replaces the root under which every client's folder lies ("" gives
    // the default back); the user's Contacts folder is then not read.
    void SetSearchRoot(const char* root) { m_searchRoot = root ? root : ""; }

    // Reads one file (by its extension) as if it came from the client;
    // the number of contacts added.
    int LoadFile(const char* path, int code);

private:
    int LoadFolder(const CString& folder, int code);
    int AddParsed(const std::vector<OrvBookContact>& parsed, const CString& clientName);

    std::vector<OrvBookContact> m_contacts;
    // The lower-case addresses in m_contacts.
    std::set<std::string> m_known;
    HWND m_owner = nullptr;
    CString m_searchRoot;
};
