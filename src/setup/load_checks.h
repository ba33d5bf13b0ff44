#pragma once
// Syntax checks of pin-type load values. The results do not depend on the process locale.
// An empty load means "no load" and is not checked by callers.

#include <string>

// Digits with at most one '.', not zero. A second '.' ends the number ("1..2" reads as 1)
// as long as the text has at most two non-empty '.'-separated pieces.
int IsValidLoadNumber(const std::string& text);

// For Iih and Iol: "*", or an optional leading '+' and a load number; no '-' anywhere.
int IsValidPositiveLoad(const std::string& text);

// For Iil and Ioh: "*", or '-' followed by a load number.
int IsValidNegativeLoad(const std::string& text);
