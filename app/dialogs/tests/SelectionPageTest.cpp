// The contact selection page under Wine with a real address book read from
// files the test writes: opening fills the lists, a client imported twice
// keeps one copy and reports its count, the own address is refused, manual
// contacts go through CManualContactDialog and survive imports, five
// contacts pass and four do not, and Add/Remove Contacts hands over what
// changed against the current contacts.
#include "DialogTestSupport.h"

#include "CAddRemoveContactsDialog.h"
#include "CManualContactDialog.h"
#include "CWizardContactsPage.h"
#include "DialogIds.h"
#include "OrvSiteLinks.h"

#include "OrvAddressBook.h"
#include "OrvContactInfo.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <atomic>

using namespace dialogtest;

namespace {
// Address book files under a folder of the test's own.
class BookFiles {
public:
    BookFiles() {
        static std::atomic<int> counter{0};
        char temp[MAX_PATH] = {};
        ::GetTempPathA(MAX_PATH, temp);
        m_root = std::string(temp) + "orvpage-" + std::to_string(::GetCurrentProcessId()) + "-" +
                 std::to_string(counter++);
        ::CreateDirectoryA(m_root.c_str(), nullptr);
    }
    ~BookFiles() {
        for (const std::string& file : m_files) ::DeleteFileA(file.c_str());
        for (auto it = m_folders.rbegin(); it != m_folders.rend(); ++it) ::RemoveDirectoryA(it->c_str());
        ::RemoveDirectoryA(m_root.c_str());
    }
    void Write(const std::string& client, const std::string& file, const std::string& text) {
        const std::string folder = m_root + "\\" + client;
        if (::CreateDirectoryA(folder.c_str(), nullptr)) m_folders.push_back(folder);
        const std::string path = folder + "\\" + file;
        HANDLE handle = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        ::WriteFile(handle, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
        ::CloseHandle(handle);
        m_files.push_back(path);
    }
    const std::string& Root() const { return m_root; }

private:
    std::string m_root;
    std::vector<std::string> m_folders;
    std::vector<std::string> m_files;
};

bool IsManualDialog(HWND window) {
    return dynamic_cast<CManualContactDialog*>(CWnd::FromHandlePermanent(window)) != nullptr;
}

// Types a contact into the manual dialog and presses OK.
ModalScript::Action TypeContact(const char* name, const char* email) {
    return [name, email](HWND dialog) {
        ::SetDlgItemTextA(dialog, IDC_MANUAL_NAME, name);
        ::SetDlgItemTextA(dialog, IDC_MANUAL_EMAIL, email);
        ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    };
}

std::vector<std::string> Column(HWND list, int column) {
    std::vector<std::string> texts;
    for (int row = 0; row < ListCount(list); ++row) texts.push_back(ListText(list, row, column));
    return texts;
}

class SelectionPage : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(ShippedSkins::Instance().Apply("Daylight\\"));
        m_files.Write("Outlook", "contacts.csv",
                      "First Name,Last Name,E-mail Address\r\nAnna,Smith,anna@example.com\r\n"
                      "Bob,Jones,bob@example.com\r\nMe,Myself,me@example.com\r\n");
        m_files.Write("MSN", "buddies.vcf",
                      "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Carl Carlsen\r\nEMAIL:carl@example.com\r\nEND:VCARD\r\n"
                      "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Anna Again\r\nEMAIL:ANNA@example.com\r\nEND:VCARD\r\n");
        m_book.SetSearchRoot(m_files.Root().c_str());
    }

    template <class Page>
    void Open(Page& page) {
        page.SetAddressBook(&m_book);
        page.SetOwnEmail("me@example.com");
        ASSERT_TRUE(page.Create(&m_parent));
        page.ShowWindow(SW_SHOW);
        orvtest::PumpPending();
    }

    std::string PressExpectingBox(HWND dialog, int id) {
        ModalScript script;
        script.Box();
        EXPECT_TRUE(script.Run([&] { Click(dialog, id); }));
        m_lastCaption = script.BoxCaption();
        return script.BoxText();
    }

    bool AddManually(HWND page, const char* name, const char* email) {
        ModalScript script;
        script.Step(&IsManualDialog, TypeContact(name, email));
        return script.Run([&] { Click(page, IDC_ADD_MANUALLY); });
    }

    BookFiles m_files;
    OrvAddressBook m_book;
    ParentWindow m_parent;
    std::string m_lastCaption;
};
}  // namespace

