// Taking a ThreeMove move back: the two work files written before every
// move, the undo that reads them, and the files it refuses.
#include "stages_support.h"
#include "support/threemove_game.h"

#include <functional>

namespace tessarin::test {
namespace {

const QString kTblFile = QStringLiteral("workthree1.dat");
const QString kMapFile = QStringLiteral("workthree2.dat");

int le16(const QByteArray& b, int at) {
    return static_cast<int16_t>(static_cast<uint8_t>(b[at]) | static_cast<uint8_t>(b[at + 1]) << 8);
}
int le32(const QByteArray& b, int at) { return (le16(b, at) & 0xffff) | le16(b, at + 2) * 65536; }
void setLe16(QByteArray& b, int at, int v) {
    b[at] = static_cast<char>(v & 0xff);
    b[at + 1] = static_cast<char>((v >> 8) & 0xff);
}
int rec(int t, int field) { return t * 18 + field; }  // a field of tile t's record
int cell(int x, int y) { return 2 * (y * 19 + x); }    // cell (x, y) of the board file

// A left click on (4,1) brings the a's together. Every kind has 2 or 4 tiles
// on the board, as in a real game; tile 37 is the live c at (1,2).
const std::vector<std::string_view> kPairNear = {"a..ab", "c#.bc"};

TEST_F(ThreeMoveGame, EveryMoveWritesTheGameAsItWasAndUndoBringsItBackWithTheClearedTiles) {
    setPosition(kPairNear, 1);
    const PaiTbl tbl = game->paiTbl;
    const BoardMap map = game->boardMap;
    const QImage picture = game->picdest;
    const int live = game->restPai3;
    click(4, 1, kLeftButton);  // the last move clears the a's: 1 -> 0 + 3
    EXPECT_EQ(shown(5, 2), (Rows{"..b..", "c#.bc"}));
    EXPECT_EQ(game->restMoves, 3);
    EXPECT_TRUE(game->menu(MenuId::PaiBack).enabled);

    // The work files hold the game before the move, little-endian.
    const QByteArray t = readFile(kTblFile), m = readFile(kMapFile);
    ASSERT_EQ(t.size(), 2502);
    ASSERT_EQ(m.size(), 380);
    for (int n = 0; n <= 138; ++n) {
        const PaiRec& r = tbl[static_cast<std::size_t>(n)];
        ASSERT_EQ((PaiRec{static_cast<int16_t>(le16(t, rec(n, 0))), static_cast<int16_t>(le16(t, rec(n, 2))),
                          le32(t, rec(n, 4)), le32(t, rec(n, 8)), static_cast<int16_t>(le16(t, rec(n, 12))),
                          static_cast<int16_t>(le16(t, rec(n, 14))), static_cast<int16_t>(le16(t, rec(n, 16)))}),
                  r)
            << "tile " << n;
    }
    for (int y = 0; y <= 9; ++y)
        for (int x = 0; x <= 18; ++x) ASSERT_EQ(le16(m, cell(x, y)), map.at(x, y)) << x << "," << y;

    game->menuPaiBack_Click();
    EXPECT_EQ(game->paiTbl, tbl);
    EXPECT_EQ(game->boardMap, map);
    EXPECT_EQ((std::tuple(game->restMoves, game->doneMoves, game->restPai3)), std::tuple(1, 0, live));
    EXPECT_FALSE(game->menu(MenuId::PaiBack).enabled);
    EXPECT_EQ(game->stripText[1], QStringLiteral("残り手数 [1]手"));
    // Every cell is drawn again, also those the slide left green.
    for (int y = 1; y <= kRows; ++y)
        for (int x = 1; x <= kCols; ++x) {
            const QRect c(cellPixelX(x), cellPixelY(y), kPaiW, kPaiH);
            ASSERT_EQ(game->picdest.copy(c), picture.copy(c)) << x << "," << y;
        }
    // One step only: the command waits for the next move.
    game->menuPaiBack_Click();
    EXPECT_EQ(game->boardMap, map);

    // Taking back the move that spent the last one makes moves possible again.
    setPosition({"..ba..cd", "cd..ab.."}, 1);
    click(3, 1, kLeftButton);
    game->menuPaiBack_Click();
    click(7, 1, kLeftButton);
    EXPECT_EQ(shown(8, 1), (Rows{"..bacd.."}));
}

TEST_F(ThreeMoveGame, WorkFilesThatCannotBeAGameAreRefusedAndNothingChanges) {
    using Damage = std::function<void(QByteArray& tbl, QByteArray& map)>;
    auto clear = [](QByteArray& t, int pai) {
        setLe16(t, rec(pai, 14), 2);
        setLe16(t, rec(pai, 16), 2);
    };
    const std::vector<std::pair<const char*, Damage>> damages = {
        {"table too short", [](QByteArray& t, QByteArray&) { t.chop(2); }},
        {"board too long", [](QByteArray&, QByteArray& m) { m.append('\0'); }},
        {"tile number past 138", [](QByteArray&, QByteArray& m) { setLe16(m, cell(1, 1), 139); }},
        {"image-only entry on the field", [](QByteArray&, QByteArray& m) { setLe16(m, cell(1, 1), 137); }},
        {"a tile twice", [](QByteArray&, QByteArray& m) { setLe16(m, cell(1, 1), le16(m, cell(2, 1))); }},
        {"a tile in the border", [](QByteArray&, QByteArray& m) { setLe16(m, cell(18, 9), 5); }},
        {"another kind", [](QByteArray& t, QByteArray&) { setLe16(t, rec(5, 12), 9); }},
        {"another picture", [](QByteArray& t, QByteArray&) { setLe16(t, rec(138, 8), 0); }},
        {"state out of range", [](QByteArray& t, QByteArray&) { setLe16(t, rec(37, 14), 3); }},
        {"a live tile showing a hole", [](QByteArray& t, QByteArray&) { setLe16(t, rec(37, 16), 2); }},
        {"an honour hole", [&](QByteArray& t, QByteArray&) { clear(t, 1); }},
        {"one tile of a kind cleared", [&](QByteArray& t, QByteArray&) { clear(t, 37); }},
        {"a clearing this game never made", [&](QByteArray& t, QByteArray&) {
             clear(t, 37);
             clear(t, 38);
         }},
        {"positions that do not match the board", [](QByteArray& t, QByteArray& m) {
             setLe16(t, rec(le16(m, cell(1, 1)), 0), 2);
             setLe16(t, rec(le16(m, cell(2, 1)), 0), 1);
         }},
    };
    for (const auto& [what, damage] : damages) {
        SCOPED_TRACE(what);
        setPosition(kPairNear, 3);
        click(4, 1, kLeftButton);
        QByteArray t = readFile(kTblFile), m = readFile(kMapFile);
        damage(t, m);
        writeFile(kTblFile, t);
        writeFile(kMapFile, m);
        const Snapshot before(*game);
        const auto files = folderBytes(dir.path());
        ui.surfaceVisibility.clear();

        game->menuPaiBack_Click();
        ASSERT_EQ(ui.boxes.size(), 1u);
        EXPECT_TRUE(ui.boxes[0].text.contains(QStringLiteral("一手戻すことはできません")));
        before.expectSame(*game);  // the undo stays offered
        EXPECT_TRUE(ui.surfaceVisibility.empty());
        EXPECT_EQ(folderBytes(dir.path()), files);
    }

    // A pair of files from two different moves, as a crash between their two
    // replacements would leave, and a missing file.
    setPosition(kPairNear, 3);
    click(4, 1, kLeftButton);
    const QByteArray olderTbl = readFile(kTblFile);
    click(2, 2, kLeftButton);
    writeFile(kTblFile, olderTbl);
    const BoardMap map = game->boardMap;
    game->menuPaiBack_Click();
    ASSERT_TRUE(QFile::remove(path(kMapFile)));
    game->menuPaiBack_Click();
    ASSERT_EQ(ui.boxes.size(), 2u);
    EXPECT_TRUE(ui.boxes[0].text.contains(QStringLiteral("食い違っています")));
    EXPECT_TRUE(ui.boxes[1].text.contains(kMapFile + QStringLiteral(" が見つかりません")));
    EXPECT_EQ(game->boardMap, map);
}

TEST_F(ThreeMoveGame, AMoveThatCannotBeSavedGoesOnButCannotBeTakenBack) {
    // A folder in the way of the first work file: it cannot be replaced, and
    // nothing in it is lost. The player is told once in a game.
    ASSERT_TRUE(QDir(dir.path()).mkpath(kTblFile + QStringLiteral("/inside")));
    writeFile(kTblFile + QStringLiteral("/inside/keep.txt"), "keep");
    setPosition({"..ba..cd.e#"}, 3);
    click(3, 1, kLeftButton);
    click(7, 1, kLeftButton);
    EXPECT_EQ(shown(8, 1), (Rows{"bacd...."}));
    EXPECT_EQ(game->restMoves, 1);
    EXPECT_FALSE(game->menu(MenuId::PaiBack).enabled);
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_TRUE(ui.boxes[0].text.contains(kTblFile));
    EXPECT_TRUE(ui.boxes[0].text.contains(QStringLiteral("戻せません")));
    EXPECT_EQ(readFile(kTblFile + QStringLiteral("/inside/keep.txt")), QByteArray("keep"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("paidat.dat")});

    // The second file in the way: the undo offered for the move before goes.
    ASSERT_TRUE(QDir(path(kTblFile)).removeRecursively());
    setPosition({"..ba..cd.e#"}, 3);
    click(3, 1, kLeftButton);
    EXPECT_TRUE(game->menu(MenuId::PaiBack).enabled);
    ASSERT_TRUE(QFile::remove(path(kMapFile)) && QDir(dir.path()).mkdir(kMapFile));
    click(7, 1, kLeftButton);
    EXPECT_FALSE(game->menu(MenuId::PaiBack).enabled);
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_TRUE(ui.boxes[0].text.contains(kMapFile));
    // Once the files can be written again, the next move can be taken back.
    ASSERT_TRUE(QDir(dir.path()).rmdir(kMapFile));
    click(10, 1, kLeftButton);
    EXPECT_TRUE(game->menu(MenuId::PaiBack).enabled);
}

}  // namespace
}  // namespace tessarin::test
