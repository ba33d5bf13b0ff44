#include "projfile/project_parser.h"

#include "projfile/spi_messages.h"
#include "projfile/spi_text.h"

#include <utility>
#include <vector>

namespace {

constexpr const char* kFailedToRead = "SPI_ERROR: Failed to read line %d in \"%s\"";
constexpr const char* kMissingQuote = "SPI_ERROR: Missing closing quote at line %d in \"%s\"";

bool IsQuote(char c) {
    return c == '\'' || c == '"';
}

void CutAtBrace(std::string& text) {
    const std::size_t brace = text.find('{');
    if (brace != std::string::npos) {
        text.erase(brace);
    }
}

} // namespace

SpiProjectFile::SpiProjectFile(std::istream& in, const std::string& path)
    : in_(in), path_(std::make_shared<const std::string>(path)) {}

bool SpiProjectFile::ReadLine(std::string& line) {
    if (closed_ || !std::getline(in_, line)) {
        return false;
    }
    // Text mode: a CR LF line end reads as LF.
    if (!line.empty() && line.back() == '\r') {
        line.pop_back();
    }
    return true;
}

void SpiProjectFile::RecordAtLine(const char* format) {
    SetLastMessage(pfsetup::Format(format, lineNumber, path_->c_str()));
}

void SpiProjectFile::StartRest(std::string line, std::size_t from) {
    rest = std::move(line);
    restBegin_ = from;
    restEnd_ = rest.size();
}

int SpiProjectFile::ReadProgramHeader(std::string& name) {
    std::string line;
    for (;;) {
        ++lineNumber;
        if (!ReadLine(line)) {
            closed_ = true;
            return 1;
        }
        line = pfsetup::Trimmed(line);
        CutAtBrace(line);
        if (!line.empty()) {
            break;
        }
    }
    pfsetup::ToUpperInPlace(line);
    if (line.find("START_") == std::string::npos) {
        SetLastMessage(pfsetup::Format("SPI_ERROR: Line %d does not fall in "
                                       "START_<program>..END_<program> section.\n"
                                       "Incorrect project file %s.",
                                       lineNumber, path_->c_str()));
        closed_ = true;
        return -1;
    }
    // The name is taken from the seventh character on, wherever "START_" stood.
    std::string program = pfsetup::Trimmed(line).substr(6);
    CutAtBrace(program);
    while (!program.empty() && pfsetup::IsSpaceByte(program.back())) {
        program.pop_back();
    }
    endMarker = "END_" + program;
    name = std::move(program);
    return 0;
}

int SpiProjectFile::ReadDirectiveName(std::string& name) {
    std::string line;
    ++lineNumber;
    if (!ReadLine(line)) {
        RecordAtLine(kFailedToRead);
        return -1;
    }
    directiveLine_ = lineNumber;
    line = pfsetup::Trimmed(line);
    std::size_t separator = line.find(' ');
    if (separator == std::string::npos) {
        separator = line.find('\t');
    }
    if (separator == std::string::npos) {
        pfsetup::ToUpperInPlace(line);
        CutAtBrace(line);
        if (line == endMarker) {
            return 5;
        }
        name = std::move(line);
        StartRest(std::string(), 0);
        return 0;
    }
    if (IsQuote(line[0])) {
        const std::size_t close = line.find(line[0], 1);
        if (close == std::string::npos) {
            RecordAtLine(kMissingQuote);
            return -1;
        }
        std::string quoted = line.substr(1, close - 1);
        if (quoted == endMarker) {
            return 5;
        }
        name = std::move(quoted);
        StartRest(std::move(line), close + 1);
        return 0;
    }
    name = line.substr(0, separator);
    StartRest(std::move(line), separator);
    return 0;
}

int SpiProjectFile::ReadValueToken(std::string& value, int& doubleQuotedFlag) {
    while (restBegin_ < restEnd_ && pfsetup::IsSpaceByte(rest[restBegin_])) {
        ++restBegin_;
    }
    while (restEnd_ > restBegin_ && pfsetup::IsSpaceByte(rest[restEnd_ - 1])) {
        --restEnd_;
    }
    if (restBegin_ >= restEnd_) {
        return 4;
    }
    const bool continues = rest[restEnd_ - 1] == '\\';
    const char first = rest[restBegin_];
    if (IsQuote(first)) {
        const std::size_t close = rest.find(first, restBegin_ + 1);
        if (close == std::string::npos || close >= restEnd_) {
            RecordAtLine(kMissingQuote);
            closed_ = true;
            return -1;
        }
        if (first == '"') {
            doubleQuotedFlag = 1;
        }
        value.assign(rest, restBegin_ + 1, close - restBegin_ - 1);
        restBegin_ = close + 1;
    } else {
        const std::size_t space = rest.find(' ', restBegin_);
        if (space != std::string::npos && space < restEnd_) {
            value.assign(rest, restBegin_, space - restBegin_);
            restBegin_ = space;
        } else {
            // The final backslash of a continued line is no part of the value; it stays in
            // `rest` and calls for the next line below.
            const std::size_t valueEnd = continues ? restEnd_ - 1 : restEnd_;
            value.assign(rest, restBegin_, valueEnd - restBegin_);
            restBegin_ = valueEnd;
        }
    }
    if (continues) {
        while (restBegin_ < restEnd_ && pfsetup::IsSpaceByte(rest[restBegin_])) {
            ++restBegin_;
        }
        if (restEnd_ - restBegin_ == 1) {
            ++lineNumber;
            std::string next;
            if (!ReadLine(next)) {
                RecordAtLine(kFailedToRead);
                closed_ = true;
                return -1;
            }
            StartRest(std::move(next), 0);
        }
    }
    return 0;
}

namespace {

// 0 when the section ended (also without its end line), -1 when the whole read fails.
int ReadDirectives(SpiProgram& program, SpiProjectFile& file, int level) {
    std::string name;
    std::string value;
    std::vector<std::string> read;
    while (file.ReadDirectiveName(name) == 0) {
        SpiDirective* directive = program.directives.FindOrAppend(
            name, [&] { return std::make_unique<SpiDirective>(name, level); });
        directive->StartLevel(level);
        directive->origins[level] = SpiOrigin{file.SharedPath(), file.DirectiveLine()};
        if (level > 1) {
            directive->changed = true;
        }
        int result = 0;
        read.clear();
        while ((result = file.ReadValueToken(value, directive->doubleQuoted)) == 0) {
            read.push_back(std::move(value));
        }
        directive->values[level].Assign(read);
        if (result == -1) {
            return -1;
        }
    }
    return 0;
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
