// The board surface: the off-screen picture the player sees, 768 x 500
// pixels, with the field on top and the status strip below it. Tiles are
// copied onto it from the tile sheet, plainly or inverted; the red cell
// frame, boxes and text are drawn on it; the strip's three areas remember
// what they show. Whatever shows the picture is told of every change and
// makes the pauses that pace visible sequences.
//
// Every coordinate is a logical pixel of the 768 x 500 surface; the picture
// itself is drawn at a scale (the screen's device pixel ratio times the
// zoom), so that it is sharp on the screen: tiles come from the sheet made
// for that scale (paidat@2x.dat, paidat@3x.dat), or the next one up scaled
// down smoothly, and lines are as many device pixels wide as the scale. The
// surface remembers what it drew since it was last cleared, so a new scale
// draws the same picture again, sharp at that scale.
#pragma once

#include "board/position.h"

#include <QFont>
#include <QImage>
#include <QRect>
#include <QString>

#include <array>
#include <map>
#include <vector>

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
    static constexpr QRgb kHintBlue = 0xff00a0ff;  // the hint's frame, apart from the search's red
    static constexpr QRgb kTextWhite = 0xffffffff;

    explicit Surface(SurfaceView& view);

    // Loads the tile sheet "paidat.dat" of a folder: a picture at least
    // 396 x 270 pixels. False, with the reason for the player in `error`,
    // otherwise. The sheets at two and three times the size are loaded
    // beside it when they are there and whole; without them the scale
    // uses the next sheet down.
    bool loadSheets(const QString& folder, QString& error);

    // The picture at the current scale (its device pixel ratio).
    const QImage& picture() const { return picture_; }
    // How many drawing steps the surface keeps to draw itself again at
    // another scale: what a later step covers is dropped, so it stays
    // bounded by what is on the board however long the play.
    std::size_t stepCount() const { return steps_.size(); }
    qreal scale() const { return scale_; }
    // Draws everything again at a new scale.
    void setScale(qreal scale);
    // The sheet the tiles of a scale come from: 1, 2 or 3 times the size.
    int sheetScaleFor(qreal scale) const;
    const QImage& sheet(int sheetScale = 1) const;
    // The texts of the strip's left, middle and right area as last printed.
    const std::array<QString, 3>& stripTexts() const { return strip_; }

    // Tiles and cells (field coordinates). A tile number names its picture:
    // the tile's face, or one of the image-only pictures.
    void drawTile(int x, int y, int tile, DrawMode mode = DrawMode::Copy);
    // A frame just inside the cell's tile, one pixel wide unless asked (red
    // by default); a plain redraw of the tile takes it away.
    void outlineCell(int x, int y, QRgb colour = kFrameRed, int width = 1);
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
    // Drawn only within `box` (the whole picture unless given), so a later
    // fill of that box takes the text's step away with it.
    void printText(int x, int y, const QString& text, double pointSize, bool bold, const QRect& box = QRect());
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

    // The device pixels of a logical rectangle at the current scale: its
    // edges rounded to the nearest device pixel.
    QRect deviceRect(const QRect& logical) const;

private:
    // One drawing step, kept to be drawn again at another scale.
    struct Step {
        enum Kind { Tile, Frame, Fill, Text, Copy } kind;
        QRect rect;     // where it draws, logical
        int tile = 0;
        DrawMode mode = DrawMode::Copy;
        QRgb colour = 0;
        QPoint source;  // Copy: the block's top-left before the copy
        QString text;
        double pointSize = 0;
        bool bold = false;
        bool clipped = false;  // Text: drawn only within rect
    };
    void add(Step step);
    void render(const Step& step);
    // The surface font at a size, made once per size (building a QFont
    // looks the family up in the font database every time).
    const QFont& font(double pointSize, bool bold) const;
    const QImage& tilePicture(int tile, const QSize& size);

    SurfaceView& view_;
    qreal scale_ = 1.0;
    QImage picture_;
    // The plain sheet is read at start; the larger ones, from sheetFolder_,
    // only when a scale first needs them (most screens never do).
    mutable std::array<QImage, 3> sheets_;
    mutable std::array<bool, 3> sheetRead_{};
    QString sheetFolder_;
    std::vector<Step> steps_;
    // Tile pictures scaled to the device size they were last drawn at.
    std::map<std::pair<int, std::pair<int, int>>, QImage> scaledTiles_;
    mutable std::map<std::pair<double, bool>, QFont> fonts_;
    std::array<QString, 3> strip_;
};

}  // namespace tessarin
