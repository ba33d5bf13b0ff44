#include "app/project_scan.h"

#include "projfile/project_parser.h"
#include "projfile/spi_model.h"
#include "projfile/spi_text.h"

#include <iterator>

namespace pfsetup::app {

namespace {

bool IsQuote(char c) {
    return c == '\'' || c == '"';
}

std::string_view CutAtBrace(std::string_view text) {
    return text.substr(0, text.find('{'));
}

std::string_view TrimmedView(std::string_view text) {
    while (!text.empty() && IsSpaceByte(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsSpaceByte(text.back()))
        text.remove_suffix(1);
    return text;
}

std::string_view TrimmedEnd(std::string_view text) {
    while (!text.empty() && IsSpaceByte(text.back()))
        text.remove_suffix(1);
    return text;
}

std::string Upper(std::string_view text) {
    std::string upper(text);
    ToUpperInPlace(upper);
    return upper;
}

bool HasBlank(std::string_view text) {
    return text.find_first_of(" \t") != std::string_view::npos;
}

// Lines, line ends, the byte-order mark and values are taken as the library's reader takes
// them (NextLine, ValueTokenizer); where the reader stops, the scanner notes the problem and
// goes on at the next line.
class Scanner {
public:
    Scanner(std::string text, const std::string* onlySection)
        : text_(std::move(text)), onlySection_(onlySection) {
        at_ = text_.data();
        end_ = text_.data() + text_.size();
        if (text_.compare(0, 3, "\xEF\xBB\xBF") == 0)
            at_ += 3;
    }

    ScannedFile Run() {
        std::string_view line;
        while (Next(line)) {
            if (inSection_)
                InSection(line);
            else
                Outside(line);
        }
        if (inSection_)
            Problem(Section().line, "section " + Section().name + " has no " + endMarker_ +
                                        " line; it runs to the end of the file");
        return std::move(file_);
    }

private:
    bool Next(std::string_view& line) {
        if (at_ >= end_)
            return false;
        line = NextLine(at_, end_);
        ++lineNumber_;
        return true;
    }

    ScannedSection& Section() { return file_.sections.back(); }

    void Problem(int line, std::string message) {
        file_.problems.push_back({line, std::move(message)});
    }

    void Open(std::string_view line) {
        const std::string upper = Upper(TrimmedView(line));
        if (upper.rfind("START_", 0) != 0)
            Problem(lineNumber_, "START_ should begin the line; the reader takes the section "
                                 "name from the seventh character on");
        const std::string name(TrimmedEnd(CutAtBrace(std::string_view(upper).substr(6))));
        keep_ = !onlySection_ || name == *onlySection_;
        file_.sections.push_back({name, lineNumber_, {}});
        inSection_ = true;
        endMarker_ = "END_" + name;
    }

    void Outside(std::string_view line) {
        const std::string_view text = CutAtBrace(TrimmedView(line));
        if (TrimmedView(text).empty())
            return;
        if (Upper(text).find("START_") == std::string::npos) {
            Problem(lineNumber_, "text outside a START_<name> ... END_<name> section; a read of "
                                 "the project fails here");
            return;
        }
        Open(text);
    }

    void InSection(std::string_view raw) {
        const std::string_view line = TrimmedView(raw);
        if (HasBlank(endMarker_) && IsBlankEndLine(line, endMarker_)) {
            inSection_ = false;
            return;
        }
        // Comment and blank lines read as entries without a name (or named "{"), which
        // nothing uses; saves keep them where they stand.
        if (line.empty() || line[0] == '{')
            return;
        size_t separator = line.find(' ');
        if (separator == std::string_view::npos)
            separator = line.find('\t');
        if (separator == std::string_view::npos) {
            const std::string name(CutAtBrace(Upper(line)));
            if (name == endMarker_) {
                inSection_ = false;
                return;
            }
            if (name.rfind("START_", 0) == 0) {
                Problem(Section().line, "section " + Section().name + " has no " + endMarker_ +
                                            " line before line " + std::to_string(lineNumber_) +
                                            ", which opens another section");
                Open(line);
                return;
            }
            if (keep_)
                Section().entries.push_back({name, {}, lineNumber_, false});
            return;
        }
        if (line.size() >= endMarker_.size() + 1 && separator == endMarker_.size() &&
            Upper(line.substr(0, separator)) == endMarker_) {
            Problem(lineNumber_, endMarker_ + " is followed by more text, so it does not end "
                                              "the section; nothing may follow it on the line");
            return;
        }
        ScannedEntry entry;
        entry.line = lineNumber_;
        size_t restFrom = separator;
        if (IsQuote(line[0])) {
            const size_t close = line.find(line[0], 1);
            if (close == std::string_view::npos) {
                Problem(lineNumber_, "missing closing quote in the key; a read ends the section "
                                     "here");
                return;
            }
            const std::string_view name = line.substr(1, close - 1);
            if (name == endMarker_) {
                inSection_ = false;
                return;
            }
            if (keep_)
                entry.name = std::string(name);
            restFrom = close + 1;
        } else if (keep_) {
            entry.name = std::string(line.substr(0, separator));
        }
        ReadValues(line.substr(restFrom), entry);
        if (keep_)
            Section().entries.push_back(std::move(entry));
    }

    // The values of a directive line and its continuation lines, which the tokenizer reads
    // from the text after the line.
    void ReadValues(std::string_view rest, ScannedEntry& entry) {
        ValueTokenizer values(rest, at_, end_);
        std::string_view value;
        int doubleQuoted = 0;
        bool unclosedQuote = false;
        int result = 0;
        while ((result = values.Next(value, doubleQuoted, unclosedQuote)) == 0)
            if (keep_)
                entry.values.emplace_back(value);
        if (values.ContinuationLines() > 0) {
            lineNumber_ += values.ContinuationLines();
            at_ = values.Following();
        }
        if (result == -1) {
            entry.broken = true;
            if (unclosedQuote)
                Problem(lineNumber_, "missing closing quote; a read of the project fails here");
            else
                Problem(lineNumber_ + 1, "the line continues past the end of the file; a read "
                                         "of the project fails here");
        }
    }

    std::string text_;
    const std::string* onlySection_;
    bool keep_ = true; // whether the current section's entries are kept
    const char* at_;
    const char* end_;
    ScannedFile file_;
    bool inSection_ = false;
    std::string endMarker_;
    int lineNumber_ = 0;
};

} // namespace

ScannedFile ScanProjectFile(std::istream& in) {
    return Scanner(std::string(std::istreambuf_iterator<char>(in), {}), nullptr).Run();
}

ScannedFile ScanProjectText(std::string text, const std::string& onlySection) {
    return Scanner(std::move(text), &onlySection).Run();
}

} // namespace pfsetup::app
