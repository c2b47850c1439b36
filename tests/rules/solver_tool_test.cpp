// `tessarin-tool solve`, `author` and `difficulty`: answers for stages and
// for positions part way through them, hints, refusals, batches that give
// the same output on any number of threads, and the shipped stage set.
#include "solver_support.h"

#include <filesystem>
#include <fstream>
#include <map>

namespace tessarin::test {
namespace {

namespace fs = std::filesystem;

std::string fileText(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Drops the time from the lines `author` prints per board.
std::string withoutTimes(const std::string& out) {
    std::string kept;
    std::istringstream lines(out);
    for (std::string l; std::getline(lines, l);) kept += l.substr(0, l.rfind(' ', l.rfind(' ') - 1)) + "\n";
    return kept;
}

TEST(SolveCommand, AnswersDecidesAndRefusesMalformedLines) {
    // Deal 12 is solvable, 16 is not; 134 needs more than one position.
    const ToolRun solved = runTool({"solve", dealStageLine(12)});
    ASSERT_EQ(solved.status, 0) << solved.err;
    ASSERT_EQ(solved.lines().size(), 1u);
    EXPECT_EQ(solved.lines()[0].substr(0, 5), "00012");
    EXPECT_TRUE(clears(dealt(12), solved.lines()[0].substr(5)));
    const ToolRun stuck = runTool({"solve", dealStageLine(16)});
    EXPECT_EQ((std::pair(stuck.status, stuck.out)), (std::pair(1, std::string("unsolvable\n"))));
    const ToolRun cut = runTool({"solve", "--node-budget", "1", dealStageLine(134)});
    EXPECT_EQ((std::pair(cut.status, cut.out)), (std::pair(3, std::string("undecided\n"))));

    // Malformed: one line on stderr, nothing on stdout, status 2.
    std::string twice = dealStageLine(12);
    twice.replace(5, 3, twice.substr(8, 3));  // the second cell's tile now twice
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"123"}, {twice}, {dealStageLine(12), "011", "021"}, {"--budget-ms", "0", dealStageLine(12)},
             {"--fast", dealStageLine(12)}, {"--jobs", "0", dealStageLine(12)}, {"--hint", "--hint", dealStageLine(12)}}) {
        const ToolRun bad = runTool([&] {
            std::vector<std::string> all{"solve"};
            all.insert(all.end(), args.begin(), args.end());
            return all;
        }());
        EXPECT_EQ(bad.status, 2) << args[0];
        EXPECT_TRUE(bad.out.empty());
        EXPECT_EQ(std::count(bad.err.begin(), bad.err.end(), '\n'), 1) << bad.err;
    }
}

TEST(SolveCommand, AnswersThePositionAfterMoves) {
    // The pairs of deal 12's answer taken so far: the answer for the rest
    // replays from the position, and MOVES followed by it is an answer that
    // replays from the start. --hint gives a pair after which the rest is
    // still solvable; a cleared board needs no pair at all.
    const std::string line = dealStageLine(12);
    const std::string full = runTool({"solve", line}).lines().at(0).substr(5);
    for (const std::size_t pairs : {0, 1, 10, 34, 67, 68}) {
        const std::string moves = full.substr(0, 6 * pairs);
        Position pos = dealt(12);
        std::string error;
        ASSERT_TRUE(takePairs(pos, moves, error)) << error;
        const ToolRun r = runTool({"solve", line, moves});
        ASSERT_EQ(r.status, 0) << r.err;
        ASSERT_EQ(r.lines().size(), 1u);
        const std::string rest = r.lines()[0].substr(5);
        EXPECT_EQ(r.lines()[0].substr(0, 5), "00012");
        EXPECT_EQ(rest.size(), 6 * (68 - pairs));
        EXPECT_TRUE(clears(pos, rest)) << pairs << " pairs taken";
        EXPECT_TRUE(clears(dealt(12), moves + rest)) << pairs << " pairs taken";
        const ToolRun hint = runTool({"solve", "--hint", line, moves});
        ASSERT_EQ(hint.status, 0);
        if (pairs == 68) {
            EXPECT_EQ(hint.out, "\n");
            continue;
        }
        ASSERT_EQ(hint.lines().at(0).size(), 6u) << hint.out;
        EXPECT_EQ(runTool({"solve", line, moves + hint.lines()[0]}).status, 0) << pairs << " pairs taken";
    }

    // Solvable stages built to be stranded: kinds 1 and 2 cross in an inner
    // column pair (1 2 over 2 1) and their other two tiles lie side by side
    // in corners. Taking those two pairs first leaves each tile of the cross
    // cut off from its partner by the two of the other kind, for good.
    for (const int seed : {1, 2, 3}) {
        const Position stage = withTiles({{1, 8, 4}, {5, 9, 4}, {6, 8, 5}, {2, 9, 5}, {3, 1, 1}, {4, 2, 1}, {7, 16, 8},
                                          {8, 17, 8}},
                                         seed);
        const std::string built = formatStageLine("9000" + std::to_string(seed), stage);
        const ToolRun whole = runTool({"solve", built});
        ASSERT_EQ(whole.status, 0) << "stage " << seed;
        EXPECT_TRUE(clears(stage, whole.lines().at(0).substr(5)));
        for (const ToolRun& r : {runTool({"solve", built, "011021168178"}), runTool({"solve", "--hint", built, "011021168178"})})
            EXPECT_EQ((std::pair(r.status, r.out)), (std::pair(1, std::string("unsolvable\n")))) << "stage " << seed;
    }
}

