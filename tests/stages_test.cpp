// Stored stages: the grid of "面選択" over all ten stage files with its marks,
// refusals, the model-answer replay, and the authoring build's stores.
#include "formats/writefile.h"
#include "support/gametest.h"

#include <QFile>
#include <QFileInfo>

namespace tessarin::test {
namespace {

using namespace Qt::StringLiterals;

const QString kNoData = u"ゲームデータが見つかりません"_s;
const QString kNoAnswer = u"回答データが見つかりません"_s;
const QString kBlanks = u" \u3000\u3000"_s;

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
        const auto& strip = game->surface().stripTexts();
        EXPECT_EQ(std::pair(strip[1], strip[2]), std::pair(u"規定マップ挑戦中 [%1]"_s.arg(stageNumber(n)), u"残り【136】牌"_s));
        for (MenuId id : {MenuId::GameType, MenuId::Start, MenuId::Options, MenuId::Undo, MenuId::Search, MenuId::ModelAnswer})
            EXPECT_TRUE(game->menu(id).enabled) << static_cast<int>(id);
    }
};

TEST_F(Stages, GridNumbersTheLinesOfAllTenFilesAndMarksTheSolvedOnes) {
    for (int stages : {0, 5}) {  // one row of five, empty for none
        writeFile(u"maptwo0.map"_s, stageLines(1, stages));
        const StageGrid g = chooseStage();
        ASSERT_EQ(g.rows, 2);
        EXPECT_EQ(place(g, 5).text, stages ? stageNumber(5) + kBlanks : QString());
    }
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
    EXPECT_EQ(g.colWidthTwips, (std::vector<int>{0, 1000, 1000, 1000, 1000, 1000}));
    for (int c = 1; c <= 5; ++c) EXPECT_EQ(g.at(0, c).text, u"GAME NO"_s);
    const int numbers[10] = {1, 2, 3, 0, 5, 2, 7, 44, 9, 11};
    for (int n = 1; n <= 10; ++n) {
        const bool done = n == 2 || n == 6 || n == 9 || n == 10;
        const QString number = numbers[n - 1] ? stageNumber(numbers[n - 1]) : QString();
        EXPECT_EQ(place(g, n).text, number + (done ? u" 成功"_s : kBlanks)) << n;
        EXPECT_EQ(place(g, n).back, done ? qRgb(0, 255, 255) : StageGrid::kPlainBack) << n;
        EXPECT_EQ(place(g, n).fore, done ? qRgb(255, 0, 0) : StageGrid::kPlainText) << n;
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
        {"a dangling link", [&] { QFile::remove(file), QFile::link(away + u"2"_s, file); }, {}, 1, 0},
        {"32768 lines", [&] { QFile::remove(file), writeFile(u"maptwo3.map"_s, QByteArray("\r\n").repeated(32768)); }, {}, 1, 0},
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
    writeFile(u"maptwo3.map"_s, QByteArray("\r\n").repeated(32766));  // and maptwo9.map: the most lines numbered
    EXPECT_EQ(chooseStage().rows, 1 + (32767 - 1) / 5 + 1);
}

class Replay : public Stages {
protected:
    void SetUp() override {
        Stages::SetUp(), stage = greedyStage(100, &answer);
        writeFile(u"maptwo0.map"_s, stageLines(stage - 1, 2)), writeFile(u"anstwo0.map"_s, stageNumber(stage).toLatin1() + answer);
        pickIn(2);
    }
    int code(int k) const { return answer.mid(3 * k, 3).toInt(); }
    QRgb colourAt(int k) const { return cellColour(*game, codeX(code(k)), codeY(code(k))); }
    bool outlinedAt(int k) const { return outlined(*game, codeX(code(k)), codeY(code(k))); }
    bool outlinedPair(int p) const { return outlinedAt(2 * p) && outlinedAt(2 * p + 1); }
    void clickAnswer(int from, int to) { for (int k = from; k < to; ++k) clickCode(code(k)); }
    int stage = 0;
    QByteArray answer;
};

TEST_F(Replay, ShowsEveryPairAndLeavesTheStageAtItsStart) {
    clickAnswer(0, 2);
    command(MenuId::Search), command(MenuId::ModelAnswer);
    ASSERT_TRUE(game->session().replay.on && !game->twoCorner().search.shown);
    EXPECT_EQ(game->menu(MenuId::Search).caption, u"検索(&S)"_s);
    for (MenuId id : {MenuId::Undo, MenuId::Search, MenuId::GameType, MenuId::Start, MenuId::Options})
        EXPECT_FALSE(game->menu(id).enabled) << static_cast<int>(id);
    const std::array<QString, 3> strip{u"模範回答作動中「次=左クリック」「終了=右クリック」"_s, QString(), u"残り【136】牌"_s};
    EXPECT_EQ(game->surface().stripTexts(), strip);
    const Position start = game->position();
    EXPECT_EQ(start, stagePosition(stageLine(stage)));
    for (int pair = 0; pair < kTiles / 2; ++pair) {
        SCOPED_TRACE(pair);
        const QRgb face = colourAt(2 * pair);
        click(1, 1, pair % 7 == 3 ? kMiddleButton : kLeftButton);
        ASSERT_TRUE(outlinedPair(pair) && colourAt(2 * pair) == face);
        click(17, 8);
        if (pair == kTiles / 2 - 1) break;
        ASSERT_TRUE(colourAt(2 * pair) == tileColour(kBlankImage) && colourAt(2 * pair + 1) == tileColour(kBlankImage));
        ASSERT_EQ(game->surface().stripTexts()[2], u"残り【%1】牌"_s.arg(134 - 2 * pair, 3));
        ASSERT_TRUE(game->session().replay.on && game->position() == start && game->twoCorner().moves.count == 0);
    }
    expectStageStart(stage);

    // Left with a right click anywhere; and again once the stage is solved.
    command(MenuId::ModelAnswer);
    for (int i = 0; i < 5; ++i) click(9, 4);
    EXPECT_TRUE(outlinedPair(2) && game->session().replay.tilesLeft == 132);
    game->pressBoard(kRightButton, 300, 480);
    expectStageStart(stage);
    clickAnswer(0, kTiles);
    ASSERT_FALSE(game->shell().inPlay());
    EXPECT_TRUE(game->menu(MenuId::TwoCornerOptions).enabled && game->menu(MenuId::ModelAnswer).enabled);
    EXPECT_FALSE(game->menu(MenuId::EasyMode).enabled || game->menu(MenuId::Undo).enabled);
    command(MenuId::ModelAnswer);
    click(9, 4);
    EXPECT_TRUE(outlinedPair(0) && game->shell().inPlay());
    click(9, 4, kRightButton);
    expectStageStart(stage);
    EXPECT_TRUE(ui.boxes.empty());
}

TEST_F(Replay, RefusalsChangeNothingAndBadCodesDrawNothing) {
    clickAnswer(0, 3);  // a pair taken, a tile picked
    const QByteArray stages = readFile(u"maptwo0.map"_s), own = readFile(u"anstwo0.map"_s);
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
    // The answer of anstwo9.map is found past the dangling anstwo2.map; its
    // codes off the field, with a letter or cut short draw nothing.
    writeFile(u"maptwo0.map"_s, stages);
    writeFile(u"anstwo9.map"_s, own.left(65) + "185019" + "1a50b6" + "17\r\n");
    command(MenuId::ModelAnswer);
    for (int i = 0; i < 19; ++i) click(1, 1);
    EXPECT_TRUE(outlinedPair(9));
    click(1, 1);
    for (int i = 20; i < 134; ++i) {
        const QImage field = game->picture().copy(0, 0, Surface::kWidth, Surface::kStripTop);
        click(1, 1);
        ASSERT_EQ(game->picture().copy(0, 0, Surface::kWidth, Surface::kStripTop), field) << i;
    }
    EXPECT_EQ(game->session().replay.tilesLeft, 2);
    click(1, 1), click(1, 1);
    expectStageStart(stage);
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
    QByteArray played = stageLine(n);  // cells (1, 1) and (17, 8) exchanged
    played.replace(5, 3, stageLine(n).mid(410, 3)).replace(410, 3, stageLine(n).mid(5, 3));
    const QByteArray stages = stageLine(n - 1) + "\r\n" + stageLine(7);  // the highest first; no last line end
    writeFile(u"maptwo.map"_s, stages);
    command(MenuId::RandomDeal);
    ASSERT_EQ(game->session().stageNo, stageNumber(n));
    command(MenuId::Exchange);
    click(1, 1), click(17, 8);
    ASSERT_EQ(game->position().cells(), stagePosition(played).cells());
    QStringList written;  // the files in the order they are written
    setWriteFaultHook([&](auto, const std::string& p, auto, auto&) { return written << QFileInfo(p.c_str()).fileName(), 0; });
    for (int k = 0; k < kTiles; ++k) clickCode(answer.mid(3 * k, 3).toInt());
    setWriteFaultHook(nullptr);
    written.removeDuplicates();
    EXPECT_EQ(written, (QStringList{u"anstwo.map"_s, u"maptwo.map"_s}));
    EXPECT_TRUE(ui.boxes.empty());
    EXPECT_EQ(readFile(u"maptwo.map"_s), stages + "\r\n" + played + "\r\n");
    EXPECT_EQ(readFile(u"anstwo.map"_s), stageNumber(n).toLatin1() + answer + "\r\n");
    EXPECT_FALSE(game->menu(MenuId::TwoCornerOptions).enabled);  // a cleared deal keeps no answer at hand
    const ToolRun run = runTool({u"check"_s, dir.path()});
    EXPECT_EQ(std::pair(run.exitCode, run.out), std::pair(0, QStringList{u"3 stages, 1 answers, 0 completion marks: no problems"_s}));
}

}  // namespace
}  // namespace tessarin::test
