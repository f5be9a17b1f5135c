#pragma once
// The commands of an unattended run, each a thin driver of the routines the wizard's pages call.
// Each returns the process's exit code.
#include "cli/CliCommand.h"
#include "cli/RunLog.h"

class CApp;

namespace cli {

int RunInstallCommand(CApp& app, const Command& command, RunLog& log);
int RunSearchCommand(CApp& app, const Command& command, RunLog& log, const Console& console);
int RunListCommand(CApp& app, const Command& command, const Console& console);

} // namespace cli
