#pragma once
// Reads JSON back for tests of the tool's --json output: a strict parser into a small tree.

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace pfsetup::test {

struct JsonValue {
    enum Kind { Null, Bool, Number, String, Array, Object } kind = Null;
    bool boolean = false;
    double number = 0;
    std::string text;
    std::vector<JsonValue> items;
    std::map<std::string, JsonValue> members;

    const JsonValue& operator[](const std::string& key) const;
    const JsonValue& operator[](size_t index) const;
};

// False (with the offset of the fault in `error`) for text that is not one JSON value.
bool ParseJson(const std::string& text, JsonValue& value, std::string& error);

} // namespace pfsetup::test
