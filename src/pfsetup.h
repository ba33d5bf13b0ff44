#pragma once
// The exported API of pfsetup's core library: the setup store, the entry object, the
// project-file library and the host services. Link pfsetup::core.

#include "host/host_services.h"
#include "persist/settings_entries.h"
#include "persist/setup_main.h"
#include "projfile/spi_project.h"
#include "setup/load_checks.h"
#include "setup/setup_store.h"
#include "setup/text_fields.h"
