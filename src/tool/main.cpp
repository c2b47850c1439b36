#include "tool/tool.h"

#include <cstdio>
#include <map>
#include <string>

namespace tessarin::tool {

namespace {

struct Entry {
    std::string usage;
    Command run;
};

std::map<std::string, Entry>& registry() {
    static std::map<std::string, Entry> commands;
    return commands;
}

void printUsage() {
    std::fprintf(stderr, "usage:\n");
    for (const auto& [name, e] : registry()) std::fprintf(stderr, "  tessarin-tool %s\n", e.usage.c_str());
}

}  // namespace

Registration::Registration(const char* name, const char* usage, Command run) {
    registry()[name] = Entry{usage, run};
}

int usageError(const std::string& message) {
    std::fprintf(stderr, "tessarin-tool: %s\n", message.c_str());
    return 2;
}

}  // namespace tessarin::tool

int main(int argc, char** argv) {
    using namespace tessarin::tool;
    if (argc < 2) {
        printUsage();
        return 2;
    }
    const auto it = registry().find(argv[1]);
    if (it == registry().end()) return usageError(std::string("unknown command '") + argv[1] + "'");
    std::vector<std::string> args(argv + 2, argv + argc);
    return it->second.run(args);
}