TEST_F(SelectionPage, OpeningFillsTheNonSelectedListFromEveryClient) {
    CWizardContactsPage page;
    Open(page);
    HWND nonSelected = ::GetDlgItem(page, IDC_NONSELECTED_LIST);
    EXPECT_EQ(Column(nonSelected, 1), (std::vector<std::string>{"Anna Smith", "Bob Jones", "Me Myself", "Carl Carlsen"}));
    EXPECT_EQ(Column(nonSelected, 0), (std::vector<std::string>{"Outlook", "Outlook", "Outlook", "MSN"}));
    EXPECT_EQ(ListCount(::GetDlgItem(page, IDC_SELECTED_LIST)), 0);
    const DWORD styles = static_cast<DWORD>(::SendMessageA(nonSelected, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
    EXPECT_TRUE(styles & LVS_EX_FULLROWSELECT);
    EXPECT_TRUE(styles & LVS_EX_GRIDLINES);
    char title[64] = {};
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.pszText = title;
    column.cchTextMax = sizeof title;
    ::SendMessageA(nonSelected, LVM_GETCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
    EXPECT_STREQ(title, "E-Mail Software");
    EXPECT_EQ(column.cx, 100);
}

TEST_F(SelectionPage, ImportingTheSameClientTwiceKeepsOneCopy) {
    CWizardContactsPage page;
    Open(page);
    for (int round = 0; round < 2; ++round) {
        EXPECT_EQ(PressExpectingBox(page, IDC_CLIENT_OUTLOOK),
                  "3 new contacts were added to \n\"Non-selected contacts\" list.");
        EXPECT_EQ(m_lastCaption, "Orvane");
        EXPECT_EQ(ListCount(::GetDlgItem(page, IDC_NONSELECTED_LIST)), 4);
    }
    EXPECT_EQ(PressExpectingBox(page, IDC_CLIENT_MSN), "1 new contacts were added to \n\"Non-selected contacts\" list.");
    EXPECT_EQ(PressExpectingBox(page, IDC_CLIENT_YAHOO), "0 new contacts were added to \n\"Non-selected contacts\" list.");
}

TEST_F(SelectionPage, OwnAddressCannotBeAdded) {
    CWizardContactsPage page;
    Open(page);
    SelectRows(::GetDlgItem(page, IDC_NONSELECTED_LIST), {0, 2});
    EXPECT_EQ(PressExpectingBox(page, IDC_ADD), "You cannot add yourself as a contact");
    EXPECT_EQ(m_lastCaption, "Illegal contact email");
    EXPECT_EQ(Column(::GetDlgItem(page, IDC_SELECTED_LIST), 0), (std::vector<std::string>{"Anna Smith"}));
    EXPECT_EQ(Column(::GetDlgItem(page, IDC_NONSELECTED_LIST), 1),
              (std::vector<std::string>{"Bob Jones", "Me Myself", "Carl Carlsen"}));
    ModalScript script;
    script.Step(&IsManualDialog, TypeContact("Me Again", "ME@example.com")).Box();
    EXPECT_TRUE(script.Run([&] { Click(page, IDC_ADD_MANUALLY); }));
    EXPECT_EQ(script.BoxText(), "You cannot add yourself as a contact");
}

TEST_F(SelectionPage, FiveContactsPassAndFourDoNot) {
    CWizardContactsPage page;
    Open(page);
    SelectRows(::GetDlgItem(page, IDC_NONSELECTED_LIST), {0, 1, 3});
    Click(page, IDC_ADD);
    ASSERT_TRUE(AddManually(page, "Dora Dean", "dora@example.com"));
    EXPECT_EQ(ListCount(::GetDlgItem(page, IDC_SELECTED_LIST)), 4);
    EXPECT_EQ(PressExpectingBox(page, IDOK),
              "You have chosen less than 5 contacts, \nthat are needed for building your contact-tree.\n"
              " You can manually add contacts by pressing \nthe \"Add a contact manually\" button.");
    EXPECT_EQ(m_parent.TakeResult(), -1);
    ASSERT_TRUE(AddManually(page, "Erik", "erik@example.com"));
    Click(page, IDOK);
    EXPECT_EQ(m_parent.TakeResult(), COrvSkinnedDialog::kNext);
    EXPECT_EQ(std::string(page.GetContactsString()),
              "Erik,,erik@example.com;Dora,Dean,dora@example.com;Anna,Smith,anna@example.com;"
              "Bob,Jones,bob@example.com;Carl,Carlsen,carl@example.com");
}

TEST_F(SelectionPage, ManualContactSurvivesAnImportAndIsNotDuplicated) {
    CWizardContactsPage page;
    Open(page);
    ASSERT_TRUE(AddManually(page, "Hand Typed", "bob@example.com"));
    PressExpectingBox(page, IDC_CLIENT_OUTLOOK);
    EXPECT_EQ(Column(::GetDlgItem(page, IDC_SELECTED_LIST), 0), (std::vector<std::string>{"Hand Typed"}));
    EXPECT_EQ(Column(::GetDlgItem(page, IDC_NONSELECTED_LIST), 1),
              (std::vector<std::string>{"Anna Smith", "Me Myself", "Carl Carlsen"}));
    ModalScript script;
    script.Step(&IsManualDialog, TypeContact("Bob Again", "BOB@example.com")).Box();
    EXPECT_TRUE(script.Run([&] { Click(page, IDC_ADD_MANUALLY); }));
    EXPECT_EQ(script.BoxText(), "A contact with this e-mail (BOB@example.com) already exists in your selected contact list");
    EXPECT_EQ(script.BoxCaption(), "Duplicate contact");
}

TEST_F(SelectionPage, ManualDialogKeepsWrongInputWithItsMessage) {
    CWizardContactsPage page;
    Open(page);
    HWND manual = nullptr;
    std::string boxText;
    HWND focusAfterBox = nullptr;
    HWND nameField = nullptr;
    ModalScript script;
    script.Step(&IsManualDialog,
                [&](HWND dialog) {
                    manual = dialog;
                    TypeContact("anna@example.com", "anna@example.com")(dialog);
                })
        .Step(&IsMessageBox,
              [&](HWND box) {
                  boxText = StaticTexts(box);
                  ::PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
              })
        .Step([&](HWND window) { return window == manual; },
              [&](HWND dialog) {
                  // Back in the dialog, the name field has the focus again.
                  focusAfterBox = ::GetFocus();
                  nameField = ::GetDlgItem(dialog, IDC_MANUAL_NAME);
                  ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
              });
    EXPECT_TRUE(script.Run([&] { Click(page, IDC_ADD_MANUALLY); }));
    EXPECT_EQ(boxText, "Please replace the e-mail address \nwith the name of your contact.");
    EXPECT_EQ(focusAfterBox, nameField);
    EXPECT_NE(nameField, nullptr);
    EXPECT_EQ(ListCount(::GetDlgItem(page, IDC_SELECTED_LIST)), 0) << "cancelled: nothing added";
    EXPECT_TRUE(page.IsWindowEnabled());
    EXPECT_FALSE(::IsWindow(manual)) << "the manual dialog is gone once it ended";
}

TEST_F(SelectionPage, ExpandNetworkTextOpensTheSite) {
    static std::string opened;
    OrvSiteLinks::SetOpener([](HWND, const char* url) { opened = url; });
    CWizardContactsPage page;
    Open(page);
    HWND link = ::GetDlgItem(page, IDC_EXPAND_NETWORK);
    ::SendMessageA(page, WM_COMMAND, MAKEWPARAM(IDC_EXPAND_NETWORK, STN_CLICKED), reinterpret_cast<LPARAM>(link));
    OrvSiteLinks::SetOpener(nullptr);
    EXPECT_EQ(opened, std::string(OrvSiteLinks::GetWebSite()) + "default.php?screen=4");
}

TEST_F(SelectionPage, AddRemoveHandsOverWhatChanged) {
    ORVCONTACTINFO current[5];
    for (int i = 0; i < 5; ++i) {
        current[i].id = std::to_string(100 + i).c_str();
        current[i].firstName = "Friend";
        current[i].lastName = std::to_string(i).c_str();
        current[i].email = ("friend" + std::to_string(i) + "@example.com").c_str();
    }
    CAddRemoveContactsDialog dialog;
    dialog.SetCurrentContacts(current, 5);
    Open(dialog);
    EXPECT_EQ(WindowText(dialog), "Add/Remove Contacts");
    EXPECT_EQ(ListCount(::GetDlgItem(dialog, IDC_SELECTED_LIST)), 5);
    SelectRows(::GetDlgItem(dialog, IDC_SELECTED_LIST), {1});
    Click(dialog, IDC_REMOVE);
    EXPECT_EQ(PressExpectingBox(dialog, IDOK),
              "In order to build your contact-tree sufficiently, \nyou need to enter at least 5 contacts.");
    EXPECT_EQ(m_lastCaption, "Too few contacts for contact-tree");
    EXPECT_EQ(m_parent.TakeResult(), -1);
    // The removed friend went on top of the candidates, Anna follows.
    EXPECT_EQ(ListText(::GetDlgItem(dialog, IDC_NONSELECTED_LIST), 0, 1), "Friend 1");
    SelectRows(::GetDlgItem(dialog, IDC_NONSELECTED_LIST), {1});
    Click(dialog, IDC_ADD);
    Click(dialog, IDOK);
    EXPECT_EQ(m_parent.TakeResult(), COrvSkinnedDialog::kNext);
    EXPECT_EQ(std::string(dialog.GetNewContactsString()), "Anna,Smith,anna@example.com");
    EXPECT_EQ(std::string(dialog.GetRemovedIdsString()), "101");
    Click(dialog, IDCANCEL);
    EXPECT_EQ(m_parent.TakeResult(), COrvSkinnedDialog::kQuit);
}
