#include "CContactSelectionPage.h"

#include "CManualContactDialog.h"
#include "COrvDialogWait.h"
#include "DialogIds.h"
#include "OrvSiteLinks.h"

#include "OrvAddressBook.h"

#include <commctrl.h>

namespace {
const char* const kIllegalContact = "Illegal contact email";
const char* const kYourself = "You cannot add yourself as a contact";

struct ClientButton {
    int id;
    int code;
};
const ClientButton kClientButtons[] = {
    {IDC_CLIENT_ICQ, ORV_MAILCLIENT_ICQ},     {IDC_CLIENT_MSN, ORV_MAILCLIENT_MSN},
    {IDC_CLIENT_YAHOO, ORV_MAILCLIENT_YAHOO}, {IDC_CLIENT_LOTUS, ORV_MAILCLIENT_LOTUS},
    {IDC_CLIENT_OUTLOOK, ORV_MAILCLIENT_OUTLOOK},
};

void AddColumn(HWND list, int index, const char* title, int width) {
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    column.pszText = const_cast<char*>(title);
    column.cx = width;
    column.iSubItem = index;
    ::SendMessageA(list, LVM_INSERTCOLUMNA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&column));
}

void SetRow(HWND list, int row, const char* first, const char* second) {
    LVITEMA item{};
    item.mask = LVIF_TEXT;
    item.iItem = row;
    item.pszText = const_cast<char*>(first);
    const int index = static_cast<int>(::SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
    if (index < 0 || !second) return;
    item.iItem = index;
    item.iSubItem = 1;
    item.pszText = const_cast<char*>(second);
    ::SendMessageA(list, LVM_SETITEMTEXTA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
}

// What a candidate is called in the lists: its name, or its address when
// the address book had no name for it.
CString ShownName(const OrvCandidate& candidate) {
    return candidate.name.IsEmpty() ? candidate.email : candidate.name;
}
}  // namespace

CContactSelectionPage::CContactSelectionPage(UINT templateId) : CWizardPage(templateId) {
    INITCOMMONCONTROLSEX classes{sizeof classes, ICC_LISTVIEW_CLASSES};
    ::InitCommonControlsEx(&classes);
}

void CContactSelectionPage::SetOwnEmail(const char* email) { m_selection.SetOwnEmail(email ? email : ""); }

void CContactSelectionPage::SetCurrentContacts(const ORVCONTACTINFO* contacts, int count) {
    m_selection.SetCurrentContacts(contacts, count);
    if (IsWindow()) RefillLists();
}

BOOL CContactSelectionPage::OnInitDialog() {
    CWizardPage::OnInitDialog();
    MakeLink(IDC_EXPAND_NETWORK);
    for (int id : {IDC_NONSELECTED_LIST, IDC_SELECTED_LIST}) {
        HWND list = ::GetDlgItem(m_hWnd, id);
        const DWORD extended = LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES;
        ::SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, extended, extended);
    }
    AddColumn(::GetDlgItem(m_hWnd, IDC_NONSELECTED_LIST), 0, "E-Mail Software", 100);
    AddColumn(::GetDlgItem(m_hWnd, IDC_NONSELECTED_LIST), 1, "Contact Name", 150);
    AddColumn(::GetDlgItem(m_hWnd, IDC_SELECTED_LIST), 0, "Name", 150);
    if (m_book) {
        m_book->ClearContacts();
        m_book->SetOwnerWindow(m_hWnd);
        m_book->LoadContacts();
        m_selection.Fill(LoadedCandidates());
    }
    RefillLists();
    return TRUE;
}

BOOL CContactSelectionPage::OnCommand(WPARAM wParam, LPARAM lParam) {
    const int id = LOWORD(wParam);
    const int code = HIWORD(wParam);
    if (id == IDC_EXPAND_NETWORK && code == STN_CLICKED) {
        OrvSiteLinks::Open(m_hWnd, OrvSiteLinks::GetExpandNetworkPage());
        return TRUE;
    }
    if (code == BN_CLICKED) {
        for (const ClientButton& button : kClientButtons)
            if (button.id == id) {
                ImportClient(button.code);
                return TRUE;
            }
        switch (id) {
        case IDC_ADD: AddRows(false); return TRUE;
        case IDC_ADD_ALL: AddRows(true); return TRUE;
        case IDC_REMOVE: RemoveRows(false); return TRUE;
        case IDC_REMOVE_ALL: RemoveRows(true); return TRUE;
        case IDC_ADD_MANUALLY: AddManually(); return TRUE;
        default: break;
        }
    }
    return CWizardPage::OnCommand(wParam, lParam);
}

