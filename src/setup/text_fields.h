#pragma once
// Field splitting of setting values and the pin-type key names of the project file.
// An empty separator never occurs in a text, so it splits nothing.
// Output references may be the same object as `text`.

#include <string>

// Splits at the first occurrence of `separator`: 1 with the parts before and after it, or 0
// with left = text and right empty when it does not occur.
int SplitAtFirst(const std::string& text, const std::string& separator, std::string& left,
                 std::string& right);

// The n-th separator-delimited piece, counting from 1; empty when the text has fewer pieces.
// With n below 1 the field is left unchanged. Returns 1.
int GetNthField(const std::string& text, int n, const std::string& separator, std::string& field);

// The number of non-empty pieces: separators at either end or side by side add none.
int CountFields(const std::string& text, const std::string& separator);

// Calls `item` with each item of a comma-separated list, as splitting the rest at its first
// comma until nothing remains gives them ("a,,b," gives "a", "", "b"), in one pass over the
// text: splitting and keeping the rest would copy a long list once per item.
template <class Item>
void ForEachListItem(const std::string& text, Item&& item) {
    std::string::size_type start = 0;
    while (start < text.size()) {
        std::string::size_type comma = text.find(',', start);
        if (comma == std::string::npos) {
            comma = text.size();
        }
        item(text.substr(start, comma - start));
        start = comma + 1;
    }
}

// "PinType_" and a pin type's name -> the name; a key naming no known pin type (exact case)
// -> kUnspecifiedPinType.
std::string PinTypeFromKey(const std::string& key);
