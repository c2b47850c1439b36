// ThreeMove by board clicks on real deals: the start, slides and clearings frame by frame, counters, undo files.
#include "support/gametest.h"

#include "formats/undofiles.h"
#include "threemove/rules.h"

#include <QDir>

namespace tessarin::test {
namespace {

using three::kDown, three::kLeft, three::kUp;

QPoint centre(int x, int y) { return {cellPixelX(x) + 22, cellPixelY(y) + 27}; }

// One click that moves a run: the position it leaves, and the cells it clears in the order they are shown.
struct Plan { int col, row, button; three::Move move; Position after; std::vector<QPoint> cleared; };

class ThreeMove : public GameTest {
protected:
    void SetUp() override { GameTest::SetUp(), command(MenuId::ThreeMoveGame); }
    const three::Counters& counters() const { return game->threeMove().score.now; }
    std::vector<Plan> plans() const {  // every move the board offers now
        std::vector<Plan> out;
        for (int i = 0; i < 2 * kCols * kRows; ++i) {
            Plan p{i / 2 % kCols + 1, i / 2 / kCols + 1, i % 2 ? kRightButton : kLeftButton, {}, game->position(), {}};
            if (!three::planMove(p.after, p.col, p.row, p.button == kLeftButton, p.move)) continue;
            three::shiftRun(p.after, p.move);
            three::clearGroups(p.after, [&p](int c, int r) { p.cleared.emplace_back(c, r); });
            out.push_back(p);
        }
        return out;
    }

