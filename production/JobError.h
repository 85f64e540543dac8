// TEMPORARY shim until main's production library is merged.
#pragma once
#include "cli/JobError.h"
#include "production/ExitStatus.h"
namespace vortana {
using cli::JobError;
}
