#include "support/gametest.h"

#include <QFile>
#include <QPainter>

namespace tessarin::test {

QRgb sheetColour(int srcX, int srcY) {
    const int col = srcX / kPaiW;
    const int row = srcY / kPaiH;
    // Distinct, never the board green, never white, never red.
    return qRgb(20 + col * 25, 30 + row * 40, 200 - col * 10 - row * 7);
}

void writeTestSheet(const QString& dir) {
    QImage sheet(9 * kPaiW, 5 * kPaiH, QImage::Format_RGB32);
    for (int row = 0; row < 5; ++row)
        for (int col = 0; col < 9; ++col) {
            for (int y = 0; y < kPaiH; ++y)
                for (int x = 0; x < kPaiW; ++x)
                    sheet.setPixel(col * kPaiW + x, row * kPaiH + y, sheetColour(col * kPaiW, row * kPaiH));
        }
    ASSERT_TRUE(sheet.save(dir + QStringLiteral("/paidat.dat"), "PNG"));
}

QRgb paiColour(const PaiTbl& tbl, int tileNo) {
    const PaiRec& r = tbl[static_cast<std::size_t>(tileNo)];
    return sheetColour(r.srcX, r.srcY);
}

QRgb cellColour(const MjanModule& game, int x, int y) {
    return pixelAt(game.picdest, cellPixelX(x) + 22, cellPixelY(y) + 27);
}

void GameTest::SetUp() {
    ASSERT_TRUE(dir.isValid());
    writeTestSheet(dir.path());
    game = std::make_unique<MjanModule>(dir.path(), ui);
    ASSERT_TRUE(game->startUp());
    game->clock = [] { return QDateTime(QDate(2026, 12, 6), QTime(3, 25, 57)); };
}

void GameTest::startRandom() { game->menuStartRnd_Click(); }

QByteArray GameTest::readFile(const QString& name) const {
    QFile f(dir.filePath(name));
    if (!f.open(QIODevice::ReadOnly)) return {};
    return f.readAll();
}

void GameTest::writeFile(const QString& name, const QByteArray& bytes) const {
    QFile f(dir.filePath(name));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

}  // namespace tessarin::test
