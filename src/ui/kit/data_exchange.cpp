#include "ui/kit/data_exchange.h"

#include "host/host_services.h"
#include "ui/kit/control.h"
#include "ui/kit/property_page.h"
#include "ui/kit/radio_group.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>

#include <cctype>
#include <cerrno>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <locale.h>

namespace pfsetup {

namespace {

bool IsBlank(char c) {
    return std::isspace(static_cast<unsigned char>(c)) != 0;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Length of the decimal number starting at `pos`, 0 when there is none. Only the grammar the
// dialogs accept: no "inf", "nan" or hexadecimal forms.
size_t DecimalLength(const std::string& text, size_t pos) {
    size_t i = pos;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        ++i;
    size_t digits = 0;
    while (i < text.size() && IsDigit(text[i])) {
        ++i;
        ++digits;
    }
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && IsDigit(text[i])) {
            ++i;
            ++digits;
        }
    }
    if (digits == 0)
        return 0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-'))
            ++j;
        if (j < text.size() && IsDigit(text[j])) {
            while (j < text.size() && IsDigit(text[j]))
                ++j;
            i = j;
        }
    }
    return i - pos;
}

double ToDouble(const std::string& number) {
    // The C locale's decimal point, whatever LC_NUMERIC the application set.
    static locale_t cLocale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return strtod_l(number.c_str(), nullptr, cLocale);
}

size_t SkipBlanks(const std::string& text, size_t pos) {
    while (pos < text.size() && IsBlank(text[pos]))
        ++pos;
    return pos;
}

// The one number that makes up the whole text (blanks around it allowed).
bool WholeNumber(const std::string& text, std::string& number) {
    size_t start = SkipBlanks(text, 0);
    size_t length = DecimalLength(text, start);
    if (length == 0 || SkipBlanks(text, start + length) != text.size())
        return false;
    number = text.substr(start, length);
    return true;
}

void Refuse(QLineEdit* edit, const char* message) {
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

} // namespace

double LeadingNumber(const std::string& text) {
    size_t start = SkipBlanks(text, 0);
    size_t length = DecimalLength(text, start);
    return length == 0 ? 0.0 : ToDouble(text.substr(start, length));
}

bool ParseDialogInt(const std::string& text, int& value) {
    std::string number;
    if (!WholeNumber(text, number))
        return false;
    for (size_t i = 0; i < number.size(); ++i)
        if (!IsDigit(number[i]) && !(i == 0 && (number[i] == '+' || number[i] == '-')))
            return false;
    errno = 0;
    long long parsed = std::strtoll(number.c_str(), nullptr, 10);
    if (errno == ERANGE || parsed < std::numeric_limits<int>::min() ||
        parsed > std::numeric_limits<int>::max())
        return false;
    value = static_cast<int>(parsed);
    return true;
}

bool ParseDialogFloat(const std::string& text, float& value) {
    std::string number;
    if (!WholeNumber(text, number))
        return false;
    double parsed = ToDouble(number);
    if (!std::isfinite(parsed) || std::fabs(parsed) > std::numeric_limits<float>::max())
        return false;
    value = static_cast<float>(parsed);
    return true;
}

std::string FormatDialogFloat(float value) {
    return ToStdString(QString::number(static_cast<double>(value), 'g', 6));
}

bool ExchangeInt(bool save, QLineEdit* edit, int& value) {
    if (!save) {
        edit->setText(QString::number(value));
        return true;
    }
    if (!ParseDialogInt(ToStdString(edit->text()), value)) {
        Refuse(edit, "Please enter an integer.");
        return false;
    }
    return true;
}

bool ExchangeFloat(bool save, QLineEdit* edit, float& value) {
    if (!save) {
        edit->setText(ToQString(FormatDialogFloat(value)));
        return true;
    }
    if (!ParseDialogFloat(ToStdString(edit->text()), value)) {
        Refuse(edit, "Please enter a number.");
        return false;
    }
    return true;
}

void ExchangeComboText(bool save, QComboBox* combo, std::string& value) {
    if (save)
        value = ToStdString(combo->currentText());
    else
        combo->setCurrentIndex(combo->findText(ToQString(value), Qt::MatchFixedString));
}

void ExchangeCheck(bool save, QAbstractButton* box, int& value) {
    if (save)
        value = box->isChecked() ? 1 : 0;
    else
        box->setChecked(value != 0);
}

void ExchangeRadio(bool save, RadioGroup& group, int& index) {
    if (save)
        index = group.Index();
    else
        group.SetIndex(index);
}

} // namespace pfsetup
