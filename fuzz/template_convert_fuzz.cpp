// libFuzzer target: any bytes as a part template of any release. The conversion of old section
// names converts everything at once (a second pass finds nothing) and keeps every line, or
// refuses and changes nothing; the
// converted template is loaded into a store, saved as a template and loaded again, which must
// give the same settings (a template leaves out the format group).

#include "fuzz_workspace.h"

#include "persist/settings_entries.h"
#include "persist/setup_main.h"
#include "setup/setup_store.h"

#include <cstddef>
#include <cstdint>
#include <string>

using namespace pfsetup::fuzz;

namespace {

void Check(bool holds, const char* what) {
    pfsetup::fuzz::Check(holds, "template_convert", what);
}

// Lines as the project-file reader counts them: each ends at LF, CR LF, a lone CR or the end.
std::size_t Lines(const std::string& text) {
    std::size_t lines = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
        if (text[i] == '\r' || text[i] == '\n' || i + 1 == text.size())
            ++lines;
    }
    return lines;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const Workspace workspace;
    std::string text(reinterpret_cast<const char*>(data), size);
    const std::string original = text;
    std::string problem;
    const int renamed = pfsetup::ConvertTemplateText(text, problem);
    Check(renamed > 0 || text == original, "a text not converted was changed");
    Check(renamed >= 0 || !problem.empty(), "a refusal without a reason");
    Check(Lines(text) == Lines(original), "the conversion changed the number of lines");
    std::string again = text;
    Check(renamed < 0 || (pfsetup::ConvertTemplateText(again, problem) == 0 && again == text),
          "a converted template still has old names");

    CPFCoreSetupAPI loaded;
    loaded.PutDefFileName(workspace.Path("fuzz.tpl"));
    if (!loaded.ReadTemplateSetup(text))
        return 0;
    const std::string saved = workspace.Path("saved.tpl");
    loaded.SetupSaveForTemplate();
    loaded.PutDefFileName(saved);
    Check(loaded.WriteSetup() == 1, "the template cannot be saved");

    CPFCoreSetupAPI reloaded;
    reloaded.PutDefFileName(saved);
    std::string written;
    Check(pfsetup::ReadTemplateFile(saved, written) == 0, "the saved template cannot be read");
    Check(reloaded.ReadTemplateSetup(written) == 1, "the saved template cannot be loaded");
    const uint16_t withoutFormat = 0x00FF & ~pfsetup::kSaveFormat;
    Check(Settings(reloaded, withoutFormat) == Settings(loaded, withoutFormat),
          "the saved template loads other settings");
    return 0;
}
