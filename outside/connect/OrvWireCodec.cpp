#include "OrvWireCodec.h"

#include <nlohmann/json.hpp>

#include <windows.h>

#include <climits>
#include <cmath>
#include <cstdlib>

using nlohmann::json;

namespace {

// Deeper values are dropped while parsing, so hostile nesting costs nothing.
constexpr int kMaxDepth = 16;

std::wstring ToWide(UINT codePage, const char* text, int length) {
    if (length <= 0) return std::wstring();
    const int wideLength = MultiByteToWideChar(codePage, 0, text, length, nullptr, 0);
    if (wideLength <= 0) return std::wstring();
    std::wstring wide(static_cast<size_t>(wideLength), L'\0');
    MultiByteToWideChar(codePage, 0, text, length, &wide[0], wideLength);
    return wide;
}

std::string FromWide(UINT codePage, const std::wstring& wide) {
    if (wide.empty()) return std::string();
    const int length = WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()),
                                           nullptr, 0, nullptr, nullptr);
    if (length <= 0) return std::string();
    std::string text(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), &text[0], length,
                        nullptr, nullptr);
    return text;
}

CString TextOf(const json& value) {
    if (value.is_string()) return OrvUtf8ToAnsi(value.get_ref<const std::string&>());
    // A number where text was due is taken as its decimal form.
    if (value.is_number_integer() || value.is_number_unsigned()) {
        return CString(value.dump().c_str());
    }
    return CString();
}

int Clamp(long double number) {
    if (std::isnan(number)) return 0;
    if (number >= static_cast<long double>(INT_MAX)) return INT_MAX;
    if (number <= static_cast<long double>(INT_MIN)) return INT_MIN;
    return static_cast<int>(number);
}

int NumberOf(const json& value) {
    if (value.is_number_unsigned()) {
        const auto n = value.get<json::number_unsigned_t>();
        return n > static_cast<json::number_unsigned_t>(INT_MAX) ? INT_MAX : static_cast<int>(n);
    }
    if (value.is_number_integer()) return Clamp(static_cast<long double>(value.get<json::number_integer_t>()));
    if (value.is_number_float()) return Clamp(static_cast<long double>(value.get<double>()));
    if (value.is_boolean()) return value.get<bool>() ? 1 : 0;
    if (value.is_string()) {
        // Decimal text in place of a number.
        const std::string& text = value.get_ref<const std::string&>();
        char* end = nullptr;
        const long long n = std::strtoll(text.c_str(), &end, 10);
        if (end == text.c_str()) return 0;
        return Clamp(static_cast<long double>(n));
    }
    return 0;
}

const json& Member(const json& object, const char* name) {
    static const json missing;
    const auto it = object.find(name);
    return it == object.end() ? missing : *it;
}

ORVCONTACTINFO ContactOf(const json& value) {
    ORVCONTACTINFO contact;
    if (!value.is_object()) return contact;
    contact.id = TextOf(Member(value, "id"));
    contact.isMember = NumberOf(Member(value, "isMember"));
    contact.nodeRank = NumberOf(Member(value, "nodeRank"));
    contact.firstName = TextOf(Member(value, "firstName"));
    contact.lastName = TextOf(Member(value, "lastName"));
    contact.email = TextOf(Member(value, "email"));
    contact.occupation = TextOf(Member(value, "occupation"));
    contact.emailPrivate = NumberOf(Member(value, "emailPrivate"));
    contact.chatHidden = NumberOf(Member(value, "chatHidden"));
    contact.chatPresence = TextOf(Member(value, "chatPresence"));
    contact.canChat = NumberOf(Member(value, "canChat"));
    return contact;
}

// Records that are not objects are skipped: they name nobody.
std::vector<ORVCONTACTINFO> ContactsOf(const json& value, size_t limit) {
    std::vector<ORVCONTACTINFO> contacts;
    if (!value.is_array()) return contacts;
    contacts.reserve(value.size() < limit ? value.size() : limit);
    for (const json& item : value) {
        if (contacts.size() >= limit) break;
        if (item.is_object()) contacts.push_back(ContactOf(item));
    }
    return contacts;
}

}  // namespace

std::string OrvAnsiToUtf8(const CString& text) {
    return FromWide(CP_UTF8, ToWide(CP_ACP, text.GetString(), text.GetLength()));
}

CString OrvUtf8ToAnsi(const std::string& text) {
    const size_t end = text.find('\0');
    const size_t length = end == std::string::npos ? text.size() : end;
    if (length == 0 || length > static_cast<size_t>(INT_MAX)) return CString();
    const std::string ansi =
        FromWide(CP_ACP, ToWide(CP_UTF8, text.data(), static_cast<int>(length)));
    return CString(ansi.data(), static_cast<int>(ansi.size()));
}

std::string OrvEncodeRequest(const OrvCommandSpec_t& command, const std::vector<CString>& args) {
    // Members in argument order, as the server's documentation lists them.
    nlohmann::ordered_json body = nlohmann::ordered_json::object();
    size_t index = 0;
    for (const char* const* member = command.request; *member; ++member, ++index)
        body[*member] = index < args.size() ? OrvAnsiToUtf8(args[index]) : std::string();
    return body.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
}

bool OrvDecodeAnswer(const OrvCommandSpec_t& command, const std::string& body,
                     OrvAnswerRecord& answer) {
    const json::parser_callback_t limitDepth = [](int depth, json::parse_event_t, json&) {
        return depth <= kMaxDepth;
    };
    const json root = json::parse(body, limitDepth, false);
    if (!root.is_object()) return false;
    const json& code = Member(root, "code");
    if (!code.is_string()) return false;

    for (const char* const* member = command.text; *member; ++member)
        answer.text.push_back(TextOf(Member(root, *member)));
    for (const char* const* member = command.numbers; *member; ++member)
        answer.numbers.push_back(NumberOf(Member(root, *member)));

    if (command.shape == ORV_SHAPE_RECORDS) {
        answer.records = ContactsOf(Member(root, "records"), kOrvMaxRecords);
    } else if (command.shape == ORV_SHAPE_PATHS) {
        const json& paths = Member(root, "paths");
        if (paths.is_array()) {
            for (const json& path : paths) {
                if (answer.paths.size() >= kOrvMaxPaths) break;
                // A path without nodes joins nobody; drop it.
                std::vector<ORVCONTACTINFO> nodes = ContactsOf(path, kOrvMaxPathNodes);
                if (!nodes.empty()) answer.paths.push_back(std::move(nodes));
            }
        }
    }

    const json& notices = Member(root, "notices");
    if (notices.is_array()) {
        for (const json& notice : notices) {
            if (answer.notices.size() >= kOrvMaxNotices) break;
            if (notice.is_string()) answer.notices.push_back(TextOf(notice));
        }
    }
    return true;
}
