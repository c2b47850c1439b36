// Drawing on the board surface: tiles copied from the sheet, plain or
// inverted, the red cell frame, boxes and text, and the pause that paces
// visible sequences.
#include "app/mjanmodule.h"

#include <QFontMetrics>
#include <QPainter>

namespace tessarin {

void MjanModule::setCell(int x, int y) {
    cellX = cellPixelX(x);
    cellY = cellPixelY(y);
}

void MjanModule::drawPai(int tileNo, const QString& mode) {
    const QRect dst(cellX, cellY, kPaiW, kPaiH);
    if (tileNo >= 0 && tileNo < kTblSize && !picsrc.isNull()) {
        const PaiRec& r = paiTbl[static_cast<std::size_t>(tileNo)];
        const QRect src(r.srcX, r.srcY, kPaiW, kPaiH);
        if (mode == QLatin1String("COPY") || mode == QLatin1String("NOT")) {
            QPainter p(&picdest);
            if (mode == QLatin1String("NOT"))
                p.setCompositionMode(QPainter::RasterOp_NotSource);
            p.drawImage(dst, picsrc, src);
        }
    }
    refreshSurface(dst);
}

void MjanModule::drawBoardTwo() {
    for (int x = 0; x < kMapW; ++x) {
        for (int y = 0; y < kMapH; ++y) {
            setCell(x, y);
            const int t = boardMap.at(x, y);
            if (t != 0) drawPai(t, QStringLiteral("COPY"));
        }
    }
}

void MjanModule::drawBoardThree() {
    // Wipe the field first: a slide leaves stripes of its band colour in the
    // cells it vacated and in the one-pixel gaps behind it, and a full
    // redraw is where they go.
    fillBox(0, 0, cellPixelX(kCols) + kPaiW, cellPixelY(kRows) + kPaiH, kBoardGreen);
    for (int x = 1; x <= kCols; ++x) {
        for (int y = 1; y <= kRows; ++y) {
            setCell(x, y);
            const int n = boardMap.at(x, y);
            if (n == 0) continue;
            switch (paiTbl[static_cast<std::size_t>(n)].cover) {
            case 0: drawPai(n, QStringLiteral("COPY")); break;
            case 1: drawPai(kBlankPai, QStringLiteral("COPY")); break;
            case 2: drawPai(kHolePai, QStringLiteral("COPY")); break;
            default: break;
            }
        }
    }
}

void MjanModule::drawCellFrame() {
    // A one-pixel outline from (cellX+1, cellY+1) to (cellX+43, cellY+53),
    // both corners included: inside the tile, so a plain redraw removes it.
    QPainter p(&picdest);
    p.setPen(QColor::fromRgb(kFrameRed));
    p.setBrush(Qt::NoBrush);
    const QRect frame(QPoint(cellX + 1, cellY + 1), QPoint(cellX + 43, cellY + 53));
    p.drawRect(frame.adjusted(0, 0, -1, -1));
    refreshSurface(frame);
}

void MjanModule::waitMs(int ms) {
    if (ms > 0) ui.waitMs(ms);
}

void MjanModule::clearSurface() {
    picdest.fill(kBoardGreen);
    stripText.fill(QString());
    refreshSurface();
}

void MjanModule::fillBox(int x1, int y1, int x2, int y2, QRgb colour) {
    const QRect box = QRect(QPoint(x1, y1), QPoint(x2, y2)).normalized();
    QPainter p(&picdest);
    p.fillRect(box, QColor::fromRgb(colour));
}

QFont MjanModule::surfaceFont(double pointSize, bool bold) const {
    QFont f;
    // IPA Gothic draws every text of the game, half-width katakana and the
    // lenticular brackets included; pin it so sizes do not depend on what
    // else is installed.
    f.setFamilies({QStringLiteral("IPAGothic"), QStringLiteral("IPAPGothic"),
                   QStringLiteral("Noto Sans CJK JP"), QStringLiteral("sans-serif")});
    f.setPointSizeF(pointSize);
    f.setBold(bold);
    return f;
}

int MjanModule::textWidth(const QString& text, double pointSize, bool bold) const {
    return QFontMetrics(surfaceFont(pointSize, bold), &picdest).horizontalAdvance(text);
}

void MjanModule::printText(int x, int y, const QString& text, double pointSize, bool bold) {
    QPainter p(&picdest);
    const QFont f = surfaceFont(pointSize, bold);
    p.setFont(f);
    p.setPen(QColor::fromRgb(kTextWhite));
    const QFontMetrics fm(f, &picdest);
    p.drawText(x, y + fm.ascent(), text);
}

void MjanModule::refreshSurface(const QRect& rect) {
    ui.surfaceChanged(rect.intersected(picdest.rect()));
}

void MjanModule::refreshSurface() { ui.surfaceChanged(picdest.rect()); }

}  // namespace tessarin
