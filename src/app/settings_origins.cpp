#include "app/settings_origins.h"

#include "base/ascii_text.h"
#include "persist/settings_entries.h"
#include "projfile/file_io.h"
#include "projfile/installed_files.h"
#include "projfile/spi_messages.h"

namespace pfsetup::app {

namespace {

std::string Upper(std::string text) {
    for (char& c : text)
        c = AsciiUpper(c);
    return text;
}

} // namespace

void MergedSettings::Add(const ScannedFile& file, const std::string& path,
                         const std::string& level) {
    for (const ScannedSection& section : file.sections) {
        if (section.name != kSettingsSection)
            continue;
        for (const ScannedEntry& entry : section.entries) {
            if (entry.broken)
                continue;
            EntryOrigin origin{entry.name, entry.values, path, entry.line, level};
            const auto [found, added] = index_.emplace(Upper(entry.name), entries_.size());
            if (added) {
                entries_.push_back(std::move(origin));
                continue;
            }
            origin.key = entries_[found->second].key;
            entries_[found->second] = std::move(origin);
        }
    }
}

const EntryOrigin* MergedSettings::Find(const std::string& key) const {
    const auto found = index_.find(Upper(key));
    return found == index_.end() ? nullptr : &entries_[found->second];
}

bool ScanFile(const std::string& path, ScannedFile& scan) {
    if (CheckReadable(path) != kOk)
        return false;
    std::string text;
    if (const int error = ReadWholeFile(path, text)) {
        Report(FileErrorRecord(path, error, false));
        return false;
    }
    // Only the settings section's entries are used; the rest is read for its problems.
    static const std::string settings = kSettingsSection;
    scan = ScanProjectText(std::move(text), settings);
    return true;
}

bool AddInstalledFiles(const std::string& project, MergedSettings& merged) {
    std::string install, site;
    ScannedFile scan;
    if (GetInstallProjectFilePath(install) != 0) {
        ReportLastError();
        return false;
    }
    if (!ScanFile(install, scan))
        return false;
    merged.Add(scan, install, "install");
    if (GetSiteProjectFilePath(site) != 0 || IsSiteProjectFile(project))
        return true;
    if (!ScanFile(site, scan))
        return false;
    merged.Add(scan, site, "site");
    return true;
}

bool SettingsOrigins(const std::string& project, MergedSettings& merged) {
    if (!AddInstalledFiles(project, merged))
        return false;
    if (project.empty())
        return true;
    ScannedFile scan;
    if (!ScanFile(project, scan))
        return false;
    merged.Add(scan, project, IsSiteProjectFile(project) ? "site" : "user");
    return true;
}

} // namespace pfsetup::app
