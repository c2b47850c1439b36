// The board drawn sharp at every scale, the zoom, and play from the keyboard.
#include "support/gametest.h"

#include "twocorner/search.h"

#include <QFile>

namespace tessarin::test {
namespace {

// Every device pixel of a rectangle of the picture has one colour.
bool allOf(const QImage& img, const QRect& r, QRgb colour) {
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (pixelAt(img, x, y) != colour) return false;
    return true;
}

TEST_F(GameTest, TheBoardIsDrawnAtTheScaleOfTheScreenFromTheSheetsMadeForIt) {
    writeTestSheet(dir.path(), 2);
    writeTestSheet(dir.path(), 3);
    newGame();
    command(MenuId::RandomDeal);
    // A tile picked: inverted, its partners outlined; then a pair of the search.
    const CellPair p = findPairs(game->position())[0];
    click(p.xL, p.yL);
    const QImage atOne = game->picture();
    const QRgb red = qRgb(255, 0, 0);
    for (const qreal scale : {1.5, 2.0, 3.0, 1.0}) {
        SCOPED_TRACE(scale);
        game->setSurfaceScale(scale);
        const QImage& img = game->picture();
        ASSERT_EQ(img.size(), QSize(qRound(768 * scale), qRound(500 * scale)));
        const Surface& s = game->surface();
        const auto cell = [&](int x, int y) { return s.deviceRect(QRect(cellPixelX(x), cellPixelY(y), kTileW, kTileH)); };
        const QRgb face = tileColour(game->position().tileAt(p.xL, p.yL));
        EXPECT_TRUE(allOf(img, cell(p.xL, p.yL), inverted(face)));
        // The partner's frame: as many device pixels wide as the scale, just
        // inside its tile, the face within it.
        const int w = std::max(1, qRound(scale));
        const QRect frame = s.deviceRect(QRect(cellPixelX(p.xR) + 1, cellPixelY(p.yR) + 1, 43, 53));
        const QRgb partner = tileColour(game->position().tileAt(p.xR, p.yR));
        EXPECT_TRUE(allOf(img, QRect(frame.left(), frame.top(), frame.width(), w), red));
        EXPECT_TRUE(allOf(img, QRect(frame.right() - w + 1, frame.top(), w, frame.height()), red));
        EXPECT_TRUE(allOf(img, frame.adjusted(w, w, -w, -w), partner));
        EXPECT_EQ(pixelAt(img, frame.left() - 1, frame.top() + 5 * w), partner);
        // Another tile, whole in its face colour; the gap between tiles green.
        EXPECT_TRUE(allOf(img, cell(9, 5), tileColour(game->position().tileAt(9, 5))));
        EXPECT_EQ(pixelAt(img, cell(9, 5).right() + 1, cell(9, 5).center().y()), qRgb(0, 128, 0));
    }
    // Drawn again at 1, the picture is the very one drawn at 1 before.
    EXPECT_TRUE(game->picture() == atOne);

    // A damaged larger sheet is passed over for the next one down.
    writeFile(QStringLiteral("paidat@3x.dat"), "not a picture");
    newGame();
    EXPECT_EQ(game->surface().sheetScaleFor(3.0), 2);
    QFile::remove(path(QStringLiteral("paidat@2x.dat")));
    newGame();
    EXPECT_EQ(game->surface().sheetScaleFor(2.0), 1);
    EXPECT_TRUE(ui.boxes.empty());
}

TEST_F(GameTest, ArrowKeysMoveACursorThatSpaceAndBackspaceClickWith) {
    const auto key = [&](int k, Qt::KeyboardModifiers m = Qt::NoModifier) { game->pressKey(k, m); };
    const auto cursor = [&] { return game->shell().cursor(); };
    const auto keys = [&](int k, int times) { for (int i = 0; i < times; ++i) key(k); };
    key(Qt::Key_Right);  // no game: no cursor
    EXPECT_FALSE(cursor().shown);
    command(MenuId::RandomDeal);
    key(Qt::Key_Space);  // not shown yet: no click
    EXPECT_EQ(game->twoCorner().moves.count, 0);
    key(Qt::Key_Left);  // the first arrow shows it where it is
    EXPECT_EQ(cursor(), (KeyboardCursor{true, 1, 1}));
    keys(Qt::Key_Right, 20), key(Qt::Key_Down);
    EXPECT_EQ(cursor(), (KeyboardCursor{true, kCols, 2}));
    for (int i = 0; i < 20; ++i) key(Qt::Key_Down, Qt::KeypadModifier);
    EXPECT_EQ(cursor(), (KeyboardCursor{true, kCols, kRows}));

    // Space picks the cursor's tile, Backspace drops it; a pair by keys.
    const CellPair p = findPairs(game->position())[0];
    const GameSnapshot dealt = game->snapshot();
    keys(Qt::Key_Up, 20), keys(Qt::Key_Left, 20), keys(Qt::Key_Right, p.xL - 1), keys(Qt::Key_Down, p.yL - 1);
    key(Qt::Key_Space);
    EXPECT_EQ(game->position().stateAt(p.xL, p.yL), kPicked);
    EXPECT_EQ(cellColour(*game, p.xL, p.yL), inverted(tileColour(game->position().tileAt(p.xL, p.yL))));
    key(Qt::Key_Backspace);
    EXPECT_TRUE(game->picture() == dealt.picture && game->position() == dealt.position);
    key(Qt::Key_Return);
    keys(Qt::Key_Right, p.xR - p.xL), keys(Qt::Key_Down, p.yR - p.yL), keys(Qt::Key_Up, p.yL - p.yR);
    key(Qt::Key_Enter);
    EXPECT_EQ(game->twoCorner().tilesLeft, kTiles - 2);
    key(Qt::Key_Z, Qt::ControlModifier);  // undo
    EXPECT_EQ(game->twoCorner().tilesLeft, kTiles);
    // A mouse click hides it; a new game starts it again at the top left.
    click(5, 5);
    EXPECT_FALSE(cursor().shown);
    key(Qt::Key_Up);
    EXPECT_TRUE(cursor().shown);
    command(MenuId::RandomDeal);
    EXPECT_EQ(cursor(), KeyboardCursor{});
}

TEST_F(GameTest, TheZoomChosenIsUsedWhereItFitsAndSaysWhereItDoesNot) {
    newGame(false, true);
    EXPECT_EQ(ui.zoom, 100);
    ui.zoomFits = 150;
    command(MenuId::Zoom200);
    const MenuState& z200 = game->menu(MenuId::Zoom200);
    EXPECT_EQ(std::tuple(ui.zoom, game->menu(MenuId::Zoom150).checked, z200.checked, z200.enabled, z200.caption),
              std::tuple(150, true, false, false, QStringLiteral("200%（画面に入りません）")));
    ui.zoomFits = 200;  // the next start, on a larger screen
    newGame(false, true);
    EXPECT_EQ(std::pair(ui.zoom, game->menu(MenuId::Zoom200).caption), std::pair(200, QStringLiteral("200%")));
    command(MenuId::Zoom100);
    EXPECT_EQ(ui.zoom, 100);
    EXPECT_TRUE(game->menu(MenuId::Zoom100).checked && !game->menu(MenuId::Zoom200).checked);
}

}  // namespace
}  // namespace tessarin::test
