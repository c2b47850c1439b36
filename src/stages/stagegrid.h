// The stage-selection grid as data: what the window "面選択" shows, cell by
// cell, and what the player did in it. The game fills it, the window only
// draws it and reports a double-click, so the whole selection can be played
// without a window.
#pragma once

#include <QRgb>
#include <QString>

#include <vector>

namespace tessarin {

struct StageGrid {
    // Six columns: column 0 is hidden (width 0), columns 1 to 5 hold one
    // stage each. Row 0 is the fixed header row.
    static constexpr int kColumns = 6;
    static constexpr int kStageColumnTwips = 1000;
    static constexpr int kStagesPerRow = kColumns - 1;

    static constexpr QRgb kPlainBack = qRgb(255, 255, 255);
    static constexpr QRgb kPlainText = qRgb(0, 0, 0);
    // A stage the completion records list: cyan cell, red text.
    static constexpr QRgb kDoneBack = qRgb(0, 255, 255);
    static constexpr QRgb kDoneText = qRgb(255, 0, 0);

    struct Cell {
        QString text;
        QRgb back = kPlainBack;
        QRgb fore = kPlainText;
    };

    int rows = 0;
    int cols = 0;
    std::vector<int> colWidthTwips;  // one per column
    std::vector<Cell> cells;         // row by row

    // The current cell and the first data row shown at the top.
    int row = 0;
    int col = 0;
    int topRow = 0;

    // Set when the player double-clicked a stage; row and col name it.
    bool doubleClicked = false;

    // Empties the grid and gives it its size; every cell plain and empty.
    void resize(int newRows, int newCols) {
        rows = newRows;
        cols = newCols;
        colWidthTwips.assign(static_cast<std::size_t>(newCols), 0);
        cells.assign(static_cast<std::size_t>(newRows * newCols), Cell{});
    }

    bool contains(int r, int c) const { return r >= 0 && r < rows && c >= 0 && c < cols; }
    Cell& at(int r, int c) { return cells[static_cast<std::size_t>(r * cols + c)]; }
    const Cell& at(int r, int c) const { return cells[static_cast<std::size_t>(r * cols + c)]; }

    // True for a cell that names a stage: a data row, a visible column, and
    // a text that is more than the blanks of an empty place.
    bool holdsStage(int r, int c) const {
        if (r < 1 || c < 1 || !contains(r, c)) return false;
        for (QChar ch : at(r, c).text)
            if (ch != QChar(0x20) && ch != QChar(0x3000)) return true;
        return false;
    }

    // Makes an empty grid for `stages` stages: the header row and at least one
    // (empty) row of five; column 0 hidden.
    void prepare(int stages) {
        const int dataRows = stages > 0 ? (stages - 1) / kStagesPerRow + 1 : 1;
        resize(dataRows + 1, kColumns);
        colWidthTwips[0] = 0;
        for (int c = 1; c < kColumns; ++c) {
            colWidthTwips[static_cast<std::size_t>(c)] = kStageColumnTwips;
            at(0, c).text = QStringLiteral("GAME NO");
        }
    }

    // Puts stage line n (from 1) with its number into its cell: the number,
    // a space and two ideographic spaces, as wide as the " 成功" of a
    // marked one. Lines past the cells counted are left out.
    void addStage(int n, const QString& number) {
        if (n < 1) return;
        const int r = (n + 4) / kStagesPerRow;
        const int c = (n - 1) % kStagesPerRow + 1;
        if (contains(r, c)) at(r, c).text = number + QStringLiteral(" \u3000\u3000");
    }

    // Marks a stage cell as solved: " 成功" after its number, cyan with red text.
    static void mark(Cell& cell, const QString& number) {
        cell.text = number + QStringLiteral(" 成功");
        cell.back = kDoneBack;
        cell.fore = kDoneText;
    }

    // A double-click on a cell: a stage cell becomes the current cell and is
    // remembered as picked (true); any other cell is passed over (false).
    bool doubleClick(int r, int c) {
        if (!holdsStage(r, c)) return false;
        row = r;
        col = c;
        doubleClicked = true;
        return true;
    }
};

}  // namespace tessarin
