#pragma once
// Moving values between a page's fields and its controls, with the checks the original
// framework's dialog data exchange made: an edit bound to a number must hold exactly one
// number, or the user is told, the edit gets the focus and the exchange fails.
// Numbers are read and written independently of the process locale.

#include <string>

class QAbstractButton;
class QComboBox;
class QLineEdit;

namespace pfsetup {

class RadioGroup;

// The value of the longest leading decimal number of `text` (blanks skipped, optional sign,
// digits with one optional point, optional exponent); 0 when the text does not begin with one.
// Too large a number gives +-HUGE_VAL.
double LeadingNumber(const std::string& text);

// The whole text, blanks around it allowed, must be one number of the type.
bool ParseDialogInt(const std::string& text, int& value);
bool ParseDialogFloat(const std::string& text, float& value);
// Six significant digits, as the framework showed a float ("0.05", "0.8", "1e+06").
std::string FormatDialogFloat(float value);

// `save` true: control -> value; false: value -> control. The numeric ones return false
// after telling the user when the text is not a number; the value is then unchanged.
bool ExchangeInt(bool save, QLineEdit* edit, int& value);
bool ExchangeFloat(bool save, QLineEdit* edit, float& value);
// The selected entry's text. Loading a text no entry has leaves nothing selected.
void ExchangeComboText(bool save, QComboBox* combo, std::string& value);
// Checked is 1, unchecked 0; loading any non-zero value checks the box.
void ExchangeCheck(bool save, QAbstractButton* box, int& value);
void ExchangeRadio(bool save, RadioGroup& group, int& index);

} // namespace pfsetup
