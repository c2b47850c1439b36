// The authoring build (tessarin-author): deals numbered after the stages it
// has stored, and every board played to the end stored with its answer in
// the formats the game and `tessarin-tool check` read — after a tile
// exchange too.
#include "stages/stagegrid.h"
#include "stages_support.h"

namespace tessarin::test {
namespace {

// The board of a deal, as "ｽﾀｰﾄ" places it: row by row.
BoardMap dealtBoard(int seed) {
    const auto order = dealOrderForSeed(seed);
    BoardMap map;
    int k = 0;
    for (int y = 1; y <= kRows; ++y)
        for (int x = 1; x <= kCols; ++x) map.at(x, y) = order[static_cast<std::size_t>(++k)];
    return map;
}

// A stage line with the tiles of two cells exchanged.
QByteArray exchanged(QByteArray line, int x1, int y1, int x2, int y2) {
    const qsizetype p1 = 5 + 3 * ((x1 - 1) * kRows + (y1 - 1));
    const qsizetype p2 = 5 + 3 * ((x2 - 1) * kRows + (y2 - 1));
    const QByteArray a = line.mid(p1, 3);
    line.replace(p1, 3, line.mid(p2, 3));
    line.replace(p2, 3, a);
    return line;
}

class Authoring : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        author = std::make_unique<MjanModule>(dir.path(), ui, true);
        ASSERT_TRUE(author->startUp());
        author->clock = game->clock;  // 6 December, 03:25:57: seed 33763
    }

    // Plays the board to its end through the board clicks, always taking the
    // first pair the search lists. False when the board gets stuck.
    bool playBySearch(MjanModule& g) {
        while (g.gameActive) {
            const std::size_t boxes = ui.boxes.size();
            g.menuSrh_Click();
            if (ui.boxes.size() > boxes) return false;  // 手詰まりです
            const int a = g.hintList[1].left, b = g.hintList[1].right;
            clickCell(g, 1, 1, kRightButton);  // leave the search
            clickCode(g, a);
            clickCode(g, b);
        }
        return g.restPai == 0;
    }

    std::unique_ptr<MjanModule> author;
};

TEST_F(Authoring, DealsAreNumberedAfterTheHighestStoredStage) {
    writeFile(QStringLiteral("maptwo.map"), stageLine(12) + "\r\n" + stageLine(7) + "\r\n");
    author->menuStartRnd_Click();
    EXPECT_EQ(author->stageNo, QStringLiteral("00013"));
    EXPECT_EQ(author->boardMap, dealtBoard(13));
    for (MenuId id : {MenuId::PaiChange, MenuId::Save, MenuId::Load}) EXPECT_TRUE(author->menu(id).visible);
    EXPECT_TRUE(ui.boxes.empty());

    // Without the file the clock names the deal, after the message; a
    // number that would need six digits is refused the same way.
    QFile::remove(path(QStringLiteral("maptwo.map")));
    author->menuStartRnd_Click();
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].text, QStringLiteral("File Open Error"));
    EXPECT_TRUE(ui.boxes[0].title.isEmpty());
    EXPECT_EQ(author->stageNo, QStringLiteral("33763"));
    EXPECT_EQ(author->boardMap, dealtBoard(33763));

    QByteArray last = stageLine(1);
    last.replace(0, 5, "99999");
    writeFile(QStringLiteral("maptwo.map"), stageLine(5) + "\r\n" + last + "\r\n");
    author->menuStartRnd_Click();
    ASSERT_EQ(ui.boxes.size(), 2u);
    EXPECT_TRUE(ui.boxes[1].text.contains(QStringLiteral("99999")));
    EXPECT_EQ(author->stageNo, QStringLiteral("33763"));
    EXPECT_TRUE(author->gameActive);
}

TEST_F(Authoring, ASolvedBoardIsStoredAfterTheLinesAlreadyThereWithItsAnswer) {
    QByteArray answer;
    const int n = solvableStage(300, &answer);
    // The file's last line has no line end: the stored line must not be
    // glued to it.
    const QByteArray before = stageLine(n - 1);
    writeFile(QStringLiteral("maptwo.map"), before);
    writeFile(QStringLiteral("anstwo.map"), QByteArray("note by hand\r"));
    author->menuStartRnd_Click();
    ASSERT_EQ(author->stageNo, stageNumber(n));
    ASSERT_TRUE(playBySearch(*author));

    const QByteArray storedAnswer = stageNumber(n).toLatin1() + answer;
    EXPECT_EQ(readFile(QStringLiteral("maptwo.map")), before + "\r\n" + stageLine(n) + "\r\n");
    EXPECT_EQ(readFile(QStringLiteral("anstwo.map")), "note by hand\r" + storedAnswer + "\r\n");
    EXPECT_EQ(storedAnswer.size(), 413);
    EXPECT_TRUE(ui.boxes.empty());
    // The congratulation follows the stores.
    EXPECT_EQ(ui.waits.size(), 3u * 68u + 23u);

    QFile::remove(path(QStringLiteral("anstwo.map")));
    writeFile(QStringLiteral("anstwo.map"), storedAnswer + "\r\n");
    const ToolRun run = runTool({QStringLiteral("check"), dir.path()});
    EXPECT_EQ(run.exitCode, 0) << run.out.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(run.out, QStringList{QStringLiteral("2 stages, 1 answers, 0 completion marks: no problems")});

    // For a look at the files in the real program.
    const QString keep = qEnvironmentVariable("TESSARIN_KEEP_AUTHORED");
    if (!keep.isEmpty()) {
        for (const QString& name : {QStringLiteral("maptwo.map"), QStringLiteral("anstwo.map")}) {
            QFile::remove(QDir(keep).filePath(name));
            QFile::copy(path(name), QDir(keep).filePath(name));
        }
    }
}

