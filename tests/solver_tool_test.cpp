// `tessarin-tool solve`, `author` and `difficulty` as an author runs them,
// and the stage set shipped in data/: every stage proven by an answer that
// replays with the game's rule, gentlest file first.
#include "board/model.h"
#include "stages/deal.h"
#include "stages/lines.h"
#include "twocorner/connect.h"

#include <QByteArray>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

namespace tessarin {
namespace {

struct ToolRun {
    int exitCode = -1;
    std::string out, err;
};

ToolRun runTool(const QStringList& args, const QByteArray& input = {}) {
    QProcess p;
    p.start(QStringLiteral(TESSARIN_GAME_DIR "/tessarin-tool"), args);
    EXPECT_TRUE(p.waitForStarted(10000));
    p.write(input);
    p.closeWriteChannel();
    EXPECT_TRUE(p.waitForFinished(120000));
    return {p.exitCode(), p.readAllStandardOutput().toStdString(), p.readAllStandardError().toStdString()};
}

QString deal(int seed) { return QString::fromStdString(dealStageLine(seed)); }

std::vector<std::string> splitLines(const std::string& text, const std::string& end = "\n") {
    std::vector<std::string> lines;
    std::size_t at = 0;
    for (std::size_t next; (next = text.find(end, at)) != std::string::npos; at = next + end.size())
        lines.push_back(text.substr(at, next - at));
    EXPECT_EQ(at, text.size()) << "the last line has no line end";
    return lines;
}

QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
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
        a.state = kRemoved;
        b.state = kRemoved;
    }
    return ::testing::AssertionSuccess();  // 68 legal pairs take all 136 tiles
}

TEST(SolveCommand, AnswersDecidesAndRefusesMalformedLines) {
    // Deal 12 is solvable, 16 is not; 134 needs more than one position.
    const ToolRun solved = runTool({QStringLiteral("solve"), deal(12)});
    ASSERT_EQ(solved.exitCode, 0) << solved.err;
    const std::vector<std::string> out = splitLines(solved.out);
    ASSERT_EQ(out.size(), 1u);
    EXPECT_TRUE(answerClears(dealStageLine(12), out[0]));

    const ToolRun stuck = runTool({QStringLiteral("solve"), QStringLiteral("--budget-ms"), QStringLiteral("5000"), deal(16)});
    EXPECT_EQ(stuck.exitCode, 1);
    EXPECT_EQ(stuck.out, "unsolvable\n");
    const ToolRun cut = runTool({QStringLiteral("solve"), QStringLiteral("--node-budget"), QStringLiteral("1"), deal(134)});
    EXPECT_EQ(cut.exitCode, 3);
    EXPECT_EQ(cut.out, "undecided\n");

    // Malformed: one line on stderr, nothing on stdout, status 2.
    QString twice = deal(12);
    twice.replace(5, 3, twice.mid(8, 3));  // the second cell's tile now twice
    for (const QStringList& args : {QStringList{QStringLiteral("solve"), QStringLiteral("123")},
                                    QStringList{QStringLiteral("solve"), twice},
                                    QStringList{QStringLiteral("solve"), deal(12), deal(13)},
                                    QStringList{QStringLiteral("solve"), QStringLiteral("--budget-ms"), QStringLiteral("0"), deal(12)},
                                    QStringList{QStringLiteral("solve"), QStringLiteral("--fast"), deal(12)}}) {
        const ToolRun bad = runTool(args);
        EXPECT_EQ(bad.exitCode, 2) << args.join(' ').left(40).toStdString();
        EXPECT_TRUE(bad.out.empty());
        EXPECT_EQ(splitLines(bad.err).size(), 1u) << bad.err;
    }

    // From standard input, CR LF accepted: one result line per input line,
    // in order; a malformed line gets its error line and status 2.
    const QByteArray input = deal(12).toLatin1() + "\r\n" + deal(16).toLatin1() + "\r\nnonsense\r\n" + deal(14).toLatin1() + "\n";
    const ToolRun piped = runTool({QStringLiteral("solve")}, input);
    EXPECT_EQ(piped.exitCode, 2);
    const std::vector<std::string> results = splitLines(piped.out);
    ASSERT_EQ(results.size(), 4u);
    EXPECT_TRUE(answerClears(dealStageLine(12), results[0]));
    EXPECT_EQ(results[1], "unsolvable");
    EXPECT_EQ(results[2].rfind("error: line 3: ", 0), 0u) << results[2];
    EXPECT_TRUE(answerClears(dealStageLine(14), results[3]));
    EXPECT_EQ(runTool({QStringLiteral("solve")}, deal(16).toLatin1() + "\n").exitCode, 0);
}

