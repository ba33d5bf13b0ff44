#include "app/json_reader.h"

#include "setup/number_text.h"

#include <stdexcept>

namespace pfsetup::app {

namespace {

struct Parser {
    const std::string& s;
    size_t i = 0;

    [[noreturn]] void Fail(const char* what) const { throw std::runtime_error(what); }
    void Space() {
        while (i < s.size() && (s[i] == ' ' || s[i] == '\n' || s[i] == '\r' || s[i] == '\t')) {
            ++i;
        }
    }
    void Expect(char c) {
        Space();
        if (i >= s.size() || s[i] != c) {
            Fail(c == '"' ? "a string expected" : "a character of JSON's syntax expected");
        }
        ++i;
    }
    unsigned Hex4() {
        if (i + 4 > s.size()) {
            Fail("a \\u escape cut short");
        }
        unsigned code = 0;
        for (int k = 0; k < 4; ++k, ++i) {
            const char c = s[i];
            const int digit = c >= '0' && c <= '9'   ? c - '0'
                              : c >= 'a' && c <= 'f' ? c - 'a' + 10
                              : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                                     : -1;
            if (digit < 0) {
                Fail("a \\u escape without four hexadecimal digits");
            }
            code = code * 16 + static_cast<unsigned>(digit);
        }
        return code;
    }
    static void AppendUtf8(std::string& out, unsigned code) {
        if (code < 0x80) {
            out += static_cast<char>(code);
        } else if (code < 0x800) {
            out += static_cast<char>(0xC0 | (code >> 6));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            out += static_cast<char>(0xE0 | (code >> 12));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (code >> 18));
            out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        }
    }
    std::string Text() {
        Expect('"');
        std::string out;
        for (;;) {
            if (i >= s.size()) {
                Fail("a string without its closing quote");
            }
            const char c = s[i++];
            if (c == '"') {
                return out;
            }
            if (static_cast<unsigned char>(c) < 0x20) {
                Fail("a control character in a string");
            }
            if (c != '\\') {
                out += c;
                continue;
            }
            if (i >= s.size()) {
                Fail("a string without its closing quote");
            }
            const char e = s[i++];
            switch (e) {
            case '"':
            case '\\':
            case '/':
                out += e;
                break;
            case 'b':
                out += '\b';
                break;
            case 'f':
                out += '\f';
                break;
            case 'n':
                out += '\n';
                break;
            case 'r':
                out += '\r';
                break;
            case 't':
                out += '\t';
                break;
            case 'u': {
                unsigned code = Hex4();
                if (code >= 0xDC80 && code <= 0xDCFF) {
                    out += static_cast<char>(code - 0xDC00); // a byte that was not UTF-8
                    break;
                }
                if (code >= 0xD800 && code <= 0xDBFF && s.compare(i, 2, "\\u") == 0) {
                    i += 2;
                    const unsigned low = Hex4();
                    if (low < 0xDC00 || low > 0xDFFF) {
                        Fail("a \\u escape of half a character");
                    }
                    code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
                } else if (code >= 0xD800 && code <= 0xDFFF) {
                    Fail("a \\u escape of half a character");
                }
                AppendUtf8(out, code);
                break;
            }
            default:
                Fail("an unknown escape in a string");
            }
        }
    }
    void Digits() {
        const size_t start = i;
        while (i < s.size() && s[i] >= '0' && s[i] <= '9') {
            ++i;
        }
        if (i == start) {
            Fail("a number without digits");
        }
    }
    void Number(JsonValue& v) {
        const size_t start = i;
        if (s[i] == '-') {
            ++i;
        }
        if (i < s.size() && s[i] == '0') {
            ++i;
        } else {
            Digits();
        }
        if (i < s.size() && s[i] == '.') {
            ++i;
            Digits();
        }
        if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
            ++i;
            if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
                ++i;
            }
            Digits();
        }
        v.kind = JsonValue::Number;
        v.text = s.substr(start, i - start);
        v.number = ParseDecimal(v.text);
    }
    bool Word(const char* word) {
        const std::string w(word);
        if (s.compare(i, w.size(), w) != 0) {
            return false;
        }
        i += w.size();
        return true;
    }
    JsonValue Value(int depth) {
        if (depth > kMaxJsonDepth) {
            Fail("nesting too deep");
        }
        Space();
        JsonValue v;
        v.begin = i;
        if (i >= s.size()) {
            Fail("a value expected");
        }
        if (s[i] == '{' || s[i] == '[') {
            const bool object = s[i] == '{';
            const char close = object ? '}' : ']';
            v.kind = object ? JsonValue::Object : JsonValue::Array;
            ++i;
            Space();
            if (i < s.size() && s[i] == close) {
                ++i;
            } else {
                do {
                    if (object) {
                        std::string key = Text();
                        Expect(':');
                        if (v.members.count(key)) {
                            Fail("a member given twice");
                        }
                        v.members[key] = Value(depth + 1);
                    } else {
                        v.items.push_back(Value(depth + 1));
                    }
                    Space();
                } while (i < s.size() && s[i] == ',' && ++i);
                Expect(close);
            }
        } else if (s[i] == '"') {
            v.kind = JsonValue::String;
            v.text = Text();
        } else if (Word("true") || Word("false")) {
            v.kind = JsonValue::Bool;
            v.boolean = s[v.begin] == 't';
        } else if (Word("null")) {
            v.kind = JsonValue::Null;
        } else if (s[i] == '-' || (s[i] >= '0' && s[i] <= '9')) {
            Number(v);
        } else {
            Fail("a value expected");
        }
        v.end = i;
        return v;
    }
};

const JsonValue& Missing() {
    static const JsonValue none;
    return none;
}

} // namespace

const JsonValue& JsonValue::operator[](const std::string& key) const {
    auto it = members.find(key);
    return it == members.end() ? Missing() : it->second;
}

const JsonValue& JsonValue::operator[](size_t index) const {
    return index < items.size() ? items[index] : Missing();
}

bool ParseJson(const std::string& text, JsonValue& value, std::string& error) {
    Parser parser{text};
    try {
        value = parser.Value(0);
        parser.Space();
        if (parser.i != text.size()) {
            parser.Fail("text after the value");
        }
        return true;
    } catch (const std::runtime_error& e) {
        error = std::string(e.what()) + " at offset " + std::to_string(parser.i);
        return false;
    }
}

} // namespace pfsetup::app