TEST(SolveCommand, RefusesIllegalMovesNamingThePair) {
    // The pair is named as the game's pair rule names it, nothing is solved.
    const std::string line = dealStageLine(12);
    const std::string first = runTool({"solve", "--hint", line}).lines().at(0);
    Position pos = dealt(12);
    const CellPair other = findPairs(pos)[findPairs(pos)[0].code().data() == first ? 1 : 0];
    std::string diff;  // two cells of different kinds
    for (int y = 2; y <= kRows && diff.empty(); ++y)
        if (pos.kindAt(1, 1) != pos.kindAt(1, y)) diff = "011" + threeDigits(10 + y);
    for (const std::string& moves : {first + diff, first + first, first + "01", first + "011", first + "0110x1",
                                     first + "190011", std::string(other.code().data()) + first.substr(0, 3) + "999"}) {
        Position p = dealt(12);
        std::string why;
        ASSERT_FALSE(takePairs(p, moves, why)) << moves;
        const ToolRun r = runTool({"solve", line, moves});
        EXPECT_EQ((std::pair(r.status, r.out)), (std::pair(2, std::string()))) << moves;
        EXPECT_EQ(r.err, "tessarin-tool: MOVES: " + why + "\n");
    }
}

TEST(Batches, TheSameOutputOnAnyNumberOfThreads) {
    // Lines in all forms, CR LF accepted: results in input order, the same
    // on one thread and on four, a malformed line making the status 2.
    const std::string line12 = dealStageLine(12);
    const std::string answer = runTool({"solve", line12}).lines().at(0).substr(5);
    std::string input;
    for (const std::string& l : {line12, dealStageLine(16), std::string("nonsense"), line12 + " " + answer.substr(0, 60),
                                 line12 + " 011012", line12 + " ", dealStageLine(524), line12 + " " + answer, dealStageLine(134)})
        input += l + "\r\n";
    const ToolRun one = runTool({"solve", "--jobs", "1"}, input);
    EXPECT_EQ(one.status, 2);
    const std::vector<std::string> results = one.lines();
    ASSERT_EQ(results.size(), 9u);
    EXPECT_TRUE(clears(dealt(12), results[0].substr(5)));
    EXPECT_EQ(results[1], "unsolvable");
    EXPECT_EQ(results[2].rfind("error: line 3: ", 0), 0u) << results[2];
    EXPECT_TRUE(clears(dealt(12), answer.substr(0, 60) + results[3].substr(5)));
    EXPECT_EQ(results[4].rfind("error: line 5: MOVES: pair 1 (011 012)", 0), 0u) << results[4];
    EXPECT_EQ(results[5].rfind("error: line 6: ", 0), 0u) << results[5];
    EXPECT_EQ(results[6], "unsolvable");
    EXPECT_EQ(results[7], "00012");
    const ToolRun four = runTool({"solve", "--jobs", "4"}, input);
    EXPECT_EQ((std::tuple(four.status, four.out, four.err)), (std::tuple(one.status, one.out, one.err)));
    EXPECT_EQ(runTool({"solve"}, dealStageLine(16) + "\n").status, 0);

    std::string stages;
    for (int seed = 1; seed <= 12; ++seed) stages += dealStageLine(seed) + "\n";
    const ToolRun measured = runTool({"difficulty", "--plays", "50", "--jobs", "1"}, stages + "bad\n");
    EXPECT_EQ(measured.status, 2);
    EXPECT_EQ(runTool({"difficulty", "--plays", "50", "--jobs", "4"}, stages + "bad\n").out, measured.out);

    // author keeps the same stages and writes the same files.
    std::map<int, std::pair<std::string, std::string>> files;
    std::string printed[2];
    for (const int jobs : {1, 3}) {
        const fs::path dir = fs::path(::testing::TempDir()) / ("author-jobs-" + std::to_string(jobs));
        fs::remove_all(dir);
        fs::create_directories(dir);
        const ToolRun run = runTool({"author", dir.string(), "--from", "14", "--count", "5", "--jobs", std::to_string(jobs)});
        ASSERT_EQ(run.status, 0) << run.err;
        printed[jobs == 1 ? 0 : 1] = withoutTimes(run.out);
        files[jobs] = {fileText(dir / "maptwo.map"), fileText(dir / "anstwo.map")};
    }
    EXPECT_EQ(printed[0], "00014 solvable\n00015 solvable\n00016 unsolvable\n00017 solvable\n00018 solvable\n00019 solvable\n");
    EXPECT_EQ(printed[1], printed[0]);
    EXPECT_EQ(files[3], files[1]);
}

