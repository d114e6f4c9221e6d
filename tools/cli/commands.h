// The tool's commands. Each adds its subcommand (options, help, checks) to the command line and,
// when the line chooses it, hands back in `run` the work it does.
#pragma once

#include "command_line.h"

namespace quibra::cli {

void AddDemoCommand(CLI::App& app, CommandRun& run);
void AddIdentifyCommand(CLI::App& app, CommandRun& run);
void AddListCommand(CLI::App& app, CommandRun& run);
void AddDownloadCommand(CLI::App& app, CommandRun& run);
void AddDecodeCommand(CLI::App& app, CommandRun& run);
void AddSettingsCommand(CLI::App& app, CommandRun& run);
void AddBikesCommand(CLI::App& app, CommandRun& run);
void AddLogoCommand(CLI::App& app, CommandRun& run);
void AddDumpMemoryCommand(CLI::App& app, CommandRun& run);
void AddUnitCommand(CLI::App& app, CommandRun& run);
void AddSoundCommand(CLI::App& app, CommandRun& run);
void AddPortsCommand(CLI::App& app, CommandRun& run);
void AddMobileCommand(CLI::App& app, CommandRun& run);
void AddFitnessCommand(CLI::App& app, CommandRun& run);
void AddCountersCommand(CLI::App& app, CommandRun& run);
void AddTestsCommand(CLI::App& app, CommandRun& run);
void AddLiveCommand(CLI::App& app, CommandRun& run);
void AddConvertCommand(CLI::App& app, CommandRun& run);
void AddShowCommand(CLI::App& app, CommandRun& run);
void AddPlotCommand(CLI::App& app, CommandRun& run);

// Asks before a command that erases something on the unit: true with --yes, or when the user
// answers yes on the terminal. Without a terminal and without --yes it refuses.
bool Confirmed(const std::string& question, bool yes);

}  // namespace quibra::cli
