// The stage-selection window "面選択": a modal dialog holding only the grid,
// which shows a StageGrid. A double-click on a stage records it in
// the grid and closes the window; Esc closes it without a choice.
#pragma once

#include <QDialog>

class QTableWidget;

namespace tessarin {

struct StageGrid;

class StageDialog : public QDialog {
    Q_OBJECT
public:
    // The client area: 5370 x 4815 twips at 96 dots per inch.
    static constexpr int kClientW = 358;
    static constexpr int kClientH = 321;

    StageDialog(StageGrid& grid, QWidget* parent = nullptr);

    QTableWidget* table() const { return table_; }

    // Pixels for a width in twips at 96 dots per inch (1000 twips: 67).
    static int twipsToPixels(int twips) { return (twips * 96 + 720) / 1440; }

private:
    void centreOnScreen();

    StageGrid& grid_;
    QTableWidget* table_ = nullptr;
};

}  // namespace tessarin
