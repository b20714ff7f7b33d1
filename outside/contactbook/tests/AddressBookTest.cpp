// OrvAddressBook against address book files written by the tests: vCard
// 2.1, 3.0 and 4.0 (folding, quoted-printable, UTF-8 and UTF-16), CSV
// exports with and without a header, Windows Contacts files and LDIF; each
// client's folder, one copy per address, and hostile files that must be
// survived without a crash or a hang.
#include "BookFolder.h"

#include "OrvAddressBook.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

using namespace std::string_literals;

namespace {
std::string Names(const OrvAddressBook& book) {
    std::string text;
    for (int i = 0; i < book.GetContactCount(); ++i)
        text += std::string(book.GetContact(i).contactName) + "<" + std::string(book.GetContact(i).email) + ">|";
    return text;
}

// UTF-16 little endian with its byte order mark, from ASCII text.
std::string Utf16(const std::string& ascii) {
    std::string bytes("\xFF\xFE", 2);
    for (char c : ascii) {
        bytes.push_back(c);
        bytes.push_back('\0');
    }
    return bytes;
}

class AddressBook : public ::testing::Test {
protected:
    AddressBook() { m_book.SetSearchRoot(m_folder.Path().c_str()); }

    int Load(const std::string& file, const std::string& bytes, int code = ORV_MAILCLIENT_OUTLOOK) {
        return m_book.LoadFile(m_folder.Write(file, bytes).c_str(), code);
    }

    BookFolder m_folder;
    OrvAddressBook m_book;
};
}  // namespace

TEST_F(AddressBook, ClientNamesAndFolders) {
    EXPECT_EQ(std::string(OrvAddressBook::GetMailClientName(ORV_MAILCLIENT_OUTLOOK)), "Outlook");
    EXPECT_EQ(std::string(OrvAddressBook::GetMailClientName(ORV_MAILCLIENT_ICQ)), "ICQ");
    EXPECT_EQ(std::string(OrvAddressBook::GetMailClientName(ORV_MAILCLIENT_MSN)), "MSN");
    EXPECT_EQ(std::string(OrvAddressBook::GetMailClientName(ORV_MAILCLIENT_YAHOO)), "Yahoo");
    EXPECT_EQ(std::string(OrvAddressBook::GetMailClientName(ORV_MAILCLIENT_LOTUS)), "Lotus");
    EXPECT_EQ(std::string(OrvAddressBook::GetMailClientName(99)), "");
    EXPECT_EQ(ORV_MAILCLIENT_OUTLOOK, 1);
    EXPECT_EQ(ORV_MAILCLIENT_LOTUS, 4);
    EXPECT_EQ(ORV_MAILCLIENT_ICQ, 5);
    EXPECT_EQ(ORV_MAILCLIENT_YAHOO, 6);
    EXPECT_EQ(ORV_MAILCLIENT_MSN, 10);
    const std::vector<CString> folders = m_book.GetClientFolders(ORV_MAILCLIENT_MSN);
    ASSERT_EQ(folders.size(), 1u);
    EXPECT_EQ(std::string(folders[0]), m_folder.Path() + "\\MSN\\");

    OrvAddressBook defaults;
    const std::vector<CString> windowsContacts = defaults.GetClientFolders(ORV_MAILCLIENT_WINDOWS_CONTACTS);
    ASSERT_EQ(windowsContacts.size(), 2u);
    EXPECT_NE(std::string(windowsContacts[0]).find("\\Orvane\\AddressBooks\\Windows Contacts\\"), std::string::npos);
    EXPECT_NE(std::string(windowsContacts[1]).find("\\Contacts\\"), std::string::npos);
}

TEST_F(AddressBook, VCard21WithQuotedPrintableAndSoftBreaks) {
    const std::string card =
        "BEGIN:VCARD\r\nVERSION:2.1\r\nN:Smith;Anna\r\n"
        "FN;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:Anna =C3=96zt=\r\nrk\r\n"
        "EMAIL;INTERNET:anna@example.com\r\nEND:VCARD\r\n";
    EXPECT_EQ(Load("a.vcf", card), 1);
    // \xD6 is the O with diaeresis in the program's Western code page.
    EXPECT_EQ(Names(m_book), "Anna \xD6ztrk<anna@example.com>|");
    EXPECT_EQ(std::string(m_book.GetContact(0).clientName), "Outlook");
}

TEST_F(AddressBook, VCard30FoldedLinesStructuredNameAndPreferredAddress) {
    const std::string cards =
        "BEGIN:VCARD\nVERSION:3.0\nN:Jones;Bob;;;\nEMAIL;TYPE=INTERNET:bob.old@exam\n ple.com\n"
        "EMAIL;TYPE=INTERNET,PREF:bob@example.com\nEND:VCARD\n"
        "BEGIN:VCARD\nVERSION:3.0\nFN:Doe\\, Jane\nitem1.EMAIL:jane@example.org\nEND:VCARD\n"
        "BEGIN:VCARD\nVERSION:3.0\nFN:No Address\nEND:VCARD\n";
    EXPECT_EQ(Load("b.vcf", cards), 2);
    EXPECT_EQ(Names(m_book), "Bob Jones<bob@example.com>|Doe, Jane<jane@example.org>|");
}

