#include "projfile/project_writer.h"

#include "base/module_state.h"
#include "projfile/file_io.h"
#include "projfile/spi_project.h"

#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <sstream>
#include <unordered_map>
#include <vector>

namespace {

std::optional<std::time_t> g_headerTime;
const pfsetup::ModuleStateReset g_reset([] { g_headerTime.reset(); });

constexpr char kBare = 0;       // written without quotes
constexpr char kUnwritable = 1; // cannot be written so that it reads back
// Written without quotes as the last value, the line then continued onto an empty one.
constexpr char kBareContinued = 2;

bool IsQuote(char c) {
    return c == '\'' || c == '"';
}

// What the quoting rules ask of a text, found in one pass over it (a large save asks it of
// millions of short texts): a table gives each byte's bit.
struct TextBytes {
    bool single, dbl, lineFeed, carriage, space, tab, brace;
};

TextBytes BytesOf(std::string_view text) {
    enum : unsigned char {
        kSingle = 1,
        kDouble = 2,
        kLf = 4,
        kCr = 8,
        kSpace = 16,
        kTab = 32,
        kBrace = 64
    };
    static const auto table = [] {
        std::array<unsigned char, 256> bits{};
        bits['\''] = kSingle;
        bits['"'] = kDouble;
        bits['\n'] = kLf;
        bits['\r'] = kCr;
        bits[' '] = kSpace;
        bits['\t'] = kTab;
        bits['{'] = kBrace;
        return bits;
    }();
    unsigned char seen = 0;
    for (const char c : text) {
        seen |= table[static_cast<unsigned char>(c)];
    }
    return TextBytes{(seen & kSingle) != 0, (seen & kDouble) != 0, (seen & kLf) != 0,
                     (seen & kCr) != 0,     (seen & kSpace) != 0,  (seen & kTab) != 0,
                     (seen & kBrace) != 0};
}

const char* LineBreakProblem(const TextBytes& bytes) {
    if (bytes.lineFeed) {
        return "it holds a line break";
    }
    if (bytes.carriage) {
        return "it holds a carriage return";
    }
    return nullptr;
}

// Whether a value written without quotes reads back as it is: the reader trims white space
// around the line, would take a leading quote as an opening one, ends the value at a space,
// and continues a line that ends in a backslash.
bool ReadsBackBare(std::string_view text, const TextBytes& bytes, bool lastOnLine) {
    return !text.empty() && !bytes.space && !pfsetup::IsSpaceByte(text.front()) &&
           !IsQuote(text.front()) &&
           !(lastOnLine && (pfsetup::IsSpaceByte(text.back()) || text.back() == '\\'));
}

// How a value is written: in `preferred` quotes; in the other ones when it holds `preferred`;
// bare when it holds both, as far as that reads back (kBareContinued where only its end does
// not, as the last value).
char ValueQuote(std::string_view value, char preferred, bool last, const char*& problem) {
    const TextBytes bytes = BytesOf(value);
    if ((problem = LineBreakProblem(bytes)) != nullptr) {
        return kUnwritable;
    }
    const bool holdsPreferred = preferred == '"' ? bytes.dbl : bytes.single;
    const bool holdsOther = preferred == '"' ? bytes.single : bytes.dbl;
    if (!holdsPreferred) {
        return preferred;
    }
    if (!holdsOther) {
        return preferred == '"' ? '\'' : '"';
    }
    if (ReadsBackBare(value, bytes, last)) {
        return kBare;
    }
    if (last && ReadsBackBare(value, bytes, false)) {
        // At the end of the line the reader would trim its white space or take its backslash
        // for a continuation; after a blank and a backslash, an empty line ends it where it ends.
        return kBareContinued;
    }
    problem = "it holds both quote characters and white space";
    return kUnwritable;
}

// How a directive's name is written. A line without a blank or tab reads back upper case and
// cut before '{', as a name without values, unless it is the section's end (a START_ line is
// a directive in a section that ends, as a written one does). Otherwise the name ends at the first
// blank, or is quoted: so a name is written bare where that reads back, else in quotes (which must
// not hold the end marker).
char NameQuote(std::string_view name, bool hasValues, std::string_view endMarker,
               const char*& problem) {
    const TextBytes bytes = BytesOf(name);
    if ((problem = LineBreakProblem(bytes)) != nullptr) {
        return kUnwritable;
    }
    const bool blank = bytes.space || bytes.tab;
    if (!hasValues && !blank) {
        if (!name.empty() &&
            (pfsetup::IsSpaceByte(name.front()) || pfsetup::IsSpaceByte(name.back()))) {
            problem = "a name without values cannot start or end in white space";
        } else if (bytes.brace) {
            problem = "a name without values cannot hold '{'";
        } else if (pfsetup::EqualsIgnoreCase(name, endMarker)) {
            problem = "a name without values would end the section";
        }
        return problem ? kUnwritable : kBare;
    }
    // A name followed by values may end in white space: it ends at the blank before them.
    if (hasValues && !name.empty() && !bytes.space && !pfsetup::IsSpaceByte(name.front()) &&
        !IsQuote(name.front())) {
        return kBare;
    }
    if (bytes.single && bytes.dbl) {
        problem = "it holds both quote characters and needs quotes";
        return kUnwritable;
    }
    if (name == endMarker) {
        problem = "in quotes it would end the section";
        return kUnwritable;
    }
    return bytes.single ? '"' : '\'';
}

void WriteText(std::streambuf& out, std::string_view text, char quote) {
    if (quote != kBare) {
        out.sputc(quote);
    }
    out.sputn(text.data(), static_cast<std::streamsize>(text.size()));
    if (quote != kBare) {
        out.sputc(quote);
    }
}

// The header, then `writePrograms`, into a file replaced whole on success. 0, or the error;
// when `writePrograms` gives a problem (what cannot read back), the file is left as it was,
// `problem` says why and the result is -1.
template <class Body>
int WriteWholeFile(const std::string& path, Body&& writePrograms, std::string& problem) {
    pfsetup::AtomicFile out(path);
    if (const int error = out.Begin(); error != 0) {
        return error;
    }
    std::time_t modified = 0;
    bool known = true;
    if (g_headerTime) {
        modified = *g_headerTime;
    } else {
        known = out.ModificationTime(modified);
    }
    WriteHeader(out.Stream(), "SPI", "{", "}", known ? &modified : nullptr);
    problem = writePrograms(out.Stream());
    if (!problem.empty()) {
        return -1; // the temporary goes with `out`
    }
    return out.Commit();
}

// A stream that keeps nothing, for the checks of a write that is not made.
class Discard : public std::streambuf {
protected:
    int_type overflow(int_type c) override { return traits_type::not_eof(c); }
    std::streamsize xsputn(const char*, std::streamsize count) override { return count; }
};

} // namespace

