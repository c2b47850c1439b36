// The TwoCorner solver, its help for the player, and `tessarin-tool solve`, `author` and `difficulty`: answers
// replayed by the pair rule, boards made to be stuck, an exhaustive search on small endings, budgets and stops
// that never give a wrong verdict, output alike on any number of threads, the shipped answers byte for byte.
#include "solver/assist.h"
#include "solver/bitboard.h"
#include "solver/playout.h"
#include "solver/solver.h"
#include "support.h"
#include "twocorner/connect.h"
#include "twocorner/pairs.h"

#include <fcntl.h>
#include <unistd.h>

#include <future>
#include <regex>
#include <set>
#include <sstream>

namespace tessarin::test {
namespace {

using Args = std::vector<std::string>;
// Far more positions than any board here needs (under 1,000): a fault that slows the search fails, not hangs.
constexpr SolveBudget kFull{0, 20000, 200}, kThoroughOnly{0, 20000, 0};

int tilesLeft(const Position& pos) {
    int n = 0;
    for (int t = 1; t <= kTiles; ++t) n += pos.tile(t).state != kRemoved;
    return n;
}

// Takes the pairs of cell codes off a copy by the pair rule alone; the board must end clear.
::testing::AssertionResult clears(Position pos, const std::string& codes) {
    std::string error;
    if (!takePairs(pos, codes, error)) return ::testing::AssertionFailure() << error;
    return tilesLeft(pos) ? ::testing::AssertionFailure() << tilesLeft(pos) << " tiles left" : ::testing::AssertionSuccess();
}

Position after(Position pos, const CellPair& p) { return takePair(pos, p.xL, p.yL, p.xR, p.yR), pos; }
Position played(Position pos, const std::string& moves) { std::string error; return takePairs(pos, moves, error), pos; }

// Every line of play tried, lost positions remembered by their removed tiles.
bool clearable(const Position& pos, std::set<std::vector<bool>>& lost) {
    std::vector<bool> key;
    for (int t = 1; t <= kTiles; ++t) key.push_back(pos.tile(t).state == kRemoved);
    if (tilesLeft(pos) == 0 || lost.count(key) != 0) return tilesLeft(pos) == 0;
    for (const CellPair& p : findPairs(pos))
        if (clearable(after(pos, p), lost)) return true;
    return lost.insert(key), false;
}

// A deal played on by random legal pairs down to `left` tiles or until stuck.
Position midGame(int seed, int left, std::mt19937& rng) {
    Position pos = dealt(seed);
    for (PairList pairs; tilesLeft(pos) > left && !(pairs = findPairs(pos)).empty();)
        pos = after(pos, pairs[below(rng, pairs.size())]);
    return pos;
}

// Deal `seed` with the tiles of kinds 1..4 (letters a..d, each kind's tiles in turn) moved to runs of cells
// in a row, each starting where given; then the tiles listed and those from `from` on taken off.
Position arranged(int seed, const std::vector<std::tuple<std::string, int, int>>& runs, std::vector<int> off = {},
                  int from = kTiles + 1) {
    Position b = dealt(seed);
    std::array<int, 4> used{};
    for (const auto& [run, x, y] : runs)
        for (std::size_t c = 0; c < run.size(); ++c) {
            const int t = (run[c] - 'a') * 4 + ++used[run[c] - 'a'];
            b.swapCells(x + int(c), y, b.tile(t).boardX, b.tile(t).boardY);
        }
    for (int t = from; t <= kTiles; ++t) off.push_back(t);
    for (const int t : off) b.setState(t, kRemoved);
    return b;
}
// Four kinds in a closed block, each with a tile facing each side and one inside, no two of a kind touching
// or facing one side: with every other tile gone no pair of it joins, and taking tiles off only frees cells.
Position closedBlock() { return arranged(7, {{"acdb", 7, 3}, {"baba", 7, 4}, {"dcdc", 7, 5}, {"cabd", 7, 6}}); }
// Kinds 1 and 2 crossed in an inner column pair (1 2 over 2 1), their other tiles side by side in corners:
// solvable, but taking those two pairs (011021 168178) first cuts each tile of the cross off for good.
Position stranded() { return arranged(1, {{"ab", 8, 4}, {"ba", 8, 5}, {"aa", 1, 1}, {"bb", 16, 8}}); }

// runTool with `input` as the tool's standard input.
ToolRun tool(const Args& args, const std::string& input = "") {
    const TempDir dir;
    putFile(dir / "in", input);
    const int in = open((dir / "in").c_str(), O_RDONLY), saved = dup(0);
    dup2(in, 0), close(in);
    const ToolRun r = runTool(args);
    return dup2(saved, 0), close(saved), r;
}

TEST(SolverRule, JoinsExactlyWhereTheConnectionRuleDoes) {
    // The solver's mask version of the rule against canConnect, on boards from full to nearly empty; a cell
    // other than the two ends meets the path it names exactly when on it, and the path crosses free cells only.
    std::mt19937 rng(5);
    int joined = 0, apart = 0;
    for (int n = 0; n < 12000; ++n) {
        const int a = below(rng, kTiles), c = below(rng, kTiles), x = below(rng, kBoardW), y = below(rng, kBoardH);
        Position b = dealt(n / 40);
        for (int t = 1, gone = below(rng, 100); t <= kTiles; ++t)
            if (t != a + 1 && t != c + 1 && below(rng, 100) < gone) b.setState(t, kRemoved);
        const solver::Layout l = solver::Bitboard::layoutOf(b);
        const solver::Bitboard p = solver::Bitboard::of(l, b);
        const bool rule = canConnect(b, l.x[a], l.y[a], l.x[c], l.y[c]);
        const bool end = b.tileAt(x, y) == a + 1 || b.tileAt(x, y) == c + 1;
        if (a == c) continue;
        ASSERT_EQ((std::pair(p.joinable(a, c), p.joinable(c, a))), std::pair(rule, rule)) << n;
        if (++(rule ? joined : apart), !rule) continue;
        solver::CellSet cell;  // just (x, y)
        cell.add(x, y);
        const bool on = p.onRoute(a, c, p.route(a, c), x, y);
        ASSERT_EQ(p.routeMeets(a, c, p.route(a, c), cell), on && !end) << n;
        ASSERT_TRUE(!on || end || !onField(x, y) || b.stateAt(x, y) == kRemoved) << n;
    }
    EXPECT_GT(std::min(joined, apart), 1000);
}

TEST(Solver, AnswersReplayVerdictsAgreeWithAnExhaustiveSearchAndThreadsAnswerAsOneAlone) {
    // Full deals and positions part way through, quick and thorough searches; a picked tile is on the board.
    std::mt19937 rng(11);
    std::vector<Position> boards;
    for (int n = 1; n <= 60; ++n) {
        Position b = n <= 30 ? dealt(n) : midGame(n, 40 + 2 * (n % 30), rng);
        for (int t = 1; n % 7 == 0 && t <= kTiles; ++t)
            if (b.tile(t).state == kOnBoard) b.setState(t, kPicked), t = kTiles;
        for (const SolveBudget& budget : {kFull, kThoroughOnly}) {
            const SolveResult r = solvePosition(b, budget);
            ASSERT_NE(r.verdict, Verdict::Undecided) << "board " << n;
            EXPECT_TRUE(n > 30 || (r.verdict == Verdict::Unsolvable) == (n == 16 || n == 20 || n == 22)) << "deal " << n;
            if (r.verdict == Verdict::Solvable) { EXPECT_TRUE(clears(b, answerLine("", r.cells))) << "board " << n; }
        }
        boards.push_back(b);
    }
    // With hard deals, all solved at once, each on a thread of its own: the same verdicts and answers.
    for (const int seed : {524, 696, 1313, 2180, 4003}) boards.push_back(dealt(seed));
    std::vector<std::future<SolveResult>> together;
    for (const Position& b : boards)
        together.push_back(std::async(std::launch::async, [&b] { return solvePosition(b, kFull); }));
    for (std::size_t k = 0; k < boards.size(); ++k) {
        const SolveResult alone = solvePosition(boards[k], kFull), both = together[k].get();
        EXPECT_EQ((std::pair(both.verdict, both.cells)), (std::pair(alone.verdict, alone.cells))) << k;
    }
    // Nothing left: solved by no move. A board that lost a tile is no position: nothing claimed.
    const SolveResult none = solvePosition(arranged(3, {}, {}, 1), kFull);
    Position broken = dealt(3);
    broken.place(1, 1, broken.tileAt(2, 1), false);
    EXPECT_EQ((std::tuple(none.verdict, none.cells.size(), solvePosition(broken, kFull).verdict)),
              std::tuple(Verdict::Solvable, 0u, Verdict::Undecided));
    // Small endings of random games, where every line of play can be tried: the same verdicts.
    int yes = 0, no = 0;
    for (int n = 0; n < 200; ++n) {
        const Position b = midGame(1000 + n, 16 + 2 * (n % 6), rng);
        std::set<std::vector<bool>> lost;
        const bool truth = clearable(b, lost);
        for (const SolveBudget& budget : {kFull, kThoroughOnly})
            ASSERT_EQ(solvePosition(b, budget).verdict, truth ? Verdict::Solvable : Verdict::Unsolvable) << n;
        ++(truth ? yes : no);
    }
    EXPECT_GT(std::min(yes, no), 50);
}

TEST(Solver, ProvesBoardsMadeToBeStuckUnsolvableAndRandomPlaysTellThemFromGentleOnes) {
    // The closed block, quick, thorough, within two positions (the bound sees it at once); no random play clears it.
    for (const SolveBudget& budget : {kFull, kThoroughOnly, SolveBudget{0, 2, 200}})
        EXPECT_EQ(solvePosition(closedBlock(), budget).verdict, Verdict::Unsolvable);
    EXPECT_EQ(playRandomly(closedBlock(), 20, 1).cleared, 0);
    // Four pairs side by side on an empty board: every play clears it.
    const RandomPlays easy = playRandomly(arranged(7, {{"aabb", 3, 3}, {"ccdd", 3, 4}}, {3, 4, 7, 8, 11, 12, 15, 16}, 17), 20, 1);
    EXPECT_EQ((std::tuple(easy.plays, easy.clearedShare(), easy.meanTaken)), std::tuple(20, 1.0, 8.0));
    // The cross alone among tiles that can go; an odd number of tiles of a kind.
    const Position cross = arranged(7, {{"ab", 8, 4}, {"ba", 8, 5}}, {3, 4, 7, 8}, 41);
    ASSERT_TRUE(!findPairs(cross).empty() && findPairs(arranged(7, {{"ab", 8, 4}, {"ba", 8, 5}}, {3, 4, 7, 8}, 9)).empty());
    EXPECT_EQ(solvePosition(cross, kFull).verdict, Verdict::Unsolvable);
    EXPECT_EQ(solvePosition(arranged(12, {}, {1}), kFull).verdict, Verdict::Unsolvable);
}

TEST(Solver, BudgetOrStopGivesUndecidedNeverAWrongVerdict) {
    // Deals 99 and 524 are unsolvable, 134 and 696 solvable, each only after some hundreds of positions.
    for (const auto& [seed, truth] : {std::pair{99, Verdict::Unsolvable}, std::pair{524, Verdict::Unsolvable},
                                      std::pair{134, Verdict::Solvable}, std::pair{696, Verdict::Solvable}}) {
        const SolveResult full = solvePosition(dealt(seed), kFull);
        ASSERT_TRUE(full.verdict == truth && full.nodes > 150) << seed;
        for (const int64_t nodes : std::vector<int64_t>{1, 5, 100, 199, 200, 201, 300, full.nodes / 2, full.nodes - 1}) {
            const SolveResult r = solvePosition(dealt(seed), {0, nodes, 200});
            EXPECT_TRUE((r.verdict == Verdict::Undecided || r.verdict == truth) && r.nodes <= nodes + 1) << seed << " " << nodes;
            if (r.verdict == Verdict::Solvable) { EXPECT_TRUE(clears(dealt(seed), answerLine("", r.cells))) << seed; }
        }
    }
    const std::atomic<bool> stop{true};
    const SolveResult timed = solvePosition(dealt(524), {1, 0, 200}), stopped = solvePosition(dealt(524), {0, 0, 200, &stop});
    EXPECT_TRUE(timed.verdict == Verdict::Undecided && timed.ms < 100.0 && stopped.verdict == Verdict::Undecided) << timed.ms;
}

TEST(Assist, DeadEndsFoundWithThePairsBackAndHintsKeepTheBoardClearable) {
    // Positions after the codes and then `more` pairs found on the board; a stop gives "not proved".
    const std::atomic<bool> stop{true};
    for (const auto& [start, codes, more, proved, back] : std::vector<std::tuple<Position, std::string, int, bool, int>>{
             {stranded(), "011021168178", 3, true, 4}, {stranded(), "011021168178", 0, true, 1}, {stranded(), "011021", 0, false, 0},
             {closedBlock(), "", 2, true, 0}}) {
        Position pos = played(start, codes);
        std::string moves = codes, error;
        for (int k = 0; k < more; ++k) moves += findPairs(pos)[0].code().data(), pos = after(pos, findPairs(pos)[0]);
        MoveRecord record;
        for (std::size_t i = 0; i < moves.size(); i += 3) record.cells[++record.count] = std::stoi(moves.substr(i, 3));
        const DeadEnd d = findDeadEnd(pos, record, 10000);
        const bool stopped = findDeadEnd(pos, record, 10000, &stop).proved;
        EXPECT_EQ((std::tuple(d.proved, d.pairsBack, stopped)), std::tuple(proved, back, false)) << moves;
        CellPair hint;
        ASSERT_EQ(findHint(pos, 10000, hint), proved ? HintResult::DeadEnd : HintResult::Found) << moves;
        EXPECT_TRUE(proved || (takePairs(pos, hint.code().data(), error) && solvePosition(pos, kFull).verdict == Verdict::Solvable))
            << moves;
    }
}

TEST(SolveCommand, AnswersDecidesAndRefusesMalformedLinesAndIllegalMoves) {
    const std::string line = dealStageLine(12), built = formatStageLine("90001", stranded());
    const ToolRun solved = tool({"solve", line});
    EXPECT_EQ((std::tuple(solved.status, solved.out.substr(0, 5), solved.out.size())), std::tuple(0, "00012", 5 + 6 * 68 + 1));
    EXPECT_TRUE(clears(dealt(12), solved.out.substr(5, 6 * 68)));
    // Deal 16 has no way through, 12 needs more than one position. Malformed (the second cell's tile twice, characters
    // after the board, a third argument, bad options): one line on stderr, status 2.
    const RandomPlays plays = playRandomly(dealt(12), 200, 1);  // what difficulty reports: share cleared, tiles taken
    char measured[40];
    std::snprintf(measured, sizeof measured, "00012 %.1f %.1f\n", 100.0 * plays.clearedShare(), plays.meanTaken);
    for (const auto& [args, status, out] : std::vector<std::tuple<Args, int, std::string>>{
             {{"solve", dealStageLine(16)}, 1, "unsolvable\n"}, {{"solve", "--node-budget", "1", line}, 3, "undecided\n"},
             {{"solve", built, "011021168178"}, 1, "unsolvable\n"}, {{"solve", "--hint", built, "011021168178"}, 1, "unsolvable\n"},
             {{"difficulty", line}, 0, measured}, {{"solve", line.substr(0, 5) + line.substr(8, 3) + line.substr(8)}, 2, ""},
             {{"solve", "123"}, 2, ""}, {{"solve", line + " "}, 2, ""}, {{"solve", line, "011", "021"}, 2, ""},
             {{"solve", "--budget-ms", "0", line}, 2, ""}, {{"solve", "--jobs", "0", line}, 2, ""}, {{"solve", "--fast", line}, 2, ""},
             {{"solve", "--hint", "--hint", line}, 2, ""}, {{"difficulty", line, "1"}, 2, ""}}) {
        const ToolRun r = tool(args);
        const long errLines = std::count(r.err.begin(), r.err.end(), '\n');
        EXPECT_EQ((std::tuple(r.status, r.out, errLines)), std::tuple(status, out, status == 2)) << args[1];
    }
    // Illegal MOVES: the pair named as the game's pair rule names it, nothing solved.
    const Position pos = dealt(12);
    const std::string first = solved.out.substr(5, 6), other = findPairs(pos)[findPairs(pos)[0].code().data() == first].code().data();
    const std::string kindsDiffer = "011" + std::string(pos.kindAt(1, 1) == pos.kindAt(1, 2) ? "013" : "012");
    for (const std::string& moves : {first + kindsDiffer, first + first, first + "01", first + "011", first + "0110x1",
                                     first + "190011", other + first.substr(0, 3) + "999"}) {
        Position p = pos;
        std::string why;
        ASSERT_FALSE(takePairs(p, moves, why)) << moves;
        const ToolRun r = tool({"solve", line, moves});
        EXPECT_EQ((std::tuple(r.status, r.out, r.err)), std::tuple(2, "", "tessarin-tool: MOVES: " + why + "\n"));
    }
}

TEST(SolveCommand, PositionsAfterMovesAndHintsInBatchesAlikeOnAnyNumberOfThreads) {
    // Lines of standard input, CR LF accepted: results in order, a malformed line making the status 2. The rest
    // replays after MOVES, MOVES + rest from the start; the hint is the rest's first pair (none on a clear board).
    const std::string line = dealStageLine(12), full = tool({"solve", line}).out.substr(5, 6 * 68);
    const std::vector<std::size_t> taken{0, 1, 10, 34, 67, 68};
    std::string input;
    for (const std::size_t pairs : taken) input += line + (pairs ? " " + full.substr(0, 6 * pairs) : "") + "\r\n";
    for (const std::string& l : {std::string("nonsense"), line + " 011012", line + " ", dealStageLine(524), dealStageLine(134)})
        input += l + "\r\n";
    // Budgets by positions, not time, so a slow machine (or a sanitizer build) gives the same verdicts.
    const Args bound{"--budget-ms", "3600000", "--node-budget", "50000000"};
    const auto solve = [&](Args args) { return args.insert(args.begin() + 1, bound.begin(), bound.end()), tool(args, input); };
    const ToolRun one = solve({"solve", "--jobs", "1"}), four = solve({"solve", "--jobs", "4"}), hints = solve({"solve", "--hint"});
    std::istringstream out(one.out), hint(hints.out);
    std::vector<std::string> r(11), h(11);
    for (std::size_t i = 0; i < r.size(); ++i) std::getline(out, r[i]), std::getline(hint, h[i]);
    for (std::size_t i = 0; i < taken.size(); ++i) {
        const std::string moves = full.substr(0, 6 * taken[i]), rest = r[i].substr(5);
        EXPECT_EQ((std::tuple(r[i].substr(0, 5), rest.size(), h[i])), std::tuple("00012", 6 * (68 - taken[i]), rest.substr(0, 6)));
        EXPECT_TRUE(clears(played(dealt(12), moves), rest) && clears(dealt(12), moves + rest)) << taken[i] << " pairs taken";
    }
    EXPECT_TRUE(r[6].starts_with("error: line 7: ") && r[7].starts_with("error: line 8: MOVES: pair 1 (011 012)") &&
                r[8].starts_with("error: line 9: ") && h[8] == r[8]) << one.out;
    const long lines = std::count(one.out.begin(), one.out.end(), '\n');
    EXPECT_EQ((std::tuple(one.status, r[9], r[10].substr(0, 5), lines)), std::tuple(2, "unsolvable", "00134", 11));
    EXPECT_EQ((std::tuple(four.status, four.out, four.err)), std::tuple(one.status, one.out, one.err));
    EXPECT_EQ(tool({"solve"}, dealStageLine(16) + "\n").status, 0);
}

TEST(AuthorCommand, AppendsProvenStagesAlikeOnAnyNumberOfThreadsAndWritesNothingWhereLinesCannotGo) {
    // Deals 14 to 19: 16 has no way through and is passed over; the answers are solve's. Lines there stay.
    std::string maps = "00007" + std::string(408, '1') + "\r\n", answers = "old answer line\r\n";
    const std::string oldMaps = maps, oldAnswers = answers;
    for (const int seed : {14, 15, 17, 18, 19}) {
        const std::string solved = tool({"solve", "--budget-ms", "3600000", dealStageLine(seed)}).out;
        maps += dealStageLine(seed) + "\r\n", answers += solved.substr(0, solved.size() - 1) + "\r\n";
    }
    for (const std::string jobs : {"1", "3"}) {
        const TempDir dir;
        putFile(dir / "maptwo.map", oldMaps), putFile(dir / "anstwo.map", oldAnswers);
        const ToolRun run = tool({"author", dir.path, "--from", "14", "--count", "5", "--jobs", jobs, "--budget-ms", "3600000"});
        const std::string printed = std::regex_replace(run.out, std::regex(" [0-9.]+ ms\n"), "\n");  // the times aside
        EXPECT_EQ((std::tuple(run.status, printed, fileBytes(dir / "maptwo.map"), fileBytes(dir / "anstwo.map"))),
                  std::tuple(0, "00014 solvable\n00015 solvable\n00016 unsolvable\n00017 solvable\n00018 solvable\n"
                                "00019 solvable\n", maps, answers));
    }
    // No folder, a file, a stage file whose last line has no end, bad arguments: status 2, nothing written.
    const TempDir dir;
    fs::create_directories(dir / "torn");
    putFile(dir / "torn/maptwo.map", "00007 no line end"), putFile(dir / "plain.txt", "");
    for (const Args& args : std::vector<Args>{
             {"author", dir / "missing", "--from", "1", "--count", "1"}, {"author", dir / "plain.txt", "--from", "1", "--count", "1"},
             {"author", dir / "torn", "--from", "1", "--count", "1"}, {"author", dir.path, "--from", "1"},
             {"author", dir.path, "--from", "100000", "--count", "1"}, {"author", dir.path, "--from", "1", "--count", "1", "--jobs", "0"}}) {
        const ToolRun bad = tool(args);
        EXPECT_EQ((std::tuple(bad.status, bad.out, bad.err.empty())), std::tuple(2, "", false)) << args[1];
    }
    std::string files;
    for (const char* name : {"missing", "torn/anstwo.map", "torn/maptwo.map", "maptwo.map", "anstwo.map"}) files += fileBytes(dir / name);
    EXPECT_EQ(files, "<missing><missing>00007 no line end<missing><missing>");
}

TEST(ShippedStages, SolveGivesTheStoredAnswersAndTheFilesRunGentlestFirst) {
    // The stage files were made with `solve`'s answers: it still gives each one, byte for byte. difficulty never
    // rises from the first stage of file 0 to the last of file 9, and is the same on four threads from standard input.
    std::string stages, answers, input;
    Args ends{"difficulty"};
    for (int k = 0; k <= 9; ++k) {
        const std::string s = fileBytes(TESSARIN_SOURCE_DIR "/data/maptwo" + std::to_string(k) + ".map");
        stages += s, answers += fileBytes(TESSARIN_SOURCE_DIR "/data/anstwo" + std::to_string(k) + ".map");
        ends.push_back(s.substr(0, kStageLineLength)), ends.push_back(s.substr(s.rfind('\n', s.size() - 2) + 1, kStageLineLength));
        input += ends[ends.size() - 2] + "\n" + ends.back() + "\n";
    }
    std::erase(answers, '\r');
    const ToolRun solved = tool({"solve", "--budget-ms", "10000"}, stages), measured = tool(ends);
    const ToolRun four = tool({"difficulty", "--jobs", "4"}, input + "bad\n");
    EXPECT_EQ((std::pair(solved.status, std::count(answers.begin(), answers.end(), '\n'))), std::pair(0, 300l));
    EXPECT_EQ(solved.out, answers);
    EXPECT_EQ((std::pair(four.status, four.out.substr(0, four.out.find("error: line 21: ")))), std::pair(2, measured.out));
    std::istringstream lines(measured.out);
    double before = 101.0;
    int n = 1;
    for (std::string l; std::getline(lines, l); before = std::stod(l.substr(6)), ++n)
        EXPECT_TRUE(l.substr(0, 5) == ends.at(n).substr(0, 5) && std::stod(l.substr(6)) <= before) << l;
    EXPECT_EQ((std::pair(measured.status, n)), std::pair(0, 21));
}

}  // namespace
}  // namespace tessarin::test
