// "模範回答": the model answer replayed pair by pair with clicks, left with a
// right click or after the last pair, always back to the stage's start.
#include "stages_support.h"

namespace tessarin::test {
namespace {

class Replay : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        stage = solvableStage(100, &answer);
        // The stage stands second in maptwo0.map; anstwo0.map holds its
        // answer, anstwo3.map another one, which must not be taken.
        writeFile(QStringLiteral("maptwo0.map"), stageLine(stage - 1) + "\r\n" + stageLine(stage) + "\r\n");
        writeFile(QStringLiteral("anstwo0.map"), stageNumber(stage).toLatin1() + answer + "\r\n");
        QByteArray other;
        for (qsizetype p = answer.size() - 6; p >= 0; p -= 6) other += answer.mid(p, 6);
        writeFile(QStringLiteral("anstwo3.map"), stageNumber(stage).toLatin1() + other + "\r\n");
        openStages(ui, *game, 1, 2);
        ASSERT_EQ(game->stageNo, stageNumber(stage));
    }

    int code(int k) const { return answer.mid(3 * k, 3).toInt(); }
    bool outlinedCode(int k) const { return outlined(*game, codeX(code(k)), codeY(code(k))); }

    // The stage's start: all tiles, the stage message, every command offered.
    void expectStartPosition() {
        EXPECT_FALSE(game->replayMode);
        EXPECT_EQ(game->boardMap, boardOf(stageLine(stage)));
        for (int t = 1; t <= kTiles; ++t) ASSERT_EQ(game->paiTbl[static_cast<std::size_t>(t)].state, kOnBoard);
        EXPECT_EQ(std::tuple(game->restPai, game->moveCount, game->stageMode, game->gameActive), std::tuple(136, 0, true, true));
        expectPictureMatchesBoard(*game);
        EXPECT_EQ(game->stripText[1], QStringLiteral("規定マップ挑戦中 [%1]").arg(stageNumber(stage)));
        EXPECT_EQ(game->stripText[2], QStringLiteral("残り【136】牌"));
        for (MenuId id : {MenuId::Game, MenuId::Start, MenuId::Option, MenuId::PaiBack, MenuId::Srh, MenuId::Option2Ans})
            EXPECT_TRUE(game->menu(id).enabled) << static_cast<int>(id);
    }

    int stage = 0;
    QByteArray answer;
};

TEST_F(Replay, ClickedThroughToTheEndItShowsEveryPairAndLeavesTheStagePlayable) {
    // Mid-game, with a pair taken and the search showing its pairs.
    clickCode(*game, code(0));
    clickCode(*game, code(1));
    game->menuSrh_Click();
    ASSERT_TRUE(game->searchMode);

    game->menuOption2Ans_Click();
    ASSERT_TRUE(game->replayMode);
    EXPECT_FALSE(game->searchMode);
    EXPECT_EQ(game->menu(MenuId::Srh).caption, QStringLiteral("検索(&S)"));
    for (MenuId id : {MenuId::Game, MenuId::Start, MenuId::Option, MenuId::PaiBack, MenuId::Srh})
        EXPECT_FALSE(game->menu(id).enabled) << static_cast<int>(id);
    EXPECT_EQ(game->stripText[0], QStringLiteral("模範回答作動中「次=左クリック」「終了=右クリック」"));
    EXPECT_TRUE(game->stripText[1].isEmpty());
    EXPECT_EQ(game->restPai, 136);  // the stage is back at its start
    expectPictureMatchesBoard(*game);
    const BoardMap map = game->boardMap;
    const PaiTbl tbl = game->paiTbl;

    for (int pair = 0; pair < kTiles / 2; ++pair) {
        SCOPED_TRACE(pair + 1);
        const int a = code(2 * pair), b = code(2 * pair + 1);
        // Odd clicks outline the pair (now and then with the middle button),
        // even clicks blank it.
        clickCell(*game, 1, 1, pair % 7 == 3 ? kMiddleButton : kLeftButton);
        ASSERT_TRUE(outlinedCode(2 * pair) && outlinedCode(2 * pair + 1));
        ASSERT_EQ(cellColour(*game, codeX(a), codeY(a)), paiColour(tbl, map.at(codeX(a), codeY(a))));
        clickCell(*game, 17, 8);
        if (pair == kTiles / 2 - 1) break;
        ASSERT_EQ(cellColour(*game, codeX(a), codeY(a)), paiColour(tbl, kBlankPai));
        ASSERT_EQ(cellColour(*game, codeX(b), codeY(b)), paiColour(tbl, kBlankPai));
        ASSERT_EQ(game->restPai, 134 - 2 * pair);
        ASSERT_EQ(game->stripText[2], QStringLiteral("残り【%1】牌").arg(134 - 2 * pair, 3));
        // The replay only draws.
        ASSERT_EQ(std::tuple(game->boardMap, game->paiTbl, game->moveCount, game->replayMode), std::tuple(map, tbl, 0, true));
    }
    // The 136th click ended the replay: the stage is back, ready to play.
    expectStartPosition();
    clickCode(*game, code(0));
    clickCode(*game, code(1));
    EXPECT_EQ(game->restPai, 134);
    EXPECT_TRUE(ui.boxes.empty());
}

