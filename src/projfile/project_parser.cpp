#include "projfile/project_parser.h"

#include "projfile/spi_messages.h"
#include "projfile/spi_text.h"

#include <cstdint>
#include <cstring>
#include <unordered_map>

namespace {

constexpr const char* kFailedToRead = "SPI_ERROR: Failed to read line %d in \"%s\"";
constexpr const char* kMissingQuote = "SPI_ERROR: Missing closing quote at line %d in \"%s\"";
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// What the collecting mode notes, in the words `pfsetup check` shows.
constexpr const char* kOutsideSection =
    "text outside a START_<name> ... END_<name> section; a read of the project fails here";
constexpr const char* kStartNotFirst =
    "START_ should begin the line; the reader takes the section name from the seventh "
    "character on";
constexpr const char* kNoEndLine = "section %s has no %s line; it runs to the end of the file";
constexpr const char* kNoEndBeforeStart =
    "section %s has no %s line before line %d, which opens another section";
constexpr const char* kEndLineWithText = "%s is followed by more text, so it does not end the "
                                         "section; nothing may follow it on the line";
constexpr const char* kNameQuoteOpen =
    "missing closing quote in the key; a read ends the section here";
constexpr const char* kValueQuoteOpen = "missing closing quote; a read of the project fails here";
constexpr const char* kContinuedPastEnd =
    "the line continues past the end of the file; a read of the project fails here";
constexpr const char* kGivenAgain = "%s: given again (first at line %d); the last one applies";

bool IsQuote(char c) {
    return c == '\'' || c == '"';
}

std::string_view CutAtBrace(std::string_view text) {
    const std::size_t brace = text.find('{');
    return brace == std::string_view::npos ? text : text.substr(0, brace);
}

bool HasSpaceOrTab(std::string_view text) {
    return text.find_first_of(" \t") != std::string_view::npos;
}

// A line inside a section that opens another one: "START_<name>" once cut before '{' and
// trimmed, holding no space or tab (a directive named so would carry values after a blank).
bool OpensSection(std::string_view line) {
    const std::string_view head = pfsetup::TrimmedView(CutAtBrace(line));
    if (head.size() < 6 || HasSpaceOrTab(head)) {
        return false;
    }
    return pfsetup::EqualsIgnoreCase(head.substr(0, 6), "START_");
}

} // namespace

bool pfsetup::IsBlankEndLine(std::string_view line, std::string_view endMarker) {
    const std::string_view head = pfsetup::TrimmedView(CutAtBrace(pfsetup::TrimmedView(line)));
    return head.size() == endMarker.size() && pfsetup::EqualsIgnoreCase(head, endMarker);
}

SpiProjectFile::SpiProjectFile(SpiProgramList::KeptText text, const std::string& path,
                               std::vector<SpiProblem>* problems)
    : text_(text.data), size_(text.size),
      carriageReturns_(std::memchr(text.data, '\r', text.size) != nullptr),
      path_(std::make_shared<const std::string>(path)), problems_(problems) {
    // Editors on other systems start UTF-8 files with a byte-order mark; it is no part of the
    // first line.
    if (std::string_view(text.data, text.size).substr(0, kByteOrderMark.size()) == kByteOrderMark) {
        position_ = kByteOrderMark.size();
    }
}

void SpiProjectFile::RecordAtLine(const char* format, const std::string& problem) {
    pfsetup::RecordFailure(
        pfsetup::Format(format, lineNumber, path_->c_str()),
        pfsetup::Failure(pfsetup::ErrorKind::Syntax, *path_, problem, lineNumber));
}

void SpiProjectFile::Note(int line, std::string problem) {
    problems_->push_back({*path_, line, std::move(problem)});
}

