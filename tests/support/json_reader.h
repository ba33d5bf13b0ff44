#pragma once
// Tests read the tool's --json output with the tool's own JSON reader.

#include "app/json_reader.h"

#include <gtest/gtest.h>

#include <string>

namespace pfsetup::test {
using app::JsonValue;

// `text` read as JSON; a failure of the test, and a null value, when it is none.
inline JsonValue Json(const std::string& text) {
    JsonValue json;
    std::string error;
    EXPECT_TRUE(app::ParseJson(text, json, error)) << error << "\n" << text;
    return json;
}
} // namespace pfsetup::test