TEST_F(Replay, ARightClickLeavesItAndItStartsAgainFromTheStageEvenAfterTheStageIsSolved) {
    game->menuOption2Ans_Click();
    for (int i = 0; i < 5; ++i) clickCell(*game, 9, 4);
    EXPECT_EQ(game->restPai, 132);
    EXPECT_TRUE(outlinedCode(4));
    game->picdest_MouseDown(kRightButton, 300, 480);  // anywhere, even on the status strip
    expectStartPosition();

    // Solved, the congratulation on the board: the replay starts from the
    // stage again, and leaves with a right click on a tile.
    for (int k = 0; k < kTiles; ++k) clickCode(*game, code(k));
    ASSERT_FALSE(game->gameActive);
    game->menuOption2Ans_Click();
    EXPECT_TRUE(game->replayMode);
    EXPECT_TRUE(game->gameActive);
    expectPictureMatchesBoard(*game);
    clickCell(*game, 9, 4);
    EXPECT_TRUE(outlinedCode(0));
    clickCell(*game, 9, 4, kRightButton);
    expectStartPosition();
}

TEST_F(Replay, MissingAnswersOrStagesAreReportedAndChangeNothing) {
    clickCode(*game, code(0));
    clickCode(*game, code(1));
    clickCode(*game, code(2));  // a tile picked, waiting for its partner
    const Snapshot before(*game);
    std::size_t messages = 0;
    const auto expectRefused = [&](std::initializer_list<QString> texts) {
        const auto files = folderBytes(dir.path());
        game->menuOption2Ans_Click();
        EXPECT_EQ(folderBytes(dir.path()), files);
        ASSERT_EQ(ui.boxes.size(), messages + texts.size());
        for (const QString& t : texts) {
            EXPECT_EQ(ui.boxes[messages].text, t);
            EXPECT_TRUE(ui.boxes[messages++].title.isEmpty());
        }
        before.expectSame(*game);
    };

    // No answer file; answer files without a line for the stage, one of them
    // unreadable.
    QFile::rename(path(QStringLiteral("anstwo0.map")), path(QStringLiteral("keep0")));
    QFile::rename(path(QStringLiteral("anstwo3.map")), path(QStringLiteral("keep3")));
    expectRefused({kNoAnswer});
    writeFile(QStringLiteral("anstwo5.map"), stageNumber(stage - 1).toLatin1() + answer + "\r\n");
    ASSERT_TRUE(QFile::link(path(QStringLiteral("nowhere")), path(QStringLiteral("anstwo2.map"))));
    expectRefused({kNoAnswer});

    // The answer is there, but the stage has gone from the stage files, or
    // its line is damaged, or every stage file has gone.
    QFile::rename(path(QStringLiteral("keep3")), path(QStringLiteral("anstwo3.map")));
    const QByteArray stages = readFile(QStringLiteral("maptwo0.map"));
    writeFile(QStringLiteral("maptwo0.map"), stageLine(stage - 1) + "\r\n");
    expectRefused({kNoData, kNoAnswer});
    QByteArray damaged = stageLine(stage);
    damaged.replace(20, 3, damaged.mid(5, 3));
    writeFile(QStringLiteral("maptwo0.map"), stageLine(stage - 1) + "\r\n" + damaged + "\r\n");
    expectRefused({kNoData, kNoAnswer});
    QFile::remove(path(QStringLiteral("maptwo0.map")));
    expectRefused({kNoData, kNoAnswer});

    // With the files back, the answer of anstwo3.map is found past the
    // unreadable anstwo2.map.
    writeFile(QStringLiteral("maptwo0.map"), stages);
    game->menuOption2Ans_Click();
    EXPECT_TRUE(game->replayMode);
    clickCell(*game, 1, 1);
    EXPECT_TRUE(outlinedCode(134));  // its first pair is the last
}

TEST_F(Replay, AShortOrGarbledAnswerDrawsNothingWhereItHasNoCellAndNeverFails) {
    // Ten good pairs, a pair naming cells off the field, one with a letter,
    // then the answer breaks off in the middle of a code.
    writeFile(QStringLiteral("anstwo0.map"),
              stageNumber(stage).toLatin1() + answer.left(60) + "190005" + "0a10b1" + "17" + "\r\n");
    game->menuOption2Ans_Click();
    ASSERT_TRUE(game->replayMode);
    for (int i = 0; i < 20; ++i) clickCell(*game, 1, 1);
    EXPECT_EQ(game->restPai, 116);
    for (int i = 20; i < 134; ++i) {
        const QImage field = game->picdest.copy(0, 0, kSurfaceW, 440);
        clickCell(*game, 1, 1);
        ASSERT_TRUE(game->picdest.copy(0, 0, kSurfaceW, 440) == field) << "click " << i + 1;
    }
    EXPECT_TRUE(game->replayMode);
    EXPECT_EQ(game->restPai, 2);
    clickCell(*game, 1, 1);
    clickCell(*game, 1, 1);
    expectStartPosition();
    EXPECT_TRUE(ui.boxes.empty());
}

}  // namespace
}  // namespace tessarin::test
