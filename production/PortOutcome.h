// TEMPORARY shim until main's production library is merged.
#pragma once
#include "cli/Job.h"
namespace vortana {
using cli::PortOutcome;
}
