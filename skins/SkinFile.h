#pragma once
// One skin's description (directory + "Skin.Ini") read for a skin change,
// with the typed reads every record is built from. A value of another type
// than the one asked for counts as missing: the default applies. Nothing is
// ever raised; what could not be read (an unreadable file, a missing
// section, a value of the wrong type, a bitmap that does not load) is noted
// as a SkinReadProblem_t for the reader to hand on.
#include "ClsIniFileParser.h"
#include "SkinReadProblem.h"

#include "CString.h"

#include <windows.h>

#include <cstdint>
#include <vector>

class ClsBitMap;

class SkinFile {
public:
    // directory ends with a path separator; the file is read at once.
    explicit SkinFile(const char* directory);
    SkinFile(const SkinFile&) = delete;
    SkinFile& operator=(const SkinFile&) = delete;

    const CString& GetDirectory() const { return m_directory; }
    const CString& GetPath() const { return m_path; }

    // The section, or null. A missing section is noted unless optional.
    const ClsIniFileSection* FindSection(const char* name, bool optional = false);

    // Each returns the default when section or entry is missing or the entry
    // has another type (noted). A flag is a number that is not 0.
    int32_t GetNumber(const ClsIniFileSection* section, const char* key, int32_t defaultValue);
    COLORREF GetColor(const ClsIniFileSection* section, const char* key, COLORREF defaultValue);
    bool GetFlag(const ClsIniFileSection* section, const char* key);
    CString GetText(const ClsIniFileSection* section, const char* key, const char* defaultValue);
    // True and the number when the entry is a number; false otherwise
    // (a wrong type is noted).
    bool FindNumber(const ClsIniFileSection* section, const char* key, int32_t* value);
    // Loads the bitmap whose file name (relative to the directory) the text
    // entry key holds. When the entry is missing, of the wrong type, or the
    // file does not load (noted, but for a missing entry), the bitmap is
    // left empty.
    bool LoadBitmap(const ClsIniFileSection* section, const char* key, ClsBitMap& image);

    const std::vector<SkinReadProblem_t>& GetProblems() const { return m_problems; }
    void Note(const char* section, const char* key, const CString& reason);
    void Note(const CString& file, const char* section, const char* key, const CString& reason);

private:
    // The entry of key when it has the wanted type; null otherwise (a wrong
    // type is noted).
    const ClsIniFileToken* FindTyped(const ClsIniFileSection* section, const char* key,
                                     IniTokenType_e wanted);

    CString m_directory;
    CString m_path;
    CString m_openFailure;  // why the file was not handed to the parser
    ClsIniFileParser m_parser;
    std::vector<SkinReadProblem_t> m_problems;
};
