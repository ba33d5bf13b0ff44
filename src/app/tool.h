#pragma once
// What the tool's commands share: its voice and exit statuses (messages.h), the checks a file
// passes before it is opened (file_checks.h) and the store read from a project
// (store_loading.h).

#include "app/file_checks.h"
#include "app/messages.h"
#include "app/store_loading.h"
