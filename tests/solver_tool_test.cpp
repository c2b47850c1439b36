// `tessarin-tool solve`, `author` and `difficulty`, and the shipped stage set:
// every stage proven by an answer replayed with the game's rule, gentlest first.
#include "stages_support.h"

#include <set>

namespace tessarin::test {
namespace {

QString deal(int seed) { return QString::fromStdString(dealStageLine(seed)); }

// The lines of a text, each of which must end in `end`.
std::vector<std::string> splitLines(const QString& text, const std::string& end = "\n") {
    const std::string s = text.toStdString();
    std::vector<std::string> lines;
    std::size_t at = 0;
    for (std::size_t next; (next = s.find(end, at)) != std::string::npos; at = next + end.size())
        lines.push_back(s.substr(at, next - at));
    EXPECT_EQ(at, s.size()) << "the last line has no line end";
    return lines;
}

QString fileText(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromLatin1(f.readAll()) : QString();
}

// The answer line replayed on the stage with nothing but the game's rule.
::testing::AssertionResult answerClears(const std::string& stageLine, const std::string& answer) {
    StageLine stage;
    std::string error;
    if (!parseStageLine(stageLine, stage, error)) return ::testing::AssertionFailure() << error;
    if (answer.size() != kStageLineLength || answer.substr(0, 5) != stage.stageNo)
        return ::testing::AssertionFailure() << "not an answer line for stage " << stage.stageNo;
    std::vector<int> cells;
    if (!parseCellCodes(std::string_view(answer).substr(5), cells, error)) return ::testing::AssertionFailure() << error;
    BoardMap map;
    PaiTbl tbl;
    fillPaiTbl(tbl);
    placeStage(stage, map, tbl, false);
    for (std::size_t i = 0; i < cells.size(); i += 2) {
        const int x1 = codeX(cells[i]), y1 = codeY(cells[i]), x2 = codeX(cells[i + 1]), y2 = codeY(cells[i + 1]);
        PaiRec& a = tbl[static_cast<std::size_t>(map.at(x1, y1))];
        PaiRec& b = tbl[static_cast<std::size_t>(map.at(x2, y2))];
        if (a.state != kOnBoard || b.state != kOnBoard || a.kind != b.kind || !canConnect(map, tbl, x1, y1, x2, y2))
            return ::testing::AssertionFailure() << "stage " << stage.stageNo << ": pair " << i / 2 + 1 << " is not legal";
        a.state = b.state = kRemoved;
    }
    return ::testing::AssertionSuccess();  // 68 legal pairs take all 136 tiles
}

TEST(SolveCommand, AnswersDecidesAndRefusesMalformedLines) {
    // Deal 12 is solvable, 16 is not; 134 needs more than one position.
    const ToolRun solved = runTool({QStringLiteral("solve"), deal(12)});
    ASSERT_EQ(solved.exitCode, 0) << solved.stdErr.toStdString();
    const std::vector<std::string> out = splitLines(solved.stdOut);
    ASSERT_EQ(out.size(), 1u);
    EXPECT_TRUE(answerClears(dealStageLine(12), out[0]));
    const ToolRun stuck = runTool({QStringLiteral("solve"), QStringLiteral("--budget-ms"), QStringLiteral("5000"), deal(16)});
    EXPECT_EQ(std::pair(stuck.exitCode, stuck.stdOut), std::pair(1, QStringLiteral("unsolvable\n")));
    const ToolRun cut = runTool({QStringLiteral("solve"), QStringLiteral("--node-budget"), QStringLiteral("1"), deal(134)});
    EXPECT_EQ(std::pair(cut.exitCode, cut.stdOut), std::pair(3, QStringLiteral("undecided\n")));

    // Malformed: one line on stderr, nothing on stdout, status 2.
    QString twice = deal(12);
    twice.replace(5, 3, twice.mid(8, 3));  // the second cell's tile now twice
    for (const QStringList& args : {QStringList{QStringLiteral("123")}, QStringList{twice}, QStringList{deal(12), deal(13)},
                                    QStringList{QStringLiteral("--budget-ms"), QStringLiteral("0"), deal(12)},
                                    QStringList{QStringLiteral("--fast"), deal(12)}}) {
        const ToolRun bad = runTool(QStringList{QStringLiteral("solve")} + args);
        EXPECT_EQ(bad.exitCode, 2) << args.join(' ').left(40).toStdString();
        EXPECT_TRUE(bad.stdOut.isEmpty());
        EXPECT_EQ(splitLines(bad.stdErr).size(), 1u) << bad.stdErr.toStdString();
    }

    // From standard input, CR LF accepted: one result line per input line,
    // in order; a malformed line gets its error line and status 2.
    const QByteArray input = deal(12).toLatin1() + "\r\n" + deal(16).toLatin1() + "\r\nnonsense\r\n" + deal(14).toLatin1() + "\n";
    const ToolRun piped = runTool({QStringLiteral("solve")}, input);
    EXPECT_EQ(piped.exitCode, 2);
    const std::vector<std::string> results = splitLines(piped.stdOut);
    ASSERT_EQ(results.size(), 4u);
    EXPECT_TRUE(answerClears(dealStageLine(12), results[0]));
    EXPECT_EQ(results[1], "unsolvable");
    EXPECT_EQ(results[2].rfind("error: line 3: ", 0), 0u) << results[2];
    EXPECT_TRUE(answerClears(dealStageLine(14), results[3]));
    EXPECT_EQ(runTool({QStringLiteral("solve")}, deal(16).toLatin1() + "\n").exitCode, 0);
}

using AuthorCommand = GameTest;  // a folder with files in it

TEST_F(AuthorCommand, AppendsProvenStagesAfterTheLinesAlreadyThere) {
    const QString oldMaps = QStringLiteral("00007") + QString(408, QLatin1Char('1')) + QStringLiteral("\r\n");
    const QString oldAnswers = QStringLiteral("old answer line\r\n");
    writeFile(QStringLiteral("maptwo.map"), oldMaps.toLatin1());
    writeFile(QStringLiteral("anstwo.map"), oldAnswers.toLatin1());
    const auto author = [](const QString& where, const QString& from, const QString& count) {
        return runTool({QStringLiteral("author"), where, QStringLiteral("--from"), from, QStringLiteral("--count"), count});
    };
    // Deals 14 to 17: 16 has no way through and is passed over.
    const ToolRun run = author(dir.path(), QStringLiteral("14"), QStringLiteral("3"));
    ASSERT_EQ(run.exitCode, 0) << run.stdErr.toStdString();
    const std::vector<std::string> tried = splitLines(run.stdOut);
    const std::vector<std::string> verdicts = {"00014 solvable ", "00015 solvable ", "00016 unsolvable ", "00017 solvable "};
    ASSERT_EQ(tried.size(), verdicts.size());
    for (std::size_t i = 0; i < tried.size(); ++i) EXPECT_EQ(tried[i].rfind(verdicts[i], 0), 0u) << tried[i];

    const QString newMaps = fileText(path(QStringLiteral("maptwo.map")));
    const QString newAnswers = fileText(path(QStringLiteral("anstwo.map")));
    ASSERT_TRUE(newMaps.startsWith(oldMaps));
    ASSERT_TRUE(newAnswers.startsWith(oldAnswers));
    const std::vector<std::string> stages = splitLines(newMaps.mid(oldMaps.size()), "\r\n");
    const std::vector<std::string> answers = splitLines(newAnswers.mid(oldAnswers.size()), "\r\n");
    ASSERT_EQ(stages, (std::vector<std::string>{dealStageLine(14), dealStageLine(15), dealStageLine(17)}));
    ASSERT_EQ(answers.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) EXPECT_TRUE(answerClears(stages[i], answers[i]));

    // Nothing is written where the lines cannot go: no folder, a file, a
    // stage file whose last line has no end.
    writeFile(QStringLiteral("plain.txt"), {});
    QTemporaryDir torn;
    QFile m(torn.filePath(QStringLiteral("maptwo.map")));
    ASSERT_TRUE(m.open(QIODevice::WriteOnly) && m.write("00007 no line end") == 17);
    m.close();
    for (const QString& where : {path(QStringLiteral("missing")), path(QStringLiteral("plain.txt")), torn.path()}) {
        const ToolRun bad = author(where, QStringLiteral("1"), QStringLiteral("1"));
        EXPECT_EQ(bad.exitCode, 2) << where.toStdString();
        EXPECT_TRUE(bad.stdOut.isEmpty());
        EXPECT_FALSE(bad.stdErr.isEmpty());
    }
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("missing"))));
    EXPECT_FALSE(QFile::exists(torn.filePath(QStringLiteral("anstwo.map"))));
    EXPECT_EQ(fileText(torn.filePath(QStringLiteral("maptwo.map"))), QStringLiteral("00007 no line end"));

    // Bad arguments.
    EXPECT_EQ(runTool({QStringLiteral("author"), dir.path(), QStringLiteral("--from"), QStringLiteral("1")}).exitCode, 2);
    EXPECT_EQ(author(dir.path(), QStringLiteral("100000"), QStringLiteral("1")).exitCode, 2);
    EXPECT_EQ(runTool({QStringLiteral("author"), QStringLiteral("--from"), QStringLiteral("1"), QStringLiteral("--count"),
                       QStringLiteral("1")}).exitCode, 2);
    EXPECT_EQ(fileText(path(QStringLiteral("maptwo.map"))), newMaps);
}

