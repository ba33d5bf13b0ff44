#pragma once
// Expansion of environment variables in project-file values: ${NAME}, $(NAME) and $NAME.
// QRV_INST_DIR is the installation root first and the environment variable of that name only
// when no root is found. Results, names and reasons may be of any length.

#include <string>

// 1 with the expanded text in `result`; 0 with the reason in `error` and `result` untouched.
// A bare name ends at the first character that is not a name character, and that character
// is copied unchanged, even a '$': "$A$B" gives A's value followed by "$B".
int ExpandVariables(const std::string& input, std::string& result, std::string& error);

// A letter or digit by the current locale's classification, or '_'.
bool IsNameChar(char c);

// For "QRV_INST_DIR" (exact case), true with the installation root; otherwise false.
bool LookupInstallRoot(const std::string& name, std::string& root);
