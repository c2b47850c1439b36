// SAVE and Load of the authoring build: the slot testdat.txt byte for byte,
// round trips that bring the whole game back, refusals that change nothing.
#include "support/gametest.h"
#include "twocorner/search.h"

#include <QFile>
#include <QFileInfo>

namespace tessarin::test {
namespace {

using namespace Qt::StringLiterals;

const QString kSlot = u"testdat.txt"_s;

// The slot for the deal of stage line `line` after the clicks `codes` (pairs, maybe a last pick).
QByteArray expectedSlot(const QByteArray& line, const std::vector<int>& codes) {
    const Position start = stagePosition(line.right(413));
    const std::size_t taken = codes.size() / 2 * 2;
    std::map<int, std::size_t> state;
    for (std::size_t i = 0; i < codes.size(); ++i) state[start.tileAt(codeX(codes[i]), codeY(codes[i]))] = i < taken ? 2 : 1;
    QByteArray out = line + "\r\n0002020";
    for (int t = 1; t <= kTiles; ++t)
        out += u"%1%2%3%4"_s.arg(start.tile(t).boardX, 2, 10, QLatin1Char('0')).arg(start.tile(t).boardY)
                   .arg(kindOfTile(t), 3, 10, QLatin1Char('0')).arg(state[t]).toLatin1();
    out += "00020100002000\r\n000";
    for (std::size_t i = 0; i < 140; ++i) out += QByteArray::number(i < codes.size() ? codes[i] : 0).rightJustified(3, '0');
    return out + "\r\n" + QByteArray::number(136 - taken) + "\r\n" + QByteArray::number(codes.size()) + "\r\n";
}

class SaveLoad : public GameTest {
protected:
    void SetUp() override { GameTest::SetUp(), newGame(true); }
    void dealAfter(int stage) { writeFile(u"maptwo.map"_s, stageLine(stage) + "\r\n"), command(MenuId::RandomDeal); }
    // Takes the first listed pair; its cell codes.
    std::vector<int> pair() {
        const CellPair p = findPairs(game->position())[0];
        return takeFirstPair(), std::vector<int>{cellCode(p.xL, p.yL), cellCode(p.xR, p.yR)};
    }
};

TEST_F(SaveLoad, SlotBytesAndRoundTrips) {
    dealAfter(12);
    std::vector<int> codes = pair();
    command(MenuId::Search), command(MenuId::Search);  // the caption a search leaves
    const CellPair q = findPairs(game->position())[0];
    click(q.xL, q.yL), codes.push_back(cellCode(q.xL, q.yL));  // a tile picked
    const GameSnapshot picked = playSnapshot(*game);
    // Saved through a link: the file it names is replaced, the link kept.
    writeFile(u"real.txt"_s, "an old slot\r\n");
    ASSERT_TRUE(QFile::link(u"real.txt"_s, path(kSlot)));
    command(MenuId::Save);
    EXPECT_TRUE(QFileInfo(path(kSlot)).isSymLink());
    EXPECT_EQ(readFile(u"real.txt"_s), expectedSlot(stageLine(13), codes));
    // Loaded into another game with a search shown: the search ends, the pick goes on.
    dealAfter(50), pair(), command(MenuId::Search), command(MenuId::Load);
    EXPECT_EQ(playSnapshot(*game), picked);
    click(q.xR, q.yR);
    EXPECT_EQ(game->twoCorner().tilesLeft, 132);

    // A deal the clock numbers with six digits comes back; solved, it is not stored.
    QByteArray answer;
    const int n = greedyStage(231206, &answer);  // 23:00:00 on
    QFile::remove(path(u"maptwo.map"_s)), setClockForSeed(n), command(MenuId::RandomDeal);
    const GameSnapshot six = game->snapshot();
    command(MenuId::Save);
    EXPECT_EQ(readFile(kSlot), expectedSlot(stageLine(n), {}));
    dealAfter(60), command(MenuId::Load);
    EXPECT_EQ(game->snapshot(), six);
    const auto files = folderBytes(dir.path());
    for (int k = 0; k < kTiles; ++k) clickCode(answer.mid(3 * k, 3).toInt());
    EXPECT_EQ(takeMessages(), (QStringList{u"File Open Error"_s, u"面番号 %1 は 5 桁ではないため、この面と回答は保存しません"_s.arg(n)}));
    EXPECT_EQ(folderBytes(dir.path()), files);
}

TEST_F(SaveLoad, RefusalsChangeNothing) {
    // Without a board, in a replay, in ThreeMove: the messages of SAVE, then Load.
    writeFile(u"maptwo0.map"_s, stageLine(1)), writeFile(u"anstwo0.map"_s, "00001" + QByteArray("011012").repeated(68));
    writeFile(kSlot, "an old slot\r\n");
    const QString inReplay = u"模範回答の再生中は SAVE と Load を使えません"_s, noGame = u"保存できる二角取りのゲームがありません"_s;
    const std::tuple<const char*, std::function<void()>, QStringList> situations[] = {
        {"no board", [] {}, {noGame, u"testdat.txt を読み込めません: 1 行しかありません（5 行のはず）"_s}},
        {"a replay", [&] { chooseStage(1, 1), command(MenuId::ModelAnswer), click(1, 1); }, {inReplay, inReplay}},
        {"ThreeMove", [&] { click(1, 1, kRightButton), command(MenuId::ThreeMoveGame), command(MenuId::RandomDeal); },
         {noGame, u"Load は二角取りのゲームで使えます"_s}},
    };
    for (const auto& [what, setUp, messages] : situations) {
        SCOPED_TRACE(what);
        setUp(), takeMessages();
        const auto before = gameAndFiles();
        command(MenuId::Save), command(MenuId::Load);
        EXPECT_EQ(takeMessages(), messages);
        EXPECT_EQ(gameAndFiles(), before);
    }
    // Slots that cannot be a game.
    command(MenuId::TwoCornerGame), dealAfter(20);
    const std::vector<int> a = pair(), b = pair();
    ASSERT_NE(game->position().kindAt(codeX(a[0]), codeY(a[0])), game->position().kindAt(codeX(b[0]), codeY(b[0])));
    command(MenuId::Save);
    const QByteArray good = readFile(kSlot);
    const QList<QByteArray> lines = QByteArray(good).replace("\r\n", "\n").chopped(1).split('\n');
    const qsizetype record = 7 * game->position().tileAt(codeX(a[0]), codeY(a[0]));
    pair();
    const auto with = [&](int i, const QByteArray& text, qsizetype at = -1) {  // line i, or text written into it at `at`
        QList<QByteArray> l = lines;
        l[i] = at < 0 ? text : QByteArray(l[i]).replace(at, text.size(), text);
        return l.join("\r\n") + "\r\n";
    };
    QByteArray twice = lines[0], mixed = lines[2];
    twice.replace(8, 3, twice.mid(5, 3));
    mixed.replace(6, 3, lines[2].mid(9, 3)).replace(9, 3, lines[2].mid(6, 3));  // pairs (a1, b1), (a2, b2)
    const std::pair<const char*, QByteArray> cases[] = {
        {"four lines", lines.mid(0, 4).join("\r\n") + "\r\n"}, {"line 1 short", with(0, lines[0].left(412))},
        {"line 3 long", with(2, lines[2] + "000")}, {"a letter", with(0, "x", 100)}, {"a sign", with(4, "+4")},
        {"tile 139", with(0, "139", 5)}, {"a tile twice", with(0, twice)}, {"a kind changed", with(1, "002", 10)},
        {"a tile out of its cell", with(1, "00", 7 * 136)}, {"a state of 3", with(1, "3", 7 * 5 + 6)},
        {"a taken tile on the board", with(1, "0", record + 6)}, {"a click off the field", with(2, "190", 3)},
        {"a pair of two kinds", with(2, mixed)}, {"tiles left", with(3, "134")}, {"clicks", with(4, "137")},
        {"a pick the tiles do not show", with(4, "3")}, {"no file", {}},
    };
    for (const auto& [what, bytes] : cases) {
        SCOPED_TRACE(what);
        QFile::remove(path(kSlot));
        if (!bytes.isEmpty()) writeFile(kSlot, bytes);
        const auto before = gameAndFiles();
        command(MenuId::Load);
        const QStringList shown = takeMessages();
        EXPECT_TRUE(shown.size() == 1 && shown[0].startsWith(u"testdat.txt を読み込めません: "_s)) << shown.join('|').toStdString();
        EXPECT_EQ(gameAndFiles(), before);
    }
    writeFile(kSlot, good);
    command(MenuId::Load);
    EXPECT_EQ(game->twoCorner().tilesLeft, 132);  // the good slot loads
}

}  // namespace
}  // namespace tessarin::test
