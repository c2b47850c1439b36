#include "support/gametest.h"

#include "formats/lines.h"
#include "twocorner/search.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPainter>

#include <algorithm>

namespace tessarin {

void PrintTo(const GameSnapshot& s, std::ostream* os) {
    const TwoCornerState& t = s.twoCorner;
    const three::Counters &c = s.threeMove.score.now, &b = s.threeMove.score.beforeLastMove;
    QString menus;
    for (const MenuState& m : s.shell.menus) menus += QStringLiteral("%1%2%3 ").arg(m.caption).arg(m.enabled ? "+" : "-").arg(m.visible ? (m.checked ? "v" : "") : "h");
    const auto hash = [](const auto& v) { return qHash(QByteArrayView(reinterpret_cast<const char*>(&v), sizeof v)); };
    *os << QStringLiteral("{two: left %1 moves %2 pick %3,%4,%5 search %6/%7/%8 exch %9%10 easy %11; ")
               .arg(t.tilesLeft).arg(t.moves.count).arg(t.pickX).arg(t.pickY).arg(t.pickKind).arg(t.search.shown).arg(t.search.current)
               .arg(t.search.pairs.size()).arg(t.exchange.waiting).arg(t.exchange.chosen).arg(t.easyMode).toStdString()
        << QStringLiteral("three: %1/%2/%3 before %4/%5/%6 warned %7 serial %8; ")
               .arg(c.tilesLeft).arg(c.movesLeft).arg(c.movesDone).arg(b.tilesLeft).arg(b.movesLeft).arg(b.movesDone)
               .arg(s.threeMove.undoWriteWarned).arg(s.threeMove.dealSerial).toStdString()
        << QStringLiteral("stage %1 fixed %2 replay %3/%4/%5; kind %6 play %7 '%8'; menus %9; strip '%10|%11|%12'; ")
               .arg(s.session.stageNo).arg(s.session.fixedStage).arg(s.session.replay.on).arg(s.session.replay.clicks).arg(s.session.replay.tilesLeft)
               .arg(static_cast<int>(s.shell.kind)).arg(s.shell.inPlay).arg(s.shell.caption, menus, s.strip[0], s.strip[1], s.strip[2]).toStdString()
        << "board " << hash(s.position.cells()) << " tiles " << hash(s.position.tiles()) << " picture " << s.picture.cacheKey() << "/"
        << qHash(QByteArrayView(s.picture.constBits(), s.picture.sizeInBytes())) << "}";
}

}  // namespace tessarin

