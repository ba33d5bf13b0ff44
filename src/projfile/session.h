#pragma once
// The session rule's view of the process: a module-wide argument list, the process's own
// arguments (read from /proc/self/cmdline) unless a host sets others.

#include <string>
#include <vector>

// Replaces the argument list; the first entry is taken as the program path.
void SpiSetArguments(const std::vector<std::string>& arguments);
const std::vector<std::string>& SpiArguments();
// Goes back to the process's own arguments.
void SpiResetArguments();

// True when `argument`, less one leading '-' or '/', equals `option` ignoring case.
bool MatchOption(const std::string& argument, const std::string& option);
// 0 and the argument after the first one that matches `option` (empty when it is the last);
// -1 when no argument matches or there are none. `value` is untouched on -1.
int GetCommandLineOption(const std::string& option, std::string& value);
// Appends "-mpssession" and `value` to the argument list.
void AddSessionOption(const std::string& value);
