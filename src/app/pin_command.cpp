// pin: how the project treats pin names.

#include "app/commands.h"
#include "app/json_writer.h"
#include "app/tool.h"

#include "setup/pin_name_split.h"
#include "setup/setup_store.h"

#include <iostream>

namespace pfsetup::app {

int PinCommand(const std::string& project, const std::vector<std::string>& names, bool json) {
    CPFCoreSetupAPI* store = nullptr;
    if (int status = LoadStore(project, store, StoreUse::Query)) {
        return status;
    }
    // A fresh process adopts the project's notations, as the host does when it starts.
    store->UpdateOrigReadWriteActiveLowPinNotation();
    PFPinInterpret_AlphaNum a{};
    PFPinInterpret_NumAlpha n{};
    PFPinInterpret_NumAlphaNum t{};
    store->GetAlphaNumValue(a);
    store->GetNumAlphaValue(n);
    store->GetNumAlphaNumValue(t);

    JsonWriter out;
    out.BeginObject().Integer("version", 1).BeginArray("pins");
    for (const std::string& name : names) {
        const bool low = store->IsPinReadActiveLow(name) != 0;
        std::string high = name;
        store->CreateActiveHighPin(high);
        std::string lowForm = high;
        store->CreateActiveLowPin(lowForm);
        const PinNameParts parts = SplitPinName(high, a, n, t);
        if (json) {
            out.BeginObject()
                .String("name", name)
                .Bool("lowAsserted", low)
                .String("activeHigh", high)
                .String("activeLow", lowForm)
                .String("pattern", PinNamePatternText(parts.pattern))
                .String("group", parts.group)
                .String("baseName", parts.baseName)
                .String("bit", parts.bit)
                .String("slot", parts.slot)
                .EndObject();
            continue;
        }
        std::cout << name << ": " << (low ? "low-asserted" : "not low-asserted") << "; active-high "
                  << high << ", active-low " << lowForm;
        if (parts.pattern != PinNamePattern::None) {
            std::cout << "; pattern " << PinNamePatternText(parts.pattern) << ":";
            if (!parts.group.empty()) {
                std::cout << " group " << parts.group;
            }
            std::cout << " base name " << parts.baseName;
            if (!parts.bit.empty()) {
                std::cout << " bit " << parts.bit;
            }
            if (!parts.slot.empty()) {
                std::cout << " slot " << parts.slot;
            }
        }
        std::cout << "\n";
    }
    out.EndArray().EndObject();
    if (json) {
        std::cout << out.Text() << "\n";
    }
    return kOk;
}

} // namespace pfsetup::app
