// The tile sheets as shipped (data/paidat.dat and its @2x and @3x versions):
// the grid the game cuts its pictures from, pictures that tell the tiles apart
// at a glance, and the application icons drawn from the same art.
#include <QFile>
#include <QImage>
#include <QXmlStreamReader>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace {

constexpr int kTileW = 44, kTileH = 54;
const QRgb kBoardGreen = qRgb(0, 128, 0);

QString dataFile(const QString& name) { return QStringLiteral(TESSARIN_SOURCE_DIR "/data/") + name; }

// Where the 37 pictures the game uses lie on the 1x sheet: entry 0 (flash), 137 (blank plate / stone),
// 138 (hole), the 7 honours, then characters, circles and bamboo 1..9.
std::vector<QPoint> pictureCells() {
    std::vector<QPoint> cells{{352, 0}, {0, 0}, {0, 216}};
    for (int kind = 1; kind <= 7; ++kind) cells.emplace_back(kind * kTileW, 0);
    for (int suit = 1; suit <= 3; ++suit)
        for (int rank = 0; rank < 9; ++rank) cells.emplace_back(rank * kTileW, suit * kTileH);
    return cells;
}

// Pixels that differ by more than a faint shade in some channel, and the mean difference over all
// pixels and channels (0..255), of two pictures of one size.
std::pair<int, double> compare(const QImage& a, const QImage& b) {
    int differing = 0;
    double sum = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            const int d[] = {std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)), std::abs(qBlue(p) - qBlue(q))};
            differing += std::max({d[0], d[1], d[2]}) > 40;
            sum += d[0] + d[1] + d[2];
        }
    return {differing, sum / (3.0 * a.width() * a.height())};
}

TEST(TileSheet, AnOpaqueGridOfClearlyDifferentTilesThatBlendIntoTheBoardAtEveryScale) {
    const std::vector<QPoint> cells = pictureCells();
    std::vector<QImage> base;  // the pictures of the 1x sheet
    for (const int scale : {1, 2, 3}) {
        const QString file = scale == 1 ? QStringLiteral("paidat.dat") : QStringLiteral("paidat@%1x.dat").arg(scale);
        SCOPED_TRACE(file.toStdString());
        const QImage loaded(dataFile(file));
        ASSERT_FALSE(loaded.isNull()) << "does not load as a picture";
        EXPECT_EQ(loaded.size(), QSize(396 * scale, 270 * scale));
        EXPECT_FALSE(loaded.hasAlphaChannel());
        const QImage sheet = loaded.convertToFormat(QImage::Format_RGB32);
        // The unused cells of the last row are plain board.
        for (int y = 4 * kTileH * scale; y < sheet.height(); ++y)
            for (int x = kTileW * scale; x < sheet.width(); ++x)
                ASSERT_EQ(sheet.pixel(x, y), kBoardGreen) << "unused cell pixel " << x << "," << y;
        std::vector<QImage> pictures;
        for (const QPoint c : cells)
            pictures.push_back(sheet.copy(c.x() * scale, c.y() * scale, kTileW * scale, kTileH * scale));
        // Every picture leaves its four corner pixels in the board colour, so the rounded tiles sit on the
        // board without a frame; faces of one suit share most of their ink (the 萬 of the characters, the
        // canes of the bamboo), so the bar of difference is a clear count of pixels, not a share.
        const int right = kTileW * scale - 1, bottom = kTileH * scale - 1;
        for (std::size_t i = 0; i < pictures.size(); ++i) {
            for (const QPoint corner : {QPoint(0, 0), QPoint(right, 0), QPoint(0, bottom), QPoint(right, bottom)})
                EXPECT_EQ(pictures[i].pixel(corner), kBoardGreen) << "picture at " << cells[i].x() << "," << cells[i].y();
            for (std::size_t j = i + 1; j < pictures.size(); ++j)
                EXPECT_GE(compare(pictures[i], pictures[j]).first, 120 * scale * scale) << "pictures " << i << " and " << j;
        }
        // The blank plate (a cleared tile that still blocks) and the hole differ over most of the cell.
        EXPECT_GE(compare(pictures[1], pictures[2]).first, kTileW * kTileH * scale * scale / 2);
        // The larger sheets show the same pictures: shrunk to 1x, each is close to its 1x picture (about 1
        // to 4 here), while the nearest other picture is 12 or more away.
        for (std::size_t i = 0; i < pictures.size() && scale > 1; ++i) {
            const QImage shrunk = pictures[i].scaled(kTileW, kTileH, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
            EXPECT_LT(compare(shrunk, base[i]).second, 8.0) << "picture at " << cells[i].x() << "," << cells[i].y();
        }
        if (scale == 1) base = pictures;
    }
}

TEST(AppIcon, SquarePngsOnATransparentGroundAndAnSvg) {
    for (const int size : {16, 32, 48, 64, 128, 256}) {
        const QString name = QStringLiteral("icons/hicolor/%1x%1/apps/org.tessarin.Tessarin.png").arg(size);
        SCOPED_TRACE(name.toStdString());
        const QImage icon(dataFile(name));
        EXPECT_EQ(icon.size(), QSize(size, size));
        EXPECT_TRUE(icon.hasAlphaChannel());
        // Clear at the corners, a solid tile in the middle.
        for (const QPoint corner : {QPoint(0, 0), QPoint(size - 1, 0), QPoint(0, size - 1)})
            EXPECT_EQ(qAlpha(icon.pixel(corner)), 0) << "at " << corner.x() << "," << corner.y();
        EXPECT_EQ(qAlpha(icon.pixel(size / 2, size / 2)), 255);
    }
    QFile svg(dataFile(QStringLiteral("icons/hicolor/scalable/apps/org.tessarin.Tessarin.svg")));
    ASSERT_TRUE(svg.open(QIODevice::ReadOnly)) << "the scalable icon is missing";
    QXmlStreamReader xml(&svg);
    ASSERT_TRUE(xml.readNextStartElement());
    EXPECT_EQ(xml.name(), QStringLiteral("svg"));
    EXPECT_EQ(xml.attributes().value(QStringLiteral("viewBox")), QStringLiteral("0 0 256 256"));
    int shapes = 0;
    while (!xml.atEnd()) shapes += xml.readNext() == QXmlStreamReader::StartElement && xml.name() == QStringLiteral("path");
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    EXPECT_GT(shapes, 10);
}

}  // namespace
