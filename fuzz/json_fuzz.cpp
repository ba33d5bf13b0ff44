// libFuzzer target: the JSON reader `set --json` uses, over any text. What it accepts, the
// writer of `show --json` gives back: every string written again reads back as the same bytes
// (the surrogate escapes of bytes that are not UTF-8 included), and nesting stays bounded.

#include "fuzz_workspace.h"

#include "app/json_reader.h"
#include "app/json_writer.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace {

void Check(bool holds, const char* what) {
    pfsetup::fuzz::Check(holds, "json", what);
}

// Every string and member name of the tree, without recursion.
std::vector<std::string> Texts(const pfsetup::app::JsonValue& root) {
    std::vector<std::string> texts;
    std::vector<const pfsetup::app::JsonValue*> open = {&root};
    while (!open.empty()) {
        const pfsetup::app::JsonValue* v = open.back();
        open.pop_back();
        if (v->kind == pfsetup::app::JsonValue::String)
            texts.push_back(v->text);
        for (const auto& item : v->items)
            open.push_back(&item);
        for (const auto& [name, member] : v->members) {
            texts.push_back(name);
            open.push_back(&member);
        }
    }
    return texts;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace pfsetup::app;
    const std::string text(reinterpret_cast<const char*>(data), size);
    JsonValue root;
    std::string error;
    if (!ParseJson(text, root, error))
        return 0;
    Check(root.end <= text.size(), "a value ends after the text");
    for (const std::string& written : Texts(root)) {
        JsonValue again;
        Check(ParseJson(JsonWriter::Quote(written), again, error), "a written string is refused");
        Check(again.kind == JsonValue::String && again.text == written,
              "a written string reads back otherwise");
    }
    return 0;
}
