#pragma once
// How the persistence layer makes the project the store owns while it is bound.

#include <memory>

class SpiProject;

namespace pfsetup {

using BoundProject = std::unique_ptr<SpiProject, void (*)(SpiProject*)>;

// A new, empty project with its deleter; null (after telling the person) when memory is
// exhausted.
BoundProject NewBoundProject();

} // namespace pfsetup
