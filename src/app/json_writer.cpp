#include "app/json_writer.h"

#include "setup/number_text.h"

#include <cmath>
#include <cstdio>

namespace pfsetup::app {

std::string JsonWriter::Quote(const std::string& text) {
    std::string out = "\"";
    for (unsigned char c : text) {
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (c < 0x20) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
                out += escaped;
            } else {
                out += static_cast<char>(c);
            }
        }
    }
    return out + "\"";
}

void JsonWriter::Key(const char* key) {
    if (!first_.back())
        text_ += ',';
    first_.back() = false;
    if (key)
        text_ += Quote(key) + ':';
}

JsonWriter& JsonWriter::BeginObject(const char* key) {
    Key(key);
    text_ += '{';
    first_.push_back(true);
    return *this;
}

JsonWriter& JsonWriter::EndObject() {
    first_.pop_back();
    text_ += '}';
    return *this;
}

JsonWriter& JsonWriter::BeginArray(const char* key) {
    Key(key);
    text_ += '[';
    first_.push_back(true);
    return *this;
}

JsonWriter& JsonWriter::EndArray() {
    first_.pop_back();
    text_ += ']';
    return *this;
}

JsonWriter& JsonWriter::String(const char* key, const std::string& value) {
    Key(key);
    text_ += Quote(value);
    return *this;
}

JsonWriter& JsonWriter::Number(const char* key, double value) {
    Key(key);
    // JSON has no infinity or NaN.
    text_ += std::isfinite(value) ? FormatFixed6(value) : "null";
    return *this;
}

JsonWriter& JsonWriter::Integer(const char* key, long long value) {
    Key(key);
    text_ += FormatInt(value);
    return *this;
}

JsonWriter& JsonWriter::Bool(const char* key, bool value) {
    Key(key);
    text_ += value ? "true" : "false";
    return *this;
}

JsonWriter& JsonWriter::Null(const char* key) {
    Key(key);
    text_ += "null";
    return *this;
}

} // namespace pfsetup::app
