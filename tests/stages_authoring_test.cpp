// tessarin-author: deals numbered after the stored stages, and every cleared
// board stored with its answer, as the game and `tessarin-tool check` read them.
#include "stages_support.h"

namespace tessarin::test {
namespace {

// A stage line with the tiles of two cells exchanged.
QByteArray exchanged(QByteArray line, int x1, int y1, int x2, int y2) {
    const qsizetype p1 = 5 + 3 * ((x1 - 1) * kRows + (y1 - 1)), p2 = 5 + 3 * ((x2 - 1) * kRows + (y2 - 1));
    const QByteArray a = line.mid(p1, 3);
    line.replace(p1, 3, line.mid(p2, 3));
    line.replace(p2, 3, a);
    return line;
}

class Authoring : public AuthorTest {
protected:
    // Plays the board to its end with the search's first pairs; false when
    // the board gets stuck.
    bool playBySearch(MjanModule& g) {
        while (g.gameActive) {
            const std::size_t boxes = ui.boxes.size();
            g.menuSrh_Click();
            if (ui.boxes.size() > boxes) return false;  // 手詰まりです
            const int a = g.hintList[1].left, b = g.hintList[1].right;
            clickCell(g, 1, 1, kRightButton);
            clickCode(g, a);
            clickCode(g, b);
        }
        return g.restPai == 0;
    }
    void expectCheckPasses() {
        const ToolRun run = runTool({QStringLiteral("check"), dir.path()});
        EXPECT_EQ(run.exitCode, 0) << run.stdOut.toStdString();
    }
};

TEST_F(Authoring, DealsAreNumberedAfterTheHighestStoredStage) {
    writeFile(QStringLiteral("maptwo.map"), stageLine(12) + "\r\n" + stageLine(7) + "\r\n");
    author->menuStartRnd_Click();
    EXPECT_EQ(author->stageNo, QStringLiteral("00013"));
    EXPECT_EQ(author->boardMap, boardOf(stageLine(13)));
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
    EXPECT_EQ(author->boardMap, boardOf(stageLine(33763)));

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
    // The last lines have no line end: the stored lines must not be glued on.
    writeFile(QStringLiteral("maptwo.map"), stageLine(n - 1));
    writeFile(QStringLiteral("anstwo.map"), QByteArray("note by hand\r"));
    author->menuStartRnd_Click();
    ASSERT_EQ(author->stageNo, stageNumber(n));
    ASSERT_TRUE(playBySearch(*author));

    const QByteArray storedAnswer = stageNumber(n).toLatin1() + answer;
    EXPECT_EQ(readFile(QStringLiteral("maptwo.map")), stageLine(n - 1) + "\r\n" + stageLine(n) + "\r\n");
    EXPECT_EQ(readFile(QStringLiteral("anstwo.map")), "note by hand\r" + storedAnswer + "\r\n");
    EXPECT_TRUE(ui.boxes.empty());

    writeFile(QStringLiteral("anstwo.map"), storedAnswer + "\r\n");
    const ToolRun run = runTool({QStringLiteral("check"), dir.path()});
    EXPECT_EQ(run.out, QStringList{QStringLiteral("2 stages, 1 answers, 0 completion marks: no problems")});
}

TEST_F(Authoring, AStageSolvedAfterATileExchangeIsStoredAsPlayedAndItsAnswerReplays) {
    // A deal whose corner tiles differ and which the search's first pairs
    // clear once they have been exchanged.
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
    expectCheckPasses();

    // Shipped as the numbered files (the check proves the answer legal), a
    // player picks the stage and replays the answer to its end.
    ASSERT_TRUE(QFile::rename(path(QStringLiteral("maptwo.map")), path(QStringLiteral("maptwo0.map"))));
    ASSERT_TRUE(QFile::rename(path(QStringLiteral("anstwo.map")), path(QStringLiteral("anstwo0.map"))));
    expectCheckPasses();
    openStages(ui, *game, 1, 2);
    ASSERT_EQ(game->boardMap, boardOf(played));
    game->menuOption2Ans_Click();
    for (int click = 0; click < kTiles; ++click) {
        clickCell(*game, 9, 4);
        const int code = answer.mid(3 * (click / 2 * 2), 3).toInt();
        const bool shown = click % 2 == 0 ? outlined(*game, codeX(code), codeY(code))
                         : click + 1 == kTiles || cellColour(*game, codeX(code), codeY(code)) == paiColour(game->paiTbl, kBlankPai);
        ASSERT_TRUE(shown) << "click " << click + 1;
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
