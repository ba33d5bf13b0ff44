#include "ui/setup_page.h"

#include "persist/settings_entries.h"
#include "ui/kit/control.h"
#include "ui/setting_sources.h"

namespace pfsetup {

bool SetupPage::OnInitDialog() {
    PropertyPage::OnInitDialog();
    LoadFrom(Store());
    UpdateTips();
    return true;
}

void SetupPage::OnRestoreDefaults() {
    if (!sources_)
        return;
    LoadFrom(sources_->InstalledDefaults());
    restored_ = true;
    UpdateTips();
}

std::string SetupPage::OriginText(const std::string& key) {
    return sources_ ? sources_->OriginText(key, restored_) : std::string();
}

void SetupPage::SetTip(QWidget* control, const std::string& key, const std::string& choice) {
    control->setToolTip(ToQString(FieldTip(SettingTip(key, choice), OriginText(key))));
}

} // namespace pfsetup
