// tessarin-tool: command-line helpers for stage authors. Each subcommand
// lives in its own source file and is named, with its usage line and its
// entry point, in the command table of commands.cpp.
#pragma once

#include <string>
#include <vector>

namespace tessarin::tool {

// Entry point of a subcommand: its arguments (without the subcommand name);
// returns the exit status.
using Command = int (*)(const std::vector<std::string>& args);

struct CommandInfo {
    const char* name;
    const char* usage;
    Command run;
};

// The subcommands, in the order the usage lists them.
extern const CommandInfo authorCommand, checkCommand, dealCommand, difficultyCommand, pairsCommand, solveCommand,
    threeCommand;

// Runs a command line without the program's name: the subcommand's name,
// then its arguments. Returns the exit status; 2 with the usage when there
// is no subcommand or an unknown one.
int runTool(const std::vector<std::string>& args);

// Prints "tessarin-tool: message" on stderr and returns 2, the status of
// malformed input.
int usageError(const std::string& message);

}  // namespace tessarin::tool
