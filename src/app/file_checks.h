#pragma once
// The checks a file named on the command line passes before it is opened. Nothing is opened,
// so a FIFO or a device never blocks; the library refuses such files again when it opens them.

#include "base/error_record.h"

#include <string>

namespace pfsetup::app {

// Why `path` cannot be read as a project file or template (missing, not a regular file, not
// readable), as a record of no kind when it can.
ErrorRecord ReadProblem(const std::string& path);
// kOk when the file can be read, else the exit status after reporting ReadProblem.
int CheckReadable(const std::string& path);
// kOk when `path` can be written over (it does not exist or is a regular file), else the exit
// status after reporting why not.
int CheckWritable(const std::string& path);

} // namespace pfsetup::app