TEST(ShippedStages, EveryStageProvenAndTheFilesGentlestFirst) {
    std::set<std::string> numbers;
    QStringList ends;  // the first and last stage of each file, in order
    for (int k = 0; k <= 9; ++k) {
        const QString dir = QStringLiteral(TESSARIN_SOURCE_DIR "/data/");
        const std::vector<std::string> stages = splitLines(fileText(dir + QStringLiteral("maptwo%1.map").arg(k)), "\r\n");
        const std::vector<std::string> answers = splitLines(fileText(dir + QStringLiteral("anstwo%1.map").arg(k)), "\r\n");
        ASSERT_GE(stages.size(), 30u) << "maptwo" << k;
        ASSERT_EQ(answers.size(), stages.size()) << "anstwo" << k;
        std::map<std::string, std::string> answerOf;
        for (const std::string& a : answers) answerOf[a.substr(0, 5)] = a;
        for (const std::string& s : stages) {
            StageLine stage;
            std::string error;
            ASSERT_TRUE(parseStageLine(s, stage, error)) << "maptwo" << k << ": " << error;
            EXPECT_TRUE(numbers.insert(stage.stageNo).second) << "stage " << stage.stageNo << " twice";
            ASSERT_EQ(answerOf.count(stage.stageNo), 1u) << "no answer in anstwo" << k << " for " << stage.stageNo;
            EXPECT_TRUE(answerClears(s, answerOf[stage.stageNo]));
        }
        ends << QString::fromStdString(stages.front()) << QString::fromStdString(stages.back());
    }
    // The measure, the same on every run, never rises from the first stage
    // of file 0 to the last of file 9 (the stages stand in that order).
    const ToolRun measured = runTool(QStringList{QStringLiteral("difficulty")} + ends);
    ASSERT_EQ(measured.exitCode, 0) << measured.stdErr.toStdString();
    EXPECT_EQ(runTool(QStringList{QStringLiteral("difficulty")} + ends).stdOut, measured.stdOut);
    const std::vector<std::string> lines = splitLines(measured.stdOut);
    ASSERT_EQ(lines.size(), 20u);
    double before = 101.0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(QString::fromStdString(lines[i].substr(0, 6)), ends[static_cast<qsizetype>(i)].left(5) + QLatin1Char(' '));
        const double share = std::stod(lines[i].substr(6));
        EXPECT_LE(share, before) << lines[i];
        before = share;
    }
    EXPECT_EQ(runTool({QStringLiteral("difficulty"), QStringLiteral("00012")}).exitCode, 2);
}

}  // namespace
}  // namespace tessarin::test
