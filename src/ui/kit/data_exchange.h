#pragma once
// Moving values between a page's fields and its controls. An edit bound to a number is
// checked as it is moved into its field: a refused text is shown to the user, the edit gets
// the focus and the exchange fails. Numbers are written independently of the process locale.

#include <functional>
#include <string>

class QAbstractButton;
class QComboBox;
class QLineEdit;

namespace pfsetup {

class RadioGroup;

// Six significant digits, as the framework showed a float ("0.05", "0.8", "1e+06").
std::string FormatDialogFloat(float value);

// A number as the checks take it: without the white space around it, and with a decimal comma
// taken as the point where the locale writes numbers with one.
std::string NumberText(const std::string& text);
std::string NumberText(const QLineEdit* edit);

// What refuses the text of a field: its message, or "" when the field takes the text.
using Refusal = std::function<std::string(const std::string& text)>;

// `save` true: control -> value; false: value -> control. A number edit's NumberText goes
// through `refusal` first: a refused text is shown to the user, the edit gets the focus and
// the result is false with the value unchanged.
bool ExchangeNumber(bool save, QLineEdit* edit, int& value, const Refusal& refusal);
bool ExchangeNumber(bool save, QLineEdit* edit, float& value, const Refusal& refusal);
// The selected entry's text. Loading a text no entry has leaves nothing selected.
void ExchangeComboText(bool save, QComboBox* combo, std::string& value);
// Checked is 1, unchecked 0; loading any non-zero value checks the box.
void ExchangeCheck(bool save, QAbstractButton* box, int& value);
void ExchangeRadio(bool save, RadioGroup& group, int& index);

} // namespace pfsetup
