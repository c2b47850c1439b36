// Stored stages: the grid of "面選択" over all ten stage files with its marks,
// refusals, the model-answer replay, and the authoring build's stores.
#include "support/gametest.h"

#include <QFile>

namespace tessarin::test {
namespace {

using namespace Qt::StringLiterals;

const QString kNoData = u"ゲームデータが見つかりません"_s;
const QString kNoAnswer = u"回答データが見つかりません"_s;

// The place of stage line n in the grid, five to a row.
const StageGrid::Cell& place(const StageGrid& g, int n) { return g.at((n + 4) / 5, (n - 1) % 5 + 1); }

class Stages : public GameTest {
protected:
    void pickIn(int n) { chooseStage((n + 4) / 5, (n - 1) % 5 + 1); }
    // Stage n in play from its start: drawn, labelled, every command offered.
    void expectStageStart(int n) {
        const StageSessionState& s = game->session();
        EXPECT_TRUE(!s.replay.on && s.fixedStage && game->shell().inPlay() && s.stageNo == stageNumber(n));
        EXPECT_EQ(game->position(), stagePosition(stageLine(n)));
        EXPECT_EQ(std::pair(game->twoCorner().tilesLeft, game->twoCorner().moves.count), std::pair(136, 0));
        for (int x = 1; x <= kCols; ++x)
            for (int y = 1; y <= kRows; ++y) ASSERT_EQ(cellColour(*game, x, y), expectedTwoCornerColour(*game, x, y));
        EXPECT_EQ(std::pair(strip(1), strip(2)), std::pair(u"規定マップ挑戦中 [%1]"_s.arg(stageNumber(n)), u"残り【136】牌"_s));
        for (MenuId id : {MenuId::GameType, MenuId::Start, MenuId::Options, MenuId::Undo, MenuId::Search, MenuId::ModelAnswer})
            EXPECT_TRUE(game->menu(id).enabled) << static_cast<int>(id);
    }
};

TEST_F(Stages, GridNumbersTheLinesOfAllTenFilesAndMarksTheSolvedOnes) {
    writeFile(u"maptwo0.map"_s, {});  // no stage: one empty row
    EXPECT_EQ(chooseStage().rows, 2);
    // Every kind of line end, an empty line, a note after a board, a later 00002 with another board.
    writeFile(u"maptwo0.map"_s, stageLine(1) + "\r\n" + stageLine(2) + "\n" + stageLine(3) + "\r\r\n" + stageLine(5) + " a note\n");
    writeFile(u"maptwo2.map"_s, stageLine(43).replace(0, 5, "00002") + "\r\n" + stageLine(7));
    writeFile(u"MAPTWO5.MAP"_s, stageLines(60, 3));  // no stage file
    writeFile(u"maptwo7.map"_s, stageLine(44) + "\r");
    writeFile(u"maptwo9.map"_s, stageLine(9) + "\r\n" + stageLine(11) + "\r\n");
    // Marks with ASCII, UTF-8 and Shift_JIS spaces; 00002 listed twice marks both.
    writeFile(u"cmptwo.map"_s, "  00002  \r\n\xE3\x80\x80" "00009\xE3\x80\x80\r\n\x81\x40" "00011\x81\x40\n1234\r\n012345\r\n"
                               "00099\r\n\x82\xA0" "0005\r\n00002"_ba);
    const StageGrid g = chooseStage();
    EXPECT_EQ(std::tuple(g.rows, g.cols, g.row, g.col, g.topRow), std::tuple(3, 6, 1, 1, 1));
    const int numbers[10] = {1, 2, 3, 0, 5, 2, 7, 44, 9, 11};
    for (int n = 1; n <= 10; ++n) {
        const bool done = n == 2 || n == 6 || n == 9 || n == 10;
        const StageGrid::Cell& c = place(g, n);
        EXPECT_EQ(std::tuple(c.text, c.back, c.fore),
                  std::tuple((numbers[n - 1] ? stageNumber(numbers[n - 1]) : QString()) + (done ? u" 成功"_s : u" \u3000\u3000"_s),
                             done ? StageGrid::kDoneBack : StageGrid::kPlainBack, done ? StageGrid::kDoneText : StageGrid::kPlainText)) << n;
    }
    // The last stage of the last file; a line with a note; the first of two 00002.
    for (const auto& [n, stage] : {std::pair{10, 11}, std::pair{5, 5}, std::pair{6, 2}}) pickIn(n), expectStageStart(stage);
    EXPECT_TRUE(ui.boxes.empty());
}

TEST_F(Stages, RefusalsChangeNothing) {
    QByteArray twice = stageLine(3), high = stageLine(4), letter = stageLine(5);
    twice.replace(8, 3, twice.mid(5, 3)), high.replace(200, 3, "137"), letter[300] = 'x';
    writeFile(u"maptwo0.map"_s, stageLines(1, 2) + twice + "\r\n" + high + "\r\n" + letter + "\r\n" + stageLine(6).left(300) +
                                    "\r\n00007\r\n");
    writeFile(u"maptwo9.map"_s, stageLine(3));  // a good copy of the damaged first 00003
    command(MenuId::RandomDeal), takeFirstPair();
    const QString file = path(u"maptwo0.map"_s), away = path(u"away"_s);
    using Hook = std::function<void(StageGrid&)>;
    const auto at = [](int r, int c) -> Hook { return [=](StageGrid& g) { g.row = r, g.col = c, g.doubleClicked = true; }; };
    const std::tuple<const char*, std::function<void()>, Hook, int, int> cases[] = {  // messages, windows shown
        {"a tile twice", {}, at(1, 3), 1, 1}, {"tile 137", {}, at(1, 4), 1, 1}, {"a letter", {}, at(1, 5), 1, 1},
        {"a short line", {}, at(2, 1), 1, 1}, {"the number alone", {}, at(2, 2), 1, 1},
        {"the header", {}, at(0, 1), 0, 1}, {"an empty place", {}, at(2, 4), 0, 1}, {"column 0", {}, at(1, 0), 0, 1},
        {"the file gone", {}, [&](StageGrid& g) { QFile::rename(file, away), g.doubleClick(1, 1); }, 1, 1},
        {"32768 lines", [&] { QFile::remove(file), writeFile(u"maptwo3.map"_s, QByteArray("\r\n").repeated(32767)); }, {}, 1, 0},
    };
    for (const auto& [what, setUp, inWindow, messages, windows] : cases) {
        SCOPED_TRACE(what);
        if (setUp) setUp();
        const auto before = gameAndFiles();
        const int shown = ui.stageSelections;
        ui.onStageSelection = inWindow;
        command(MenuId::ChooseStage);
        if (QFile::exists(away)) QFile::rename(away, file);
        EXPECT_EQ(ui.stageSelections - shown, windows);
        EXPECT_EQ(takeMessages(), QStringList(messages, kNoData));
        EXPECT_EQ(gameAndFiles(), before);
    }
    writeFile(u"maptwo3.map"_s, QByteArray("\r\n").repeated(32766));  // with maptwo9.map's line: the most lines numbered
    EXPECT_EQ(chooseStage().rows, 1 + (32767 - 1) / 5 + 1);
}

TEST_F(Stages, TheModelAnswerShowsEveryPairDrawsNoBadCodeAndNeedsItsFiles) {
    QByteArray answer;
    const int stage = greedyStage(100, &answer);
    const QByteArray stages = stageLines(stage - 1, 2), own = stageNumber(stage).toLatin1() + answer;
    writeFile(u"maptwo0.map"_s, stages), writeFile(u"anstwo0.map"_s, own);
    pickIn(2);
    const auto code = [&](int k) { return answer.mid(3 * k, 3).toInt(); };
    const auto colourAt = [&](int k) { return cellColour(*game, codeX(code(k)), codeY(code(k))); };
    const auto outlinedAt = [&](int k) { return outlined(*game, codeX(code(k)), codeY(code(k))); };
    for (int k = 0; k < 3; ++k) clickCode(code(k));  // a pair taken, a tile picked
    const auto refused = [&](const QStringList& messages) {
        const auto before = gameAndFiles();
        command(MenuId::ModelAnswer);
        EXPECT_EQ(takeMessages(), messages);
        auto now = gameAndFiles();
        now.first.session.replay.answer = before.first.session.replay.answer;  // the answer found may be kept
        EXPECT_EQ(now, before);
    };
    // Answers of other stages only, one answer file a dangling link; then the stage gone.
    QFile::remove(path(u"anstwo0.map"_s)), QFile::link(path(u"nowhere"_s), path(u"anstwo2.map"_s));
    writeFile(u"anstwo5.map"_s, stageNumber(stage - 1).toLatin1() + answer + "\r\n");
    refused({kNoAnswer});
    writeFile(u"anstwo9.map"_s, own), writeFile(u"maptwo0.map"_s, stageLine(stage - 1));
    refused({kNoData, kNoAnswer});

    // The answer is found in anstwo9.map past the dangling anstwo2.map; the search shown ends.
    writeFile(u"maptwo0.map"_s, stages);
    command(MenuId::Search), command(MenuId::ModelAnswer);
    ASSERT_TRUE(game->session().replay.on && !game->twoCorner().search.shown);
    EXPECT_EQ(game->menu(MenuId::Search).caption, u"検索(&S)"_s);
    for (MenuId id : {MenuId::Undo, MenuId::Search, MenuId::GameType, MenuId::Start, MenuId::Options})
        EXPECT_FALSE(game->menu(id).enabled) << static_cast<int>(id);
    EXPECT_EQ(game->surface().stripTexts(), (std::array{u"模範回答作動中「次=左クリック」「終了=右クリック」"_s, QString(), u"残り【136】牌"_s}));
    for (int pair = 0; pair < kTiles / 2; ++pair) {
        SCOPED_TRACE(pair);
        const QRgb face = colourAt(2 * pair);
        click(1, 1, pair % 7 == 3 ? kMiddleButton : kLeftButton);
        ASSERT_TRUE(outlinedAt(2 * pair) && outlinedAt(2 * pair + 1) && colourAt(2 * pair) == face);
        click(17, 8);
        if (pair == kTiles / 2 - 1) break;
        ASSERT_TRUE(colourAt(2 * pair) == tileColour(kBlankImage) && colourAt(2 * pair + 1) == tileColour(kBlankImage));
        ASSERT_EQ(strip(2), u"残り【%1】牌"_s.arg(134 - 2 * pair, 3));
        ASSERT_TRUE(game->session().replay.on && game->position() == stagePosition(stageLine(stage)) && game->twoCorner().moves.count == 0);
    }
    expectStageStart(stage);
    // Left with a right click anywhere.
    command(MenuId::ModelAnswer);
    for (int i = 0; i < 5; ++i) click(9, 4);
    EXPECT_TRUE(outlinedAt(4) && outlinedAt(5) && game->session().replay.tilesLeft == 132);
    game->pressBoard(kRightButton, 300, 480);
    expectStageStart(stage);

    // Codes off the field, with a sign or a letter, or cut short draw nothing.
    writeFile(u"anstwo9.map"_s, own.left(65) + "185019" + "0:50b6" + "17\r\n");
    command(MenuId::ModelAnswer);
    for (int i = 0; i < 20; ++i) click(1, 1);
    for (int i = 20; i < 134; ++i) {
        const QImage field = game->picture().copy(0, 0, Surface::kWidth, Surface::kStripTop);
        click(1, 1);
        ASSERT_EQ(game->picture().copy(0, 0, Surface::kWidth, Surface::kStripTop), field) << i;
    }
    EXPECT_EQ(game->session().replay.tilesLeft, 2);
    click(1, 1), click(1, 1);
    expectStageStart(stage);
    EXPECT_TRUE(ui.boxes.empty());
}

TEST_F(Stages, AuthoringStoresABoardSolvedAfterAnExchangeAsPlayed) {
    newGame(true);
    writeFile(u"maptwo.map"_s, stageLine(5) + "\r\n" + stageLine(1).replace(0, 5, "99999") + "\r\n");
    command(MenuId::RandomDeal);  // no number left: the clock's
    EXPECT_EQ(takeMessages(), QStringList{u"面番号が 99999 を超えるため、番号は時刻から付けます"_s});
    EXPECT_EQ(game->position().cells(), stagePosition(stageLine(33763)).cells());
    int n = 499;  // a deal that the first listed pairs clear once its corners are exchanged
    QByteArray answer;
    while (answer.isEmpty() && ++n < 1500) {
        Position p = stagePosition(stageLine(n));
        if (p.kindAt(1, 1) != p.kindAt(17, 8)) p.swapCells(1, 1, 17, 8), answer = greedyAnswer(p);
    }
    const QByteArray dealt = stageLine(n);  // played with (1, 1) and (17, 8) exchanged:
    const QByteArray played = QByteArray(dealt).replace(5, 3, dealt.mid(410, 3)).replace(410, 3, dealt.mid(5, 3));
    const QByteArray stages = stageLine(n - 1) + "\r\n" + stageLine(7);  // the highest first; no last line end
    writeFile(u"maptwo.map"_s, stages);
    command(MenuId::RandomDeal), command(MenuId::Exchange), click(1, 1), click(17, 8);
    for (int k = 0; k < kTiles; ++k) clickCode(answer.mid(3 * k, 3).toInt());
    EXPECT_TRUE(ui.boxes.empty());
    EXPECT_EQ(readFile(u"maptwo.map"_s), stages + "\r\n" + played + "\r\n");
    EXPECT_EQ(readFile(u"anstwo.map"_s), stageNumber(n).toLatin1() + answer + "\r\n");
}

}  // namespace
}  // namespace tessarin::test
