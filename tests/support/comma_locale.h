#pragma once
// A locale whose decimal separator is a comma, for tests that numbers in files do not follow
// the process locale. Made with localedef in a temporary directory when the system has none.

namespace pfsetup::test {

// Switches LC_ALL to a comma-decimal locale; false when none can be had.
bool UseCommaDecimalLocale();
// Back to the "C" locale.
void UseCLocale();

} // namespace pfsetup::test
