// tessarin-tool: command-line helpers for stage authors. Each subcommand
// registers itself with a name, a usage line and its entry point.
#pragma once

#include <string>
#include <vector>

namespace tessarin::tool {

// Entry point of a subcommand: its arguments (without the subcommand name);
// returns the exit status.
using Command = int (*)(const std::vector<std::string>& args);

struct Registration {
    Registration(const char* name, const char* usage, Command run);
};

// Prints "tessarin-tool: message" on stderr and returns 2, the status of
// malformed input.
int usageError(const std::string& message);

}  // namespace tessarin::tool
