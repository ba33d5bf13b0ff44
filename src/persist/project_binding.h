#pragma once
// How the persistence layer makes the project the store owns while it is bound.

#include "base/error_record.h"

#include <memory>
#include <string>

class CPFCoreSetupAPI;
class SpiProject;

namespace pfsetup {

using BoundProject = std::unique_ptr<SpiProject, void (*)(SpiProject*)>;

// A new, empty project with its deleter; null (after telling the person) when memory is
// exhausted.
BoundProject NewBoundProject();

// Appends `log` to the store's error log for a call that failed. The record of the failure's
// cause stays; where nothing recorded one, `cause` becomes the record, with `log` as its text.
void LogFailure(CPFCoreSetupAPI& store, const std::string& log, ErrorRecord cause);

} // namespace pfsetup
