#pragma once
// What the setup dialog knows about where its values come from: the origin of each setting
// (install, site or project file, or a template loaded over the project) for the fields' tips,
// the entries in effect that a read could not take as written, and the install and site values
// alone for "Restore Defaults". Each is read from the files when first asked for.

#include "persist/setting_origins.h"
#include "setup/setup_store.h"

#include <memory>
#include <string>
#include <vector>

namespace pfsetup {

// An entry in effect whose value a read does not take as written: the dialog shows it as the
// file holds it, and keeps it unless the user changes the field.
struct KeptEntry {
    std::string file;
    int line = 0;
    std::string key;
    std::string text;    // the value as the file holds it
    std::string problem; // `KEY "TEXT": what is wrong; what is allowed; what a read makes of it`
};

class SettingSources {
public:
    // `project`: the file the store was read from ("" for none); `templateFile`: a template
    // loaded over it ("" for none).
    void SetFiles(std::string project, std::string templateFile);

    // One line saying where the value of `key` comes from: of the files as read, or, with
    // `installed`, of the install and site files alone.
    std::string OriginText(const std::string& key, bool installed);
    // The settings of the install and site files alone.
    CPFCoreSetupAPI& InstalledDefaults();

    // The entries of the settings the pages show (all but the lists) that a read does not take
    // as written, in the order of the settings section.
    const std::vector<KeptEntry>& KeptEntries();
    // The text of such an entry of `key`; nullptr when `key` has none.
    const std::string* FileText(const std::string& key);

private:
    // The origins of `file`'s settings ("" for the install and site files alone), read when
    // first asked for.
    static const SettingOrigins& Origins(std::unique_ptr<SettingOrigins>& read,
                                         const std::string& file);

    std::string project_;
    std::string template_;
    std::unique_ptr<SettingOrigins> origins_;
    std::unique_ptr<SettingOrigins> templateOrigins_;
    std::unique_ptr<SettingOrigins> installedOrigins_;
    std::unique_ptr<CPFCoreSetupAPI> defaults_;
    std::unique_ptr<std::vector<KeptEntry>> kept_;
};

// One message listing `entries`, one line each as `FILE:LINE: KEY "TEXT": ...`; "" for none.
std::string KeptEntriesMessage(const std::vector<KeptEntry>& entries);

// A field's tip: what is allowed, then where the value comes from.
std::string FieldTip(const std::string& allowed, const std::string& origin);

} // namespace pfsetup
