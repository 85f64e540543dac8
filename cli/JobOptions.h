// JobOptions: a job file's entries (production/JobFile.h) as the options of `write`, both ways:
// `job save` keeps the options it is given in a job, `run` gives a job's entries as options, with
// the ones given on its command line in their place. Qt-free; pure.
#pragma once

#include "cli/CommandLine.h"
#include "production/JobFile.h"

namespace vortana::cli {

// The job the options name; its CRC-32 is the caller's to fill in.
JobFile JobOfOptions(const Options& options);

// The options the job gives, each of them replaced by `overrides` where they give it (a --port
// given replaces all the job's ports).
Options OptionsOfJob(const JobFile& job, const Options& overrides);

}  // namespace vortana::cli