    // Plays a move, checking what the player sees of it and the work files holding the position before it.
    void playChecked(const Plan& p) {
        const GameSnapshot before = game->snapshot();
        const three::Counters& was = before.threeMove.score.now;
        std::vector<QImage> frames;
        std::vector<QRgb> clearing;  // each cleared cell at its pause
        ui.waits.clear(), ui.onWait = [&](int ms) {
            if (ms == 50) frames.push_back(game->picture());
            else if (clearing.size() < p.cleared.size()) clearing.push_back(cellColour(*game, p.cleared[clearing.size()].x(), p.cleared[clearing.size()].y()));
        };
        click(p.col, p.row, p.button);
        ui.onWait = nullptr;
        const int n = static_cast<int>(p.cleared.size());
        EXPECT_EQ(std::tie(game->position(), counters()), std::tuple(p.after, three::Counters{was.tilesLeft - n, was.movesLeft - 1 + 3 * n / 2, was.movesDone + 1}));
        EXPECT_EQ(std::tuple(strip(1), strip(2)),
                  std::tuple(QStringLiteral("残り手数 [%1]手").arg(counters().movesLeft), QStringLiteral("残り【%1】牌").arg(counters().tilesLeft, 3)));
        const QByteArray tiles = readFile(QString::fromLatin1(kUndoTilesFile)), cells = readFile(QString::fromLatin1(kUndoBoardFile));
        EXPECT_EQ(std::tuple(tiles.size(), cells.size(), tiles.toStdString(), cells.toStdString(), game->menu(MenuId::Undo).enabled),
                  std::tuple(2502, 380, encodeTileTable(before.position.tiles()), encodeBoardCells(before.position.cells()), true));
        // A cleared honour flashes, then is a stone; any other tile shows its face inverted, then is a hole.
        std::vector<int> waits(frames.size(), 50);
        waits.insert(waits.end(), n, 100);
        EXPECT_EQ(ui.waits, waits);
        for (int i = 0; i < n && i < static_cast<int>(clearing.size()); ++i) {
            const int x = p.cleared[i].x(), y = p.cleared[i].y();
            EXPECT_EQ(std::pair(clearing[i], cellColour(*game, x, y)),
                      std::pair(p.after.recordAt(x, y).cover == three::kStone ? tileColour(kFlashImage) : inverted(tileColour(p.after.tileAt(x, y))),
                                expectedThreeMoveColour(p.after, x, y)));
        }
        const three::Move& m = p.move;  // slides 27 (vertical) or 22 (sideways) pixels a frame, pausing after all but the last
        const bool vertical = m.dir == kUp || m.dir == kDown;
        const int step = vertical ? 27 : 22, gap = std::abs(m.toX - m.fromX) + std::abs(m.toY - m.fromY);
        const int d = gap * (vertical ? kPitchY : kPitchX);
        const QPoint unit = (QPoint(m.toX, m.toY) - QPoint(m.fromX, m.fromY)) / gap;
        const QPoint f = centre(m.fromX, m.fromY), t = centre(m.tailX, m.tailY);
        const QRgb front = pixelAt(before.picture, f.x(), f.y()), tail = pixelAt(before.picture, t.x(), t.y());
        ASSERT_EQ(static_cast<int>(frames.size()), d / step + 1);
        const QPoint lead = f + unit * (unit.x() + unit.y() < 0 ? step : step - 1);  // the run's front edge
        for (int k = 0; k * step <= d; ++k) {  // the front edge, the pixel before it, the tail's middle
            const QPoint e = lead + unit * step * k, before = e + unit, dt = t + unit * step * k;
            EXPECT_EQ(std::tuple(pixelAt(frames[k], e.x(), e.y()), pixelAt(frames[k], before.x(), before.y()) == front, pixelAt(frames[k], dt.x(), dt.y())),
                      std::tuple(front, false, tail)) << k;
        }
        // It lands on its cells; behind it the board is green again but for the line right behind the run, and
        // leftward bands are a column short, so a column a frame keeps the run's colour.
        for (int j = 0; j <= std::abs(m.fromX - m.tailX) + std::abs(m.fromY - m.tailY); ++j)
            EXPECT_EQ(cellColour(*game, m.toX - unit.x() * j, m.toY - unit.y() * j), expectedThreeMoveColour(p.after, m.toX - unit.x() * j, m.toY - unit.y() * j));
        const int tx = cellPixelX(m.tailX), ty = cellPixelY(m.tailY);
        for (int i = 0; i < d; ++i) {
            QPoint at = vertical ? QPoint(tx + 22, ty + i) : QPoint(tx + i, ty + 27);
            bool kept = false;
            if (m.dir == kUp) at.ry() += 54 - d, kept = i == 0;
            if (m.dir == kLeft) at.rx() += 44 - d, kept = i == 0 || (i > 21 && (d - i) % 22 == 0);
            ASSERT_EQ(pixelAt(game->picture(), at.x(), at.y()), kept ? tail : Surface::kBoardGreen) << m.dir << ": " << i << " of " << d;
        }
    }
};

TEST_F(ThreeMove, StartsDealAgainBelow130TilesUnseenUnpacedAndRefusingInput) {
    command(MenuId::TwoCornerGame), command(MenuId::RandomDeal), command(MenuId::Search), command(MenuId::ThreeMoveGame);  // a search shown
    ui.onPendingEvents = [&] {
        ASSERT_TRUE(game->shell().busy());
        const GameSnapshot s = game->snapshot();
        game->pressBoard(kLeftButton, 100, 100), game->pressKey(Qt::Key_F, Qt::ControlModifier);
        for (MenuId id : {MenuId::RandomDeal, MenuId::Undo, MenuId::TwoCornerGame, MenuId::ChooseStage, MenuId::EasyMode}) command(id);
        EXPECT_EQ(game->snapshot(), s);
    };
    int redeals = 0;
    for (int minute = 0; minute < 30; ++minute) {
        game->setClock([minute] { return QDateTime(QDate(2026, 3, 2), QTime(14, minute, 9)); });
        const int serial = game->threeMove().dealSerial, rounds = ui.pendingEventRounds;
        ui.waits.clear(), ui.surfaceVisibility.clear();
        command(MenuId::RandomDeal);
        redeals += game->threeMove().dealSerial - serial;  // each deal lets pending events run once
        EXPECT_EQ(std::tuple(ui.pendingEventRounds - rounds, ui.waits.size(), ui.surfaceVisibility),
                  std::tuple(1 + game->threeMove().dealSerial - serial, 0u, std::vector<bool>{false, true}));
        EXPECT_EQ(counters(), (three::Counters{three::countLiveTiles(game->position()), 3, 0}));
        EXPECT_TRUE(counters().tilesLeft < 130 && game->shell().inPlay() && !game->shell().busy() && !game->menu(MenuId::Undo).enabled);
        EXPECT_EQ(std::tuple(strip(1), strip(2), game->menu(MenuId::Search).caption, game->twoCorner().search.shown),
                  std::tuple(QStringLiteral("残り手数 [3]手"), QStringLiteral("残り【%1】牌").arg(counters().tilesLeft, 3), QStringLiteral("検索(&S)"), false));
    }
    EXPECT_GT(redeals, 0);
}

TEST_F(ThreeMove, MovesSlideClearAndCountAndTheLastCanBeTakenBackWhenItsFilesAreWritten) {
    // Moves are chosen to slide every way and clear honours and suits, then to use up the moves left.
    const auto features = [](const Plan& p) {  // the direction's bit; 32: an honour cleared, 64: a suit
        int f = 1 << p.move.dir;
        for (const QPoint& c : p.cleared) f |= p.after.recordAt(c.x(), c.y()).cover == three::kStone ? 32 : 64;
        return f;
    };
    int seen = 0;
    for (int deal = 0; deal < 8 && seen != 0b1111110; ++deal) {
        game->setClock([deal] { return fixedTime().addSecs(600 * deal); });
        command(MenuId::RandomDeal);
        for (int step = 0; step < 60 && counters().movesLeft > 0; ++step) {
            SCOPED_TRACE(testing::Message() << "deal " << deal << ", move " << step);
            const std::vector<Plan> all = plans();
            ASSERT_FALSE(all.empty());
            auto it = std::find_if(all.begin(), all.end(), [&](const Plan& p) { return features(p) & ~seen; });
            if (it == all.end()) it = std::find_if(all.begin(), all.end(), [](const Plan& p) { return p.cleared.empty(); });
            const Plan& plan = it == all.end() ? all[0] : *it;
            seen |= features(plan);
            const GameSnapshot before = game->snapshot();
            ASSERT_NO_FATAL_FAILURE(playChecked(plan));
            const GameSnapshot after = game->snapshot();
            command(MenuId::Undo);  // brings back the position and the counters, once
            EXPECT_EQ(std::tie(game->position(), counters(), game->surface().stripTexts()),
                      std::tie(before.position, before.threeMove.score.now, before.strip));
            EXPECT_TRUE((step > 0 || game->picture() == before.picture) && !game->menu(MenuId::Undo).enabled);
            click(plan.col, plan.row, plan.button);
            EXPECT_EQ(std::tie(game->position(), counters()), std::tie(after.position, after.threeMove.score.now));
        }
    }
    EXPECT_EQ(seen, 0b1111110);
    ASSERT_EQ(counters().movesLeft, 0);  // no move left: clicks change nothing
    const GameSnapshot stuck = game->snapshot();
    for (int i = 0; i < 2 * kCols * kRows; ++i) click(i / 2 % kCols + 1, i / 2 / kCols + 1, i % 2 ? kRightButton : kLeftButton);
    EXPECT_EQ(game->snapshot(), stuck);
    // A folder in the way of a work file: moves go on without an undo, with one message a game.
    ASSERT_TRUE(QDir(dir.path()).remove(QString::fromLatin1(kUndoTilesFile)) && QDir(dir.path()).mkdir(QString::fromLatin1(kUndoTilesFile)));
    for (int move = 0; move < 4; ++move) {  // two games of two moves
        if (move % 2 == 0) command(MenuId::RandomDeal);
        const Plan p = plans().at(0);
        click(p.col, p.row, p.button);
        ASSERT_EQ(std::tuple(game->position() == p.after, game->menu(MenuId::Undo).enabled, ui.boxes.size()), std::tuple(true, false, move / 2 + 1u));
        EXPECT_EQ(std::tuple(ui.boxes.back().title, ui.boxes.back().text.contains(path(QString::fromLatin1(kUndoTilesFile)))),
                  std::tuple(QStringLiteral("一手戻す"), true));
    }
}

}  // namespace
}  // namespace tessarin::test
