#pragma once
// The help of each page of the setup dialog, by the page's help context id: what the page is
// for, then what each field means, what it takes and which key it sets, from the same tables as
// the fields' tips and checks.

#include <string>

namespace pfsetup {

// The help of the page with this context id (0x20211 to 0x20215); a general text for others.
std::string HelpText(unsigned contextId);

} // namespace pfsetup
