#pragma once
// Byte-string helpers of the project-file library: the module's ASCII case and white-space
// rules (base/ascii_text.h).

#include "base/ascii_text.h"