namespace tessarin::test {

// The colour of the picture at (col, row) of the sheet: distinct, never the board green, white or red.
static QRgb sheetColour(int col, int row) { return qRgb(20 + col * 25, 30 + row * 40, 200 - col * 10 - row * 7); }

void writeTestSheet(const QString& dir, int k) {
    QImage sheet(9 * kTileW * k, 5 * kTileH * k, QImage::Format_RGB32);
    QPainter p(&sheet);
    for (int row = 0; row < 5; ++row)
        for (int col = 0; col < 9; ++col)
            p.fillRect(col * kTileW * k, row * kTileH * k, kTileW * k, kTileH * k, QColor::fromRgb(sheetColour(col, row)));
    p.end();
    const QString name = k == 1 ? QStringLiteral("/paidat.dat") : QStringLiteral("/paidat@%1x.dat").arg(k);
    ASSERT_TRUE(sheet.save(dir + name, "PNG"));
}

QRgb tileColour(int tile) {
    const TileRecord& r = sheetLayout()[static_cast<std::size_t>(tile)];
    return sheetColour(r.srcX / kTileW, r.srcY / kTileH);
}

bool outlined(const Game& game, int x, int y) {
    const QRgb red = qRgb(255, 0, 0);
    return pixelAt(game.picture(), cellPixelX(x) + 1, cellPixelY(y) + 1) == red &&
           pixelAt(game.picture(), cellPixelX(x) + 43, cellPixelY(y) + 53) == red;
}

QRgb expectedTwoCornerColour(const Game& game, int x, int y) {
    const int state = game.position().stateAt(x, y);
    const QRgb face = tileColour(game.position().tileAt(x, y));
    return state == kRemoved ? tileColour(kBlankImage) : state == kPicked ? inverted(face) : face;
}

QRgb expectedThreeMoveColour(const Position& pos, int x, int y) {
    const int cover = pos.recordAt(x, y).cover;
    return tileColour(cover == 0 ? pos.tileAt(x, y) : cover == 1 ? kBlankImage : kHoleImage);
}

int outlinedCells(const Game& game) {
    int n = 0;
    for (int y = 1; y <= kRows; ++y)
        for (int x = 1; x <= kCols; ++x) n += outlined(game, x, y);
    return n;
}

GameSnapshot playSnapshot(const Game& game) {
    GameSnapshot s = game.snapshot();
    MoveRecord& moves = s.twoCorner.moves;
    std::fill(moves.cells.begin() + std::min(moves.count + 1, 141), moves.cells.end(), int16_t{0});
    if (!s.twoCorner.pickPending()) s.twoCorner.pickX = s.twoCorner.pickY = s.twoCorner.pickKind = 0;
    if (!s.twoCorner.search.shown) s.twoCorner.search = SearchView{};
    return s;
}

QByteArray stageLines(int first, int count) {
    QByteArray out;
    for (int n = first; n < first + count; ++n) out += stageLine(n) + "\r\n";
    return out;
}

Position stagePosition(const QByteArray& line) {
    StageLine s;
    std::string error;
    EXPECT_TRUE(parseStageLine(line.toStdString(), s, error)) << error;
    return s.position();
}

QByteArray greedyAnswer(Position pos) {
    QByteArray codes;
    for (int pair = 0; pair < kTiles / 2; ++pair) {
        const PairList pairs = findPairs(pos);
        if (pairs.empty()) return {};
        const CellPair p = pairs[0];
        pos.setState(pos.tileAt(p.xL, p.yL), kRemoved);
        pos.setState(pos.tileAt(p.xR, p.yR), kRemoved);
        codes += QByteArray(p.code().data());
    }
    return codes;
}

int greedyStage(int from, QByteArray* answer) {
    // Bounded: about one deal in ten clears this way.
    for (int n = from; n < from + 1000; ++n) {
        const QByteArray codes = greedyAnswer(stagePosition(stageLine(n).right(413)));  // six digits: the board after them
        if (codes.isEmpty()) continue;
        if (answer) *answer = codes;
        return n;
    }
    ADD_FAILURE() << "no deal from " << from << " clears by the first pairs";
    return from;
}

std::map<QString, QByteArray> folderBytes(const QString& dir) {
    std::map<QString, QByteArray> out;
    for (const QFileInfo& info : QDir(dir).entryInfoList(QDir::Files | QDir::Hidden | QDir::System)) {
        QByteArray& entry = out[info.fileName()];
        QFile f(info.filePath());
        if (info.isSymLink()) entry = "link to " + info.symLinkTarget().toUtf8();
        else if (!info.isFile()) entry = "not a file";
        else if (info.size() > (qint64{64} << 20)) entry = "size " + QByteArray::number(info.size());
        else entry = f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("unreadable");
    }
    return out;
}

void GameTest::SetUp() {
    ASSERT_TRUE(dir.isValid());
    writeTestSheet(dir.path());
    newGame();
}

void GameTest::newGame(bool authorMode, bool keep) {
    game.reset();
    game = std::make_unique<Game>(GameFolders{dir.path(), dir.path(), keep}, ui, authorMode);
    ASSERT_TRUE(game->startUp());
    game->setClock([] { return fixedTime(); });
}

void GameTest::setClockForSeed(int seed) {
    const int t = seed - 1206;
    const QTime time(t / 10000, t / 100 % 100, t % 100);
    ASSERT_TRUE(time.isValid()) << seed;
    game->setClock([time] { return QDateTime(fixedTime().date(), time); });
}

void GameTest::click(int x, int y, int button) { game->pressBoard(button, cellPixelX(x) + 20, cellPixelY(y) + 30); }

StageGrid GameTest::chooseStage(int row, int col) {
    StageGrid shown;
    ui.onStageSelection = [&](StageGrid& grid) {
        shown = grid;
        if (row >= 0) grid.doubleClick(row, col);
    };
    command(MenuId::ChooseStage);
    ui.onStageSelection = nullptr;
    return shown;
}

int GameTest::writeGreedyStage(int from) {
    QByteArray answer;
    const int n = greedyStage(from, &answer);
    writeFile(QStringLiteral("maptwo0.map"), stageLine(n) + "\r\n");
    writeFile(QStringLiteral("anstwo0.map"), stageNumber(n).toLatin1() + answer + "\r\n");
    return n;
}

void GameTest::takeFirstPair() {
    const CellPair p = findPairs(game->position())[0];
    click(p.xL, p.yL), click(p.xR, p.yR);
}

QStringList GameTest::takeMessages() {
    QStringList out;
    for (const FakeUi::Box& b : ui.boxes) out << (b.title.isEmpty() ? b.text : b.text + QStringLiteral(" | ") + b.title);
    ui.boxes.clear();
    return out;
}

QByteArray GameTest::readFile(const QString& name) const {
    QFile f(dir.filePath(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void GameTest::writeFile(const QString& name, const QByteArray& bytes) const {
    QFile f(dir.filePath(name));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

}  // namespace tessarin::test
