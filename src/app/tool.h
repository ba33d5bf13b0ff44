#pragma once
// What the tool's commands share: its voice and exit statuses (messages.h), the checks a file
// passes before it is opened (file_checks.h) and the store read from a project
// (store_loading.h).

#include "app/file_checks.h"
#include "app/messages.h"
#include "app/store_loading.h"

#include <string>
#include <vector>

namespace pfsetup::app {

// One entry of the merged settings section: its key, its values as written, and the file,
// line and level of the values in effect.
struct EntryOrigin {
    std::string key;
    std::vector<std::string> values;
    std::string file;
    int line = 0;
    std::string level; // "install", "site" or "user"
};

} // namespace pfsetup::app
