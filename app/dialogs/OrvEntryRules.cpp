#include "OrvEntryRules.h"

#include "DialogIds.h"

#include <cstring>

const char* const OrvEntryRules::kForbiddenCharacters = "\",';[]\\|{}:/<>~!#$%^&()=+";

namespace {
const char* const kOrvane = "Orvane";
const char* const kMistypedEmail = "Mistyped e-mail";

OrvEntryProblem Problem(const char* text, const char* caption, int field) {
    OrvEntryProblem problem;
    problem.text = text;
    problem.caption = caption;
    problem.field = field;
    return problem;
}
}  // namespace

bool OrvEntryRules::HasForbiddenCharacter(const char* text) {
    return text && std::strpbrk(text, kForbiddenCharacters) != nullptr;
}

bool OrvEntryRules::IsValidEmail(const char* email) {
    const CString address(email ? email : "");
    const int length = address.GetLength();
    if (length == 0) return false;
    const char first = address[0];
    const char last = address[length - 1];
    if (first == '.' || first == '@' || last == '.' || last == '@') return false;
    const int at = address.Find('@');
    const int dot = address.ReverseFind('.');
    if (dot - at <= 2) return false;
    const int ending = length - dot - 1;
    if (ending < 2 || ending > 3) return false;
    return !HasForbiddenCharacter(address);
}

void OrvEntryRules::SplitName(const CString& name, CString* firstName, CString* lastName) {
    const int blank = name.Find(' ');
    if (blank < 0) {
        *firstName = name;
        lastName->Empty();
        return;
    }
    *firstName = name.Left(blank);
    *lastName = name.Mid(blank + 1);
}

CString OrvEntryRules::ReformatFreeText(const CString& text) {
    CString result(text);
    result.Replace('\r', ' ');
    result.Replace('\n', ' ');
    while (result.Find("  ") >= 0) result.Replace("  ", " ");
    const int lines = result.GetLength() / kWrapColumn;
    for (int i = 1; i <= lines; ++i) {
        const int column = kWrapColumn * i;
        int breakAt = -1;
        for (int position = column - 10; position <= column + 9 && position < result.GetLength(); ++position)
            if (result[position] == ' ') {
                breakAt = position;
                break;
            }
        if (breakAt < 0) breakAt = column;
        // Nothing follows the last character: no empty line after it.
        if (breakAt >= result.GetLength() - 1) break;
        result = result.Left(breakAt + 1) + "\r\n" + result.Mid(breakAt + 1);
    }
    return result;
}

CString OrvEntryRules::Trimmed(const char* text) {
    CString result(text ? text : "");
    result.Trim();
    return result;
}

OrvEntryProblem OrvEntryRules::CheckWizardEmail(const CString& email) {
    if (email.IsEmpty())
        return Problem("Please fill the e-mail correctly so that the\nOrvane log-in password can be sent to it.",
                       kMistypedEmail, IDC_WIZARD_EMAIL);
    if (email.GetLength() > kMaxEmailLength)
        return Problem("Name shouldn't be more than 40 symbols.", kMistypedEmail, IDC_WIZARD_EMAIL);
    if (!IsValidEmail(email))
        return Problem("The e-mail entered was mistyped. \nPlease fill the e-mail correctly so that the \n"
                       "Orvane log-in password can be sent to it.",
                       kMistypedEmail, IDC_WIZARD_EMAIL);
    return {};
}

OrvEntryProblem OrvEntryRules::CheckWizardName(const CString& name, const CString& freeText) {
    if (name.IsEmpty())
        return Problem("Please enter your name or nickname that will represent you on your contact-tree.", kOrvane,
                       IDC_WIZARD_NAME);
    CString first, last;
    SplitName(name, &first, &last);
    if (first.GetLength() > kMaxNamePartLength)
        return Problem("First Name shouldn't be more than 15 symbols.", kOrvane, IDC_WIZARD_NAME);
    if (last.GetLength() > kMaxNamePartLength)
        return Problem("Last Name shouldn't be more than 15 symbols.", kOrvane, IDC_WIZARD_NAME);
    if (HasForbiddenCharacter(name)) return Problem("Invalid symbol(s) in name.", kOrvane, IDC_WIZARD_NAME);
    if (freeText.GetLength() > kMaxFreeTextLength)
        return Problem("Free-text shouldn't be more than 250 symbols.", kOrvane, IDC_FREE_TEXT);
    return {};
}

OrvEntryProblem OrvEntryRules::CheckManualContact(const CString& name, const CString& email) {
    if (name.IsEmpty())
        return Problem("Please fill your contact's name and e-mail or \npress Cancel to return to the Contact-tree Wizard",
                       kOrvane, IDC_MANUAL_NAME);
    if (name.Find('@') >= 0)
        return Problem("Please replace the e-mail address \nwith the name of your contact.", kOrvane, IDC_MANUAL_NAME);
    if (HasForbiddenCharacter(name))
        return Problem("The name was mistyped. \nPlease enter it again.", "Mistyped name", IDC_MANUAL_NAME);
    CString first, last;
    SplitName(name, &first, &last);
    if (first.GetLength() > kMaxNamePartLength)
        return Problem("First Name shouldn't be more than 15 symbols.", "Mistyped First Name", IDC_MANUAL_NAME);
    if (last.GetLength() > kMaxNamePartLength)
        return Problem("Last Name shouldn't be more than 15 symbols.", "Mistyped Last Name", IDC_MANUAL_NAME);
    if (email.IsEmpty())
        return Problem("Please fill your contact's name and e-mail or press Cancel to return to the Contact-tree Wizard",
                       kOrvane, IDC_MANUAL_EMAIL);
    if (!IsValidEmail(email))
        return Problem("The e-mail address was mistyped. \nPlease enter it again.", kMistypedEmail, IDC_MANUAL_EMAIL);
    return {};
}

OrvEntryProblem OrvEntryRules::CheckChangedEmail(const CString& email) {
    // The address becomes the one the password goes to: it must also pass
    // the rule every other dialog applies, or the member locks himself out.
    if (email.Find('@') < 0 || email.Find('.') < 0 || !IsValidEmail(email) ||
        email.GetLength() > kMaxEmailLength)
        return Problem("The e-mail address was mistyped. \nPlease enter it again.", kOrvane, IDC_NEW_EMAIL);
    return {};
}
