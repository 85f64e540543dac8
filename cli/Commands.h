// The program's commands, each defined in a file of its own (cli/*Command.cpp) beside its grammar
// and help.
#pragma once

#include "cli/Command.h"

namespace vortana::cli {

const Command& PortsCommand();
const Command& ModelsCommand();
const Command& SettingsCommand();
const Command& LoadCommand();
const Command& EraseCommand();
const Command& ProgramCommand();
const Command& VerifyCommand();
const Command& WriteCommand();
const Command& ReadCommand();
const Command& CrcCommand();
const Command& JobCommand();
const Command& RunCommand();
const Command& DbCommand();

}  // namespace vortana::cli
