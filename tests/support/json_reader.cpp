#include "support/json_reader.h"

#include <cstdlib>
#include <stdexcept>

namespace pfsetup::test {

namespace {

struct Parser {
    const std::string& s;
    size_t i = 0;

    void Space() {
        while (i < s.size() && (s[i] == ' ' || s[i] == '\n' || s[i] == '\r' || s[i] == '\t'))
            ++i;
    }
    void Expect(char c) {
        Space();
        if (i >= s.size() || s[i] != c)
            throw std::runtime_error(std::string("expected ") + c);
        ++i;
    }
    std::string Text() {
        Expect('"');
        std::string out;
        while (i < s.size() && s[i] != '"') {
            if (static_cast<unsigned char>(s[i]) < 0x20)
                throw std::runtime_error("control character in string");
            if (s[i] == '\\') {
                ++i;
                if (i >= s.size())
                    break;
                switch (s[i]) {
                case 'n':
                    out += '\n';
                    break;
                case 't':
                    out += '\t';
                    break;
                case 'r':
                    out += '\r';
                    break;
                case 'u':
                    out += static_cast<char>(std::strtol(s.substr(i + 1, 4).c_str(), nullptr, 16));
                    i += 4;
                    break;
                default:
                    out += s[i];
                }
                ++i;
            } else {
                out += s[i++];
            }
        }
        Expect('"');
        return out;
    }
    JsonValue Value() {
        Space();
        JsonValue v;
        if (i >= s.size())
            throw std::runtime_error("unexpected end");
        if (s[i] == '{') {
            v.kind = JsonValue::Object;
            ++i;
            Space();
            if (i < s.size() && s[i] == '}') {
                ++i;
                return v;
            }
            do {
                std::string key = Text();
                Expect(':');
                v.members[key] = Value();
                Space();
            } while (i < s.size() && s[i] == ',' && ++i);
            Expect('}');
        } else if (s[i] == '[') {
            v.kind = JsonValue::Array;
            ++i;
            Space();
            if (i < s.size() && s[i] == ']') {
                ++i;
                return v;
            }
            do {
                v.items.push_back(Value());
                Space();
            } while (i < s.size() && s[i] == ',' && ++i);
            Expect(']');
        } else if (s[i] == '"') {
            v.kind = JsonValue::String;
            v.text = Text();
        } else if (s.compare(i, 4, "true") == 0 || s.compare(i, 5, "false") == 0) {
            v.kind = JsonValue::Bool;
            v.boolean = s[i] == 't';
            i += v.boolean ? 4 : 5;
        } else if (s.compare(i, 4, "null") == 0) {
            i += 4;
        } else {
            char* end = nullptr;
            v.kind = JsonValue::Number;
            v.number = std::strtod(s.c_str() + i, &end);
            if (end == s.c_str() + i)
                throw std::runtime_error("bad value");
            i = static_cast<size_t>(end - s.c_str());
        }
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
        value = parser.Value();
        parser.Space();
        if (parser.i != text.size())
            throw std::runtime_error("text after the value");
        return true;
    } catch (const std::exception& e) {
        error = std::string(e.what()) + " at " + std::to_string(parser.i);
        return false;
    }
}

} // namespace pfsetup::test