TEST(AuthorCommand, AppendsProvenStagesAfterTheLinesAlreadyThere) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString maps = dir.filePath(QStringLiteral("maptwo.map"));
    const QString answers = dir.filePath(QStringLiteral("anstwo.map"));
    const QByteArray oldMaps = "00007" + QByteArray(408, '1') + "\r\n";
    const QByteArray oldAnswers = "old answer line\r\n";
    {
        QFile m(maps), a(answers);
        ASSERT_TRUE(m.open(QIODevice::WriteOnly) && a.open(QIODevice::WriteOnly));
        m.write(oldMaps);
        a.write(oldAnswers);
    }
    // Deals 14 to 17: 16 has no way through and is passed over.
    const ToolRun run = runTool({QStringLiteral("author"), dir.path(), QStringLiteral("--from"), QStringLiteral("14"),
                                 QStringLiteral("--count"), QStringLiteral("3")});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::vector<std::string> tried = splitLines(run.out);
    ASSERT_EQ(tried.size(), 4u);
    for (const auto& [i, want] : std::map<int, std::string>{{0, "00014 solvable"}, {1, "00015 solvable"},
                                                            {2, "00016 unsolvable"}, {3, "00017 solvable"}})
        EXPECT_EQ(tried[static_cast<std::size_t>(i)].rfind(want + " ", 0), 0u) << tried[static_cast<std::size_t>(i)];

    const QByteArray newMaps = readFile(maps), newAnswers = readFile(answers);
    ASSERT_TRUE(newMaps.startsWith(oldMaps));
    ASSERT_TRUE(newAnswers.startsWith(oldAnswers));
    const std::vector<std::string> stages = splitLines(newMaps.mid(oldMaps.size()).toStdString(), "\r\n");
    const std::vector<std::string> answerLines = splitLines(newAnswers.mid(oldAnswers.size()).toStdString(), "\r\n");
    ASSERT_EQ(stages, (std::vector<std::string>{dealStageLine(14), dealStageLine(15), dealStageLine(17)}));
    ASSERT_EQ(answerLines.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) EXPECT_TRUE(answerClears(stages[i], answerLines[i]));

    // Nothing is written where the lines cannot go.
    const QString file = dir.filePath(QStringLiteral("plain.txt"));
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    QTemporaryDir torn;
    {
        QFile m(torn.filePath(QStringLiteral("maptwo.map")));
        ASSERT_TRUE(m.open(QIODevice::WriteOnly));
        m.write("00007 no line end");
    }
    for (const QString& where : {dir.filePath(QStringLiteral("missing")), file, torn.path()}) {
        const ToolRun bad = runTool({QStringLiteral("author"), where, QStringLiteral("--from"), QStringLiteral("1"),
                                     QStringLiteral("--count"), QStringLiteral("1")});
        EXPECT_EQ(bad.exitCode, 2) << where.toStdString();
        EXPECT_TRUE(bad.out.empty());
        EXPECT_FALSE(bad.err.empty());
    }
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("missing"))));
    EXPECT_FALSE(QFile::exists(torn.filePath(QStringLiteral("anstwo.map"))));
    EXPECT_EQ(readFile(torn.filePath(QStringLiteral("maptwo.map"))), QByteArray("00007 no line end"));

    // Bad arguments.
    for (const QStringList& args :
         {QStringList{QStringLiteral("author"), dir.path(), QStringLiteral("--from"), QStringLiteral("1")},
          QStringList{QStringLiteral("author"), dir.path(), QStringLiteral("--from"), QStringLiteral("100000"),
                      QStringLiteral("--count"), QStringLiteral("1")},
          QStringList{QStringLiteral("author"), QStringLiteral("--from"), QStringLiteral("1"), QStringLiteral("--count"),
                      QStringLiteral("1")}})
        EXPECT_EQ(runTool(args).exitCode, 2);
    EXPECT_EQ(readFile(maps), newMaps);
}

TEST(DifficultyCommand, SameFiguresOnEveryRun) {
    const QStringList args{QStringLiteral("difficulty"), deal(12), deal(14)};
    const ToolRun first = runTool(args);
    ASSERT_EQ(first.exitCode, 0) << first.err;
    EXPECT_EQ(runTool(args).out, first.out);
    const std::vector<std::string> lines = splitLines(first.out);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].substr(0, 6), "00012 ");
    EXPECT_EQ(lines[1].substr(0, 6), "00014 ");
    EXPECT_EQ(runTool({QStringLiteral("difficulty"), QStringLiteral("00012")}).exitCode, 2);
}

TEST(ShippedStages, EveryStageProvenAndTheFilesGentlestFirst) {
    std::set<std::string> numbers;
    QStringList ends;  // the first and last stage of each file, in order
    for (int k = 0; k <= 9; ++k) {
        const QString dir = QStringLiteral(TESSARIN_SOURCE_DIR "/data/");
        const QByteArray mapText = readFile(dir + QStringLiteral("maptwo%1.map").arg(k));
        const QByteArray ansText = readFile(dir + QStringLiteral("anstwo%1.map").arg(k));
        const std::vector<std::string> stages = splitLines(mapText.toStdString(), "\r\n");
        const std::vector<std::string> answers = splitLines(ansText.toStdString(), "\r\n");
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
    // The measure never rises from the first stage of file 0 to the last of
    // file 9 (the stages stand in that order).
    const ToolRun measured = runTool(QStringList{QStringLiteral("difficulty")} + ends);
    ASSERT_EQ(measured.exitCode, 0) << measured.err;
    double before = 101.0;
    for (const std::string& line : splitLines(measured.out)) {
        const double share = std::stod(line.substr(6));
        EXPECT_LE(share, before) << line;
        before = share;
    }
}

}  // namespace
}  // namespace tessarin
