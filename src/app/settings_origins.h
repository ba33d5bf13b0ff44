#pragma once
// Where each entry of the settings section comes from: the install, site and user files
// scanned and merged as a read merges them, each entry with the file, line and level of the
// values in effect.

#include "app/project_scan.h"
#include "app/tool.h"

#include <string>
#include <unordered_map>
#include <vector>

namespace pfsetup::app {

class MergedSettings {
public:
    // The settings entries of a scanned file read at `level` ("install", "site", "user"): an
    // entry replaces the values of an earlier one of the same key (ignoring case), whose
    // spelling stays. Entries a syntax problem cut short are left out.
    void Add(const ScannedFile& file, const std::string& path, const std::string& level);
    bool Has(const std::string& key) const { return Find(key) != nullptr; }
    const EntryOrigin* Find(const std::string& key) const;
    // In the order the keys first appeared.
    const std::vector<EntryOrigin>& Entries() const { return entries_; }

private:
    std::vector<EntryOrigin> entries_;
    std::unordered_map<std::string, size_t> index_;
};

// Scans `path` for diagnostics; false after reporting why it cannot be read.
bool ScanFile(const std::string& path, ScannedFile& scan);

// Adds the install file and, unless `project` is the site file, the site file. False after
// reporting why they cannot be read.
bool AddInstalledFiles(const std::string& project, MergedSettings& merged);

// The merged origins of a project's settings (the install and site files alone when
// `project` is empty; the site file at the site level when it is the project). False after
// reporting why a file cannot be read.
bool SettingsOrigins(const std::string& project, MergedSettings& merged);

} // namespace pfsetup::app
