#pragma once
// The API of pfsetup's core library for host programs: the setup store (CPFCoreSetupAPI), the
// entry object (CPFSetupMain, Pfsetup_initialize), the project-file library (SpiProject and
// its functions), the host services, the error record and the module's reset. Link
// pfsetup::core; the include root is the folder holding this file. Other headers of the source
// tree are the library's own and are not installed.
//
// Threads. The module starts no thread and takes no lock of its own: all its state (the
// entry object and store, the last message and error record, the found installed files, the
// session, the settings tree) is module-wide and unguarded, so every call comes from one
// thread at a time, in practice the host's user-interface thread. Other programs writing the
// same project file are another matter: every write holds the file's lock file, so writers take
// turns and each keeps its own change.
//
// Ownership. The module owns the entry object and the store Pfsetup_initialize makes; they
// live until the process ends or ResetModuleState() (a further Pfsetup_initialize keeps the
// earlier ones alive). A host owns the stores and SpiProjects it makes; a store owns its
// records, a SpiProject its programs, directives and values. A host owns the HostServices it
// installs, which must outlive its installation.
//
// Lifetimes. What a SpiProject hands out from Programs() (programs, directives, and the
// std::string_view names and values in them) stays valid until the project is next opened,
// edited (Add..., Delete..., AddValue) or deleted; a directive pointer only until the next
// directive is added. A reference from a store getter (GetPackagePlaceHolders, ...) stays
// valid until the store changes that list or is destroyed. Texts from SpiLastMessage() and
// LastError() until the next call of the library.
//
// Errors. Nothing throws across this API and nothing is shown except through the installed
// HostServices. Each operation gives a status: the store 1 for success and 0 for failure, the
// project-file library 0 for success, -1 failure, 1 not found, 2 end of a walk, 6 the file
// exists. Beside it, the texts kept for hosts that read them: SpiLastMessage(), the library's
// last message, and the store's log (GetLogError). And the error record, LastError(): every
// call that can fail clears it when it starts and leaves one when it fails (what failed, the
// file and line, the key and value, what is allowed, the system's cause; DescribeError makes
// one line of it). So after a call, a record means that call failed; texts in the store's log
// without a record are warnings (an entry skipped while the rest was read).

#include "base/error_record.h"
#include "base/module_state.h"
#include "host/host_services.h"
#include "persist/setup_main.h"
#include "projfile/spi_project.h"
#include "setup/load_checks.h"
#include "setup/setup_store.h"
#include "setup/text_fields.h"
