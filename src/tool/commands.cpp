#include "tool/tool.h"

#include <array>
#include <cstdio>

namespace tessarin::tool {

namespace {

// Every subcommand, named here so that linking this table links them all.
const std::array<const CommandInfo*, 7> kCommands = {&authorCommand, &checkCommand, &dealCommand, &difficultyCommand,
                                                     &pairsCommand,  &solveCommand, &threeCommand};

void printUsage() {
    std::fprintf(stderr, "usage:\n");
    for (const CommandInfo* c : kCommands) std::fprintf(stderr, "  tessarin-tool %s\n", c->usage);
}

}  // namespace

int runTool(const std::vector<std::string>& args) {
    if (args.empty()) {
        printUsage();
        return 2;
    }
    for (const CommandInfo* c : kCommands) {
        if (args[0] == c->name) return c->run(std::vector<std::string>(args.begin() + 1, args.end()));
    }
    return usageError("unknown command '" + args[0] + "'");
}

int usageError(const std::string& message) {
    std::fprintf(stderr, "tessarin-tool: %s\n", message.c_str());
    return 2;
}

}  // namespace tessarin::tool
