#include "projfile/project_parser.h"

#include "projfile/spi_messages.h"
#include "projfile/spi_text.h"

#include <cstring>
#include <utility>
#include <vector>

namespace {

constexpr const char* kFailedToRead = "SPI_ERROR: Failed to read line %d in \"%s\"";
constexpr const char* kMissingQuote = "SPI_ERROR: Missing closing quote at line %d in \"%s\"";
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool IsQuote(char c) {
    return c == '\'' || c == '"';
}

std::string_view TrimmedView(std::string_view text) {
    while (!text.empty() && pfsetup::IsSpaceByte(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && pfsetup::IsSpaceByte(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

std::string_view CutAtBrace(std::string_view text) {
    const std::size_t brace = text.find('{');
    return brace == std::string_view::npos ? text : text.substr(0, brace);
}

std::string Upper(std::string_view text) {
    std::string out(text);
    pfsetup::ToUpperInPlace(out);
    return out;
}

bool HasSpaceOrTab(std::string_view text) {
    return text.find_first_of(" \t") != std::string_view::npos;
}

// A line inside a section that opens another one: "START_<name>" once cut before '{' and
// trimmed, holding no space or tab (a directive named so would carry values after a blank).
bool OpensSection(std::string_view line) {
    const std::string_view head = TrimmedView(CutAtBrace(line));
    if (head.size() < 6 || HasSpaceOrTab(head)) {
        return false;
    }
    return pfsetup::EqualsIgnoreCase(head.substr(0, 6), "START_");
}

} // namespace

SpiProjectFile::SpiProjectFile(std::string& text, const std::string& path)
    : text_(text.data()), size_(text.size()), path_(std::make_shared<const std::string>(path)) {
    // Editors on other systems start UTF-8 files with a byte-order mark; it is no part of the
    // first line.
    if (std::string_view(text).substr(0, kByteOrderMark.size()) == kByteOrderMark) {
        position_ = kByteOrderMark.size();
    }
}

bool SpiProjectFile::ReadLine(std::string_view& line) {
    if (closed_ || position_ >= size_) {
        return false;
    }
    const char* begin = text_ + position_;
    const std::size_t left = size_ - position_;
    // A line ends at LF, CR LF or a lone CR, whichever comes first.
    const void* lf = std::memchr(begin, '\n', left);
    const std::size_t lineFeed = lf ? static_cast<const char*>(lf) - begin : left;
    const void* cr = std::memchr(begin, '\r', lineFeed);
    if (cr != nullptr) {
        const std::size_t carriage = static_cast<const char*>(cr) - begin;
        line = std::string_view(begin, carriage);
        position_ += carriage + (carriage + 1 == lineFeed ? 2 : 1);
        return true;
    }
    line = std::string_view(begin, lineFeed);
    position_ += lineFeed + (lineFeed < left ? 1 : 0);
    return true;
}

void SpiProjectFile::RecordAtLine(const char* format) {
    SetLastMessage(pfsetup::Format(format, lineNumber, path_->c_str()));
}

int SpiProjectFile::ReadProgramHeader(std::string& name) {
    std::string_view line;
    for (;;) {
        if (pendingStart_ != std::string_view::npos) {
            // The START_ line that ended the previous section is read again, as a header.
            position_ = pendingStart_;
            pendingStart_ = std::string_view::npos;
        }
        ++lineNumber;
        if (!ReadLine(line)) {
            closed_ = true;
            return 1;
        }
        line = TrimmedView(CutAtBrace(TrimmedView(line)));
        if (!line.empty()) {
            break;
        }
    }
    const std::string upper = Upper(line);
    if (upper.find("START_") == std::string::npos) {
        SetLastMessage(pfsetup::Format("SPI_ERROR: Line %d does not fall in "
                                       "START_<program>..END_<program> section.\n"
                                       "Incorrect project file %s.",
                                       lineNumber, path_->c_str()));
        closed_ = true;
        return -1;
    }
    // The name is taken from the seventh character on, wherever "START_" stood.
    std::string_view program = std::string_view(upper).substr(6);
    while (!program.empty() && pfsetup::IsSpaceByte(program.back())) {
        program.remove_suffix(1);
    }
    endMarker = "END_";
    endMarker.append(program);
    endMarkerHasSpace_ = HasSpaceOrTab(program);
    sectionLine_ = lineNumber;
    name.assign(program);
    return 0;
}

int SpiProjectFile::ReadDirectiveName(std::string_view& name) {
    const std::size_t lineStart = position_;
    std::string_view line;
    ++lineNumber;
    if (!ReadLine(line)) {
        RecordAtLine(kFailedToRead);
        return -1;
    }
    directiveLine_ = lineNumber;
    line = TrimmedView(line);
    // A section whose name holds a blank ends at its end line although that line holds one.
    if (endMarkerHasSpace_ && Upper(TrimmedView(CutAtBrace(line))) == endMarker) {
        return 5;
    }
    std::size_t separator = line.find(' ');
    if (separator == std::string_view::npos) {
        separator = line.find('\t');
    }
    if (separator == std::string_view::npos) {
        const std::string_view cut = CutAtBrace(line);
        if (cut.size() == endMarker.size() && pfsetup::EqualsIgnoreCase(cut, endMarker)) {
            return 5;
        }
        if (OpensSection(line)) {
            SetLastMessage(pfsetup::Format(
                "SPI_ERROR: Missing %s for the section opened at line %d: line %d opens "
                "another section in \"%s\"",
                endMarker.c_str(), sectionLine_, lineNumber, path_->c_str()));
            --lineNumber;
            pendingStart_ = lineStart;
            return 5;
        }
        // A name read without values is upper case; the reader owns its text, so the name is
        // made upper case where it stands.
        char* own = text_ + (cut.data() - text_);
        for (std::size_t i = 0; i < cut.size(); ++i) {
            own[i] = pfsetup::AsciiUpper(own[i]);
        }
        name = cut;
        rest = std::string_view();
        return 0;
    }
    if (IsQuote(line[0])) {
        const std::size_t close = line.find(line[0], 1);
        if (close == std::string_view::npos) {
            RecordAtLine(kMissingQuote);
            return -1;
        }
        const std::string_view quoted = line.substr(1, close - 1);
        if (quoted == endMarker) {
            return 5;
        }
        name = quoted;
        rest = line.substr(close + 1);
        return 0;
    }
    name = line.substr(0, separator);
    rest = line.substr(separator);
    return 0;
}

int SpiProjectFile::ReadValueToken(std::string_view& value, int& doubleQuotedFlag) {
    rest = TrimmedView(rest);
    if (rest.empty()) {
        return 4;
    }
    const bool continues = rest.back() == '\\';
    const char first = rest.front();
    if (IsQuote(first)) {
        const std::size_t close = rest.find(first, 1);
        if (close == std::string_view::npos) {
            RecordAtLine(kMissingQuote);
            closed_ = true;
            return -1;
        }
        if (first == '"') {
            doubleQuotedFlag = 1;
        }
        value = rest.substr(1, close - 1);
        rest.remove_prefix(close + 1);
    } else {
        const std::size_t space = rest.find(' ');
        if (space != std::string_view::npos) {
            value = rest.substr(0, space);
            rest.remove_prefix(space);
        } else {
            // The final backslash of a continued line is no part of the value; it stays in
            // `rest` and calls for the next line below.
            const std::size_t valueEnd = continues ? rest.size() - 1 : rest.size();
            value = rest.substr(0, valueEnd);
            rest.remove_prefix(valueEnd);
        }
    }
    if (continues) {
        while (!rest.empty() && pfsetup::IsSpaceByte(rest.front())) {
            rest.remove_prefix(1);
        }
        if (rest.size() == 1) {
            ++lineNumber;
            std::string_view next;
            if (!ReadLine(next)) {
                RecordAtLine(kFailedToRead);
                closed_ = true;
                return -1;
            }
            rest = next;
        }
    }
    return 0;
}

namespace {

// 0 when the section ended (also without its end line), -1 when the whole read fails.
int ReadDirectives(SpiProgram& program, SpiProjectFile& file, int level) {
    std::string_view name;
    std::string_view value;
    std::vector<std::string> read;
    for (;;) {
        if (file.ReadDirectiveName(name) != 0) {
            return 0;
        }
        read.clear();
        int doubleQuoted = 0;
        int result = 0;
        while ((result = file.ReadValueToken(value, doubleQuoted)) == 0) {
            read.emplace_back(value);
        }
        SpiDirective* directive = program.directives.FindOrAppend(
            name, [&] { return std::make_unique<SpiDirective>(std::string(name), level); });
        directive->StartLevel(level);
        directive->origins[level] = SpiOrigin{file.SharedPath(), file.DirectiveLine()};
        if (doubleQuoted != 0) {
            directive->doubleQuoted = 1;
        }
        if (level > 1) {
            directive->changed = true;
        }
        directive->values[level].Assign(read);
        if (result == -1) {
            return -1;
        }
    }
}

} // namespace

int ReadPrograms(SpiProgramList& programs, SpiProjectFile& file, int level) {
    if (level < 0 || level >= SpiLevelCount) {
        return -1;
    }
    std::string name;
    int result = 0;
    for (;;) {
        const int header = file.ReadProgramHeader(name);
        if (header != 0) {
            result = header == 1 ? 0 : -1;
            break;
        }
        SpiProgram* program =
            programs.FindOrAppend(name, [&] { return std::make_unique<SpiProgram>(name, level); });
        if (level > 1) {
            program->changed = true;
        }
        const int section = ReadDirectives(*program, file, level);
        program->directives.Rewind();
        if (section != 0) {
            result = -1;
            break;
        }
    }
    programs.Rewind();
    return result;
}