namespace pfsetup {

std::string FormatHeaderTime(std::time_t time) {
    static const char* const days[] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                       "Thursday", "Friday", "Saturday"};
    static const char* const months[] = {"January",   "February", "March",    "April",
                                         "May",       "June",     "July",     "August",
                                         "September", "October",  "November", "December"};
    std::tm local{};
    if (::localtime_r(&time, &local) == nullptr || local.tm_wday < 0 || local.tm_wday > 6 ||
        local.tm_mon < 0 || local.tm_mon > 11) {
        return std::string();
    }
    return Format("%02d:%02d:%02d %s, %s %02d, %d", local.tm_hour, local.tm_min, local.tm_sec,
                  days[local.tm_wday], months[local.tm_mon], local.tm_mday, local.tm_year + 1900);
}

void SetHeaderTimeForTesting(std::optional<std::time_t> time) {
    g_headerTime = time;
}

} // namespace pfsetup

void WriteHeader(std::ostream& file, const std::string& creator, const std::string& open,
                 const std::string& close, const std::time_t* modified) {
    file << open << " Machine generated file created by " << creator << ' ' << close << '\n';
    if (modified != nullptr) {
        file << open << " Last modified was " << pfsetup::FormatHeaderTime(*modified) << ' '
             << close << '\n';
    }
    file << open << " NOTE: Do not modify the contents of this file. If this is regenerated by "
         << close << '\n';
    file << open << "       " << creator << ", your modifications will be overwritten. " << close
         << "\n\n\n";
}

const char* pfsetup::ProgramNameProblem(std::string_view name) {
    if (const char* problem = LineBreakProblem(BytesOf(name))) {
        return problem;
    }
    if (name.find('{') != std::string_view::npos) {
        return "it holds '{'";
    }
    if (!name.empty() && IsSpaceByte(name.back())) {
        return "it ends in white space";
    }
    return nullptr;
}