int SpiProjectFile::ReadProgramHeader(std::string& name) {
    std::string_view line;
    std::string upper;
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
        const std::string_view raw = line;
        line = pfsetup::TrimmedView(CutAtBrace(pfsetup::TrimmedView(line)));
        if (line.empty()) {
            KeepComment(raw);
            continue;
        }
        upper = pfsetup::UpperCopy(line);
        if (upper.find("START_") != std::string::npos) {
            break;
        }
        if (Collecting()) {
            Note(lineNumber, kOutsideSection);
            continue;
        }
        pfsetup::RecordFailure(
            pfsetup::Format("SPI_ERROR: Line %d does not fall in "
                            "START_<program>..END_<program> section.\n"
                            "Incorrect project file %s.",
                            lineNumber, path_->c_str()),
            pfsetup::Failure(pfsetup::ErrorKind::Syntax, *path_,
                             "text outside a START_<name> ... END_<name> section", lineNumber));
        closed_ = true;
        return -1;
    }
    if (Collecting() && upper.compare(0, 6, "START_") != 0) {
        Note(lineNumber, kStartNotFirst);
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

void SpiProjectFile::KeepComment(std::string_view line) {
    const std::string_view trimmed = pfsetup::TrimmedView(line);
    if (trimmed.empty()) {
        return; // blank lines between sections are the writer's to make
    }
    // The header a save writes anew is not kept: its lines, in their order, at the top of the
    // file. Any other line ends the top, and is kept.
    if (atTop_) {
        static constexpr std::string_view kHeader[] = {
            "{ Machine generated file created by SPI }", "{ Last modified was ",
            "{ NOTE: Do not modify the contents of this file. If this is regenerated by }",
            "{       SPI, your modifications will be overwritten. }"};
        const auto matches = [&trimmed](int at) {
            const std::string_view expected = kHeader[at];
            return at == 1 ? trimmed.size() > expected.size() + 1 &&
                                 trimmed.substr(0, expected.size()) == expected &&
                                 trimmed.substr(trimmed.size() - 2) == " }"
                           : trimmed == expected;
        };
        int at = headerLines_;
        if (at == 1 && !matches(1)) {
            at = 2; // the time line is left out where the time is not known
        }
        if (at < 4 && matches(at)) {
            headerLines_ = at + 1;
            atTop_ = headerLines_ < 4;
            return;
        }
    }
    atTop_ = false;
    comments_.push_back(line);
}

std::vector<std::string_view> SpiProjectFile::TakeComments() {
    std::vector<std::string_view> taken;
    taken.swap(comments_);
    return taken;
}

int SpiProjectFile::ReadDirectiveName(std::string_view& name) {
    for (;;) {
        const std::size_t lineStart = position_;
        std::string_view line;
        ++lineNumber;
        if (!ReadLine(line)) {
            if (Collecting()) {
                Note(sectionLine_,
                     pfsetup::Format(kNoEndLine, endMarker.c_str() + 4, endMarker.c_str()));
            } else {
                RecordAtLine(kFailedToRead, "the file ends before " + endMarker);
            }
            return -1;
        }
        directiveLine_ = lineNumber;
        atTop_ = false;
        line = pfsetup::TrimmedView(line);
        currentLine_ = line;
        // A section whose name holds a blank ends at its end line although that line holds one.
        if (endMarkerHasSpace_ && pfsetup::IsBlankEndLine(line, endMarker)) {
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
            if (OpensSection(line) && !EndLineFollows()) {
                if (Collecting()) {
                    Note(sectionLine_, pfsetup::Format(kNoEndBeforeStart, endMarker.c_str() + 4,
                                                       endMarker.c_str(), lineNumber));
                } else {
                    pfsetup::RecordFailure(
                        pfsetup::Format("SPI_ERROR: Missing %s for the section opened at line "
                                        "%d: line %d opens another section in \"%s\"",
                                        endMarker.c_str(), sectionLine_, lineNumber,
                                        path_->c_str()),
                        pfsetup::Failure(pfsetup::ErrorKind::Syntax, *path_,
                                         pfsetup::Format("another section opens before %s (the "
                                                         "section opened at line %d)",
                                                         endMarker.c_str(), sectionLine_),
                                         lineNumber));
                }
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
                if (Collecting()) {
                    Note(lineNumber, kNameQuoteOpen);
                    continue; // the next line, still in the section
                }
                RecordAtLine(kMissingQuote, "missing closing quote");
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
}

bool SpiProjectFile::EndLineFollows() {
    if (!endLinesMade_) {
        // One pass over the text, so a file of many such lines is still read in linear time.
        endLinesMade_ = true;
        const char* at = text_;
        const char* const end = text_ + size_;
        while (at < end) {
            const std::size_t start = static_cast<std::size_t>(at - text_);
            const std::string_view line = pfsetup::TrimmedView(pfsetup::NextLine(at, end));
            if (line.empty()) {
                continue;
            }
            if (IsQuote(line[0])) {
                const std::size_t close = line.find(line[0], 1);
                if (close != std::string_view::npos && HasSpaceOrTab(line)) {
                    endLines_["Q" + std::string(line.substr(1, close - 1))] = start;
                }
                continue;
            }
            const std::string_view head = pfsetup::TrimmedView(CutAtBrace(line));
            if (head.size() < 4 || !pfsetup::EqualsIgnoreCase(head.substr(0, 4), "END_")) {
                continue;
            }
            endLines_[(HasSpaceOrTab(line) ? "B" : "E") + pfsetup::UpperCopy(head)] = start;
        }
    }
    const auto after = [this](const std::string& key) {
        const auto found = endLines_.find(key);
        return found != endLines_.end() && found->second >= position_;
    };
    if (endMarkerHasSpace_) {
        return after("B" + endMarker) || after("Q" + endMarker);
    }
    return after("E" + endMarker) || after("Q" + endMarker);
}

void SpiProjectFile::ValueFailed(bool unclosedQuote) {
    // A continuation fails at the line that could not be read.
    const int at = unclosedQuote ? lineNumber : lineNumber + 1;
    if (Collecting()) {
        Note(at, unclosedQuote ? kValueQuoteOpen : kContinuedPastEnd);
        return;
    }
    lineNumber = at;
    RecordAtLine(unclosedQuote ? kMissingQuote : kFailedToRead,
                 unclosedQuote ? "missing closing quote" : "the file ends inside a continued line");
    closed_ = true;
}

namespace {

// Whether a line inside a section is a comment (or blank) line: the format reads it as a
// directive named "" or beginning with '{', which the lines themselves make again when written
// back.
bool IsCommentLine(std::string_view line) {
    return line.empty() || line.front() == '{';
}

// What the collecting mode notes of a directive line the normal mode reads without a word: an
// end line followed by more text, a directive given again in the file.
class LineNotes {
public:
    LineNotes(SpiProgramList& programs, SpiProjectFile& file) : programs_(programs), file_(file) {}

    void Directive(std::string_view name, bool comment, const SpiDirective& directive, int level) {
        if (!name.empty() && !IsQuote(file_.CurrentLine().front()) &&
            pfsetup::EqualsIgnoreCase(name, file_.EndMarker())) {
            file_.Note(file_.DirectiveLine(),
                       pfsetup::Format(kEndLineWithText, file_.EndMarker().c_str()));
        }
        if (comment || !directive.HasLevel(level)) {
            return;
        }
        const auto first =
            firstLines_
                .emplace(programs_.PositionOf(directive), programs_.Origin(directive, level).line)
                .first;
        file_.Note(file_.DirectiveLine(),
                   pfsetup::Format(kGivenAgain, std::string(name).c_str(), first->second));
    }

private:
    SpiProgramList& programs_;
    SpiProjectFile& file_;
    // By directive: the line where the file named it first.
    std::unordered_map<std::uint32_t, int> firstLines_;
};

// 0 when the section ended (also without its end line), -1 when the whole read fails. At the
// user's level, comment lines are kept with the program, after the directive read before them.
// In the collecting mode (`notes`), a line whose values break is left out and reading goes on.
template <bool kCollecting>
int ReadDirectives(SpiProgramList& programs, SpiProgram& program, SpiProjectFile& file, int level,
                   LineNotes* notes) {
    std::string_view name;
    std::string_view value;
    SpiDirectiveList& directives = program.directives;
    const bool keepComments = level >= SpiUserLevel;
    std::string_view lastRead;   // the directive the next comment line follows
    std::uint32_t lastPlace = 0; // where that directive stands in a save: its first line
    if (keepComments) {
        // A section met again in the file goes on after what it already holds from the file.
        for (const SpiDirective* held : directives) {
            if (held->readOrder > lastPlace && !pfsetup::IsCommentName(held->Name())) {
                lastRead = held->Name();
                lastPlace = held->readOrder;
            }
        }
    }
    // The rest of the file at the section's bytes per directive so far, for a large index.
    const std::size_t sectionStart = file.BytesRead();
    std::size_t lines = 0;
    programs.ExpectDirectives([&] {
        const std::size_t read = file.BytesRead() - sectionStart;
        return lines == 0 ? 0 : file.BytesLeft() / (read / lines + 1);
    });
    struct Forget {
        SpiProgramList& programs;
        ~Forget() { programs.ExpectDirectives(nullptr); }
    } forget{programs};
    for (;;) {
        if (file.ReadDirectiveName(name) != 0) {
            return 0;
        }
        const std::string_view line = file.CurrentLine();
        // The values are read while the name's index slot comes into the cache.
        const std::uint64_t hash = directives.HashOf(name);
        int doubleQuoted = 0;
        std::uint32_t count = 0;
        int result = 0;
        while ((result = file.ReadValueToken(value, doubleQuoted)) == 0) {
            ++count;
        }
        if constexpr (kCollecting) {
            if (result == -1) {
                continue;
            }
        }
        ++lines;
        SpiDirective* directive = directives.FindOrAppendView(name, level, hash);
        const bool comment = pfsetup::IsCommentName(name);
        if constexpr (kCollecting) {
            notes->Directive(name, comment, *directive, level);
        }
        // A line that repeats a name changes the directive where it first stood; a comment
        // after it follows the directive that stands last in a save, not that one.
        const std::uint32_t place = directive->readOrder != 0
                                        ? directive->readOrder
                                        : static_cast<std::uint32_t>(file.DirectiveLine());
        if (!comment && place >= lastPlace) {
            lastRead = directive->Name();
            lastPlace = place;
        }
        if (keepComments && comment) {
            if (IsCommentLine(line)) {
                // The comment as it stands, continuation lines and all.
                const std::string_view values = file.ValuesText();
                const std::string_view text(
                    line.data(),
                    static_cast<std::size_t>(values.data() + values.size() - line.data()));
                program.comments.push_back({text, lastRead, true, lastRead.data() == nullptr});
            } else {
                program.commentNamesUsed = true; // "" or "{" given values on a line of its own
            }
        }
        if (doubleQuoted != 0) {
            directive->doubleQuoted = 1;
        }
        if (level > 1) {
            directive->changed = true;
        }
        if (level >= SpiUserLevel && directive->readOrder == 0) {
            // Where the directive first stood: the list keeps that place too.
            directive->readOrder = static_cast<std::uint32_t>(file.DirectiveLine());
        }
        // The values stay in the text, read again value by value when asked for.
        programs.ReadValues(*directive, level, file.ValuesText(), count,
                            result == 4 && count > 0 && file.ValuesInWritersForm());
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
    int sections = 0;
    LineNotes notes(programs, file);
    for (;;) {
        const int header = file.ReadProgramHeader(name);
        if (header != 0) {
            result = header == 1 ? 0 : -1;
            break;
        }
        SpiProgram* program = programs.FindOrAppend(name, level);
        if (level >= SpiUserLevel) {
            // Comments before the file's first section stay at the top of the file.
            for (const std::string_view comment : file.TakeComments()) {
                if (sections == 0) {
                    programs.leadingComments.push_back(comment);
                } else {
                    program->comments.push_back({comment, std::string_view(), false, false});
                }
            }
        }
        ++sections;
        if (level > 1) {
            program->changed = true;
        }
        const int section = file.Collecting()
                                ? ReadDirectives<true>(programs, *program, file, level, &notes)
                                : ReadDirectives<false>(programs, *program, file, level, nullptr);
        program->directives.Rewind();
        program->directives.ReleaseIndex();
        if (section != 0) {
            result = -1;
            break;
        }
    }
    if (level >= SpiUserLevel) {
        for (const std::string_view comment : file.TakeComments()) {
            (sections == 0 ? programs.leadingComments : programs.trailingComments)
                .push_back(comment);
        }
    }
    programs.Rewind();
    programs.DropSpareIndex();
    if (result == 0) {
        pfsetup::ClearLastError(); // problems the read went on after are no failure
    }
    return result;
}
