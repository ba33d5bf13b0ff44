#pragma once
// The project-file writer's own checks and the header time, for the writer's callers inside
// the library and for tests; hosts write through SpiProject::Save.

#include "projfile/spi_model.h"

#include <ctime>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>

namespace pfsetup {

// Why a program name cannot be written so that it reads back, or nullptr when it can: line
// breaks, '{' and trailing white space. Names of programs, and of directives without values,
// read back upper case, which lookups ignore.
const char* ProgramNameProblem(std::string_view name);

// The sections a save writes: every program (`writeAll`) or those marked changed, each with
// every directive or those marked changed, between its START_ and END_ lines, with the user's
// comment lines where they stood. Gives "" when all of it reads back as it is held, else why
// not ("program "P", directive "D": why"), having stopped there: such a write is dropped.
// ProgramsProblem is that answer without the writing.
std::string WritePrograms(std::ostream& file, const SpiProgramList& programs, bool writeAll);
std::string ProgramsProblem(const SpiProgramList& programs, bool writeAll);
// The header, then the sections of `programs` as WritePrograms writes them (none without
// `programs`), into `path`, replaced whole on success: 0, or the error. When the sections cannot
// be written so that they read back, nothing is written, `problem` says why and the result is -1.
int WriteProjectFile(const std::string& path, const SpiProgramList* programs, bool writeAll,
                     std::string& problem);
// The same into `text`, for a project held in memory (the header shows the time of the write):
// 0, or -1 with `text` as it was.
int WriteProjectText(std::string& text, const SpiProgramList& programs, bool writeAll,
                     std::string& problem);

// "14:03:59 Friday, March 07, 2003": local time, with the "C" locale's day and month names
// whatever the process locale is.
std::string FormatHeaderTime(std::time_t time);
// Fixes the time the header of every written file shows; std::nullopt goes back to the file's
// own modification time.
void SetHeaderTimeForTesting(std::optional<std::time_t> time);

} // namespace pfsetup
