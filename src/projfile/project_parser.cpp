#include "projfile/project_parser.h"

#include "projfile/spi_messages.h"
#include "projfile/spi_text.h"

#include <cstdint>
#include <cstring>

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

SpiProjectFile::SpiProjectFile(SpiProgramList::KeptText text, const std::string& path)
    : text_(text.data), size_(text.size),
      carriageReturns_(std::memchr(text.data, '\r', text.size) != nullptr),
      path_(std::make_shared<const std::string>(path)) {
    // Editors on other systems start UTF-8 files with a byte-order mark; it is no part of the
    // first line.
    if (std::string_view(text.data, text.size).substr(0, kByteOrderMark.size()) == kByteOrderMark) {
        position_ = kByteOrderMark.size();
    }
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
        StartValues(line.substr(line.size()));
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
        StartValues(line.substr(close + 1));
        return 0;
    }
    name = line.substr(0, separator);
    StartValues(line.substr(separator));
    return 0;
}

void SpiProjectFile::ValueFailed(bool unclosedQuote) {
    if (!unclosedQuote) {
        ++lineNumber; // the line that could not be read
    }
    RecordAtLine(unclosedQuote ? kMissingQuote : kFailedToRead);
    closed_ = true;
}

namespace {

// 0 when the section ended (also without its end line), -1 when the whole read fails.
int ReadDirectives(SpiProgramList& programs, SpiProgram& program, SpiProjectFile& file, int level) {
    std::string_view name;
    std::string_view value;
    SpiDirectiveList& directives = program.directives;
    for (;;) {
        if (file.ReadDirectiveName(name) != 0) {
            return 0;
        }
        SpiDirective* directive = directives.FindOrAppendView(name, level);
        programs.StartLevel(*directive, level);
        int doubleQuoted = 0;
        std::uint32_t count = 0;
        int result = 0;
        while ((result = file.ReadValueToken(value, doubleQuoted)) == 0) {
            ++count;
        }
        if (doubleQuoted != 0) {
            directive->doubleQuoted = 1;
        }
        if (level > 1) {
            directive->changed = true;
        }
        // The values stay in the text, read again value by value when asked for.
        programs.SetReadValues(*directive, file.ValuesText(), count);
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
        SpiProgram* program = programs.FindOrAppend(name, level);
        if (level > 1) {
            program->changed = true;
        }
        const int section = ReadDirectives(programs, *program, file, level);
        program->directives.Rewind();
        if (section != 0) {
            result = -1;
            break;
        }
    }
    programs.Rewind();
    return result;
}
