#include "ui/page_help.h"

#include "persist/settings_entries.h"
#include "ui/format_page.h"
#include "ui/interpretation_page.h"
#include "ui/pin_page.h"
#include "ui/properties_page.h"
#include "ui/symbol_page.h"

namespace pfsetup {

namespace {

// Each setting of the group: its name on the page, then its tip.
std::string KeysHelp(SettingsGroup group) {
    std::string help;
    for (const SettingKey& row : SettingKeys()) {
        if (row.group == group && !row.family) {
            help += std::string(row.label) + "\n" + SettingTip(row.key) + "\n\n";
        }
    }
    return help;
}

std::string PageHelp(const char* title, const char* about, const std::string& fields) {
    return std::string(title) + "\n\n" + about + "\n\n" + fields;
}

} // namespace

std::string HelpText(unsigned contextId) {
    switch (contextId) {
    case CSymbolPP::kHelpContextId:
        return PageHelp("Symbol",
                        "Defaults for new symbols. Every size except the grid is counted in "
                        "grids; the pin text size may not exceed the smaller pin spacing.",
                        KeysHelp(SettingsGroup::Symbol));
    case CPinPP::kHelpContextId:
        return PageHelp("Pin",
                        "For each electrical pin type (<TYPE>, one row each): the side of the "
                        "symbol its pins are placed on and its four default loads; \"*\" means "
                        "no default. Grey loads do not apply to the type.",
                        CPinPP::FieldsHelp());
    case CPropertyPP::kHelpContextId:
        return PageHelp("Property",
                        "The default properties new symbols, symbol pins, packages, package pins "
                        "and part tables receive, one row each. The check boxes say where the "
                        "property of the current row applies. A row is stored when you leave "
                        "it; Escape gives back a row you changed, Delete deletes the row.",
                        CPropertyPP::FieldsHelp());
    case CFormatPP::kHelpContextId:
        return PageHelp("Format",
                        "How low-asserted pin names are read and written, and how chips files "
                        "are read. When only one suffix is read, that suffix is written.",
                        KeysHelp(SettingsGroup::Format));
    case CPinNameInterpretationPP::kHelpContextId:
        return PageHelp("Pin Name Interpretation",
                        "How pin names such as A1, 1A and 1A1 split into base name (BN), bit "
                        "(B), slot (S) and group (G). The three choices must agree: when 1A1 is "
                        "group based, 1A must be group based too.",
                        KeysHelp(SettingsGroup::Interpretation));
    default:
        return "No help is available for this topic.";
    }
}

} // namespace pfsetup
