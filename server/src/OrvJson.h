// A small writer for answer bodies: answers are built often and can be
// large (trees, paths), so they are written straight into one string.
#pragma once

#include <cstdint>
#include <string>

namespace orv {

void appendJsonString(std::string& out, const std::string& value);

class OrvJsonObject {
public:
    OrvJsonObject() : text_("{") {}
    OrvJsonObject& str(const char* key, const std::string& value) {
        key_(key);
        appendJsonString(text_, value);
        return *this;
    }
    OrvJsonObject& num(const char* key, int64_t value) {
        key_(key);
        text_ += std::to_string(value);
        return *this;
    }
    // `json` must already be valid JSON.
    OrvJsonObject& raw(const char* key, const std::string& json) {
        key_(key);
        text_ += json;
        return *this;
    }
    std::string finish() {
        text_ += '}';
        return std::move(text_);
    }

private:
    void key_(const char* key) {
        if (text_.size() > 1) text_ += ',';
        text_ += '"';
        text_ += key;
        text_ += "\":";
    }
    std::string text_;
};

}  // namespace orv