namespace {

// Writes one directive line; the reason the line would not read back as it is held, or
// nullptr. A line found unwritable is left unfinished: the caller drops the whole write.
const char* WriteCheckedLine(std::streambuf& out, const SpiDirective& directive,
                             std::string_view endMarker) {
    const SpiValueList values = directive.ActiveValues();
    const char* problem = nullptr;
    const char nameQuote = NameQuote(directive.Name(), !values.empty(), endMarker, problem);
    if (nameQuote == kUnwritable) {
        return problem;
    }
    WriteText(out, directive.Name(), nameQuote);
    // Values as a save writes them are written as they were read, without a second look.
    if (const std::string_view same = directive.WritersFormText(); same.data() != nullptr) {
        out.sputn(same.data(), static_cast<std::streamsize>(same.size()));
        out.sputc('\n');
        return nullptr;
    }
    const char preferred = directive.doubleQuoted != 0 ? '"' : '\'';
    std::size_t left = values.size();
    for (const std::string_view value : values) {
        const char quote = ValueQuote(value, preferred, --left == 0, problem);
        if (quote == kUnwritable) {
            return problem;
        }
        out.sputc(' ');
        WriteText(out, value, quote == kBareContinued ? kBare : quote);
        if (quote == kBareContinued) {
            out.sputn(" \\\n", 3);
        }
    }
    out.sputc('\n');
    return nullptr;
}

} // namespace

void WriteDirectiveLine(std::ostream& file, const SpiDirective& directive,
                        std::string_view endMarker) {
    WriteCheckedLine(*file.rdbuf(), directive, endMarker);
}

namespace {

using pfsetup::IsCommentName;

// Whether the program's kept comment lines are written inside its section, standing for its
// directives named "" or beginning with '{' (which they make again when read): not when such a
// directive got its values from a line of its own or through the API.
bool CommentsStandIn(const SpiProgram& program) {
    if (program.commentNamesUsed) {
        return false;
    }
    bool inside = false;
    for (const SpiComment& comment : program.comments) {
        inside = inside || comment.inside;
    }
    if (!inside) {
        return false;
    }
    for (const SpiDirective* directive : program.directives) {
        if (IsCommentName(directive->Name()) && directive->ValuesEdited()) {
            return false;
        }
    }
    return true;
}

// A comment line that reads as a directive with values ("{ text }", "{word text}"): of several
// of one name, the last one read gives that directive its values, so their order matters.
bool IsBraceComment(std::string_view text) {
    return !text.empty() && text[0] == '{' && text.find_first_of(" \t") != std::string_view::npos;
}

// Whether the places of the comments that read as directives with values, in the order the
// directives are written, would put two of one name in another order than they were read.
bool BraceCommentsOutOfOrder(const SpiProgram& program,
                             const std::vector<const SpiDirective*>& order) {
    std::unordered_map<const char*, std::size_t> place;
    std::size_t next = 1;
    for (const SpiDirective* directive : order) {
        place.emplace(directive->Name().data(), next++);
    }
    std::unordered_map<std::string_view, std::size_t> reached; // by the name the line makes
    for (const SpiComment& comment : program.comments) {
        if (!comment.inside || !IsBraceComment(comment.text)) {
            continue;
        }
        std::size_t at = 0; // at the start of the section
        if (!comment.atStart) {
            const auto found = place.find(comment.after.data());
            at = found == place.end() ? next : found->second; // gone: the section's end
        }
        std::size_t& last = reached[comment.text.substr(0, comment.text.find_first_of(" \t"))];
        if (at < last) {
            return true;
        }
        last = at;
    }
    return false;
}

// Writes lines kept as they stood in the file, then their line end. A kept text ends in a
// lone CR where its last line is an empty one that a backslash continued onto: the CR ended
// the line before. A line feed right after it would make the two one CR LF line end, the empty
// line would be gone, and the next line written would be read as the continuation; so that CR
// gets a line feed of its own first.
void WriteKept(std::streambuf& out, std::string_view text) {
    out.sputn(text.data(), static_cast<std::streamsize>(text.size()));
    if (!text.empty() && text.back() == '\r') {
        out.sputc('\n');
    }
    out.sputc('\n');
}

bool Written(const SpiDirective& directive, bool writeAll, bool commentsStandIn) {
    return (writeAll || directive.changed) && !(commentsStandIn && IsCommentName(directive.Name()));
}

} // namespace

std::string pfsetup::ProgramsProblem(const SpiProgramList& programs, bool writeAll) {
    Discard nowhere;
    std::ostream out(&nowhere);
    return WritePrograms(out, programs, writeAll);
}

