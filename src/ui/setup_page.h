#pragma once
// A page of the setup dialog: it loads its controls from a store in one place, so the same
// code fills them from the module's store when the page is first shown and from the install
// and site values for "Restore Defaults"; and it gives each field a tip with what the field
// allows and where its value comes from.

#include "ui/kit/property_page.h"

#include <string>

namespace pfsetup {

class SettingSources;

class SetupPage : public PropertyPage {
    Q_OBJECT
public:
    using PropertyPage::PropertyPage;

    // Not owned; the sheet sets it before the page is shown. Without it the page has no
    // "Restore Defaults" and its tips say nothing of origins.
    void SetSources(SettingSources* sources) { sources_ = sources; }

    bool OnInitDialog() override;
    bool CanRestoreDefaults() const override { return sources_ != nullptr; }
    void OnRestoreDefaults() override;

protected:
    // Puts the values of `store` into the page: the module's store when the page is first
    // shown, the installed defaults for "Restore Defaults".
    virtual void LoadFrom(CPFCoreSetupAPI& store) = 0;
    // Sets the tips of the page's fields.
    virtual void UpdateTips() {}

    // Where the value of `key` now shown comes from; "" without sources.
    std::string OriginText(const std::string& key);
    // The tip of a control that sets `key` (to `choice`, where it sets one choice): what the
    // setting is, what it takes, the key, and where the value now shown comes from.
    void SetTip(QWidget* control, const std::string& key, const std::string& choice = "");

private:
    SettingSources* sources_ = nullptr;
    bool restored_ = false; // the page shows the installed defaults
};

} // namespace pfsetup
