#pragma once
// The readable text of an HTML page, for places that cannot show the page
// itself (there is no browser under Wine): tags dropped, script and style
// bodies dropped, the common entities decoded, block tags and <br> as line
// breaks, runs of blanks folded to one. Lines end in CR LF, as a multi-line
// edit wants them.
#include "CString.h"

#include <cstddef>

namespace OrvHtmlText {

// At most this many characters of a page are read.
constexpr std::size_t kMaxPageLength = 256 * 1024;

CString FromHtml(const char* html, std::size_t length);
inline CString FromHtml(const CString& html) {
    return FromHtml(html.GetString(), static_cast<std::size_t>(html.GetLength()));
}

// Reads the file (at most kMaxPageLength characters) and converts it;
// false when it cannot be read.
bool FromFile(const char* path, CString* text);

}  // namespace OrvHtmlText