void CContactSelectionPage::RefillLists() {
    HWND nonSelected = ::GetDlgItem(m_hWnd, IDC_NONSELECTED_LIST);
    HWND selected = ::GetDlgItem(m_hWnd, IDC_SELECTED_LIST);
    ::SendMessageA(nonSelected, WM_SETREDRAW, FALSE, 0);
    ::SendMessageA(selected, WM_SETREDRAW, FALSE, 0);
    ::SendMessageA(nonSelected, LVM_DELETEALLITEMS, 0, 0);
    ::SendMessageA(selected, LVM_DELETEALLITEMS, 0, 0);
    int row = 0;
    for (const OrvCandidate& candidate : m_selection.GetNonSelected())
        SetRow(nonSelected, row++, candidate.source, ShownName(candidate));
    row = 0;
    for (const OrvCandidate& candidate : m_selection.GetSelected()) SetRow(selected, row++, ShownName(candidate), nullptr);
    ::SendMessageA(nonSelected, WM_SETREDRAW, TRUE, 0);
    ::SendMessageA(selected, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(nonSelected, nullptr, TRUE);
    ::InvalidateRect(selected, nullptr, TRUE);
}

void CContactSelectionPage::ImportClient(int code) {
    if (!m_book) return;
    m_book->SetOwnerWindow(m_hWnd);
    m_book->LoadSpeceficContacts(code);
    const CString client = OrvAddressBook::GetMailClientName(code);
    const int count = m_selection.Import(LoadedCandidates(), client);
    RefillLists();
    CString text;
    text.Format("%d new contacts were added to \n\"Non-selected contacts\" list.", count);
    ShowMessage(text, "Orvane", MB_OK | MB_ICONINFORMATION);
}

void CContactSelectionPage::AddRows(bool all) {
    const int refused = all ? m_selection.AddAll() : m_selection.Add(SelectedRows(IDC_NONSELECTED_LIST));
    RefillLists();
    if (refused > 0) ShowMessage(kYourself, kIllegalContact, MB_OK | MB_ICONEXCLAMATION);
}

void CContactSelectionPage::RemoveRows(bool all) {
    if (all)
        m_selection.RemoveAll();
    else
        m_selection.Remove(SelectedRows(IDC_SELECTED_LIST));
    RefillLists();
}

void CContactSelectionPage::AddManually() {
    CManualContactDialog dialog;
    if (!dialog.Create(this)) return;
    EnableWindow(FALSE);
    const int result = COrvDialogWait::Run(dialog);
    EnableWindow(TRUE);
    dialog.DestroyWindow();
    SetForegroundWindow();
    if (result != kNext) return;
    switch (m_selection.AddManual(dialog.GetName(), dialog.GetEmail())) {
    case OrvContactSelection::kAdded: RefillLists(); break;
    case OrvContactSelection::kIsOwnEmail: ShowMessage(kYourself, kIllegalContact, MB_OK | MB_ICONEXCLAMATION); break;
    case OrvContactSelection::kAlreadySelected: {
        CString text;
        text.Format("A contact with this e-mail (%s) already exists in your selected contact list",
                    dialog.GetEmail().GetString());
        ShowMessage(text, "Duplicate contact", MB_OK | MB_ICONEXCLAMATION);
        break;
    }
    case OrvContactSelection::kListFull: break;
    }
}

std::vector<int> CContactSelectionPage::SelectedRows(int listId) const {
    std::vector<int> rows;
    HWND list = ::GetDlgItem(m_hWnd, listId);
    int row = -1;
    while ((row = static_cast<int>(::SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(row), LVNI_SELECTED))) >= 0)
        rows.push_back(row);
    return rows;
}

std::vector<OrvCandidate> CContactSelectionPage::LoadedCandidates() const {
    std::vector<OrvCandidate> loaded;
    for (int i = 0; m_book && i < m_book->GetContactCount(); ++i) {
        const OrvBookContact& contact = m_book->GetContact(i);
        // An address the network would refuse never becomes a candidate.
        if (!OrvEntryRules::IsValidEmail(contact.email)) continue;
        OrvCandidate candidate;
        candidate.name = contact.contactName;
        candidate.email = contact.email;
        candidate.source = contact.clientName;
        loaded.push_back(candidate);
    }
    return loaded;
}