TEST_F(AddressBook, VCard40AndUtf16File) {
    const std::string card =
        "BEGIN:VCARD\r\nVERSION:4.0\r\nFN:Zo\xC3\xAB Adams\r\nEMAIL;PREF=1:mailto:zoe@example.net\r\nEND:VCARD\r\n";
    EXPECT_EQ(Load("c.vcf", card), 1);
    EXPECT_EQ(Names(m_book), "Zo\xEB Adams<zoe@example.net>|");
    EXPECT_EQ(Load("d.vcf", Utf16("BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Wide Person\r\nEMAIL:wide@example.com\r\nEND:VCARD\r\n")), 1);
    EXPECT_EQ(std::string(m_book.GetContact(1).contactName), "Wide Person");
}

TEST_F(AddressBook, CsvExportWithHeaderQuotesAndLineBreaks) {
    const std::string csv =
        "\xEF\xBB\xBF" "First Name,Middle Name,Last Name,E-mail Address,E-mail Display Name,Notes\r\n"
        "Anna,,Smith,anna@example.com,\"Anna Smith (anna@example.com)\",\"likes, commas\r\nand lines\"\r\n"
        "\"Bob \"\"The\"\" \",,Jones,bob@example.com,,\r\n"
        "Nobody,,Here,,,\r\n";
    EXPECT_EQ(Load("export.csv", csv), 2);
    EXPECT_EQ(Names(m_book), "Anna Smith<anna@example.com>|Bob \"The\" Jones<bob@example.com>|");
}

TEST_F(AddressBook, CsvWithSemicolonsOrWithoutHeader) {
    EXPECT_EQ(Load("semi.csv", "Name;Email\nCarl Carlsen;carl@example.com\n"), 1);
    EXPECT_EQ(Load("plain.csv", "Dora Dean,dora@example.com\nerik@example.com,Erik\n"), 2);
    EXPECT_EQ(Names(m_book), "Carl Carlsen<carl@example.com>|Dora Dean<dora@example.com>|Erik<erik@example.com>|");
}

TEST_F(AddressBook, WindowsContactFileAndLdif) {
    const std::string contact =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<c:contact c:Version=\"1\" "
        "xmlns:c=\"http://schemas.microsoft.com/Contact\">\r\n<!-- <c:Address>no@example.com</c:Address> -->\r\n"
        "<c:NameCollection><c:Name c:ElementID=\"1\"><c:FormattedName>Fay &amp; Co &#x4E;</c:FormattedName>"
        "<c:GivenName>Fay</c:GivenName></c:Name></c:NameCollection>"
        "<c:EmailAddressCollection><c:EmailAddress c:ElementID=\"2\"><c:Type>SMTP</c:Type>"
        "<c:Address>fay@example.com</c:Address></c:EmailAddress></c:EmailAddressCollection></c:contact>";
    EXPECT_EQ(Load("Fay.contact", contact, ORV_MAILCLIENT_WINDOWS_CONTACTS), 1);
    const std::string ldif =
        "version: 1\n\ndn: cn=Gus\ncn:: R3VzIEdyZWVu\nmail: gus@example.com\n\n"
        "dn: cn=Hal\ngivenName: Hal\nsn: Hill\nmail: hal@exa\n mple.com\n";
    EXPECT_EQ(Load("book.ldif", ldif, ORV_MAILCLIENT_LOTUS), 2);
    EXPECT_EQ(Names(m_book), "Fay & Co N<fay@example.com>|Gus Green<gus@example.com>|Hal Hill<hal@example.com>|");
    EXPECT_EQ(std::string(m_book.GetContact(0).clientName), "Windows Contacts");
    EXPECT_EQ(std::string(m_book.GetContact(2).clientName), "Lotus");
}

TEST_F(AddressBook, EachClientReadsItsOwnFolderAndAnAddressIsKeptOnce) {
    m_folder.Write("Yahoo\\friends.csv", "Name,Email\nIda,ida@example.com\nJon,jon@example.com\n");
    m_folder.Write("Yahoo\\ignored.doc", "Name,Email\nNot,read@example.com\n");
    m_folder.Write("MSN\\contacts.vcf", "BEGIN:VCARD\nFN:Ida Again\nEMAIL:IDA@example.com\nEND:VCARD\n"
                                        "BEGIN:VCARD\nFN:Kim\nEMAIL:kim@example.com\nEND:VCARD\n");
    EXPECT_EQ(m_book.LoadSpeceficContacts(ORV_MAILCLIENT_YAHOO), 2);
    EXPECT_EQ(m_book.LoadSpeceficContacts(ORV_MAILCLIENT_YAHOO), 0) << "loading a client twice adds nothing";
    EXPECT_EQ(m_book.LoadSpeceficContacts(ORV_MAILCLIENT_MSN), 1);
    EXPECT_EQ(Names(m_book), "Ida<ida@example.com>|Jon<jon@example.com>|Kim<kim@example.com>|");
    m_book.ClearContacts();
    EXPECT_EQ(m_book.GetContactCount(), 0);
    EXPECT_EQ(m_book.LoadContacts(), 3);
    EXPECT_EQ(m_book.LoadSpeceficContacts(12345), 0);
}