TEST_F(Authoring, AStageSolvedAfterATileExchangeIsStoredAsPlayedAndItsAnswerReplays) {
    // A deal whose two corner tiles differ and which the search's first
    // pairs clear once they have been exchanged.
    int n = 500;
    QByteArray played, answer;
    for (;; ++n) {
        const BoardMap map = boardOf(stageLine(n));
        if (kindOfPai(map.at(1, 1)) == kindOfPai(map.at(17, 8))) continue;
        played = exchanged(stageLine(n), 1, 1, 17, 8);
        answer = greedyAnswer(played);
        if (!answer.isEmpty()) break;
    }
    writeFile(QStringLiteral("maptwo.map"), stageLine(n - 1) + "\r\n");
    author->menuStartRnd_Click();
    ASSERT_EQ(author->stageNo, stageNumber(n));
    author->menuPaiChange_Click();
    clickCell(*author, 1, 1);
    clickCell(*author, 17, 8);
    ASSERT_FALSE(author->exchangeMode);
    ASSERT_EQ(author->boardMap, boardOf(played));
    ASSERT_TRUE(playBySearch(*author));

    EXPECT_EQ(readFile(QStringLiteral("maptwo.map")), stageLine(n - 1) + "\r\n" + played + "\r\n");
    EXPECT_EQ(readFile(QStringLiteral("anstwo.map")), stageNumber(n).toLatin1() + answer + "\r\n");
    ToolRun run = runTool({QStringLiteral("check"), dir.path()});
    EXPECT_EQ(run.exitCode, 0) << run.out.join(QLatin1Char('\n')).toStdString();

    // The files go out as the game's numbered stage and answer files; a
    // player picks the stage and replays the answer to its end.
    ASSERT_TRUE(QFile::rename(path(QStringLiteral("maptwo.map")), path(QStringLiteral("maptwo0.map"))));
    ASSERT_TRUE(QFile::rename(path(QStringLiteral("anstwo.map")), path(QStringLiteral("anstwo0.map"))));
    run = runTool({QStringLiteral("check"), dir.path()});
    EXPECT_EQ(run.exitCode, 0) << run.out.join(QLatin1Char('\n')).toStdString();
    ui.onStageSelection = [](StageGrid& grid) { grid.doubleClick(1, 2); };
    game->menuStartChoise_Click();
    ASSERT_EQ(game->boardMap, boardOf(played));
    game->menuOption2Ans_Click();
    ASSERT_TRUE(game->replayMode);

    // Each pair the replay outlines and blanks is a pair the rule allows on
    // the board as it stands then.
    BoardMap map;
    PaiTbl tbl{};
    placeLine(played, map, tbl);
    for (int pair = 0; pair < kTiles / 2; ++pair) {
        SCOPED_TRACE(pair + 1);
        clickCell(*game, 9, 4);
        std::vector<std::pair<int, int>> cells;
        for (int x = 1; x <= kCols; ++x)
            for (int y = 1; y <= kRows; ++y)
                if (outlined(*game, x, y)) cells.emplace_back(x, y);
        ASSERT_EQ(cells.size(), 2u);
        const auto [x1, y1] = cells[0];
        const auto [x2, y2] = cells[1];
        PaiRec& a = tbl[static_cast<std::size_t>(map.at(x1, y1))];
        PaiRec& b = tbl[static_cast<std::size_t>(map.at(x2, y2))];
        ASSERT_EQ(a.kind, b.kind);
        ASSERT_EQ(a.state, kOnBoard);
        ASSERT_EQ(b.state, kOnBoard);
        ASSERT_TRUE(canConnect(map, tbl, x1, y1, x2, y2));
        a.state = b.state = kRemoved;
        clickCell(*game, 9, 4);
        if (pair + 1 < kTiles / 2) {
            ASSERT_EQ(cellColour(*game, x1, y1), paiColour(tbl, kBlankPai));
            ASSERT_EQ(cellColour(*game, x2, y2), paiColour(tbl, kBlankPai));
        }
    }
    EXPECT_FALSE(game->replayMode);
    EXPECT_EQ(game->boardMap, boardOf(played));
    EXPECT_EQ(game->restPai, 136);
}

TEST_F(Authoring, AStoreTheFileSystemRefusesIsReportedAndTheOtherIsKept) {
    QByteArray answer;
    const int n = solvableStage(700, &answer);
    writeFile(QStringLiteral("maptwo.map"), stageLine(n - 1) + "\r\n");
    author->menuStartRnd_Click();
    ASSERT_EQ(author->stageNo, stageNumber(n));
    // The stage file is replaced by a folder before the board is cleared.
    QFile::remove(path(QStringLiteral("maptwo.map")));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("maptwo.map")));
    ASSERT_TRUE(playBySearch(*author));
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].text, QStringLiteral("maptwo.map に書き込めませんでした"));
    EXPECT_EQ(readFile(QStringLiteral("anstwo.map")), stageNumber(n).toLatin1() + answer + "\r\n");
    EXPECT_FALSE(author->gameActive);
}

}  // namespace
}  // namespace tessarin::test
