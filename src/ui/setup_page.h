#pragma once
// A page of the setup dialog: it loads its controls from a store in one place, so the same
// code fills them from the module's store when the page is first shown and from the install
// and site values for "Restore Defaults"; and it gives each field a tip with what the field
// allows and where its value comes from.
//
// The page never puts into the store what the user did not see and choose: a setting whose
// entry a read could not take as written is shown as the file holds it, and a field the user
// left as it was loaded is left out when the page's values go into the store.

#include "ui/kit/property_page.h"

#include <map>
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
    // Whether a control shows another value than it was loaded with.
    bool IsModified() const override;

protected:
    // Puts the values of `store` into the page: the module's store when the page is first
    // shown, the installed defaults for "Restore Defaults".
    virtual void LoadFrom(CPFCoreSetupAPI& store) = 0;
    // Sets the tips of the page's fields.
    virtual void UpdateTips() {}

    // Where the value of `key` now shown comes from; "" without sources.
    std::string OriginText(const std::string& key);
    // While the page shows the files as read: the text of the entry of `key` when a read does
    // not take it as written, to be shown as it is; else nullptr.
    const std::string* FileText(const std::string& key) const;
    // Whether the user changed what `control` (an edit, a drop-down list or a button) showed
    // when the page was first loaded: another text, another number, another choice.
    bool Edited(const QWidget* control) const;
    // The tip of a control that sets `key` (to `choice`, where it sets one choice): what the
    // setting is, what it takes, the key, and where the value now shown comes from.
    void SetTip(QWidget* control, const std::string& key, const std::string& choice = "");

private:
    // What each edit, drop-down list and button shows: text, chosen entry or check state.
    static QString Shown(const QWidget* control);

    SettingSources* sources_ = nullptr;
    bool restored_ = false; // the page shows the installed defaults
    std::map<const QWidget*, QString> loaded_;
};

} // namespace pfsetup
