#pragma once
// The module's state (the entry object and store, the last message and error, the found
// install and site files, the session, the registered settings tree, limits and timeouts read
// from the environment, the test hooks) registers how it is reset here, so one call returns
// the whole module to how a fresh process finds it: what tests do between cases, and what a
// host may do before it loads another installation. What a host installed (its HostServices,
// the dialogs' hooks) is its wiring, not state, and stays until the host changes it.

#include <cstddef>
#include <functional>

namespace pfsetup {

// Registers `reset` for as long as the object lives (module state is kept in function-local
// statics, each with one of these beside it).
class ModuleStateReset {
public:
    explicit ModuleStateReset(std::function<void()> reset);
    ~ModuleStateReset();
    ModuleStateReset(const ModuleStateReset&) = delete;
    ModuleStateReset& operator=(const ModuleStateReset&) = delete;

private:
    std::size_t slot_;
};

// Resets every piece of module state registered so far.
void ResetModuleState();

} // namespace pfsetup
