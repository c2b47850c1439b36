// The tile table and the tile sheet it points into.
#include "app/mjanmodule.h"

#include <QFileInfo>
#include <QImageReader>

namespace tessarin {

bool MjanModule::initPaiTbl() {
    const QString path = appDirPath(QStringLiteral("paidat.dat"));
    // A pipe under the name would block the start for good.
    const QFileInfo info(path);
    if (info.exists() && !info.isFile()) {
        sheetError = QStringLiteral("牌の画像ファイル %1 を読み込めません（ファイルではありません）。").arg(path);
        return false;
    }
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    QImage sheet = reader.read();
    // The sheet must cover the whole grid: 9 pictures across, 5 rows down.
    if (sheet.isNull()) {
        sheetError = QStringLiteral("牌の画像ファイル %1 を読み込めません（%2）。")
                         .arg(path, reader.errorString());
        return false;
    }
    if (sheet.width() < 9 * kPaiW || sheet.height() < 5 * kPaiH) {
        sheetError = QStringLiteral("牌の画像ファイル %1 が小さすぎます（%2 x %3、必要なのは %4 x %5 以上）。")
                         .arg(path)
                         .arg(sheet.width())
                         .arg(sheet.height())
                         .arg(9 * kPaiW)
                         .arg(5 * kPaiH);
        return false;
    }
    picsrc = sheet.convertToFormat(QImage::Format_RGB32);
    fillPaiTbl(paiTbl);
    return true;
}

int MjanModule::lastMove(int& x, int& y) const {
    const int code = moveHist[static_cast<std::size_t>(moveCount)];
    x = codeX(code);
    y = codeY(code);
    return boardMap.at(x, y);
}

}  // namespace tessarin
