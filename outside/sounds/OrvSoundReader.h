#pragma once
// The sound themes installed under the sound base and the wave file of each
// sound event in the current theme. A theme is a sub-folder of the base with
// a description, Theme.txt, and its wave files (README.md). Never fails:
// a missing base, damaged descriptions and missing waves leave fewer themes
// or events, and an event without a file answers "".
//
// The reader is the contact-tree's sound source (OrvSoundSource, first
// base). Every operation may be called from any thread; theme records from
// GetThemaByDir stay valid until the next ReadThemas or the reader's end.
#include "CCriticalSection.h"
#include "CString.h"
#include "OrvSoundSource.h"
#include "OrvSoundThema.h"
#include "SoundsExport.h"

#include <memory>
#include <vector>

class SOUNDS_API OrvSoundReader : public OrvSoundSource {
public:
    // Most themes read from one base; more folders are left out.
    static constexpr int kMaxThemas = 256;

    // soundBase is the folder of the themes, with or without a trailing
    // separator. Reads the themes at once; the current theme is then the
    // first of them in the order of GetThemaDir.
    explicit OrvSoundReader(const char* soundBase);
    ~OrvSoundReader();
    OrvSoundReader(const OrvSoundReader&) = delete;
    OrvSoundReader& operator=(const OrvSoundReader&) = delete;

    // The full path of the event's wave file in the current theme, "" when
    // there is no current theme or it has no file for the event.
    CString GetSoundFile(const char* eventName) const override;

    // Reads the themes of the base again and returns how many there are. The
    // current theme stays current when it is still installed, else the first
    // theme becomes current.
    int ReadThemas();

    // The base with its trailing separator ("" when none was given).
    CString GetSoundBase() const { return m_base; }

    // The installed themes by directory name, ordered ignoring case.
    int GetThemaCount() const;
    // The directory name of theme index, "" when index is out of range.
    CString GetThemaDir(int index) const;
    // The theme in directory dir (see SetSoundDir for what dir may be), or
    // null when no such theme is installed.
    const OrvSoundThema* GetThemaByDir(const char* dir) const;

    // The directory name of the current theme, "" when none is installed.
    CString GetSoundDir() const;
    // Makes the theme in dir current: dir is a directory name as listed
    // (ignoring case, a trailing separator allowed) or the full path of a
    // theme folder directly under the base. Returns false and changes
    // nothing when no such theme is installed.
    bool SetSoundDir(const char* dir);

    // The full path of the event's wave file in the current theme (the same
    // answer as GetSoundFile).
    CString GetSoundThema(const char* eventName) const;

private:
    // Index of the theme in dir, or -1; the caller holds the lock.
    int FindThema(const char* dir) const;

    const CString m_base;
    std::vector<std::unique_ptr<OrvSoundThema>> m_themas;
    int m_current = -1;
    mutable CCriticalSection m_lock;
};
