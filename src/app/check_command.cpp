// check: every problem of a project a person would want to know, one line each.

#include "app/commands.h"
#include "app/tool.h"

#include "persist/setting_checks.h"
#include "persist/settings_entries.h"
#include "projfile/spi_project.h"
#include "setup/ascii_text.h"
#include "setup/number_text.h"
#include "setup/setup_store.h"

#include <fstream>
#include <iostream>
#include <map>
#include <regex>

namespace pfsetup::app {

namespace {

void Report(const std::string& file, int line, const std::string& message, int& reported) {
    std::string text = message;
    for (char& c : text)
        if (c == '\n')
            c = ' ';
    std::cout << file << (line > 0 ? ":" + FormatInt(line) : std::string()) << ": " << text << "\n";
    ++reported;
}

// A parse message of the project-file library, at the file and line it names.
void ReportParseMessage(const std::string& project, const std::string& message, int& reported) {
    if (message.rfind("SPI_ERROR: ", 0) != 0 || message.find("site.cpm") != std::string::npos)
        return; // notes, and the search for an optional site file
    static const std::regex located(R"re([Ll]ine (\d+)[^"]*(?:in "(.*)")?)re");
    static const std::regex incorrect(R"re(Incorrect project file (.*)\.$)re");
    std::smatch match;
    std::string file = project;
    int line = 0;
    if (std::regex_search(message, match, located)) {
        line = ParseInt(match[1].str());
        if (match[2].matched)
            file = match[2].str();
    }
    std::smatch named;
    if (std::regex_search(message, named, incorrect))
        file = named[1].str();
    Report(file, line, message.substr(11), reported);
}

// Property entries given twice in one settings section: the reader keeps only the last.
void ReportDuplicates(const std::string& path, int& reported) {
    std::ifstream in(path, std::ios::binary);
    std::string line;
    int number = 0;
    bool inSection = false;
    std::map<std::string, int> seen;
    while (std::getline(in, line)) {
        ++number;
        const size_t first = line.find_first_not_of(" \t\r");
        const size_t last = line.find_last_not_of(" \t\r");
        const std::string trimmed =
            first == std::string::npos ? "" : line.substr(first, last - first + 1);
        std::string upper = trimmed;
        for (char& c : upper)
            c = ToUpperAscii(c);
        if (!inSection) {
            inSection = upper == "START_PFG142";
            seen.clear();
            continue;
        }
        if (upper == "END_PFG142") {
            inSection = false;
            continue;
        }
        std::string name = trimmed.substr(0, trimmed.find_first_of(" \t"));
        if (!name.empty() && (name[0] == '\'' || name[0] == '"'))
            name = name.substr(1, name.find(name[0], 1) - 1);
        std::string key = name;
        for (char& c : key)
            c = ToUpperAscii(c);
        if (key.rfind("PROP_", 0) != 0)
            continue;
        auto [it, added] = seen.emplace(key, number);
        if (!added)
            Report(path, number,
                   "duplicate property " + name.substr(5) + " (also at line " +
                       FormatInt(it->second) + "); only the last one applies",
                   reported);
    }
}

int CheckOne(const std::string& project, int& reported) {
    SpiProject merged;
    const int opened = merged.Open(project);
    for (const std::string& message : merged.OpenMessages())
        ReportParseMessage(project, message, reported);
    if (opened != 0) {
        Error(project, "cannot be read");
        return kFileError;
    }
    std::string install, site;
    if (GetInstallProjectFilePath(install) == 0)
        ReportDuplicates(install, reported);
    if (GetSiteProjectFilePath(site) == 0)
        ReportDuplicates(site, reported);
    ReportDuplicates(project, reported);

    if (const SpiProgram* section = merged.Programs().Lookup(kSettingsSection)) {
        for (const SpiDirective* d : section->directives) {
            const SpiOrigin origin = merged.Programs().Origin(*d, d->level);
            const std::string file = origin.Known() ? origin.File() : project;
            const std::string name(d->name);
            if (ClassifySettingsKey(name) == SettingsKeyKind::Ignored) {
                Report(file, origin.line,
                       name + ": not a setting key pfsetup knows; the entry is ignored", reported);
                continue;
            }
            if (d->ActiveValues().empty())
                continue; // a user's entry that takes an installed one out
            const std::string value(*d->ActiveValues().begin());
            std::string problem;
            if (!CheckSettingEntry(name, value, problem))
                Report(file, origin.line, name + " \"" + value + "\": " + problem, reported);
        }
    }

    CPFCoreSetupAPI* store = nullptr;
    if (int status = LoadStore(project, store))
        return status;
    for (const std::string& problem : CheckSettingsTogether(*store))
        Report(project, 0, problem, reported);
    std::string log;
    if (store->GetLogError(log))
        Report(project, 0, log.substr(log.find_first_not_of('\n') == std::string::npos ? 0 : 1),
               reported);
    return kOk;
}

} // namespace

int CheckCommand(const std::vector<std::string>& projects) {
    int worst = kOk;
    int reported = 0;
    for (const std::string& project : projects)
        worst = std::max(worst, CheckOne(project, reported));
    if (worst == kOk && reported > 0)
        worst = kBadInput;
    return worst;
}

} // namespace pfsetup::app