TEST(AuthorCommand, AppendsProvenStagesAndWritesNothingWhereLinesCannotGo) {
    const fs::path dir = fs::path(::testing::TempDir()) / "author";
    fs::remove_all(dir);
    fs::create_directories(dir / "torn");
    const std::string oldMaps = "00007" + std::string(408, '1') + "\r\n", oldAnswers = "old answer line\r\n";
    std::ofstream(dir / "maptwo.map", std::ios::binary) << oldMaps;
    std::ofstream(dir / "anstwo.map", std::ios::binary) << oldAnswers;
    std::ofstream(dir / "torn" / "maptwo.map", std::ios::binary) << "00007 no line end";
    std::ofstream(dir / "plain.txt", std::ios::binary) << "";
    // Deals 14 to 17: 16 has no way through and is passed over.
    ASSERT_EQ(runTool({"author", dir.string(), "--from", "14", "--count", "3"}).status, 0);
    const std::string maps = fileText(dir / "maptwo.map"), answers = fileText(dir / "anstwo.map");
    EXPECT_EQ(maps, oldMaps + dealStageLine(14) + "\r\n" + dealStageLine(15) + "\r\n" + dealStageLine(17) + "\r\n");
    ASSERT_EQ(answers.substr(0, oldAnswers.size()), oldAnswers);
    std::istringstream added(answers.substr(oldAnswers.size()));
    int n = 0;
    for (std::string a; std::getline(added, a); ++n) {
        ASSERT_EQ(a.back(), '\r');
        const int seed = std::stoi(a.substr(0, 5));
        EXPECT_TRUE(clears(dealt(seed), a.substr(5, a.size() - 6))) << a.substr(0, 5);
    }
    EXPECT_EQ(n, 3);

    // No folder, a file, a stage file whose last line has no end, bad
    // arguments: status 2, nothing printed or written.
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"author", (dir / "missing").string(), "--from", "1", "--count", "1"},
             {"author", (dir / "plain.txt").string(), "--from", "1", "--count", "1"},
             {"author", (dir / "torn").string(), "--from", "1", "--count", "1"},
             {"author", dir.string(), "--from", "1"},
             {"author", dir.string(), "--from", "100000", "--count", "1"},
             {"author", dir.string(), "--from", "1", "--count", "1", "--jobs", "0"}}) {
        const ToolRun bad = runTool(args);
        EXPECT_EQ(bad.status, 2) << args[1];
        EXPECT_TRUE(bad.out.empty());
        EXPECT_FALSE(bad.err.empty());
    }
    EXPECT_FALSE(fs::exists(dir / "missing"));
    EXPECT_FALSE(fs::exists(dir / "torn" / "anstwo.map"));
    EXPECT_EQ(fileText(dir / "torn" / "maptwo.map"), "00007 no line end");
    EXPECT_EQ(fileText(dir / "maptwo.map"), maps);
}

TEST(ShippedStages, SolveGivesTheStoredAnswersAndTheFilesRunGentlestFirst) {
    // The stage files were made with `solve`'s answers: it still gives each
    // one, byte for byte, on one thread or several. The measure of
    // difficulty never rises from the first stage of file 0 to the last of
    // file 9.
    std::string stages, answers;
    std::vector<std::string> ends;
    for (int k = 0; k <= 9; ++k) {
        const std::string dir = TESSARIN_SOURCE_DIR "/data/";
        const std::string s = fileText(dir + "maptwo" + std::to_string(k) + ".map");
        stages += s;
        answers += fileText(dir + "anstwo" + std::to_string(k) + ".map");
        ends.push_back(s.substr(0, kStageLineLength));
        ends.push_back(s.substr(s.rfind('\n', s.size() - 2) + 1, kStageLineLength));
    }
    const auto sorted = [](const std::string& text) {
        std::vector<std::string> lines;
        std::istringstream in(text);
        for (std::string l; std::getline(in, l);) lines.push_back(l.substr(0, l.find('\r')));
        std::sort(lines.begin(), lines.end());
        return lines;
    };
    const ToolRun solved = runTool({"solve", "--budget-ms", "10000"}, stages);
    ASSERT_EQ(solved.status, 0) << solved.err;
    EXPECT_EQ(sorted(solved.out), sorted(answers));
    EXPECT_EQ(sorted(solved.out).size(), 300u);

    std::vector<std::string> args{"difficulty"};
    args.insert(args.end(), ends.begin(), ends.end());
    const ToolRun measured = runTool(args);
    ASSERT_EQ(measured.status, 0) << measured.err;
    const std::vector<std::string> lines = measured.lines();
    ASSERT_EQ(lines.size(), 20u);
    double before = 101.0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(lines[i].substr(0, 5), ends[i].substr(0, 5));
        const double share = std::stod(lines[i].substr(6));
        EXPECT_LE(share, before) << lines[i];
        before = share;
    }
}

}  // namespace
}  // namespace tessarin::test
