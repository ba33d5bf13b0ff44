#include "ui/kit/data_exchange.h"

#include "host/host_services.h"
#include "ui/kit/control.h"
#include "ui/kit/property_page.h"
#include "ui/kit/radio_group.h"

#include "base/ascii_text.h"
#include "setup/number_text.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QLocale>

namespace pfsetup {

namespace {

void Refuse(QLineEdit* edit, const std::string& message) {
    Host().ShowMessage(message, MessageIcon::Exclamation, MessageButtons::Ok);
    for (QWidget* w = edit->parentWidget(); w; w = w->parentWidget()) {
        if (auto* page = qobject_cast<PropertyPage*>(w)) {
            page->PointAt(edit);
            return;
        }
    }
    edit->setFocus();
    edit->selectAll();
}

// The edit's text when `refusal` takes it; otherwise the user is told.
bool Accepted(QLineEdit* edit, const Refusal& refusal, std::string& text) {
    text = NumberText(edit);
    const std::string message = refusal(text);
    if (message.empty()) {
        return true;
    }
    Refuse(edit, message);
    return false;
}

} // namespace

std::string FormatDialogFloat(float value) {
    return ToStdString(QString::number(static_cast<double>(value), 'g', 6));
}

std::string NumberText(const QLineEdit* edit) {
    return NumberText(ToStdString(edit->text()));
}

std::string NumberText(const std::string& written) {
    std::string text = Trimmed(written);
    const size_t comma = text.find(',');
    const bool oneComma =
        comma != std::string::npos && text.find(',', comma + 1) == std::string::npos;
    if (oneComma && text.find('.') == std::string::npos &&
        QLocale().decimalPoint() == QLatin1Char(',')) {
        text[comma] = '.';
    }
    return text;
}

bool ExchangeNumber(bool save, QLineEdit* edit, int& value, const Refusal& refusal) {
    std::string text;
    if (!save) {
        edit->setText(QString::number(value));
    } else if (!Accepted(edit, refusal, text)) {
        return false;
    } else {
        value = ParseInt(text);
    }
    return true;
}

bool ExchangeNumber(bool save, QLineEdit* edit, float& value, const Refusal& refusal) {
    std::string text;
    if (!save) {
        edit->setText(ToQString(FormatDialogFloat(value)));
    } else if (!Accepted(edit, refusal, text)) {
        return false;
    } else {
        value = static_cast<float>(ParseDecimal(text));
    }
    return true;
}

void ExchangeComboText(bool save, QComboBox* combo, std::string& value) {
    if (save) {
        value = ToStdString(combo->currentText());
    } else {
        combo->setCurrentIndex(combo->findText(ToQString(value), Qt::MatchFixedString));
    }
}

void ExchangeCheck(bool save, QAbstractButton* box, int& value) {
    if (save) {
        value = box->isChecked() ? 1 : 0;
    } else {
        box->setChecked(value != 0);
    }
}

void ExchangeRadio(bool save, RadioGroup& group, int& index) {
    if (save) {
        index = group.Index();
    } else {
        group.SetIndex(index);
    }
}

} // namespace pfsetup
