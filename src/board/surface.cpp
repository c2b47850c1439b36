#include "board/surface.h"

#include <QFileInfo>
#include <QFontMetrics>
#include <QImageReader>
#include <QPainter>

#include <algorithm>

namespace tessarin {

namespace {

constexpr double kStripPointSize = 14.0;
constexpr int kSheetCols = 9;
constexpr int kSheetRows = 5;

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

// A device of 96 dots per inch that text is measured on, so point sizes on
// the surface match the desktop's and measures never depend on the scale.
QImage ninetySixDpi(const QSize& size) {
    QImage image(size, QImage::Format_RGB32);
    image.setDotsPerMeterX(3780);
    image.setDotsPerMeterY(3780);
    return image;
}

const QImage& measuringDevice() {
    static const QImage device = ninetySixDpi(QSize(1, 1));
    return device;
}

// Reads a sheet of `k` times the size; a null picture when it is not there,
// cannot be read or is too small for its grid.
QImage readSheet(const QString& path, int k, QString* error) {
    // A pipe under the name would block the start for good.
    const QFileInfo info(path);
    if (info.exists() && !info.isFile()) {
        if (error) *error = QStringLiteral("牌の画像ファイル %1 を読み込めません（ファイルではありません）。").arg(path);
        return {};
    }
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    const QImage sheet = reader.read();
    if (sheet.isNull()) {
        if (error) *error = QStringLiteral("牌の画像ファイル %1 を読み込めません（%2）。").arg(path, reader.errorString());
        return {};
    }
    // The sheet must cover the whole grid: 9 pictures across, 5 rows down.
    if (sheet.width() < kSheetCols * kTileW * k || sheet.height() < kSheetRows * kTileH * k) {
        if (error)
            *error = QStringLiteral("牌の画像ファイル %1 が小さすぎます（%2 x %3、必要なのは %4 x %5 以上）。")
                         .arg(path)
                         .arg(sheet.width())
                         .arg(sheet.height())
                         .arg(kSheetCols * kTileW)
                         .arg(kSheetRows * kTileH);
        return {};
    }
    // The reader takes "@2x" in a name for a device pixel ratio; the sheets
    // are plain pixels, the scale is the surface's business.
    QImage plain = sheet.convertToFormat(QImage::Format_RGB32);
    plain.setDevicePixelRatio(1.0);
    return plain;
}

}  // namespace

Surface::Surface(SurfaceView& view) : view_(view), picture_(ninetySixDpi(QSize(kWidth, kHeight))) {
    picture_.fill(kBoardGreen);
}

bool Surface::loadSheets(const QString& folder, QString& error) {
    const QString dir = folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
    QImage base = readSheet(dir + QStringLiteral("paidat.dat"), 1, &error);
    if (base.isNull()) return false;
    sheets_ = {std::move(base), QImage(), QImage()};
    sheetRead_ = {true, false, false};
    sheetFolder_ = dir;
    scaledTiles_.clear();
    return true;
}

const QImage& Surface::sheet(int sheetScale) const {
    const auto k = static_cast<std::size_t>(sheetScale - 1);
    if (!sheetRead_[k] && !sheetFolder_.isEmpty()) {
        // The larger sheets are a nicety: a missing or damaged one is passed over.
        sheets_[k] = readSheet(sheetFolder_ + QStringLiteral("paidat@%1x.dat").arg(sheetScale), sheetScale, nullptr);
        sheetRead_[k] = true;
    }
    return sheets_[k];
}

int Surface::sheetScaleFor(qreal scale) const {
    int k = scale <= 1.0 ? 1 : scale <= 2.0 ? 2 : 3;
    while (k > 1 && sheet(k).isNull()) --k;
    return k;
}

QRect Surface::deviceRect(const QRect& r) const {
    const auto dev = [this](int v) { return qRound(v * scale_); };
    return QRect(QPoint(dev(r.left()), dev(r.top())), QPoint(dev(r.right() + 1) - 1, dev(r.bottom() + 1) - 1));
}

void Surface::setScale(qreal scale) {
    if (scale <= 0 || qFuzzyCompare(scale, scale_)) return;
    scale_ = scale;
    picture_ = ninetySixDpi(QSize(qRound(kWidth * scale), qRound(kHeight * scale)));
    picture_.fill(kBoardGreen);
    scaledTiles_.clear();
    for (const Step& step : steps_) render(step);
    refresh();
}

const QImage& Surface::tilePicture(int tile, const QSize& size) {
    const TileRecord& r = sheetLayout()[static_cast<std::size_t>(tile)];
    const int cell = r.srcY / kTileH * kSheetCols + r.srcX / kTileW;
    const auto key = std::make_pair(cell, std::make_pair(size.width(), size.height()));
    auto it = scaledTiles_.find(key);
    if (it != scaledTiles_.end()) return it->second;
    const int k = sheetScaleFor(scale_);
    const QImage picture = sheet(k).copy(r.srcX * k, r.srcY * k, kTileW * k, kTileH * k);
    // The sheet made for the scale gives each pixel as it is; at scales in
    // between, the next sheet up is scaled down smoothly.
    QImage fitted = picture.size() == size ? picture
                                           : picture.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return scaledTiles_.emplace(key, fitted.convertToFormat(picture_.format())).first->second;
}

void Surface::render(const Step& step) {
    if (step.kind == Step::Text) {
        // Text is laid out in logical pixels and drawn at the device's.
        picture_.setDevicePixelRatio(scale_);
        QPainter p(&picture_);
        const QFont f = font(step.pointSize, step.bold);
        if (step.clipped) p.setClipRect(step.rect);
        p.setFont(f);
        p.setPen(QColor::fromRgb(kTextWhite));
        p.drawText(step.source.x(), step.source.y() + QFontMetrics(f, &measuringDevice()).ascent(), step.text);
        p.end();
        picture_.setDevicePixelRatio(1.0);
        return;
    }
    const QRect dst = deviceRect(step.rect);
    if (step.kind == Step::Tile) {
        // Row by row, as a blit: the most frequent step, and a painter's set-up
        // would cost more than the copy.
        if (sheets_[0].isNull()) return;
        const QImage& tile = tilePicture(step.tile, dst.size());
        const QRect to = dst.intersected(picture_.rect());
        const bool inverted = step.mode == DrawMode::Inverted;
        uchar* const bits = picture_.bits();  // detached once, not per row
        const qsizetype stride = picture_.bytesPerLine();
        for (int y = to.top(); y <= to.bottom(); ++y) {
            const auto* from = reinterpret_cast<const QRgb*>(tile.constScanLine(y - dst.top())) + (to.left() - dst.left());
            auto* row = reinterpret_cast<QRgb*>(bits + y * stride) + to.left();
            if (inverted) std::transform(from, from + to.width(), row, [](QRgb c) { return ~c | 0xff000000u; });
            else std::copy(from, from + to.width(), row);
        }
        return;
    }
    QPainter p(&picture_);
    switch (step.kind) {
    case Step::Tile: break;
    case Step::Frame: {
        // One logical pixel wide: as many device pixels as the scale.
        const int w = std::max(1, qRound(scale_));
        const QColor colour = QColor::fromRgb(step.colour);
        p.fillRect(QRect(dst.left(), dst.top(), dst.width(), w), colour);
        p.fillRect(QRect(dst.left(), dst.bottom() - w + 1, dst.width(), w), colour);
        p.fillRect(QRect(dst.left(), dst.top(), w, dst.height()), colour);
        p.fillRect(QRect(dst.right() - w + 1, dst.top(), w, dst.height()), colour);
        break;
    }
    case Step::Fill: p.fillRect(dst, QColor::fromRgb(step.colour)); break;
    case Step::Copy: {
        // Source and target overlap: the block is copied out first.
        const QRect src = deviceRect(QRect(step.source, step.rect.size()));
        p.drawImage(dst.topLeft(), picture_.copy(src));
        break;
    }
    case Step::Text: break;
    }
}

namespace {

// Whether `inner` lies within `outer` (both valid), and whether two valid
// rectangles meet: inline, as they run for every step kept on every step
// drawn.
bool liesWithin(const QRect& inner, const QRect& outer) {
    return inner.left() >= outer.left() && inner.right() <= outer.right() && inner.top() >= outer.top() &&
           inner.bottom() <= outer.bottom();
}
bool meet(const QRect& a, const QRect& b) {
    return a.left() <= b.right() && b.left() <= a.right() && a.top() <= b.bottom() && b.top() <= a.bottom();
}

}  // namespace

void Surface::add(Step step) {
    // A step that covers its rectangle whole makes the earlier steps that
    // drew only inside it needless, unless a later copy read what they drew.
    if (step.kind == Step::Fill || step.kind == Step::Tile) {
        std::vector<QRect> read;
        const auto wasRead = [&read](const QRect& r) {
            return std::ranges::any_of(read, [&r](const QRect& q) { return meet(q, r); });
        };
        std::vector<bool> dropped(steps_.size());
        std::size_t first = steps_.size();
        for (std::size_t i = steps_.size(); i-- > 0;) {
            const Step& earlier = steps_[i];
            if (liesWithin(earlier.rect, step.rect) && !wasRead(earlier.rect)) dropped[i] = true, first = i;
            else if (earlier.kind == Step::Copy) read.emplace_back(earlier.source, earlier.rect.size());
        }
        // Only the steps after the first one dropped move.
        std::size_t to = first;
        for (std::size_t i = first; i < steps_.size(); ++i)
            if (!dropped[i]) steps_[to++] = std::move(steps_[i]);
        steps_.resize(to);
    }
    render(step);
    steps_.push_back(std::move(step));
}

void Surface::drawTile(int x, int y, int tile, DrawMode mode) {
    const QRect dst(cellPixelX(x), cellPixelY(y), kTileW, kTileH);
    if (tile >= 0 && tile < kTableSize) add(Step{Step::Tile, dst, tile, mode, 0, {}, {}, 0, false});
    refresh(dst);
}

void Surface::outlineCell(int x, int y, QRgb colour, int width) {
    // From (left+1, top+1) to (left+43, top+53), both corners included,
    // and `width` frames inward from there: inside the tile, so a plain
    // redraw removes it.
    const QRect frame(QPoint(cellPixelX(x) + 1, cellPixelY(y) + 1), QPoint(cellPixelX(x) + 43, cellPixelY(y) + 53));
    for (int i = 0; i < width; ++i)
        add(Step{Step::Frame, frame.adjusted(i, i, -i, -i), 0, DrawMode::Copy, colour, {}, {}, 0, false});
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
    steps_.clear();
    picture_.fill(kBoardGreen);
    strip_.fill(QString());
    refresh();
}

void Surface::fillBox(int x1, int y1, int x2, int y2, QRgb colour) {
    add(Step{Step::Fill, QRect(QPoint(x1, y1), QPoint(x2, y2)).normalized(), 0, DrawMode::Copy, colour, {}, {}, 0, false});
}

void Surface::copyBlock(int x, int y, int width, int height, int srcX, int srcY) {
    add(Step{Step::Copy, QRect(x, y, width, height), 0, DrawMode::Copy, 0, QPoint(srcX, srcY), {}, 0, false});
}

const QFont& Surface::font(double pointSize, bool bold) const {
    const auto known = fonts_.find({pointSize, bold});
    if (known != fonts_.end()) return known->second;
    QFont f;
    // IPA Gothic draws every text of the game, half-width katakana and the
    // lenticular brackets included; pin it so sizes do not depend on what
    // else is installed.
    f.setFamilies({QStringLiteral("IPAGothic"), QStringLiteral("IPAPGothic"), QStringLiteral("Noto Sans CJK JP"),
                   QStringLiteral("sans-serif")});
    f.setPointSizeF(pointSize);
    f.setBold(bold);
    return fonts_.emplace(std::pair(pointSize, bold), f).first->second;
}

int Surface::textWidth(const QString& text, double pointSize, bool bold) const {
    return QFontMetrics(font(pointSize, bold), &measuringDevice()).horizontalAdvance(text);
}

void Surface::printText(int x, int y, const QString& text, double pointSize, bool bold, const QRect& box) {
    // The rectangle the text may draw into: the box it is clipped to, or
    // else its extent with room for overhanging glyphs.
    QRect rect = box;
    if (!box.isValid()) {
        const QFontMetrics fm(font(pointSize, bold), &measuringDevice());
        rect = fm.boundingRect(text).translated(x, y + fm.ascent()).adjusted(-2, -2, 2, 2).united(QRect(x, y, 1, 1));
    }
    add(Step{Step::Text, rect, 0, DrawMode::Copy, 0, QPoint(x, y), text, pointSize, bold, box.isValid()});
}

void Surface::refresh(const QRect& rect) { view_.surfaceChanged(rect.intersected(QRect(0, 0, kWidth, kHeight))); }

void Surface::refresh() { view_.surfaceChanged(QRect(0, 0, kWidth, kHeight)); }

void Surface::pause(int ms) {
    if (ms > 0) view_.waitMs(ms);
}

void Surface::printStrip(int fromX, int toX, int textX, const QString& text) {
    fillBox(fromX, kStripTop, toX, kHeight - 1, kBoardGreen);
    // Erasing from the left area takes the middle one with it.
    if (fromX < 250) strip_[0] = text;
    if (fromX < 600 && toX >= 250) strip_[1] = fromX < 250 ? QString() : text;
    if (toX >= 600) strip_[2] = text;
    if (!text.isEmpty())
        printText(textX, kStripTop, text, kStripPointSize, true, QRect(QPoint(fromX, kStripTop), QPoint(toX, kHeight - 1)));
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
        steps_.clear();
        picture_.fill(kBoardGreen);
        printText(kWidth / 2 - textWidth(text, size, true) / 2, 200, text, size, true);
        refresh();
        pause(20);
    }
}

}  // namespace tessarin
