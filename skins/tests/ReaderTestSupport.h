#pragma once
// Shared pieces of the skin reader tests: a reader over a one-skin root, the
// problems of the last change as text, and the shipped skins' folder.
#include "OrvSkinReader.h"
#include "SkinRoot.h"

#include <memory>
#include <string>

namespace skintest {

// Writes folder\Skin.Ini (text with "\n" lines, a [Main] section is put in
// front), makes a reader over the root and applies that skin.
std::unique_ptr<OrvSkinReader> ApplyIni(const SkinRoot& root, const std::string& folder, const std::string& body);

// Every problem of the last change, one "[section] key: reason (file)" a line.
std::string Problems(const OrvSkinReader& reader);
// Whether a problem names that section and key (either may be "" for any).
bool HasProblem(const OrvSkinReader& reader, const std::string& section, const std::string& key);

// Where the build installed the shipped skins and the language files
// (next to the test program: "bin\Skins", "bin\Locale").
std::string ProgramFolder();

// Live GDI objects of this process.
int GdiObjectCount();

// A colour that tells where it came from: red x, green y of a skin image.
inline COLORREF SourceColor(int x, int y) { return RGB(x, y, 0x5A); }

}  // namespace skintest
