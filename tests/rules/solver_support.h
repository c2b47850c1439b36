// Shared by the solver's tests: boards from the deal and from random play,
// the oracles (a replay that knows nothing but the rule, an exhaustive
// search), and tessarin-tool run in-process with its output captured.
#pragma once

#include "formats/lines.h"
#include "stages/deal.h"
#include "tool/tool.h"
#include "twocorner/connect.h"
#include "twocorner/pairs.h"
#include "twocorner/search.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <array>
#include <cstdio>
#include <iostream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace tessarin::test {

inline Position dealt(int seed) {
    StageLine stage;
    std::string error;
    EXPECT_TRUE(parseStageLine(dealStageLine(seed), stage, error)) << error;
    return stage.position();
}

inline void takeOff(Position& pos, const CellPair& p) { takePair(pos, p.xL, p.yL, p.xR, p.yR); }

struct Placed {
    int tile, x, y;
};

// A board with the given tiles in the given cells and every other tile in
// the order the deal of `seed` draws them, row by row.
inline Position withTiles(const std::vector<Placed>& fixed, int seed) {
    Position b;
    std::array<bool, kTiles + 1> placed{};
    for (const Placed& f : fixed) {
        b.place(f.x, f.y, f.tile, false);
        placed[static_cast<std::size_t>(f.tile)] = true;
    }
    const auto order = dealOrderForSeed(seed);
    for (int y = 1, k = 1; y <= kRows; ++y)
        for (int x = 1; x <= kCols; ++x) {
            if (b.tileAt(x, y) != 0) continue;
            while (placed[static_cast<std::size_t>(order[static_cast<std::size_t>(k)])]) ++k;
            b.place(x, y, order[static_cast<std::size_t>(k)], false);
            placed[static_cast<std::size_t>(order[static_cast<std::size_t>(k)])] = true;
        }
    EXPECT_TRUE(b.isConsistent());
    return b;
}

// A deal played on at random, by legal moves, until `left` tiles remain or
// no pair can be taken; the pairs taken are added to `moves` as cell codes.
inline Position midGame(int seed, int left, Pcg32& rng, std::string* moves = nullptr) {
    Position pos = dealt(seed);
    for (int onBoard = kTiles; onBoard > left; onBoard -= 2) {
        const PairList pairs = findPairs(pos);
        if (pairs.empty()) break;
        const CellPair& p = pairs[static_cast<int>(rng.nextUnit() * pairs.size())];
        if (moves != nullptr) *moves += p.code().data();
        takeOff(pos, p);
    }
    return pos;
}

inline int tilesLeft(const Position& pos) {
    int n = 0;
    for (int t = 1; t <= kTiles; ++t) n += pos.tile(t).state != kRemoved;
    return n;
}

// Plays cell codes on a copy of the position with nothing but the rule:
// every step two tiles of one kind, both on the board, joinable at that
// moment; at the end no tile is left.
inline ::testing::AssertionResult clears(Position pos, const std::vector<int>& cells) {
    const auto fail = [](std::size_t i, const char* what) {
        return ::testing::AssertionFailure() << "step " << i / 2 + 1 << " " << what;
    };
    if (cells.size() % 2 != 0) return ::testing::AssertionFailure() << "odd number of cell codes";
    for (int t = 1; t <= kTiles; ++t)
        if (pos.tile(t).state == kPicked) pos.setState(t, kOnBoard);
    for (std::size_t i = 0; i < cells.size(); i += 2) {
        const int x1 = codeX(cells[i]), y1 = codeY(cells[i]), x2 = codeX(cells[i + 1]), y2 = codeY(cells[i + 1]);
        if (!onField(x1, y1) || !onField(x2, y2)) return fail(i, "lies off the field");
        if (pos.stateAt(x1, y1) == kRemoved || pos.stateAt(x2, y2) == kRemoved) return fail(i, "takes a tile already gone");
        if (pos.kindAt(x1, y1) != pos.kindAt(x2, y2)) return fail(i, "pairs two kinds");
        if (!canConnect(pos, x1, y1, x2, y2)) return fail(i, "is not joinable");
        pos.setState(pos.tileAt(x1, y1), kRemoved);
        pos.setState(pos.tileAt(x2, y2), kRemoved);
    }
    const int left = tilesLeft(pos);
    if (left != 0) return ::testing::AssertionFailure() << left << " tiles are left";
    return ::testing::AssertionSuccess();
}

inline ::testing::AssertionResult clears(const Position& pos, const std::string& codes) {
    std::vector<int> cells;
    std::string error;
    if (!parseCellCodes(codes, cells, error)) return ::testing::AssertionFailure() << error;
    return clears(pos, cells);
}

// Exhaustive search over every legal move, remembering lost positions.
inline bool clearable(const Position& pos, std::set<std::array<uint64_t, 3>>& lost) {
    std::array<uint64_t, 3> key{};
    for (int t = 1; t <= kTiles; ++t)
        if (pos.tile(t).state == kRemoved) key[static_cast<std::size_t>((t - 1) / 64)] |= uint64_t{1} << ((t - 1) % 64);
    if (tilesLeft(pos) == 0) return true;
    if (lost.count(key) != 0) return false;
    for (const CellPair& p : findPairs(pos)) {
        Position next = pos;
        takeOff(next, p);
        if (clearable(next, lost)) return true;
    }
    lost.insert(key);
    return false;
}

inline bool clearable(const Position& pos) {
    std::set<std::array<uint64_t, 3>> lost;
    return clearable(pos, lost);
}

struct ToolRun {
    int status = 0;
    std::string out;
    std::string err;

    // The lines of the standard output, each of which must end in "\n".
    std::vector<std::string> lines() const {
        std::vector<std::string> result;
        std::size_t at = 0;
        for (std::size_t end; (end = out.find('\n', at)) != std::string::npos; at = end + 1)
            result.push_back(out.substr(at, end - at));
        EXPECT_EQ(at, out.size()) << "the last line has no line end";
        return result;
    }
};

// Runs a tessarin-tool command line in-process, `input` as its standard
// input, and keeps what it writes to standard output and standard error.
inline ToolRun runTool(const std::vector<std::string>& args, const std::string& input = "") {
    std::istringstream in(input);
    std::streambuf* const cinBuf = std::cin.rdbuf(in.rdbuf());
    std::FILE* const out = std::tmpfile();
    std::FILE* const err = std::tmpfile();
    std::fflush(stdout);
    std::fflush(stderr);
    const int savedOut = dup(1), savedErr = dup(2);
    dup2(fileno(out), 1);
    dup2(fileno(err), 2);
    ToolRun r;
    r.status = tool::runTool(args);
    std::fflush(stdout);
    std::fflush(stderr);
    dup2(savedOut, 1);
    dup2(savedErr, 2);
    close(savedOut);
    close(savedErr);
    std::cin.rdbuf(cinBuf);
    std::cin.clear();
    for (const auto& [file, text] : {std::pair{out, &r.out}, std::pair{err, &r.err}}) {
        std::rewind(file);
        for (int c; (c = std::fgetc(file)) != EOF;) *text += static_cast<char>(c);
        std::fclose(file);
    }
    return r;
}

}  // namespace tessarin::test
