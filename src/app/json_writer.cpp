#include "app/json_writer.h"

#include "base/ascii_text.h"
#include "setup/number_text.h"

#include <cmath>
#include <cstdio>

namespace pfsetup::app {

namespace {

// The length of the well-formed UTF-8 sequence at `text[i]`, or 0 when the byte there does
// not start one (a stray continuation byte, an overlong form, a surrogate, beyond U+10FFFF,
// a sequence cut short).
size_t Utf8SequenceLength(const std::string& text, size_t i) {
    const auto byte = [&text](size_t at) { return static_cast<unsigned char>(text[at]); };
    const unsigned char lead = byte(i);
    size_t length = 0;
    unsigned char low = 0x80, high = 0xBF; // the allowed range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (i + length > text.size() || byte(i + 1) < low || byte(i + 1) > high) {
        return 0;
    }
    for (size_t k = 2; k < length; ++k) {
        if (byte(i + k) < 0x80 || byte(i + k) > 0xBF) {
            return 0;
        }
    }
    return length;
}

} // namespace

std::string JsonWriter::Quote(const std::string& text) {
    std::string out = "\"";
    char escaped[8];
    for (size_t i = 0; i < text.size();) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c >= 0x80) {
            if (const size_t length = Utf8SequenceLength(text, i)) {
                out.append(text, i, length);
                i += length;
            } else {
                // A byte that is not UTF-8 becomes the lone surrogate U+DC80..U+DCFF, as
                // Python's "surrogateescape" does, so the bytes can be had back.
                std::snprintf(escaped, sizeof escaped, "\\udc%02x", c);
                out += escaped;
                ++i;
            }
            continue;
        }
        AppendEscaped(out, c, "\\u%04x");
        ++i;
    }
    return out + "\"";
}

void JsonWriter::Key(const char* key) {
    if (!first_.back()) {
        text_ += ',';
    }
    first_.back() = false;
    if (key) {
        text_ += Quote(key) + ':';
    }
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
