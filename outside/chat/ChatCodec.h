#pragma once
// Texts the engines exchange through the chat server: escaped fields, the
// room record carried in a channel topic, CTCP messages, and chat lines cut
// to what one IRC line can carry. Part of chat_core.

#include <string>
#include <vector>

namespace ChatCodec {

// Escapes '\', '|' and control characters so that a field can sit between
// '|' separators on one IRC line; Unescape takes any input.
std::string Escape(const std::string& text);
std::string Unescape(const std::string& text);

// A room's topic: "ORV1|display|description|welcome".
struct RoomTopic {
    std::string displayName;
    std::string description;
    std::string welcome;
};
std::string EncodeTopic(const RoomTopic& topic);
bool DecodeTopic(const std::string& text, RoomTopic& topic);
// The topic of a deleted room that still has users.
extern const char* const DeletedTopic;

// "\1TAG args\1"; Parse fails for text that is not CTCP.
std::string MakeCtcp(const std::string& tag, const std::string& args);
bool ParseCtcp(const std::string& text, std::string& tag, std::string& args);

// Cuts text into pieces of at most maxBytes bytes, preferring to cut before
// a blank near the end of a piece. The pieces put together give the text back.
std::vector<std::string> Split(const std::string& text, size_t maxBytes);

// Splits at CR and LF and drops NUL, so nothing a caller passes can end an
// IRC line early. Blanks at the end of a line are dropped (servers strip
// them) and empty lines are kept out.
std::vector<std::string> SplitLines(const std::string& text);

}  // namespace ChatCodec
