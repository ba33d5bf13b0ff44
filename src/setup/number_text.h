#pragma once
// Numbers in setting texts, independent of the process locale: a Qt application sets the
// locale from the environment at start-up, and files must read the same everywhere.

#include <string>

namespace pfsetup {

// As atoi: leading white space, an optional sign, digits up to the first other character;
// no digits gives 0. Values beyond int saturate instead of overflowing.
int ParseInt(const std::string& text);
// The same without the limit of int: values beyond +-10^17 saturate there, so a caller can
// tell a number that does not fit its field from one that does.
long long ParseLongLong(const std::string& text);

// As atof: leading white space, then the longest leading part that forms a decimal number
// (optional sign, digits, '.', exponent); anything else gives 0. `consumed`, when given,
// receives the number of characters read (0 when no number was found).
double ParseDecimal(const std::string& text, size_t* consumed = nullptr);

// The length of the decimal number `text` begins with (an optional sign, digits with one
// optional point, an optional exponent; no "inf", "nan" or hexadecimal forms), 0 when it does
// not begin with one.
size_t DecimalLength(const std::string& text);
// The value of the longest leading decimal number after leading white space, as the dialog
// reads a size; 0 when the text does not begin with one. Too large a number gives +-HUGE_VAL.
double LeadingNumber(const std::string& text);

// "%f": fixed point with six decimals and a '.'.
std::string FormatFixed6(double value);

// "%d".
std::string FormatInt(long long value);

} // namespace pfsetup
