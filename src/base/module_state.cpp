#include "base/module_state.h"

#include <vector>

namespace pfsetup {

namespace {

std::vector<std::function<void()>>& Resets() {
    static std::vector<std::function<void()>> resets;
    return resets;
}

} // namespace

ModuleStateReset::ModuleStateReset(std::function<void()> reset) : slot_(Resets().size()) {
    Resets().push_back(std::move(reset));
}

ModuleStateReset::~ModuleStateReset() {
    // Statics die in reverse order of construction; a slot is only emptied, never reused.
    if (slot_ < Resets().size()) {
        Resets()[slot_] = nullptr;
    }
}

void ResetModuleState() {
    for (const std::function<void()>& reset : Resets()) {
        if (reset) {
            reset();
        }
    }
}

} // namespace pfsetup
