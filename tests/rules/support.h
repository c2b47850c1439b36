// Qt-free helpers of the rule and file tests: a temporary folder, whole files,
// the built tessarin-tool run as a process, dealt boards.
#pragma once

#include "formats/lines.h"
#include "stages/deal.h"

#include <gtest/gtest.h>
#include <filesystem>
#include <fstream>
#include <random>
#include <sys/wait.h>

namespace tessarin::test {

namespace fs = std::filesystem;

// A fresh folder, removed with everything in it afterwards.
struct TempDir {
    std::string path = [] { char name[] = "/tmp/tessarin-rules-XXXXXX"; return std::string(::mkdtemp(name)); }();
    ~TempDir() { fs::remove_all(path); }
    std::string operator/(const std::string& name) const { return path + "/" + name; }
};

inline void putFile(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }
inline std::string fileBytes(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    return f ? std::string(std::istreambuf_iterator<char>(f), {}) : "<missing>";
}

// The built tool's exit status, output and errors for these arguments (no single quotes in them).
struct ToolRun { int status = -1; std::string out, err; };
inline ToolRun runTool(const std::vector<std::string>& args) {
    const TempDir dir;
    std::string cmd = TESSARIN_TOOL;
    for (const std::string& a : args) cmd += " '" + a + "'";
    const int s = std::system((cmd + " >" + dir / "out" + " 2>" + dir / "err").c_str());
    return {WIFEXITED(s) ? WEXITSTATUS(s) : -1, fileBytes(dir / "out"), fileBytes(dir / "err")};
}

// The start of the TwoCorner deal of a five-digit seed; a number below n from a generator the standard fixes.
inline Position dealt(int seed) {
    StageLine s;
    std::string error;
    return parseStageLine(dealStageLine(seed), s, error) ? s.position() : Position();
}
inline int below(std::mt19937& rng, int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); }

}  // namespace tessarin::test
