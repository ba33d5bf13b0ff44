#pragma once
// What the setup dialog knows about where its values come from: the origin of each setting
// (install, site or project file, or a template loaded over the project) for the fields' tips,
// and the install and site values alone for "Restore Defaults". Both are read from the files
// when first asked for.

#include "persist/setting_origins.h"
#include "setup/setup_store.h"

#include <memory>
#include <string>

namespace pfsetup {

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
};

// A field's tip: what is allowed, then where the value comes from.
std::string FieldTip(const std::string& allowed, const std::string& origin);

} // namespace pfsetup
