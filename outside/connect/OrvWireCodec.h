#pragma once
// The JSON bodies of requests and answers, and the text conversion between
// the program's ANSI code page and UTF-8 on the wire.
#include "OrvAnswerRecord.h"
#include "OrvCommandTable.h"

#include "CString.h"

#include <string>
#include <vector>

// What an answer may hold at most; anything beyond is dropped unread.
constexpr size_t kOrvMaxAnswerBytes = 8u * 1024u * 1024u;
constexpr size_t kOrvMaxRecords = 10000;
constexpr size_t kOrvMaxPaths = 1000;
constexpr size_t kOrvMaxPathNodes = 100;
constexpr size_t kOrvMaxNotices = 100;

std::string OrvAnsiToUtf8(const CString& text);
// Invalid sequences become U+FFFD first, unmappable characters "?"; the text
// ends at an embedded NUL.
CString OrvUtf8ToAnsi(const std::string& text);

// {"member": "argument", ...} in the order of the command's request members.
std::string OrvEncodeRequest(const OrvCommandSpec_t& command, const std::vector<CString>& args);

// Fills answer's text, numbers, records, paths and notices. False when the
// body is not a JSON object with a string "code"; other members that are
// missing or of another type take "" and 0.
bool OrvDecodeAnswer(const OrvCommandSpec_t& command, const std::string& body,
                     OrvAnswerRecord& answer);
