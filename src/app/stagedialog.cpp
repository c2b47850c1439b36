#include "app/stagedialog.h"

#include "stages/stagegrid.h"

#include <QGuiApplication>
#include <QHeaderView>
#include <QScreen>
#include <QTableWidget>
#include <QVBoxLayout>

namespace tessarin {

StageDialog::StageDialog(StageGrid& grid, QWidget* parent) : QDialog(parent), grid_(grid) {
    setWindowTitle(QStringLiteral("面選択"));
    setModal(true);
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    // Grid row 0 is the fixed header: it becomes the table's header, and
    // grid row r (from 1) the table's row r - 1.
    const int dataRows = grid.rows > 0 ? grid.rows - 1 : 0;
    table_ = new QTableWidget(dataRows, grid.cols, this);
    table_->setObjectName(QStringLiteral("stageTable"));
    table_->verticalHeader()->hide();
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table_->horizontalHeader()->setMinimumSectionSize(0);
    table_->horizontalHeader()->setHighlightSections(false);
    // A marked stage, "00002 成功", fills a 67-pixel column on one line in a
    // 9-point Japanese face; pin the face so the width does not depend on
    // what else is installed.
    QFont font;
    font.setFamilies({QStringLiteral("IPAGothic"), QStringLiteral("IPAPGothic"), QStringLiteral("Noto Sans CJK JP"),
                      QStringLiteral("sans-serif")});
    font.setPointSize(9);
    table_->setFont(font);
    table_->horizontalHeader()->setFont(font);
    table_->setWordWrap(false);
    table_->setTextElideMode(Qt::ElideNone);

    for (int c = 0; c < grid.cols; ++c) {
        const QString header = grid.rows > 0 ? grid.at(0, c).text : QString();
        auto* item = new QTableWidgetItem(header);
        item->setTextAlignment(Qt::AlignCenter);
        table_->setHorizontalHeaderItem(c, item);
        table_->setColumnWidth(c, twipsToPixels(grid.colWidthTwips[static_cast<std::size_t>(c)]));
    }
    for (int r = 1; r < grid.rows; ++r) {
        for (int c = 0; c < grid.cols; ++c) {
            const StageGrid::Cell& cell = grid.at(r, c);
            auto* item = new QTableWidgetItem(cell.text);
            item->setTextAlignment(Qt::AlignCenter);
            item->setBackground(QColor::fromRgb(cell.back));
            item->setForeground(QColor::fromRgb(cell.fore));
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            table_->setItem(r - 1, c, item);
        }
    }

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(table_);
    setFixedSize(kClientW, kClientH);

    if (grid.contains(grid.row, grid.col) && grid.row >= 1) {
        // The current cell starts out unselected: a selection's highlight
        // would hide the colours of a solved first stage.
        table_->setCurrentCell(grid.row - 1, grid.col, QItemSelectionModel::NoUpdate);
        const int top = grid.contains(grid.topRow, grid.col) && grid.topRow >= 1 ? grid.topRow : grid.row;
        table_->scrollToItem(table_->item(top - 1, grid.col), QAbstractItemView::PositionAtTop);
    }

    connect(table_, &QTableWidget::cellDoubleClicked, this, [this](int row, int col) {
        // Only a stage cell starts a game; the empty places pass.
        if (grid_.doubleClick(row + 1, col)) accept();
    });
    centreOnScreen();
}

void StageDialog::centreOnScreen() {
    const QScreen* screen = parentWidget() && parentWidget()->screen() ? parentWidget()->screen()
                                                                       : QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect area = screen->geometry();
    move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
}

}  // namespace tessarin
