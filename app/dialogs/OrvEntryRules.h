#pragma once
#include "CString.h"

// A refusal of what the user typed: the message box text and caption, or
// none (text null) when the entry passes.
struct OrvEntryProblem {
    const char* text = nullptr;
    const char* caption = nullptr;
    // The control id of the field to focus again (0: none).
    int field = 0;
    bool IsProblem() const { return text != nullptr; }
};

// The rules that the sign-up and contact dialogs apply to names, e-mail
// addresses and free text; no windows involved.
class OrvEntryRules {
public:
    // Characters refused in names and e-mail addresses.
    static const char* const kForbiddenCharacters;
    enum : int {
        kMaxEmailLength = 40,
        kMaxNamePartLength = 15,
        kMaxFreeTextLength = 250,
        kWrapColumn = 40,
    };

    static bool HasForbiddenCharacter(const char* text);
    // The address rule shared by every dialog that takes an address.
    static bool IsValidEmail(const char* email);
    // The first name is everything before the first blank (all of it when
    // there is none), the last name everything after it.
    static void SplitName(const CString& name, CString* firstName, CString* lastName);
    // Line ends become blanks, runs of blanks one blank, and a line break
    // is put near every 40th character, at a blank where there is one.
    static CString ReformatFreeText(const CString& text);
    static CString Trimmed(const char* text);

    // Wizard step 1 (trimmed e-mail).
    static OrvEntryProblem CheckWizardEmail(const CString& email);
    // Wizard step 2 (trimmed name and free text).
    static OrvEntryProblem CheckWizardName(const CString& name, const CString& freeText);
    // The manual contact dialog (trimmed name and e-mail).
    static OrvEntryProblem CheckManualContact(const CString& name, const CString& email);
    // The e-mail change box: an "@" and a "." somewhere in the trimmed text.
    static OrvEntryProblem CheckChangedEmail(const CString& email);
};
