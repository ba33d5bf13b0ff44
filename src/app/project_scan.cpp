#include "app/project_scan.h"

#include "projfile/spi_text.h"

namespace pfsetup::app {

namespace {

bool IsQuote(char c) {
    return c == '\'' || c == '"';
}

std::string CutAtBrace(std::string text) {
    const size_t brace = text.find('{');
    if (brace != std::string::npos)
        text.erase(brace);
    return text;
}

std::string TrimmedEnd(std::string text) {
    while (!text.empty() && IsSpaceByte(text.back()))
        text.pop_back();
    return text;
}

std::string Upper(std::string text) {
    ToUpperInPlace(text);
    return text;
}

class Scanner {
public:
    explicit Scanner(std::istream& in) : in_(in) {}

    ScannedFile Run() {
        std::string line;
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
    // Reads a line as the reader does: a CR LF line end reads as LF.
    bool Next(std::string& line) {
        if (!std::getline(in_, line))
            return false;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        ++lineNumber_;
        return true;
    }

    ScannedSection& Section() { return file_.sections.back(); }

    void Problem(int line, std::string message) {
        file_.problems.push_back({line, std::move(message)});
    }

    void Open(const std::string& line) {
        const std::string upper = Upper(Trimmed(line));
        if (upper.rfind("START_", 0) != 0)
            Problem(lineNumber_, "START_ should begin the line; the reader takes the section "
                                 "name from the seventh character on");
        const std::string name = TrimmedEnd(CutAtBrace(upper.substr(6)));
        file_.sections.push_back({name, lineNumber_, {}});
        inSection_ = true;
        endMarker_ = "END_" + name;
    }

    void Outside(const std::string& line) {
        const std::string text = CutAtBrace(Trimmed(line));
        if (Trimmed(text).empty())
            return;
        if (Upper(text).find("START_") == std::string::npos) {
            Problem(lineNumber_, "text outside a START_<name> ... END_<name> section; a read of "
                                 "the project fails here");
            return;
        }
        Open(text);
    }

    void InSection(const std::string& raw) {
        const std::string line = Trimmed(raw);
        if (!line.empty() && line[0] == '{') {
            Problem(lineNumber_, "a comment inside a section is read as an entry; comments "
                                 "belong between sections");
            return;
        }
        size_t separator = line.find(' ');
        if (separator == std::string::npos)
            separator = line.find('\t');
        if (separator == std::string::npos) {
            const std::string name = CutAtBrace(Upper(line));
            if (name == endMarker_) {
                inSection_ = false;
                return;
            }
            if (line.empty())
                return; // read as an entry without a name, which nothing uses
            if (name.rfind("START_", 0) == 0) {
                Problem(Section().line, "section " + Section().name + " has no " + endMarker_ +
                                            " line before the " + name + " line " +
                                            std::to_string(lineNumber_) +
                                            ", which a read takes as an entry of it");
                Open(line);
                return;
            }
            Section().entries.push_back({name, {}, lineNumber_, false});
            return;
        }
        if (Upper(line.substr(0, separator)) == endMarker_) {
            Problem(lineNumber_, endMarker_ + " is followed by more text, so it does not end "
                                              "the section; nothing may follow it on the line");
            return;
        }
        ScannedEntry entry;
        entry.line = lineNumber_;
        std::string rest;
        if (IsQuote(line[0])) {
            const size_t close = line.find(line[0], 1);
            if (close == std::string::npos) {
                Problem(lineNumber_, "missing closing quote in the key; a read ends the section "
                                     "here");
                return;
            }
            entry.name = line.substr(1, close - 1);
            if (entry.name == endMarker_) {
                inSection_ = false;
                return;
            }
            rest = line.substr(close + 1);
        } else {
            entry.name = line.substr(0, separator);
            rest = line.substr(separator);
        }
        ReadValues(rest, entry);
        Section().entries.push_back(std::move(entry));
    }

    // The values of a directive line and its continuation lines.
    void ReadValues(std::string rest, ScannedEntry& entry) {
        for (;;) {
            rest = Trimmed(rest);
            if (rest.empty())
                return;
            const bool continues = rest.back() == '\\';
            std::string value;
            if (IsQuote(rest[0])) {
                const size_t close = rest.find(rest[0], 1);
                if (close == std::string::npos) {
                    Problem(lineNumber_, "missing closing quote; a read of the project fails "
                                         "here");
                    entry.broken = true;
                    return;
                }
                value = rest.substr(1, close - 1);
                rest.erase(0, close + 1);
            } else {
                const size_t space = rest.find(' ');
                if (space != std::string::npos) {
                    value = rest.substr(0, space);
                    rest.erase(0, space);
                } else {
                    value = continues ? rest.substr(0, rest.size() - 1) : rest;
                    rest = continues ? "\\" : "";
                }
            }
            entry.values.push_back(std::move(value));
            if (!continues)
                continue;
            rest = Trimmed(rest);
            if (rest.size() == 1) {
                if (!Next(rest)) {
                    Problem(lineNumber_, "the line continues past the end of the file; a read "
                                         "of the project fails here");
                    entry.broken = true;
                    return;
                }
            }
        }
    }

    std::istream& in_;
    ScannedFile file_;
    bool inSection_ = false;
    std::string endMarker_;
    int lineNumber_ = 0;
};

} // namespace

ScannedFile ScanProjectFile(std::istream& in) {
    return Scanner(in).Run();
}

} // namespace pfsetup::app
