// A game in a temporary program folder, with a tile sheet whose every picture is a distinct flat
// colour, so pixels say exactly what was drawn; and the helpers the game tests share: clicks, stages, files.
#pragma once

#include "app/game.h"
#include "stages/deal.h"
#include "support/fakeui.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <map>
#include <memory>

// Failure messages show texts as text.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace tessarin {
// A short account of a snapshot for failure messages: counters, flags, menus, strip, checksums of board and picture.
void PrintTo(const GameSnapshot& s, std::ostream* os);
}  // namespace tessarin

namespace tessarin::test {

// The test sheet, written as paidat.dat into dir; or at k times the size, as paidat@kx.dat.
void writeTestSheet(const QString& dir, int k = 1);
// The colour a tile number's picture shows in the test sheet.
QRgb tileColour(int tile);
inline QRgb inverted(QRgb c) { return qRgb(255 - qRed(c), 255 - qGreen(c), 255 - qBlue(c)); }
// A pixel of a picture, without its alpha byte.
inline QRgb pixelAt(const QImage& img, int x, int y) { return img.pixel(x, y) | 0xff000000u; }
// The colour in the middle of a field cell, away from any red frame.
inline QRgb cellColour(const Game& game, int x, int y) { return pixelAt(game.picture(), cellPixelX(x) + 22, cellPixelY(y) + 27); }
// The red outline inside a cell: two opposite corners are red.
bool outlined(const Game& game, int x, int y);
// What a TwoCorner cell must show: the face on the board, inverted while picked, the blank once taken off.
QRgb expectedTwoCornerColour(const Game& game, int x, int y);
// What a ThreeMove cell of a position shows: the face, a stone or a hole.
QRgb expectedThreeMoveColour(const Position& pos, int x, int y);
// How many field cells are outlined in red.
int outlinedCells(const Game& game);
// The snapshot without what play leaves behind unused: the move record's entries past its count,
// the pick's cell and kind while no tile waits, the pairs of a search no longer shown.
GameSnapshot playSnapshot(const Game& game);

// Stage lines of the deals numbered first..first+count-1, CR LF after each.
inline QByteArray stageLine(int n) { return QByteArray::fromStdString(dealStageLine(n)); }
QByteArray stageLines(int first, int count);
inline QString stageNumber(int n) { return QStringLiteral("%1").arg(n, 5, 10, QLatin1Char('0')); }
// The start of the stage a stage line describes (the line must be good).
Position stagePosition(const QByteArray& line);
// A deal from `from` on that taking the first listed pair every time clears, with that answer's cell codes.
int greedyStage(int from, QByteArray* answer = nullptr);
// The cell codes that clear this board taking the first listed pair every time; empty when it gets stuck.
QByteArray greedyAnswer(Position pos);

// Every entry of a folder that is not a folder, with its bytes; without opening it, what it is for anything
// else (a link, a pipe, a file over 64 MB), so a hostile entry is compared too and never blocks.
std::map<QString, QByteArray> folderBytes(const QString& dir);

class GameTest : public ::testing::Test {
protected:
    void SetUp() override;
    // Replaces the game by a fresh one in the same folder (the authoring build when asked; keeping its game,
    // cleared stages and settings there when asked), started up, with the fixed clock.
    void newGame(bool authorMode = false, bool keep = false);

    // The fixed clock: 6 December, 03:25:57, so the TwoCorner deal is 33763.
    static QDateTime fixedTime() { return QDateTime(QDate(2026, 12, 6), QTime(3, 25, 57)); }
    // A clock on the same day that deals `seed` (1206 to 1206 + 235959, its last four digits a valid minute and second).
    void setClockForSeed(int seed);

    void command(MenuId id) { game->command(id); }
    // The text of the status strip's left (0), middle (1) or right (2) area.
    QString strip(int area) const { return game->surface().stripTexts()[static_cast<std::size_t>(area)]; }
    // A click in the middle of a field cell; a cell code.
    void click(int x, int y, int button = kLeftButton);
    void clickCode(int code, int button = kLeftButton) { click(codeX(code), codeY(code), button); }
    // Opens "面選択" and double-clicks (row, col) of the grid when row >= 0; returns the grid as the window was given it.
    StageGrid chooseStage(int row = -1, int col = -1);
    // Makes the first deal from `from` on that the first listed pairs clear the only stage (maptwo0.map), with that answer (anstwo0.map).
    int writeGreedyStage(int from);
    // Takes the first pair the search lists, as a player would.
    void takeFirstPair();
    // The message boxes shown since the last call: "text", or "text | title".
    QStringList takeMessages();
    // The game and every file of its folder: what a refused command leaves as it was.
    auto gameAndFiles() const { return std::pair(game->snapshot(), folderBytes(dir.path())); }

    QByteArray readFile(const QString& name) const;
    void writeFile(const QString& name, const QByteArray& bytes) const;
    QString path(const QString& name) const { return dir.filePath(name); }

    QTemporaryDir dir;
    FakeUi ui;
    std::unique_ptr<Game> game;
};

}  // namespace tessarin::test
