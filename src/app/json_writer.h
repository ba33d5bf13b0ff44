#pragma once
// A small JSON writer for the tool's --json output: objects, arrays, strings, numbers. The
// text is always valid UTF-8: a string's bytes that are not UTF-8 are written as the escapes
// \udc80 to \udcff (one per byte, as Python's "surrogateescape" reads them back).

#include <string>
#include <vector>

namespace pfsetup::app {

class JsonWriter {
public:
    JsonWriter& BeginObject(const char* key = nullptr);
    JsonWriter& EndObject();
    JsonWriter& BeginArray(const char* key = nullptr);
    JsonWriter& EndArray();
    JsonWriter& String(const char* key, const std::string& value);
    JsonWriter& Number(const char* key, double value);
    JsonWriter& Integer(const char* key, long long value);
    JsonWriter& Bool(const char* key, bool value);
    JsonWriter& Null(const char* key);
    const std::string& Text() const { return text_; }

    static std::string Quote(const std::string& text);

private:
    void Key(const char* key);
    std::string text_;
    std::vector<bool> first_{true};
};

} // namespace pfsetup::app
