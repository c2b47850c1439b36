#include "board/surface.h"

#include <QFileInfo>
#include <QFontMetrics>
#include <QImageReader>
#include <QPainter>

namespace tessarin {

namespace {

constexpr double kStripPointSize = 14.0;

// Right-aligns a count in three characters: 8 gives "  8".
QString rightAligned3(int n) { return (QStringLiteral("   ") + QString::number(n)).right(3); }

// Removes ordinary (U+0020) and ideographic (U+3000) spaces at both ends.
QString trimSpaces(const QString& s) {
    auto isSpace = [](QChar c) { return c == QChar(0x20) || c == QChar(0x3000); };
    qsizetype b = 0;
    qsizetype e = s.size();
    while (b < e && isSpace(s[b])) ++b;
    while (e > b && isSpace(s[e - 1])) --e;
    return s.mid(b, e - b);
}

}  // namespace

Surface::Surface(SurfaceView& view) : view_(view), picture_(kWidth, kHeight, QImage::Format_RGB32) {
    // 96 dots per inch, so point sizes on the surface match the desktop's.
    picture_.setDotsPerMeterX(3780);
    picture_.setDotsPerMeterY(3780);
    picture_.fill(kBoardGreen);
}

bool Surface::loadSheet(const QString& path, QString& error) {
    // A pipe under the name would block the start for good.
    const QFileInfo info(path);
    if (info.exists() && !info.isFile()) {
        error = QStringLiteral("牌の画像ファイル %1 を読み込めません（ファイルではありません）。").arg(path);
        return false;
    }
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    const QImage sheet = reader.read();
    if (sheet.isNull()) {
        error = QStringLiteral("牌の画像ファイル %1 を読み込めません（%2）。").arg(path, reader.errorString());
        return false;
    }
    // The sheet must cover the whole grid: 9 pictures across, 5 rows down.
    if (sheet.width() < 9 * kTileW || sheet.height() < 5 * kTileH) {
        error = QStringLiteral("牌の画像ファイル %1 が小さすぎます（%2 x %3、必要なのは %4 x %5 以上）。")
                    .arg(path)
                    .arg(sheet.width())
                    .arg(sheet.height())
                    .arg(9 * kTileW)
                    .arg(5 * kTileH);
        return false;
    }
    sheet_ = sheet.convertToFormat(QImage::Format_RGB32);
    return true;
}

void Surface::drawTile(int x, int y, int tile, DrawMode mode) {
    const QRect dst(cellPixelX(x), cellPixelY(y), kTileW, kTileH);
    if (tile >= 0 && tile < kTableSize && !sheet_.isNull()) {
        const TileRecord& r = sheetLayout()[static_cast<std::size_t>(tile)];
        QPainter p(&picture_);
        if (mode == DrawMode::Inverted) p.setCompositionMode(QPainter::RasterOp_NotSource);
        p.drawImage(dst, sheet_, QRect(r.srcX, r.srcY, kTileW, kTileH));
    }
    refresh(dst);
}

void Surface::outlineCell(int x, int y) {
    // From (left+1, top+1) to (left+43, top+53), both corners included:
    // inside the tile, so a plain redraw removes it.
    const int left = cellPixelX(x), top = cellPixelY(y);
    QPainter p(&picture_);
    p.setPen(QColor::fromRgb(kFrameRed));
    p.setBrush(Qt::NoBrush);
    const QRect frame(QPoint(left + 1, top + 1), QPoint(left + 43, top + 53));
    p.drawRect(frame.adjusted(0, 0, -1, -1));
    refresh(frame);
}

void Surface::drawTwoCornerBoard(const Position& pos) {
    for (int x = 0; x < kBoardW; ++x) {
        for (int y = 0; y < kBoardH; ++y) {
            const int t = pos.tileAt(x, y);
            if (t != 0) drawTile(x, y, t);
        }
    }
}

void Surface::drawThreeMoveBoard(const Position& pos) {
    // Wipe the field first: a slide leaves stripes of its band colour in the
    // cells it vacated and in the one-pixel gaps behind it, and a full
    // redraw is where they go.
    fillBox(0, 0, cellPixelX(kCols) + kTileW, cellPixelY(kRows) + kTileH, kBoardGreen);
    for (int x = 1; x <= kCols; ++x) {
        for (int y = 1; y <= kRows; ++y) {
            const int t = pos.tileAt(x, y);
            if (t == 0) continue;
            switch (pos.tile(t).cover) {
            case 0: drawTile(x, y, t); break;
            case 1: drawTile(x, y, kBlankImage); break;
            case 2: drawTile(x, y, kHoleImage); break;
            default: break;
            }
        }
    }
}

void Surface::clear() {
    picture_.fill(kBoardGreen);
    strip_.fill(QString());
    refresh();
}

void Surface::fillBox(int x1, int y1, int x2, int y2, QRgb colour) {
    const QRect box = QRect(QPoint(x1, y1), QPoint(x2, y2)).normalized();
    QPainter p(&picture_);
    p.fillRect(box, QColor::fromRgb(colour));
}

void Surface::copyBlock(int x, int y, int width, int height, int srcX, int srcY) {
    const QImage block = picture_.copy(srcX, srcY, width, height);
    QPainter p(&picture_);
    p.drawImage(x, y, block);
}

QFont Surface::font(double pointSize, bool bold) const {
    QFont f;
    // IPA Gothic draws every text of the game, half-width katakana and the
    // lenticular brackets included; pin it so sizes do not depend on what
    // else is installed.
    f.setFamilies({QStringLiteral("IPAGothic"), QStringLiteral("IPAPGothic"), QStringLiteral("Noto Sans CJK JP"),
                   QStringLiteral("sans-serif")});
    f.setPointSizeF(pointSize);
    f.setBold(bold);
    return f;
}

int Surface::textWidth(const QString& text, double pointSize, bool bold) const {
    return QFontMetrics(font(pointSize, bold), &picture_).horizontalAdvance(text);
}

void Surface::printText(int x, int y, const QString& text, double pointSize, bool bold) {
    QPainter p(&picture_);
    const QFont f = font(pointSize, bold);
    p.setFont(f);
    p.setPen(QColor::fromRgb(kTextWhite));
    p.drawText(x, y + QFontMetrics(f, &picture_).ascent(), text);
}

void Surface::refresh(const QRect& rect) { view_.surfaceChanged(rect.intersected(picture_.rect())); }

void Surface::refresh() { view_.surfaceChanged(picture_.rect()); }

void Surface::pause(int ms) {
    if (ms > 0) view_.waitMs(ms);
}

void Surface::printStrip(int fromX, int toX, int textX, const QString& text) {
    fillBox(fromX, kStripTop, toX, kHeight - 1, kBoardGreen);
    // Erasing from the left area takes the middle one with it.
    if (fromX < 250) strip_[0] = text;
    if (fromX < 600 && toX >= 250) strip_[1] = fromX < 250 ? QString() : text;
    if (toX >= 600) strip_[2] = text;
    if (!text.isEmpty()) printText(textX, kStripTop, text, kStripPointSize, true);
    refresh(QRect(QPoint(fromX, kStripTop), QPoint(toX, kHeight - 1)));
}

void Surface::showEasyMode(bool twoCorner, bool on) {
    QString text;
    if (twoCorner) text = on ? QStringLiteral("楽々モード 動作中") : QStringLiteral("楽々モード 停止中");
    printStrip(0, 599, 10, text);
}

void Surface::showSearchCount(bool shown, int count) {
    printStrip(250, 599, 250, shown ? QStringLiteral("検索モード 動作中 [%1箇所]").arg(count) : QString());
}

void Surface::showStageLabel(const QString& stageNo) {
    printStrip(250, 599, 250, QStringLiteral("規定マップ挑戦中 [%1]").arg(trimSpaces(stageNo)));
}

void Surface::showMovesLeft(int moves) { printStrip(250, 599, 250, QStringLiteral("残り手数 [%1]手").arg(moves)); }

void Surface::showTilesLeft(int tiles) {
    printStrip(600, kWidth - 1, 600, QStringLiteral("残り【%1】牌").arg(rightAligned3(tiles)));
}

void Surface::showReplayHelp() {
    printStrip(0, 599, 0, QStringLiteral("模範回答作動中「次=左クリック」「終了=右クリック」"));
}

void Surface::showSuccess() {
    clear();
    const QString text = QStringLiteral("成功おめでとうございます");
    for (int size = 10; size <= 32; ++size) {
        picture_.fill(kBoardGreen);
        printText(kWidth / 2 - textWidth(text, size, true) / 2, 200, text, size, true);
        refresh();
        pause(20);
    }
}

}  // namespace tessarin
