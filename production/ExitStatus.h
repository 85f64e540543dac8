// TEMPORARY shim until main's production library is merged.
#pragma once
#include "cli/ExitStatus.h"
namespace vortana {
using cli::ExitStatus;
}
