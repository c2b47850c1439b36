// The board surface: the off-screen picture the player sees, 768 x 500
// pixels, with the field on top and the status strip below it. Tiles are
// copied onto it from the tile sheet, plainly or inverted; the red cell
// frame, boxes and text are drawn on it; the strip's three areas remember
// what they show. Whatever shows the picture is told of every change and
// makes the pauses that pace visible sequences.
#pragma once

#include "board/position.h"

#include <QFont>
#include <QImage>
#include <QRect>
#include <QString>

#include <array>

namespace tessarin {

// What shows the surface: told of every change, and asked for the pauses.
class SurfaceView {
public:
    virtual ~SurfaceView() = default;
    // The surface changed inside rect and should reach the screen.
    virtual void surfaceChanged(const QRect& rect) = 0;
    // Pause for ms milliseconds with everything drawn so far on screen; user
    // input waits until the sequence has ended.
    virtual void waitMs(int ms) = 0;
};

enum class DrawMode { Copy, Inverted };

class Surface {
public:
    static constexpr int kWidth = 768;
    static constexpr int kHeight = 500;
    static constexpr int kStripTop = 460;  // the status strip, from here to the bottom

    static constexpr QRgb kBoardGreen = 0xff008000;  // rgb(0, 128, 0)
    static constexpr QRgb kFrameRed = 0xffff0000;
    static constexpr QRgb kTextWhite = 0xffffffff;

    explicit Surface(SurfaceView& view);

    // Loads the tile sheet "paidat.dat": a picture at least 396 x 270
    // pixels. False, with the reason for the player in `error`, otherwise.
    bool loadSheet(const QString& path, QString& error);

    const QImage& picture() const { return picture_; }
    const QImage& sheet() const { return sheet_; }
    // The texts of the strip's left, middle and right area as last printed.
    const std::array<QString, 3>& stripTexts() const { return strip_; }

    // Tiles and cells (field coordinates). A tile number names its picture:
    // the tile's face, or one of the image-only pictures.
    void drawTile(int x, int y, int tile, DrawMode mode = DrawMode::Copy);
    // A one-pixel red frame just inside the cell's tile; a plain redraw of
    // the tile takes it away.
    void outlineCell(int x, int y);
    // Every tile still in a cell, as a TwoCorner board shows it (removed
    // tiles are not drawn), or as a ThreeMove board (stones and holes).
    void drawTwoCornerBoard(const Position& pos);
    void drawThreeMoveBoard(const Position& pos);

    // Pixels.
    void clear();  // the whole surface green, the strip texts forgotten
    void fillBox(int x1, int y1, int x2, int y2, QRgb colour);  // corners inclusive
    // Copies a block of the surface to (x, y); source and target may overlap.
    void copyBlock(int x, int y, int width, int height, int srcX, int srcY);
    // Prints text with its top-left corner at (x, y) in the surface font.
    void printText(int x, int y, const QString& text, double pointSize, bool bold);
    int textWidth(const QString& text, double pointSize, bool bold) const;
    void refresh();
    void refresh(const QRect& rect);
    void pause(int ms);

    // The status strip: each message erases its area and prints there in
    // bold 14 pt. Areas: left 0..599 (the middle erased with it), middle
    // 250..599, right 600 to the edge.
    void printStrip(int fromX, int toX, int textX, const QString& text);
    void showEasyMode(bool twoCorner, bool on);      // left
    void showSearchCount(bool shown, int count);     // middle
    void showStageLabel(const QString& stageNo);     // middle
    void showMovesLeft(int moves);                   // middle
    void showTilesLeft(int tiles);                   // right
    void showReplayHelp();                           // left and middle

    // The congratulation: the surface is wiped and the text grows from 10 to
    // 32 points, centred in its upper part, 20 ms a step.
    void showSuccess();

private:
    QFont font(double pointSize, bool bold) const;

    SurfaceView& view_;
    QImage picture_;
    QImage sheet_;
    std::array<QString, 3> strip_;
};

}  // namespace tessarin
