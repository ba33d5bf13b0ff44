#pragma once
// Reads JSON: `set --json` takes the settings in the form `show --json` writes. A strict
// reader of one value into a small tree; the escapes \udc80 to \udcff come back as the bytes
// the writer escaped (as Python's "surrogateescape" does). Nesting deeper than kMaxJsonDepth is
// refused, so no input chooses the depth of the recursion.

#include <cstddef>
#include <map>
#include <string>
#include <vector>

namespace pfsetup::app {

constexpr int kMaxJsonDepth = 64;

struct JsonValue {
    enum Kind { Null, Bool, Number, String, Array, Object } kind = Null;
    bool boolean = false;
    double number = 0;
    std::string text; // a string's bytes, or a number as written
    std::vector<JsonValue> items;
    std::map<std::string, JsonValue> members;
    size_t begin = 0, end = 0; // where the value stands in the text read

    // A member or item; a Null value where there is none.
    const JsonValue& operator[](const std::string& key) const;
    const JsonValue& operator[](size_t index) const;
    bool Has(const std::string& key) const { return members.count(key) != 0; }
};

// False, with what is wrong and the offset where in `error`, for text that is not one JSON
// value (white space around it allowed).
bool ParseJson(const std::string& text, JsonValue& value, std::string& error);

} // namespace pfsetup::app
