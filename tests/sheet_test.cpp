// The tile sheets as shipped (data/paidat.dat and its @2x and @3x versions):
// the grid the game cuts its pictures from, pictures that tell the tiles apart
// at a glance, and the application icons drawn from the same art.
#include <QColor>
#include <QFile>
#include <QImage>
#include <QString>
#include <QXmlStreamReader>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr int kTileW = 44;
constexpr int kTileH = 54;
const QRgb kBoardGreen = qRgb(0, 128, 0);

QString dataFile(const QString& name) {
    return QStringLiteral(TESSARIN_SOURCE_DIR "/data/") + name;
}

struct Picture {
    std::string name;
    QImage image;
};

// The 37 pictures the game uses: the 34 tile faces and the image-only
// entries 0 (flash), 137 (blank plate / stone) and 138 (hole). Positions are
// those of the 1x sheet; `scale` multiplies them.
std::vector<Picture> cutPictures(const QImage& sheet, int scale) {
    std::vector<Picture> pictures;
    auto cut = [&](std::string name, int x, int y) {
        pictures.push_back(
            {std::move(name), sheet.copy(x * scale, y * scale, kTileW * scale, kTileH * scale)});
    };
    cut("entry 0", 352, 0);
    cut("entry 137", 0, 0);
    cut("entry 138", 0, 216);
    for (int kind = 1; kind <= 7; ++kind) cut("honour " + std::to_string(kind), kind * kTileW, 0);
    const char* suits[] = {"characters", "circles", "bamboo"};
    for (int suit = 0; suit < 3; ++suit)
        for (int rank = 1; rank <= 9; ++rank)
            cut(std::string(suits[suit]) + " " + std::to_string(rank), (rank - 1) * kTileW,
                (suit + 1) * kTileH);
    return pictures;
}

// Pixels whose colour differs by more than a faint shade in some channel.
int differingPixels(const QImage& a, const QImage& b) {
    int count = 0;
    for (int y = 0; y < a.height(); ++y) {
        const QRgb* p = reinterpret_cast<const QRgb*>(a.constScanLine(y));
        const QRgb* q = reinterpret_cast<const QRgb*>(b.constScanLine(y));
        for (int x = 0; x < a.width(); ++x)
            count += std::max({std::abs(qRed(p[x]) - qRed(q[x])),
                               std::abs(qGreen(p[x]) - qGreen(q[x])),
                               std::abs(qBlue(p[x]) - qBlue(q[x]))}) > 40;
    }
    return count;
}

// The mean difference of two pictures of one size over all pixels and
// channels, 0..255.
double meanDifference(const QImage& a, const QImage& b) {
    long long sum = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) +
                   std::abs(qBlue(p) - qBlue(q));
        }
    return static_cast<double>(sum) / (3.0 * a.width() * a.height());
}

TEST(TileSheet, AnOpaqueGridOfClearlyDifferentTilesThatBlendIntoTheBoardAtEveryScale) {
    const struct {
        const char* file;
        int scale;
    } sheets[] = {{"paidat.dat", 1}, {"paidat@2x.dat", 2}, {"paidat@3x.dat", 3}};
    std::vector<Picture> base;  // the pictures of the 1x sheet
    for (const auto& [file, scale] : sheets) {
        SCOPED_TRACE(file);
        const QImage loaded(dataFile(QString::fromLatin1(file)));
        ASSERT_FALSE(loaded.isNull()) << "data/" << file << " does not load as a picture";
        EXPECT_EQ(loaded.size(), QSize(396 * scale, 270 * scale));
        EXPECT_FALSE(loaded.hasAlphaChannel());
        const QImage sheet = loaded.convertToFormat(QImage::Format_RGB32);
        // The unused cells of the last row are plain board.
        for (int y = 4 * kTileH * scale; y < sheet.height(); ++y)
            for (int x = kTileW * scale; x < sheet.width(); ++x)
                ASSERT_EQ(sheet.pixel(x, y), kBoardGreen) << "unused cell pixel " << x << "," << y;

        const std::vector<Picture> pictures = cutPictures(sheet, scale);
        ASSERT_EQ(pictures.size(), 37u);
        // Every picture leaves its four corner pixels in the board colour, so
        // the rounded tiles sit on the board without a frame around them.
        const int right = kTileW * scale - 1, bottom = kTileH * scale - 1;
        for (const Picture& picture : pictures)
            for (const QPoint corner :
                 {QPoint(0, 0), QPoint(right, 0), QPoint(0, bottom), QPoint(right, bottom)})
                EXPECT_EQ(picture.image.pixel(corner), kBoardGreen)
                    << picture.name << " at corner " << corner.x() << "," << corner.y();

        // Faces of one suit share most of their ink (the 萬 of the characters,
        // the canes of the bamboo), so the bar is a clear count of pixels
        // rather than a share of the picture.
        for (std::size_t i = 0; i < pictures.size(); ++i)
            for (std::size_t j = i + 1; j < pictures.size(); ++j)
                EXPECT_GE(differingPixels(pictures[i].image, pictures[j].image),
                          120 * scale * scale)
                    << pictures[i].name << " vs " << pictures[j].name;
        // The blank plate (a cleared tile that still blocks) and the hole must
        // be told apart over most of the cell, not just at the edges.
        EXPECT_GE(differingPixels(pictures[1].image, pictures[2].image),
                  kTileW * kTileH * scale * scale / 2);

        if (scale == 1) {
            base = pictures;
            continue;
        }
        // The larger sheets show the same picture in every cell: shrunk to
        // 1x, each is close to its 1x picture (about 1 to 4 here), while the
        // nearest other picture, another of the characters, is 12 or more away.
        ASSERT_EQ(base.size(), pictures.size());
        for (std::size_t i = 0; i < pictures.size(); ++i) {
            const QImage shrunk = pictures[i].image.scaled(kTileW, kTileH, Qt::IgnoreAspectRatio,
                                                           Qt::SmoothTransformation);
            EXPECT_LT(meanDifference(shrunk, base[i].image), 8.0) << pictures[i].name;
        }
    }
}

TEST(AppIcon, SquarePngsOnATransparentGroundAndAnSvg) {
    for (const int size : {16, 32, 48, 64, 128, 256}) {
        const QString name =
            QStringLiteral("icons/hicolor/%1x%1/apps/org.tessarin.Tessarin.png").arg(size);
        SCOPED_TRACE(name.toStdString());
        const QImage icon(dataFile(name));
        ASSERT_FALSE(icon.isNull()) << "missing or not a picture";
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
    while (!xml.atEnd())
        shapes += xml.readNext() == QXmlStreamReader::StartElement &&
                  xml.name() == QStringLiteral("path");
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    EXPECT_GT(shapes, 10);
}

}  // namespace