TEST_F(AddressBook, HostileFilesAreSurvived) {
    // Unterminated quote, lone CRs, NULs and a line of a megabyte.
    EXPECT_EQ(Load("open.csv", "Name,Email\n\"never closed,x@example.com\n"), 0);
    EXPECT_EQ(Load("zeros.vcf", "BEGIN:VCARD\0\0\rFN:A\0B\rEMAIL:nul@example.com\rEND:VCARD\r"s), 1);
    EXPECT_EQ(Load("long.vcf", "BEGIN:VCARD\nFN:" + std::string(1 << 20, 'x') + "\nEMAIL:long@example.com\nEND:VCARD\n"), 1);
    EXPECT_LE(m_book.GetContact(m_book.GetContactCount() - 1).contactName.GetLength(),
              static_cast<int>(OrvAddressBook::kMaxFieldLength));
    // Deep nesting, a tag never closed, addresses that are no addresses.
    std::string deep;
    for (int i = 0; i < 5000; ++i) deep += "<EmailAddress>";
    EXPECT_EQ(Load("deep.contact", deep + "<Address>deep@example.com</Address>"), 0);
    EXPECT_EQ(Load("open.contact", "<c:EmailAddress><c:Address>open@example.com"), 1);
    EXPECT_EQ(Load("bad.vcf", "BEGIN:VCARD\nEMAIL:not an address\nEND:VCARD\nBEGIN:VCARD\nEMAIL:a@b@c\nEND:VCARD\n"), 0);
    // Too large to be read at all.
    EXPECT_EQ(Load("huge.csv", "Name,Email\nBig,big@example.com\n" + std::string(OrvAddressBook::kMaxFileBytes, ' ')), 0);
    EXPECT_EQ(Load("empty.vcf", ""), 0);
}

TEST_F(AddressBook, ContactCountIsBounded) {
    std::string cards;
    for (int i = 0; i < OrvAddressBook::kMaxContacts + 50; ++i)
        cards += "BEGIN:VCARD\nEMAIL:p" + std::to_string(i) + "@example.com\nEND:VCARD\n";
    EXPECT_EQ(Load("many.vcf", cards), static_cast<int>(OrvAddressBook::kMaxContacts));
    EXPECT_EQ(Load("more.csv", "Email\nextra@example.com\n"), 0);
    EXPECT_EQ(m_book.GetContactCount(), static_cast<int>(OrvAddressBook::kMaxContacts));
}

TEST_F(AddressBook, MutatedFilesNeverCrashAndStayBounded) {
    const std::string samples[] = {
        "BEGIN:VCARD\r\nVERSION:2.1\r\nFN;ENCODING=QUOTED-PRINTABLE:A=\r\n=C3=96\r\nEMAIL:a@example.com\r\nEND:VCARD\r\n",
        "First Name,Last Name,E-mail Address\r\n\"A\",\"B\",\"ab@example.com\"\r\n",
        "<c:EmailAddress><c:Address>x@example.com</c:Address></c:EmailAddress><c:FormattedName>&#1234567;</c:FormattedName>",
        "dn: x\ncn:: ////\nmail: q@example.com\n\n"};
    const char* extensions[] = {"vcf", "csv", "contact", "ldif"};
    std::mt19937 random(20261208);
    for (int round = 0; round < 400; ++round) {
        const int kind = round % 4;
        std::string bytes = samples[kind];
        const int edits = 1 + static_cast<int>(random() % 8);
        for (int e = 0; e < edits && !bytes.empty(); ++e) {
            const size_t at = random() % bytes.size();
            switch (random() % 3) {
            case 0: bytes[at] = static_cast<char>(random() & 0xFF); break;
            case 1: bytes.erase(at, 1 + random() % 4); break;
            default: bytes.insert(at, 1 + random() % 3, "\"=\r\n<>:;,&\\"[random() % 12]); break;
            }
        }
        OrvAddressBook book;
        const int added = book.LoadFile(m_folder.Write("m." + std::string(extensions[kind]), bytes).c_str(),
                                        ORV_MAILCLIENT_ICQ);
        EXPECT_LE(added, 2) << "round " << round;
        for (int i = 0; i < book.GetContactCount(); ++i) {
            EXPECT_NE(book.GetContact(i).email.Find('@'), -1);
            EXPECT_LE(book.GetContact(i).contactName.GetLength(), static_cast<int>(OrvAddressBook::kMaxFieldLength));
        }
    }
}
