#include "SkinFile.h"

#include "BitmapFileCheck.h"

#include "ClsBitMap.h"

#include <utility>

namespace {

// A description larger than this is not a skin description: the shipped
// ones are about 25 KB.
constexpr int64_t kMaxDescriptionSize = 4 * 1024 * 1024;
// Values quoted in a problem are cut to this many characters.
constexpr int kQuotedValueLength = 40;

const char* TypeName(IniTokenType_e type) {
    switch (type) {
    case ITT_TEXT: return "text";
    case ITT_NUMBER: return "a number";
    case ITT_COLOR: return "a colour";
    default: return "nothing";
    }
}

// The path handed to the parser: null (an empty description) when the file
// is missing or too large, with the reason.
const char* ReadablePath(const CString& path, CString* reason) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExA(path, GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        *reason = "file not found; every value takes its default";
        return nullptr;
    }
    const int64_t size = (static_cast<int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    if (size > kMaxDescriptionSize) {
        *reason = "file too large to be a skin description; every value takes its default";
        return nullptr;
    }
    return path;
}

}  // namespace

SkinFile::SkinFile(const char* directory)
    : m_directory(directory ? directory : ""),
      m_path(m_directory + "Skin.Ini"),
      m_parser(ReadablePath(m_path, &m_openFailure)) {
    if (!m_openFailure.IsEmpty())
        Note("", "", m_openFailure);
    else if (!m_parser.HasSections())
        Note("", "", "no section could be read; every value takes its default");
}

const ClsIniFileSection* SkinFile::FindSection(const char* name, bool optional) {
    const ClsIniFileSection* section = m_parser.FindSection(name);
    // An empty description was noted once; its sections are not noted again.
    if (!section && !optional && m_parser.HasSections()) Note(name, "", "section missing; defaults used");
    return section;
}

const ClsIniFileToken* SkinFile::FindTyped(const ClsIniFileSection* section, const char* key,
                                           IniTokenType_e wanted) {
    if (!section || !key) return nullptr;
    const ClsIniFileToken* token = section->FindToken(key);
    if (!token) return nullptr;
    if (token->GetType() == wanted) return token;
    CString reason;
    reason.Format("expected %s, found %s \"%.*s\"; default used", TypeName(wanted), TypeName(token->GetType()),
                  kQuotedValueLength, token->GetText());
    Note(section->GetName(), key, reason);
    return nullptr;
}

int32_t SkinFile::GetNumber(const ClsIniFileSection* section, const char* key, int32_t defaultValue) {
    const ClsIniFileToken* token = FindTyped(section, key, ITT_NUMBER);
    return token ? token->GetNumber() : defaultValue;
}

bool SkinFile::FindNumber(const ClsIniFileSection* section, const char* key, int32_t* value) {
    const ClsIniFileToken* token = FindTyped(section, key, ITT_NUMBER);
    if (token && value) *value = token->GetNumber();
    return token != nullptr;
}

COLORREF SkinFile::GetColor(const ClsIniFileSection* section, const char* key, COLORREF defaultValue) {
    const ClsIniFileToken* token = FindTyped(section, key, ITT_COLOR);
    return token ? token->GetColor() : defaultValue;
}

bool SkinFile::GetFlag(const ClsIniFileSection* section, const char* key) {
    const ClsIniFileToken* token = FindTyped(section, key, ITT_NUMBER);
    return token && token->GetNumber() != 0;
}

CString SkinFile::GetText(const ClsIniFileSection* section, const char* key, const char* defaultValue) {
    const ClsIniFileToken* token = FindTyped(section, key, ITT_TEXT);
    return CString(token ? token->GetText() : (defaultValue ? defaultValue : ""));
}

bool SkinFile::LoadBitmap(const ClsIniFileSection* section, const char* key, ClsBitMap& image) {
    image.DeleteObject();
    if (!section) return false;
    const ClsIniFileToken* token = FindTyped(section, key, ITT_TEXT);
    if (!token) return false;
    if (!token->HasText()) {
        Note(section->GetName(), key, "empty file name");
        return false;
    }
    // File names are relative to the skin's directory and may hold sub-paths.
    const CString path = m_directory + token->GetText();
    if (const char* refused = BitmapFileCheck::Check(path)) {
        Note(path, section->GetName(), key, refused);
        return false;
    }
    if (!image.LoadFromFile(path)) {
        Note(path, section->GetName(), key, "the system could not load the bitmap");
        return false;
    }
    return true;
}

void SkinFile::Note(const char* section, const char* key, const CString& reason) {
    Note(m_path, section, key, reason);
}

void SkinFile::Note(const CString& file, const char* section, const char* key, const CString& reason) {
    // The reads of one change are a fixed set of keys, so the list stays short;
    // the bound only guards against a caller reading in a loop.
    constexpr size_t kMaxProblems = 1000;
    if (m_problems.size() >= kMaxProblems) return;
    SkinReadProblem_t problem{file, CString(section ? section : ""), CString(key ? key : ""), reason};
    // Several records read the same section: say it once.
    for (const SkinReadProblem_t& known : m_problems) {
        if (known.File == problem.File && known.Section == problem.Section && known.Key == problem.Key &&
            known.Reason == problem.Reason)
            return;
    }
    m_problems.push_back(std::move(problem));
}