std::string pfsetup::WritePrograms(std::ostream& file, const SpiProgramList& programs,
                                   bool writeAll) {
    std::string endMarker;
    // Lines go straight into the stream's buffer, whole: a large save writes millions of them,
    // and the buffer (AtomicFile's) keeps any write error for the commit.
    std::streambuf& out = *file.rdbuf();
    // Comments inside a section, by the directive they stood after; whether each was written.
    std::unordered_map<const char*, std::vector<std::size_t>> after;
    std::vector<bool> written;
    std::vector<const SpiDirective*> order;
    for (const std::string_view text : programs.leadingComments) {
        WriteKept(out, text);
    }
    for (const auto& program : programs) {
        if (!writeAll && !program->changed) {
            continue;
        }
        if (const char* problem = pfsetup::ProgramNameProblem(program->name)) {
            return pfsetup::Format("program \"%s\": %s", program->name.c_str(), problem);
        }
        const bool blankName = program->name.find_first_of(" \t") != std::string::npos;
        const std::vector<SpiComment>& comments = program->comments;
        // The directives in list order; where read lines are kept, those of the user's file
        // in its order, then the others.
        order.assign(program->directives.begin(), program->directives.end());
        if (programs.keepReadLines) {
            std::stable_sort(order.begin(), order.end(),
                             [](const SpiDirective* a, const SpiDirective* b) {
                                 return a->readOrder - 1u < b->readOrder - 1u;
                             });
        }
        const bool standIn = CommentsStandIn(*program);
        const bool bracesAtEnd = standIn && BraceCommentsOutOfOrder(*program, order);
        after.clear();
        written.assign(comments.size(), false);
        for (std::size_t i = 0; i < comments.size(); ++i) {
            if (!comments[i].inside) {
                WriteKept(out, comments[i].text);
                written[i] = true;
            } else if (!standIn) {
                written[i] = true; // not written: see CommentsStandIn
            } else if (bracesAtEnd && IsBraceComment(comments[i].text)) {
                continue; // closes the section, in reading order
            } else if (!comments[i].atStart) {
                after[comments[i].after.data()].push_back(i);
            }
        }
        endMarker = "END_" + program->name;
        pfsetup::ToUpperInPlace(endMarker);
        file << "START_" << program->name << '\n';
        const auto writeComment = [&](std::size_t i) {
            WriteKept(out, comments[i].text);
            written[i] = true;
        };
        for (std::size_t i = 0; i < comments.size(); ++i) {
            if (!written[i] && comments[i].atStart &&
                !(bracesAtEnd && IsBraceComment(comments[i].text))) {
                writeComment(i);
            }
        }
        for (const SpiDirective* directive : order) {
            if (Written(*directive, writeAll, standIn)) {
                const char* problem = nullptr;
                if (blankName) {
                    // The end line of such a section is found by its text before '{'.
                    std::ostringstream line;
                    problem = WriteCheckedLine(*line.rdbuf(), *directive, endMarker);
                    if (!problem && pfsetup::IsBlankEndLine(line.str(), endMarker)) {
                        problem = "it would read as the section's end line";
                    }
                    file << line.str();
                } else if (const std::string_view line = programs.keepReadLines
                                                             ? programs.ReadLineOf(*directive)
                                                             : std::string_view();
                           line.data() != nullptr) {
                    // As it stood: it read as these values there, and does again here.
                    WriteKept(out, line);
                } else {
                    problem = WriteCheckedLine(out, *directive, endMarker);
                }
                if (problem != nullptr) {
                    return pfsetup::Format("program \"%s\", directive \"%s\": %s",
                                           program->name.c_str(),
                                           std::string(directive->Name()).c_str(), problem);
                }
            }
            // Comments follow the directive they stood after, whether it is written or not.
            if (!after.empty()) {
                const auto found = after.find(directive->Name().data());
                if (found != after.end()) {
                    for (const std::size_t i : found->second) {
                        writeComment(i);
                    }
                    after.erase(found);
                }
            }
        }
        // Those whose directive is gone close the section, in their order.
        for (std::size_t i = 0; i < comments.size(); ++i) {
            if (!written[i]) {
                writeComment(i);
            }
        }
        file << "END_" << program->name << "\n\n";
    }
    for (const std::string_view text : programs.trailingComments) {
        WriteKept(out, text);
    }
    return std::string();
}

namespace pfsetup {

int WriteProjectFile(const std::string& path, const SpiProgramList* programs, bool writeAll,
                     std::string& problem) {
    return WriteWholeFile(
        path,
        [&](std::ostream& file) {
            return programs ? WritePrograms(file, *programs, writeAll) : std::string();
        },
        problem);
}

int WriteProjectText(std::string& text, const SpiProgramList& programs, bool writeAll,
                     std::string& problem) {
    std::ostringstream out;
    const std::time_t modified = g_headerTime ? *g_headerTime : std::time(nullptr);
    WriteHeader(out, "SPI", "{", "}", &modified);
    problem = WritePrograms(out, programs, writeAll);
    if (!problem.empty()) {
        return -1;
    }
    text = out.str();
    return 0;
}

} // namespace pfsetup
