#include "ui/setup_page.h"

#include "persist/settings_entries.h"
#include "setup/number_text.h"
#include "ui/kit/control.h"
#include "ui/setting_sources.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>

namespace pfsetup {

bool SetupPage::OnInitDialog() {
    PropertyPage::OnInitDialog();
    LoadFrom(Store());
    for (const QWidget* control : findChildren<QWidget*>()) {
        if (qobject_cast<const QLineEdit*>(control) || qobject_cast<const QComboBox*>(control) ||
            qobject_cast<const QAbstractButton*>(control)) {
            loaded_[control] = Shown(control);
        }
    }
    UpdateTips();
    return true;
}

void SetupPage::OnRestoreDefaults() {
    if (!sources_) {
        return;
    }
    restored_ = true;
    LoadFrom(sources_->InstalledDefaults());
    UpdateTips();
}

QString SetupPage::Shown(const QWidget* control) {
    if (const auto* edit = qobject_cast<const QLineEdit*>(control)) {
        return edit->text().trimmed();
    }
    if (const auto* combo = qobject_cast<const QComboBox*>(control)) {
        return combo->currentText();
    }
    const auto* button = qobject_cast<const QAbstractButton*>(control);
    return button && button->isChecked() ? QStringLiteral("x") : QString();
}

bool SetupPage::Edited(const QWidget* control) const {
    const auto loaded = loaded_.find(control);
    if (loaded == loaded_.end()) {
        return false;
    }
    const QString now = Shown(control);
    if (now == loaded->second) {
        return false;
    }
    // "0.050" for "0.05" is no other number.
    auto number = [](const QString& text) {
        const std::string s = ToStdString(text);
        return !s.empty() && DecimalLength(s) == s.size();
    };
    return !qobject_cast<const QLineEdit*>(control) || !number(loaded->second) || !number(now) ||
           ParseDecimal(ToStdString(loaded->second)) != ParseDecimal(ToStdString(now));
}

bool SetupPage::IsModified() const {
    for (const auto& loaded : loaded_) {
        if (Edited(loaded.first)) {
            return true;
        }
    }
    return false;
}

std::string SetupPage::OriginText(const std::string& key) {
    return sources_ ? sources_->OriginText(key, restored_) : std::string();
}

const std::string* SetupPage::FileText(const std::string& key) const {
    return sources_ && !restored_ ? sources_->FileText(key) : nullptr;
}

void SetupPage::SetTip(QWidget* control, const std::string& key, const std::string& choice) {
    control->setToolTip(ToQString(FieldTip(SettingTip(key, choice), OriginText(key))));
}

} // namespace pfsetup
