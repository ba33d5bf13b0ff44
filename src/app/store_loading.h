#pragma once
// The store a command works on, read from a project (install, site and user files merged) or
// from the installed files alone.

#include <string>

class CPFCoreSetupAPI;

namespace pfsetup::app {

// The file a command works on: a user's project, or with --site the site project file the
// search path finds (read over the install file alone, as the project itself).
struct Target {
    std::string project; // empty: the install and site files alone
    bool site = false;
    bool create = false; // the site file does not exist yet: a write creates it
};
// The site project file for --site. Missing, with `create` it is to be made in the first folder
// QRV_SEARCH_PATH names, as `git config --system` makes its file; else the exit status after
// telling why there is none.
int FindSiteFile(Target& target, bool create);
// Makes the file a target with `create` names (the header alone); the exit status.
int CreateTargetFile(const Target& target);

// Reads `project` into `store` (install, site and user files merged; the install and site
// files alone when `project` is empty) and shows the warnings the read logged. Else the exit
// status after telling why the project cannot be read.
int ReadProject(const std::string& project, CPFCoreSetupAPI& store);
// What a command does with the store it loads: answers from it, or changes and writes it.
enum class StoreUse { Query, Change };
// The same into the module's store, bound to `project`; only a store loaded for a change
// notes what it read and keeps the project for the write. With `onlyKey`, a query reads only
// that key's entries (and shows only their warnings).
int LoadStore(const std::string& project, CPFCoreSetupAPI*& store, StoreUse use,
              const std::string& onlyKey = {});
// The settings a project falls back to without its own entries: the install file, and the
// site file unless the project is the site file. What the read logged stays in the store.
int ReadDefaults(const Target& target, CPFCoreSetupAPI& store);

} // namespace pfsetup::app
