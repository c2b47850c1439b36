// `tessarin-tool check DIR`: a summary for a sound folder, FILE:LINE for every problem.
#include "stages_support.h"

namespace tessarin::test {
namespace {


// A folder of data files (the test sheet there too, which the check passes over).
using CheckTool = GameTest;

TEST_F(CheckTool, ASoundFolderPassesWithASummary) {
    QByteArray a1, a2;
    const int s1 = solvableStage(1, &a1);
    const int s2 = solvableStage(s1 + 1, &a2);
    writeFile(QStringLiteral("maptwo0.map"), stageLine(s1) + "\r\n" + stageLine(s1 + 1000) + "\n");
    writeFile(QStringLiteral("maptwo4.map"), stageLine(s2) + "\r");
    writeFile(QStringLiteral("maptwo.map"), stageLine(s2));  // the authoring file may repeat a number
    writeFile(QStringLiteral("anstwo0.map"), stageNumber(s2).toLatin1() + a2 + "\r\n");
    writeFile(QStringLiteral("anstwo7.map"), stageNumber(s1).toLatin1() + a1 + "\r\n");
    writeFile(QStringLiteral("anstwo.map"), stageNumber(s2).toLatin1() + a2 + "\r\n");
    writeFile(QStringLiteral("cmptwo.map"), " " + stageNumber(s1).toLatin1() + " \r\n" + "\x81\x40" +
                                                 stageNumber(s2).toLatin1() + "\r\nnot a mark\r\n1234\r\n");
    const ToolRun run = runTool({QStringLiteral("check"), dir.path()});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, QStringList{QStringLiteral("4 stages, 3 answers, 2 completion marks: no problems")});
    EXPECT_TRUE(run.err.isEmpty());
}

TEST_F(CheckTool, EveryProblemIsNamedByFileAndLine) {
    QByteArray answer;
    const int s = solvableStage(1, &answer);
    const QByteArray line = stageLine(s);
    const QByteArray number = stageNumber(s).toLatin1();
    BoardMap map;
    PaiTbl tbl{};
    placeLine(line, map, tbl);

    const auto [differ, blocked] = illegalPairs(map, tbl);
    ASSERT_FALSE(blocked.isEmpty());
    const auto withPairs = [&](const QByteArray& pairs) { return number + pairs + answer.mid(pairs.size()); };

    QByteArray twice = stageLine(s + 3);
    twice.replace(8, 3, twice.mid(5, 3));
    QByteArray letter = stageLine(s + 4);
    letter[77] = 'o';
    QByteArray tooHigh = stageLine(s + 5);
    tooHigh.replace(5, 3, "139");
    writeFile(QStringLiteral("maptwo0.map"),
          line + "\r\n" + stageLine(s + 2).left(412) + "\r\n" + letter + "\r\n" + twice + "\r\n" + tooHigh + "\r\n");
    writeFile(QStringLiteral("maptwo1.map"), "\r\n" + line + "\r\n");
    writeFile(QStringLiteral("maptwo.map"), stageLine(9).left(5) + "\n");
    ASSERT_TRUE(QFile::link(path(QStringLiteral("nowhere")), path(QStringLiteral("maptwo2.map"))));
    writeFile(QStringLiteral("anstwo0.map"),
          stageNumber(s + 1).toLatin1() + answer + "\r\n" +      // no such stage
              withPairs(differ) + "\r\n" +                       // two kinds
              withPairs(blocked) + "\r\n" +                      // pair 1 cannot be joined
              withPairs(answer.left(6) + answer.left(6)) + "\r\n" +  // pair 2 taken twice
              withPairs("190" + answer.mid(3, 3)) + "\r\n" +     // a cell off the field
              number + answer.left(400) + "\r\n" +               // short
              withPairs("01a") + "\r\n");                        // a letter
    writeFile(QStringLiteral("anstwo5.map"), number + answer + "\r\n");  // sound
    writeFile(QStringLiteral("cmptwo.map"), number + "\r\n" + stageNumber(s + 1).toLatin1() + "\r\n");

    const ToolRun run = runTool({QStringLiteral("check"), dir.path()});
    EXPECT_EQ(run.exitCode, 1);
    const QStringList expected = {
        QStringLiteral("maptwo0.map:2: a stage line has 413 characters, this one 412"),
        QStringLiteral("maptwo0.map:3: a stage line holds only digits"),
        QStringLiteral("maptwo0.map:4: tile %1 appears twice").arg(twice.mid(5, 3).toInt()),
        QStringLiteral("maptwo0.map:5: cell 1,1 holds tile 139, not a tile number 1 to 136"),
        QStringLiteral("maptwo1.map:1: a stage line has 413 characters, this one 0"),
        QStringLiteral("maptwo1.map:2: stage %1 is already stored at maptwo0.map:1").arg(stageNumber(s)),
        QStringLiteral("maptwo2.map:0: not an ordinary file the game can read"),
        QStringLiteral("maptwo.map:1: a stage line has 413 characters, this one 5"),
        QStringLiteral("anstwo0.map:1: no stored stage %1 for this answer").arg(stageNumber(s + 1)),
        QStringLiteral("anstwo0.map:2: pair 1 (%1 %2): the two tiles differ in kind (stage maptwo0.map:1)")
            .arg(QString::fromLatin1(differ.left(3)), QString::fromLatin1(differ.mid(3))),
        QStringLiteral("anstwo0.map:3: pair 1 (%1 %2): no path with at most two bends joins the two tiles (stage maptwo0.map:1)")
            .arg(QString::fromLatin1(blocked.left(3)), QString::fromLatin1(blocked.mid(3))),
        QStringLiteral("anstwo0.map:4: pair 2 (%1 %2): the tile at %1 has already been taken off (stage maptwo0.map:1)")
            .arg(QString::fromLatin1(answer.left(3)), QString::fromLatin1(answer.mid(3, 3))),
        QStringLiteral("anstwo0.map:5: pair 1 (190 %1): 190 names no cell of the field (stage maptwo0.map:1)")
            .arg(QString::fromLatin1(answer.mid(3, 3))),
        QStringLiteral("anstwo0.map:6: an answer line has 413 characters, this one 405"),
        QStringLiteral("anstwo0.map:7: an answer line holds only digits"),
        QStringLiteral("cmptwo.map:2: marks %1, which no stage file stores").arg(stageNumber(s + 1)),
    };
    EXPECT_EQ(run.out, expected);
}

TEST_F(CheckTool, RefusesArgumentsThatNameNoFolder) {
    writeFile(QStringLiteral("file"), "x");
    for (const QStringList& args : {QStringList{}, QStringList{dir.path(), dir.path()},
                                    QStringList{path(QStringLiteral("file"))}, QStringList{path(QStringLiteral("none"))}}) {
        const ToolRun run = runTool(QStringList{QStringLiteral("check")} + args);
        EXPECT_EQ(run.exitCode, 2) << args.join(QLatin1Char(' ')).toStdString();
        EXPECT_TRUE(run.out.isEmpty());
        ASSERT_EQ(run.err.size(), 1);
    }
}

}  // namespace
}  // namespace tessarin::test
