#pragma once
// Tests read the tool's --json output with the tool's own JSON reader.

#include "app/json_reader.h"

namespace pfsetup::test {
using app::JsonValue;
using app::ParseJson;
} // namespace pfsetup::test
