#include "projfile/value_expansion.h"

#include "projfile/installed_files.h"

#include <cctype>
#include <cstdlib>
#include <utility>

namespace {

bool LookupVariable(const std::string& name, std::string& value) {
    if (name.empty()) {
        return false;
    }
    if (LookupInstallRoot(name, value)) {
        return true;
    }
    if (const char* text = std::getenv(name.c_str())) {
        value = text;
        return true;
    }
    return false;
}

} // namespace

bool IsNameChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_';
}

bool LookupInstallRoot(const std::string& name, std::string& root) {
    if (name != "QRV_INST_DIR") {
        return false;
    }
    std::string found;
    if (!qrvGetInstallRoot(found) || found.empty()) {
        return false;
    }
    root = found;
    return true;
}

int ExpandVariables(const std::string& input, std::string& result, std::string& error) {
    std::string expanded;
    std::string name;
    std::string value;
    const std::size_t size = input.size();
    std::size_t i = 0;
    while (i < size) {
        const char c = input[i++];
        if (c != '$') {
            expanded += c;
            continue;
        }
        if (i == size) {
            // The reason names the character after the '$', and there is none.
            error = "Invalid character ";
            return 0;
        }
        const char next = input[i];
        if (next == '{' || next == '(') {
            const char closing = next == '{' ? '}' : ')';
            const std::size_t start = ++i;
            while (i < size && input[i] != closing) {
                if (!IsNameChar(input[i])) {
                    error = std::string("Invalid character ") + input[i] +
                            " found in environment variable name";
                    return 0;
                }
                ++i;
            }
            if (i == size) {
                error = next == '{' ? "Closing '}' not found." : "Closing ')' not found.";
                return 0;
            }
            name.assign(input, start, i - start);
            ++i;
            if (!LookupVariable(name, value)) {
                error = "Environment Variable " + name + (next == '{' ? " not set" : " not set.");
                return 0;
            }
            expanded += value;
        } else if (!IsNameChar(next)) {
            error = std::string("Invalid character ") + next + " found after '${'";
            return 0;
        } else {
            const std::size_t start = i;
            while (i < size && IsNameChar(input[i])) {
                ++i;
            }
            name.assign(input, start, i - start);
            if (!LookupVariable(name, value)) {
                error = "Environment variable " + name + " not set.";
                return 0;
            }
            expanded += value;
            if (i < size) {
                expanded += input[i++];
            }
        }
    }
    result = std::move(expanded);
    return 1;
}
