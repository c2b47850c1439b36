// The tile sheet data/paidat.dat as shipped: the grid the game cuts its
// pictures from, and pictures that tell the tiles apart at a glance.
#include <QColor>
#include <QImage>
#include <QString>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr int kTileW = 44;
constexpr int kTileH = 54;
const QRgb kBoardGreen = qRgb(0, 128, 0);

struct Picture {
    std::string name;
    QImage image;
};

// The 37 pictures the game uses: the 34 tile faces and the image-only
// entries 0 (flash), 137 (blank plate / stone) and 138 (hole).
std::vector<Picture> cutPictures(const QImage& sheet) {
    std::vector<Picture> pictures;
    auto cut = [&](std::string name, int x, int y) {
        pictures.push_back({std::move(name), sheet.copy(x, y, kTileW, kTileH)});
    };
    cut("entry 0", 352, 0);
    cut("entry 137", 0, 0);
    cut("entry 138", 0, 216);
    for (int kind = 1; kind <= 7; ++kind) cut("honour " + std::to_string(kind), kind * kTileW, 0);
    const char* suits[] = {"characters", "circles", "bamboo"};
    for (int suit = 0; suit < 3; ++suit)
        for (int rank = 1; rank <= 9; ++rank)
            cut(std::string(suits[suit]) + " " + std::to_string(rank), (rank - 1) * kTileW, (suit + 1) * kTileH);
    return pictures;
}

// Pixels whose colour differs by more than a faint shade in some channel.
int differingPixels(const QImage& a, const QImage& b) {
    int count = 0;
    for (int y = 0; y < kTileH; ++y)
        for (int x = 0; x < kTileW; ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            count += std::max({std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                               std::abs(qBlue(p) - qBlue(q))}) > 40;
        }
    return count;
}

TEST(TileSheet, AnOpaqueGridOfClearlyDifferentTilesThatBlendIntoTheBoard) {
    const QImage sheet(QStringLiteral(TESSARIN_SOURCE_DIR "/data/paidat.dat"));
    ASSERT_FALSE(sheet.isNull()) << "data/paidat.dat does not load as a picture";
    EXPECT_EQ((std::pair(sheet.width(), sheet.height())), std::pair(396, 270));
    EXPECT_FALSE(sheet.hasAlphaChannel());
    // The unused cells of the last row are plain board.
    for (int y = 4 * kTileH; y < 5 * kTileH; ++y)
        for (int x = kTileW; x < sheet.width(); ++x)
            ASSERT_EQ(sheet.pixel(x, y), kBoardGreen) << "unused cell pixel " << x << "," << y;

    const std::vector<Picture> pictures = cutPictures(sheet);
    ASSERT_EQ(pictures.size(), 37u);
    // Every picture leaves its four corner pixels in the board colour, so the
    // rounded tiles sit on the board without a frame around them.
    for (const Picture& picture : pictures)
        for (const QPoint corner :
             {QPoint(0, 0), QPoint(kTileW - 1, 0), QPoint(0, kTileH - 1), QPoint(kTileW - 1, kTileH - 1)})
            EXPECT_EQ(picture.image.pixel(corner), kBoardGreen)
                << picture.name << " at corner " << corner.x() << "," << corner.y();

    // Faces of one suit share most of their ink (the 萬 of the characters,
    // the canes of the bamboo), so the bar is a clear count of pixels rather
    // than a share of the picture.
    for (std::size_t i = 0; i < pictures.size(); ++i)
        for (std::size_t j = i + 1; j < pictures.size(); ++j)
            EXPECT_GE(differingPixels(pictures[i].image, pictures[j].image), 120)
                << pictures[i].name << " vs " << pictures[j].name;
    // The blank plate (a cleared tile that still blocks) and the hole must be
    // told apart over most of the cell, not just at the edges.
    EXPECT_GE(differingPixels(pictures[1].image, pictures[2].image), kTileW * kTileH / 2);
}

}  // namespace
