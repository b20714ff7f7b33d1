#include "UpdateArguments.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Takes the next argument from text; false when there is none or its quote
// is not closed.
bool NextArgument(const char*& text, std::string& argument) {
    while (IsBlank(*text)) ++text;
    if (!*text) return false;
    if (*text == '"' || *text == '\'') {
        const char quote = *text++;
        const char* end = text;
        while (*end && *end != quote) ++end;
        if (!*end) return false;
        argument.assign(text, end);
        text = end + 1;
        return true;
    }
    const char* end = text;
    while (*end && !IsBlank(*end)) ++end;
    argument.assign(text, end);
    text = end;
    return true;
}

}  // namespace

UpdateArguments UpdateArguments::Parse(const char* commandLine) {
    UpdateArguments result;
    if (!commandLine) return result;
    std::string program, archive, version;
    const char* text = commandLine;
    if (!NextArgument(text, program) || !NextArgument(text, archive) || !NextArgument(text, version))
        return result;
    result.archivePath = archive;
    result.version = version;
    return result;
}
