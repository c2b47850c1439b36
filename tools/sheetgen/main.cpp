// tessarin-sheetgen: draws the tile picture sheet "paidat.dat" and writes it
// as a PNG file.
//
// The game cuts every tile picture out of this one sheet: a grid of 44 x 54
// pixel cells, 9 columns by 5 rows, without gaps.
//   row 0: the "blank" plate (entry 137), the seven honours, the flash (entry 0)
//   row 1: characters 1..9      row 2: circles 1..9      row 3: bamboo 1..9
//   row 4: the empty hole (entry 138), the rest filled with the board green.
// Each cell holds the whole tile as it appears on the dark green board, so the
// rounded corners outside the tile are painted in the board colour.
//
// It also draws the application icon from the same tile art.
//
// Usage: tessarin-sheetgen [--scale 1|2|3] OUTPUT.png
//        tessarin-sheetgen --icon 16..1024|scalable OUTPUT
// The scale draws the same sheet at two or three times the size (cells of
// 88 x 108 or 132 x 162 pixels) for screens with more pixels per point.
// --icon writes the icon as a square PNG of that many pixels with a
// transparent background, or with "scalable" as an SVG file.
#include <QBuffer>
#include <QFont>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPaintEngine>
#include <QPainterPath>
#include <QRadialGradient>
#include <QSaveFile>
#include <QStringList>
#include <QTransform>
#include <QtMath>

#include <array>
#include <cmath>
#include <cstdio>
#include <initializer_list>
#include <limits>
#include <utility>

namespace {

constexpr int kCellW = 44;
constexpr int kCellH = 54;
constexpr int kSheetCols = 9;
constexpr int kSheetRows = 5;

const QColor kBoardGreen(0, 128, 0);

// Inks of the tile faces.
const QColor kInkNavy(20, 28, 66);
const QColor kInkRed(200, 26, 32);
const QColor kInkGreen(0, 120, 64);
const QColor kInkBlue(26, 60, 165);

// Tile body: the face is seen from the front, the sides show at the bottom
// and the right, first the ivory body of the tile, then its green back.
const QRectF kFace(0.5, 0.5, 40.0, 50.0);
constexpr qreal kDepth = 3.0;
constexpr qreal kIvoryDepth = 1.5;
constexpr qreal kRadius = 4.5;
// The part of the face that carries the design, and its centre.
const QRectF kArt(3.5, 3.5, 34.0, 44.0);
const QPointF kArtCentre = kArt.center();

const char* const kFontFile = "/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf";

// The family name of the font the glyphs are cut from; set once in main().
QString gFamily;

QString loadFont() {
    const int id = QFontDatabase::addApplicationFont(QString::fromUtf8(kFontFile));
    if (id >= 0) {
        const QStringList families = QFontDatabase::applicationFontFamilies(id);
        if (!families.isEmpty()) return families.first();
    }
    const QStringList installed = QFontDatabase::families();
    for (const QString& name : {QStringLiteral("IPAGothic"), QStringLiteral("IPAゴシック")}) {
        if (installed.contains(name)) return name;
    }
    return {};
}

// ---------------------------------------------------------------------------
// Glyphs

// The outline of a text at a 100-pixel em, left end of its base line at (0, 0).
QPainterPath glyphOutline(const QString& text) {
    QFont font(gFamily);
    font.setPixelSize(100);
    font.setHintingPreference(QFont::PreferNoHinting);
    QPainterPath path;
    path.addText(0, 0, font, text);
    return path;
}

// Scales an outline by (sx, sy) and centres its bounding box on `centre`.
QPainterPath placed(const QPainterPath& outline, qreal sx, qreal sy, QPointF centre) {
    QPainterPath scaled = QTransform::fromScale(sx, sy).map(outline);
    const QPointF shift = centre - scaled.boundingRect().center();
    return scaled.translated(shift);
}

// Fills a glyph outline and thickens it with a stroke of `weight` pixels,
// which turns the plain gothic strokes into the heavy brush look of tiles.
void ink(QPainter& p, const QPainterPath& path, const QColor& colour, qreal weight) {
    p.save();
    p.setBrush(colour);
    if (weight > 0) {
        p.setPen(QPen(colour, weight, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    } else {
        p.setPen(Qt::NoPen);
    }
    p.drawPath(path);
    p.restore();
}

// Draws a glyph stretched to fill `box` (keeping the glyph's own proportions
// when `keepAspect`), centred in it.
void inkFitted(QPainter& p, const QString& text, const QRectF& box, const QColor& colour,
               qreal weight, bool keepAspect) {
    const QPainterPath outline = glyphOutline(text);
    const QRectF bounds = outline.boundingRect();
    qreal sx = (box.width() - weight) / bounds.width();
    qreal sy = (box.height() - weight) / bounds.height();
    if (keepAspect) sx = sy = qMin(sx, sy);
    ink(p, placed(outline, sx, sy, box.center()), colour, weight);
}

// ---------------------------------------------------------------------------
// The tile body

// The outline of the whole tile: the face swept towards the bottom right by
// `depth` pixels.
QPainterPath sweptTile(qreal depth) {
    QPainterPath path;
    path.setFillRule(Qt::WindingFill);
    for (qreal d = 0; d <= depth + 1e-9; d += 0.5) {
        path.addRoundedRect(kFace.translated(d, d), kRadius, kRadius);
    }
    return path.simplified();
}

QPainterPath facePath() {
    QPainterPath path;
    path.addRoundedRect(kFace, kRadius, kRadius);
    return path;
}

void drawTileBody(QPainter& p) {
    p.save();
    // The green back, darker towards the bottom right.
    QLinearGradient back(0, 0, kCellW, kCellH);
    back.setColorAt(0.0, QColor(22, 110, 74));
    back.setColorAt(1.0, QColor(6, 62, 40));
    p.setPen(QPen(QColor(0, 40, 20), 1.0));
    p.setBrush(back);
    p.drawPath(sweptTile(kDepth));

    // The ivory body between face and back.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(214, 202, 168));
    p.drawPath(sweptTile(kIvoryDepth));

    // The face: ivory, lit from the top left.
    QLinearGradient face(kFace.topLeft(), kFace.bottomRight());
    face.setColorAt(0.0, QColor(255, 253, 242));
    face.setColorAt(0.55, QColor(248, 242, 222));
    face.setColorAt(1.0, QColor(232, 222, 192));
    p.setPen(QPen(QColor(160, 146, 108), 1.0));
    p.setBrush(face);
    p.drawPath(facePath());

    // A soft highlight just inside the top and left edges.
    QPainterPath inner;
    inner.addRoundedRect(kFace.adjusted(1.0, 1.0, -1.0, -1.0), kRadius - 1, kRadius - 1);
    QLinearGradient glow(kFace.topLeft(), kFace.bottomRight());
    glow.setColorAt(0.0, QColor(255, 255, 255, 230));
    glow.setColorAt(0.5, QColor(255, 255, 255, 60));
    glow.setColorAt(1.0, QColor(255, 255, 255, 0));
    p.setPen(QPen(QBrush(glow), 1.0));
    p.setBrush(Qt::NoBrush);
    p.drawPath(inner);
    p.restore();
}

// ---------------------------------------------------------------------------
// Honours

void drawHonour(QPainter& p, int kind) {
    // Kinds 1..7: east, south, west, north, white, green, red.
    static const std::array<const char*, 7> kGlyphs = {"東", "南", "西", "北", "白", "發", "中"};
    const QRectF box(kArtCentre.x() - 16.0, kArtCentre.y() - 19.0, 32.0, 38.0);
    switch (kind) {
        case 5: {
            // The white dragon: a blank face inside a blue double frame.
            p.save();
            p.setBrush(Qt::NoBrush);
            p.setPen(QPen(kInkBlue, 2.2, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
            p.drawRect(QRectF(kArtCentre.x() - 13.0, kArtCentre.y() - 17.0, 26.0, 34.0));
            p.setPen(QPen(kInkBlue, 1.0, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
            p.drawRect(QRectF(kArtCentre.x() - 9.5, kArtCentre.y() - 13.5, 19.0, 27.0));
            p.restore();
            break;
        }
        case 6:
            inkFitted(p, QString::fromUtf8(kGlyphs[5]), box, kInkGreen, 1.3, false);
            break;
        case 7:
            inkFitted(p, QString::fromUtf8(kGlyphs[6]), box.adjusted(1, 0, -1, 0), kInkRed, 2.0,
                      false);
            break;
        default:
            inkFitted(p, QString::fromUtf8(kGlyphs[static_cast<std::size_t>(kind - 1)]), box,
                      kInkNavy, 1.5, false);
            break;
    }
}

// ---------------------------------------------------------------------------
// Characters: a numeral over a red 萬

void drawCharacters(QPainter& p, int rank) {
    static const std::array<const char*, 9> kNumerals = {"一", "二", "三", "四", "五",
                                                         "六", "七", "八", "九"};
    // All numerals share one scale, so 一 stays a single stroke and the
    // others keep their natural sizes against each other.
    const QPainterPath numeral =
        glyphOutline(QString::fromUtf8(kNumerals[static_cast<std::size_t>(rank - 1)]));
    const qreal scale = 0.25;
    const QPointF numeralCentre(kArtCentre.x(), kArt.top() + 10.0);
    ink(p, placed(numeral, scale * 1.12, scale, numeralCentre), kInkNavy, 1.5);

    const QRectF wanBox(kArt.left() + 1.5, kArt.top() + 21.0, kArt.width() - 3.0, 22.5);
    inkFitted(p, QString::fromUtf8("萬"), wanBox, kInkRed, 1.1, false);
}

// ---------------------------------------------------------------------------
// Circles

// One coin of the circles suit: a coloured ring, an ivory ring with eight
// spokes, and a coloured centre.
void drawCoin(QPainter& p, QPointF c, qreal r, const QColor& colour) {
    p.save();
    p.setPen(QPen(colour.darker(140), 0.6));
    QRadialGradient body(c - QPointF(r * 0.3, r * 0.3), r * 1.4);
    body.setColorAt(0.0, colour.lighter(125));
    body.setColorAt(1.0, colour.darker(115));
    p.setBrush(body);
    p.drawEllipse(c, r, r);

    p.setPen(Qt::NoPen);
    p.setBrush(QColor(252, 248, 232));
    p.drawEllipse(c, r * 0.68, r * 0.68);

    if (r >= 6.0) {
        p.setPen(QPen(colour, qMax(0.7, r * 0.12), Qt::SolidLine, Qt::RoundCap));
        for (int i = 0; i < 8; ++i) {
            const qreal a = i * M_PI / 4 + M_PI / 8;
            const QPointF d(qCos(a), qSin(a));
            p.drawLine(c + d * (r * 0.45), c + d * (r * 0.66));
        }
        p.setPen(Qt::NoPen);
    }
    p.setBrush(colour);
    p.drawEllipse(c, r * 0.40, r * 0.40);
    p.setBrush(QColor(255, 255, 255, 200));
    p.drawEllipse(c - QPointF(r * 0.12, r * 0.12), r * 0.12, r * 0.12);
    p.restore();
}

// The one of circles: a large ornate coin.
void drawBigCoin(QPainter& p) {
    const QPointF c = kArtCentre;
    const qreal r = 16.5;
    p.save();
    // Outer green ring with a scalloped edge.
    QPainterPath scallops;
    scallops.setFillRule(Qt::WindingFill);
    for (int i = 0; i < 16; ++i) {
        const qreal a = i * M_PI / 8;
        scallops.addEllipse(c + QPointF(qCos(a), qSin(a)) * (r - 2.2), 2.4, 2.4);
    }
    scallops.addEllipse(c, r - 2.0, r - 2.0);
    p.setPen(QPen(kInkGreen.darker(150), 0.6));
    p.setBrush(kInkGreen);
    p.drawPath(scallops.simplified());

    p.setPen(Qt::NoPen);
    p.setBrush(QColor(252, 248, 232));
    p.drawEllipse(c, r - 4.6, r - 4.6);

    // A red ring of petals.
    p.setBrush(kInkRed);
    for (int i = 0; i < 12; ++i) {
        const qreal a = i * M_PI / 6;
        p.save();
        p.translate(c);
        p.rotate(qRadiansToDegrees(a));
        p.drawEllipse(QPointF(r - 7.6, 0), 2.5, 1.5);
        p.restore();
    }

    // The blue centre with an ivory flower.
    QRadialGradient centre(c - QPointF(1.5, 1.5), 7.0);
    centre.setColorAt(0.0, kInkBlue.lighter(140));
    centre.setColorAt(1.0, kInkBlue.darker(120));
    p.setBrush(centre);
    p.drawEllipse(c, 5.6, 5.6);
    p.setBrush(QColor(252, 248, 232));
    for (int i = 0; i < 6; ++i) {
        const qreal a = i * M_PI / 3;
        p.drawEllipse(c + QPointF(qCos(a), qSin(a)) * 2.9, 1.2, 1.2);
    }
    p.setBrush(kInkRed);
    p.drawEllipse(c, 1.5, 1.5);
    p.restore();
}

void drawCircles(QPainter& p, int rank) {
    const QPointF o = kArtCentre;
    auto coin = [&](qreal dx, qreal dy, qreal r, const QColor& colour) {
        drawCoin(p, o + QPointF(dx, dy), r, colour);
    };
    switch (rank) {
        case 1:
            drawBigCoin(p);
            break;
        case 2:
            coin(0, -11, 9.0, kInkGreen);
            coin(0, 11, 9.0, kInkBlue);
            break;
        case 3:
            coin(-9.5, -13.5, 7.0, kInkBlue);
            coin(0, 0, 7.0, kInkRed);
            coin(9.5, 13.5, 7.0, kInkGreen);
            break;
        case 4:
            coin(-8.5, -11, 7.6, kInkBlue);
            coin(8.5, -11, 7.6, kInkGreen);
            coin(-8.5, 11, 7.6, kInkGreen);
            coin(8.5, 11, 7.6, kInkBlue);
            break;
        case 5:
            coin(-10, -14, 6.4, kInkBlue);
            coin(10, -14, 6.4, kInkGreen);
            coin(0, 0, 6.4, kInkRed);
            coin(-10, 14, 6.4, kInkGreen);
            coin(10, 14, 6.4, kInkBlue);
            break;
        case 6:
            for (qreal dx : {-8.5, 8.5}) {
                coin(dx, -14.5, 6.3, kInkGreen);
                coin(dx, 1.5, 6.3, kInkRed);
                coin(dx, 15.0, 6.3, kInkRed);
            }
            break;
        case 7:
            coin(-11, -17.5, 5.4, kInkGreen);
            coin(0, -13.0, 5.4, kInkGreen);
            coin(11, -8.5, 5.4, kInkGreen);
            for (qreal dx : {-6.0, 6.0}) {
                coin(dx, 4.0, 5.6, kInkRed);
                coin(dx, 16.0, 5.6, kInkRed);
            }
            break;
        case 8:
            for (qreal dx : {-8.0, 8.0}) {
                for (qreal dy : {-16.5, -5.5, 5.5, 16.5}) coin(dx, dy, 5.4, kInkBlue);
            }
            break;
        case 9: {
            const std::array<QColor, 3> rows = {kInkBlue, kInkRed, kInkGreen};
            for (int row = 0; row < 3; ++row) {
                for (int col = 0; col < 3; ++col) {
                    coin((col - 1) * 11.2, (row - 1) * 14.5, 5.5,
                         rows[static_cast<std::size_t>(row)]);
                }
            }
            break;
        }
        default:
            break;
    }
}

// ---------------------------------------------------------------------------
// Bamboo

// One bamboo stick centred on `c`, `length` long, tilted by `angle` degrees
// from the vertical: a rounded cane, rounded on both sides by a gradient, with
// a joint at each end and one in the middle.
void drawStick(QPainter& p, QPointF c, qreal length, qreal width, const QColor& colour,
               qreal angle = 0.0) {
    p.save();
    p.translate(c);
    p.rotate(angle);
    const qreal hw = width / 2;
    const qreal hl = length / 2;
    QLinearGradient cane(-hw, 0, hw, 0);
    cane.setColorAt(0.0, colour.darker(150));
    cane.setColorAt(0.4, colour.lighter(135));
    cane.setColorAt(1.0, colour.darker(140));
    p.setPen(QPen(colour.darker(200), 0.6));
    p.setBrush(cane);
    p.drawRoundedRect(QRectF(-hw, -hl, width, length), hw * 0.8, hw * 0.5);

    // Joints: slightly wider dark bands.
    p.setPen(Qt::NoPen);
    p.setBrush(colour.darker(190));
    for (qreal y : {-hl + 1.6, 0.0, hl - 1.6}) {
        p.drawRoundedRect(QRectF(-hw - 0.5, y - 0.75, width + 1.0, 1.5), 0.7, 0.7);
    }
    // A light line down the middle of each section.
    p.setPen(QPen(QColor(255, 255, 255, 120), 0.8, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(-hw * 0.2, -hl + 3.0), QPointF(-hw * 0.2, -1.5));
    p.drawLine(QPointF(-hw * 0.2, 1.5), QPointF(-hw * 0.2, hl - 3.0));
    p.restore();
}

// The one of bamboo: a peacock with a crested head, a blue wing and a long
// fan of tail feathers, standing on a branch.
void drawBird(QPainter& p) {
    // Designed on a 100 x 130 grid mapped onto the design area.
    p.save();
    p.translate(kArt.topLeft());
    p.scale(kArt.width() / 100.0, kArt.height() / 130.0);
    const qreal unit = 100.0 / kArt.width();  // one pixel in design units
    const QPen outline(QColor(20, 40, 30), 0.8 * unit, Qt::SolidLine, Qt::RoundCap,
                       Qt::RoundJoin);

    // Tail feathers, drawn first so the body overlaps them.
    struct Feather {
        QPointF tip;
        qreal width;
    };
    const std::array<Feather, 4> feathers = {{{{98, 92}, 11}, {{94, 118}, 12}, {{72, 128}, 11},
                                              {{48, 126}, 10}}};
    const QPointF root(62, 78);
    for (const Feather& f : feathers) {
        const QPointF axis = f.tip - root;
        const qreal len = std::hypot(axis.x(), axis.y());
        const QPointF n(-axis.y() / len, axis.x() / len);
        QPainterPath leaf;
        leaf.moveTo(root);
        leaf.cubicTo(root + axis * 0.4 + n * f.width * 0.6, f.tip + n * f.width * 0.7, f.tip);
        leaf.cubicTo(f.tip - n * f.width * 0.7, root + axis * 0.4 - n * f.width * 0.6, root);
        QLinearGradient g(root, f.tip);
        g.setColorAt(0.0, QColor(0, 100, 60));
        g.setColorAt(1.0, QColor(40, 160, 90));
        p.setPen(outline);
        p.setBrush(g);
        p.drawPath(leaf);
        // The eye near the tip of each feather.
        const QPointF eye = root + axis * 0.78;
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(240, 190, 40));
        p.drawEllipse(eye, f.width * 0.36, f.width * 0.36);
        p.setBrush(kInkBlue);
        p.drawEllipse(eye, f.width * 0.22, f.width * 0.22);
    }

    // Legs and the branch.
    p.setPen(QPen(QColor(110, 70, 30), 4.5 * unit * 0.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(4, 112), QPointF(56, 106));
    p.setPen(QPen(kInkRed, 1.2 * unit, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawLine(QPointF(34, 84), QPointF(30, 108));
    p.drawLine(QPointF(44, 86), QPointF(44, 106));

    // Body.
    QPainterPath body;
    body.moveTo(40, 30);
    body.cubicTo(24, 40, 16, 58, 22, 74);
    body.cubicTo(28, 90, 50, 94, 66, 84);
    body.cubicTo(74, 76, 70, 58, 58, 48);
    body.cubicTo(50, 42, 50, 34, 48, 28);
    body.closeSubpath();
    QLinearGradient bodyFill(20, 40, 70, 90);
    bodyFill.setColorAt(0.0, QColor(40, 150, 90));
    bodyFill.setColorAt(1.0, QColor(0, 90, 55));
    p.setPen(outline);
    p.setBrush(bodyFill);
    p.drawPath(body);

    // Wing.
    QPainterPath wing;
    wing.moveTo(36, 52);
    wing.cubicTo(50, 46, 66, 58, 70, 76);
    wing.cubicTo(58, 80, 44, 76, 36, 64);
    wing.closeSubpath();
    p.setBrush(kInkBlue);
    p.drawPath(wing);
    p.setPen(QPen(QColor(180, 200, 255), 0.7 * unit, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(44, 58), QPointF(62, 72));
    p.drawLine(QPointF(42, 64), QPointF(58, 76));

    // Head, crest, beak and eye.
    p.setPen(outline);
    p.setBrush(QColor(40, 150, 90));
    p.drawEllipse(QPointF(40, 24), 12, 11);
    p.setPen(QPen(QColor(20, 40, 30), 0.8 * unit, Qt::SolidLine, Qt::RoundCap));
    const std::array<QPointF, 3> crest = {{{33, 3}, {41, 1}, {49, 5}}};
    for (const QPointF& tip : crest) {
        p.drawLine(QPointF(41, 14), tip);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(kInkRed);
    for (const QPointF& tip : crest) p.drawEllipse(tip, 3.2, 3.2);
    QPainterPath beak;
    beak.moveTo(30, 19);
    beak.lineTo(14, 27);
    beak.lineTo(30, 29);
    beak.closeSubpath();
    p.setPen(outline);
    p.setBrush(QColor(230, 120, 30));
    p.drawPath(beak);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(38, 21), 4.0, 4.0);
    p.setBrush(Qt::black);
    p.drawEllipse(QPointF(37, 21), 2.4, 2.4);
    p.restore();
}

void drawBamboo(QPainter& p, int rank) {
    const QPointF o = kArtCentre;
    const QColor green = kInkGreen;
    const QColor blue = kInkBlue;
    const QColor red = kInkRed;
    // Fewer sticks leave room for fatter canes.
    const qreal width = rank <= 4 ? 7.5 : 6.5;
    auto stick = [&](qreal dx, qreal dy, qreal length, const QColor& colour) {
        drawStick(p, o + QPointF(dx, dy), length, width, colour);
    };
    const qreal tall = 19.5;
    const qreal shortStick = 13.0;
    switch (rank) {
        case 1:
            drawBird(p);
            break;
        case 2:
            stick(0, -11, tall, green);
            stick(0, 11, tall, blue);
            break;
        case 3:
            stick(0, -11, tall, blue);
            stick(-8, 11, tall, green);
            stick(8, 11, tall, green);
            break;
        case 4:
            stick(-8.5, -11, tall, blue);
            stick(8.5, -11, tall, green);
            stick(-8.5, 11, tall, green);
            stick(8.5, 11, tall, blue);
            break;
        case 5:
            stick(-11, -11, tall, green);
            stick(11, -11, tall, blue);
            stick(0, 0, tall, red);
            stick(-11, 11, tall, blue);
            stick(11, 11, tall, green);
            break;
        case 6:
            for (qreal dx : {-10.5, 0.0, 10.5}) {
                stick(dx, -11, tall, green);
                stick(dx, 11, tall, dx == 0.0 ? blue : green);
            }
            break;
        case 7:
            stick(0, -14.5, shortStick, red);
            for (qreal dx : {-10.5, 0.0, 10.5}) {
                stick(dx, 0, shortStick, green);
                stick(dx, 14.5, shortStick, dx == 0.0 ? blue : green);
            }
            break;
        case 8: {
            // Outer sticks upright, the inner pairs leaning together: a peak
            // above and a valley below, framing a diamond in the middle.
            const qreal lean = 16.0;
            const qreal inner = 18.0;
            const qreal apart = 2.9 + inner / 2 * qSin(qDegreesToRadians(lean));
            for (qreal dy : {-11.0, 11.0}) {
                const qreal sign = dy < 0 ? 1.0 : -1.0;
                drawStick(p, o + QPointF(-13.6, dy), tall, 5.5, green);
                drawStick(p, o + QPointF(13.6, dy), tall, 5.5, green);
                drawStick(p, o + QPointF(-apart, dy), inner, 5.5, blue, sign * lean);
                drawStick(p, o + QPointF(apart, dy), inner, 5.5, blue, -sign * lean);
            }
            break;
        }
        case 9:
            for (int row = 0; row < 3; ++row) {
                for (int col = 0; col < 3; ++col) {
                    stick((col - 1) * 10.5, (row - 1) * 14.5, shortStick,
                          col == 1 ? red : green);
                }
            }
            break;
        default:
            break;
    }
}

// ---------------------------------------------------------------------------
// The image-only entries

// Entry 0: the flash shown while a tile vanishes: a tile-shaped burst of
// white and yellow light with rays.
void drawFlash(QPainter& p) {
    p.save();
    const QPainterPath shape = sweptTile(kDepth);
    const QPointF c(21.5, 26.5);
    QRadialGradient glow(c, 30.0);
    glow.setColorAt(0.0, QColor(255, 255, 255));
    glow.setColorAt(0.3, QColor(255, 255, 210));
    glow.setColorAt(0.7, QColor(255, 226, 70));
    glow.setColorAt(1.0, QColor(255, 160, 20));
    p.setPen(QPen(QColor(230, 120, 0), 1.0));
    p.setBrush(glow);
    p.drawPath(shape);

    p.setClipPath(shape);
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 16; ++i) {
        const qreal a = i * M_PI / 8 + 0.1;
        const qreal spread = (i % 2 == 0) ? 0.09 : 0.05;
        const qreal reach = (i % 2 == 0) ? 40.0 : 26.0;
        QPainterPath ray;
        ray.moveTo(c);
        ray.lineTo(c + QPointF(qCos(a - spread), qSin(a - spread)) * reach);
        ray.lineTo(c + QPointF(qCos(a + spread), qSin(a + spread)) * reach);
        ray.closeSubpath();
        QRadialGradient rayFill(c, reach);
        rayFill.setColorAt(0.0, QColor(255, 255, 255, 255));
        rayFill.setColorAt(1.0, QColor(255, 255, 255, 40));
        p.setBrush(rayFill);
        p.drawPath(ray);
    }
    QRadialGradient core(c, 9.0);
    core.setColorAt(0.0, QColor(255, 255, 255, 255));
    core.setColorAt(1.0, QColor(255, 255, 255, 0));
    p.setBrush(core);
    p.drawEllipse(c, 9.0, 9.0);
    p.restore();
}

// Entry 137: a low flat plate, a little lighter than the board, with a raised
// rim. Over a removed tile it reads as "no tile to take"; where a cleared tile
// still blocks it is a stone that is visibly there.
void drawPlate(QPainter& p) {
    p.save();
    const QRectF plate(1.5, 1.5, 40.0, 50.0);
    QPainterPath shape;
    shape.addRoundedRect(plate, kRadius, kRadius);
    QLinearGradient fill(plate.topLeft(), plate.bottomRight());
    fill.setColorAt(0.0, QColor(46, 146, 50));
    fill.setColorAt(1.0, QColor(28, 132, 34));
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    p.drawPath(shape);

    // Raised rim: light along the top and left, dark along the bottom and right.
    QLinearGradient rim(plate.topLeft(), plate.bottomRight());
    rim.setColorAt(0.0, QColor(130, 196, 122));
    rim.setColorAt(0.45, QColor(96, 172, 90));
    rim.setColorAt(0.55, QColor(10, 96, 18));
    rim.setColorAt(1.0, QColor(0, 80, 8));
    p.setPen(QPen(QBrush(rim), 1.2));
    p.setBrush(Qt::NoBrush);
    p.drawPath(shape);
    p.restore();
}

// Entry 138: an empty hole sunk into the board: darker green with a shadow
// along the inner top and left edges and a lit lower rim.
void drawHole(QPainter& p) {
    p.save();
    const QRectF hole(1.5, 1.5, 40.0, 50.0);
    QPainterPath shape;
    shape.addRoundedRect(hole, kRadius, kRadius);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 78, 0));
    p.drawPath(shape);

    p.setClipPath(shape);
    QLinearGradient fromTop(0, hole.top(), 0, hole.top() + 8);
    fromTop.setColorAt(0.0, QColor(0, 20, 0, 220));
    fromTop.setColorAt(1.0, QColor(0, 20, 0, 0));
    p.fillRect(hole, fromTop);
    QLinearGradient fromLeft(hole.left(), 0, hole.left() + 7, 0);
    fromLeft.setColorAt(0.0, QColor(0, 20, 0, 200));
    fromLeft.setColorAt(1.0, QColor(0, 20, 0, 0));
    p.fillRect(hole, fromLeft);
    p.setClipping(false);

    // The lit lower and right rim of the hole.
    QLinearGradient rim(hole.topLeft(), hole.bottomRight());
    rim.setColorAt(0.0, QColor(0, 40, 0));
    rim.setColorAt(0.5, QColor(0, 60, 0));
    rim.setColorAt(0.62, QColor(70, 170, 70));
    rim.setColorAt(1.0, QColor(110, 200, 110));
    p.setPen(QPen(QBrush(rim), 1.2));
    p.setBrush(Qt::NoBrush);
    p.drawPath(shape);
    p.restore();
}

// ---------------------------------------------------------------------------
// The sheet

enum class Cell { Blank, Plate, Hole, Flash, Honour, Characters, Circles, Bamboo };

struct Slot {
    Cell cell;
    int rank;  // honour kind 1..7 or suit rank 1..9
};

Slot slotAt(int col, int row) {
    switch (row) {
        case 0:
            if (col == 0) return {Cell::Plate, 0};
            if (col == kSheetCols - 1) return {Cell::Flash, 0};
            return {Cell::Honour, col};
        case 1:
            return {Cell::Characters, col + 1};
        case 2:
            return {Cell::Circles, col + 1};
        case 3:
            return {Cell::Bamboo, col + 1};
        default:
            return {col == 0 ? Cell::Hole : Cell::Blank, 0};
    }
}

void drawSlot(QPainter& p, const Slot& slot) {
    switch (slot.cell) {
        case Cell::Blank:
            return;
        case Cell::Plate:
            drawPlate(p);
            return;
        case Cell::Hole:
            drawHole(p);
            return;
        case Cell::Flash:
            drawFlash(p);
            return;
        case Cell::Honour:
            drawTileBody(p);
            drawHonour(p, slot.rank);
            return;
        case Cell::Characters:
            drawTileBody(p);
            drawCharacters(p, slot.rank);
            return;
        case Cell::Circles:
            drawTileBody(p);
            drawCircles(p, slot.rank);
            return;
        case Cell::Bamboo:
            drawTileBody(p);
            drawBamboo(p, slot.rank);
            return;
    }
}

// Draws the sheet at `scale` device pixels per design pixel. Every picture is
// drawn at that size from the same outlines, so lines that sit on whole pixels
// at scale 1 sit on whole pixels at every scale and stay sharp.
QImage drawSheet(int scale) {
    const int cellW = kCellW * scale;
    const int cellH = kCellH * scale;
    QImage sheet(cellW * kSheetCols, cellH * kSheetRows, QImage::Format_RGB32);
    sheet.fill(kBoardGreen);
    QPainter p(&sheet);
    p.setRenderHint(QPainter::Antialiasing);
    for (int row = 0; row < kSheetRows; ++row) {
        for (int col = 0; col < kSheetCols; ++col) {
            p.save();
            p.translate(col * cellW, row * cellH);
            p.setClipRect(0, 0, cellW, cellH);
            p.scale(scale, scale);
            drawSlot(p, slotAt(col, row));
            p.restore();
        }
    }
    p.end();
    // Opaque 24-bit RGB: the game copies the cells straight onto the board.
    return sheet.convertToFormat(QImage::Format_RGB888);
}

// ---------------------------------------------------------------------------
// The application icon

// From 48 pixels up: two tiles of the sheet, the one of circles standing
// behind and the red dragon in front of it. Designed on a 100 x 100 grid.
void drawIcon(QPainter& p, qreal size) {
    p.save();
    p.scale(size / 100.0, size / 100.0);
    constexpr qreal kTileScale = 1.32;
    p.save();
    p.translate(2.0, 1.0);
    p.scale(kTileScale, kTileScale);
    drawSlot(p, {Cell::Circles, 1});
    p.restore();
    p.save();
    p.translate(39.0, 27.0);
    p.scale(kTileScale, kTileScale);
    drawSlot(p, {Cell::Honour, 7});
    p.restore();
    p.restore();
}

// At 16 and 32 pixels the tile art would blur into a smudge, so the icon is
// the red dragon alone, built from shapes on a 16 x 16 pixel grid: every edge
// lands on whole pixels and the strokes of 中 are one grid pixel wide.
void drawSmallIcon(QPainter& p, qreal size) {
    p.save();
    p.scale(size / 16.0, size / 16.0);
    const QRectF face(1.0, 0.0, 13.0, 14.0);
    constexpr qreal kSmallRadius = 2.0;

    // The green back shows one pixel to the right and two below the face.
    QLinearGradient back(0, 0, 16, 16);
    back.setColorAt(0.0, QColor(22, 110, 74));
    back.setColorAt(1.0, QColor(6, 62, 40));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 40, 20));
    p.drawRoundedRect(face.translated(1.0, 2.0), kSmallRadius, kSmallRadius);
    p.setBrush(back);
    p.drawRoundedRect(face.translated(1.0, 2.0).adjusted(0.0, 0.0, -0.5, -0.5), kSmallRadius,
                      kSmallRadius);

    // The face with its rim.
    QLinearGradient ivory(face.topLeft(), face.bottomRight());
    ivory.setColorAt(0.0, QColor(255, 253, 242));
    ivory.setColorAt(1.0, QColor(232, 222, 192));
    p.setBrush(QColor(160, 146, 108));
    p.drawRoundedRect(face, kSmallRadius, kSmallRadius);
    p.setBrush(ivory);
    p.drawRoundedRect(face.adjusted(0.5, 0.5, -0.5, -0.5), kSmallRadius - 0.5,
                      kSmallRadius - 0.5);

    // 中: a box crossed by one long vertical stroke.
    p.setBrush(kInkRed);
    const QRectF box(4.0, 4.0, 7.0, 5.0);
    p.drawRect(QRectF(box.left(), box.top(), box.width(), 1.0));
    p.drawRect(QRectF(box.left(), box.bottom() - 1.0, box.width(), 1.0));
    p.drawRect(QRectF(box.left(), box.top(), 1.0, box.height()));
    p.drawRect(QRectF(box.right() - 1.0, box.top(), 1.0, box.height()));
    p.drawRect(QRectF(7.0, 2.0, 1.0, 10.0));
    p.restore();
}

QImage drawIconImage(int size) {
    QImage icon(size, size, QImage::Format_ARGB32_Premultiplied);
    icon.fill(Qt::transparent);
    QPainter p(&icon);
    p.setRenderHint(QPainter::Antialiasing);
    if (size < 48) {
        drawSmallIcon(p, size);
    } else {
        drawIcon(p, size);
    }
    p.end();
    return icon.convertToFormat(QImage::Format_ARGB32);
}

// ---------------------------------------------------------------------------
// The scalable icon
//
// A paint engine that writes what is painted as SVG elements, so the same
// drawing code that fills the PNG icons also yields the vector icon, without
// a dependency on Qt's SVG module. It knows what the tile art uses: filled and
// stroked paths in solid colours or linear and radial gradients, under any
// transform and opacity. Anything else (clipping, pictures, text items,
// dashed pens, other composition modes) makes the run fail with a message
// instead of being left out of the file without a word.

QString svgNumber(qreal v) {
    QString text = QString::number(v, 'f', 3);
    while (text.endsWith(QLatin1Char('0'))) text.chop(1);
    if (text.endsWith(QLatin1Char('.'))) text.chop(1);
    if (text == QStringLiteral("-0")) text = QStringLiteral("0");
    return text;
}

QString svgColour(const QColor& colour) { return colour.name(QColor::HexRgb); }

// The path data of `path`; a subpath that ends where it started is closed, as
// Qt's stroker treats it, so its outline gets a join there rather than caps.
QString svgPathData(const QPainterPath& path) {
    QString d;
    QPointF start;
    QPointF last;
    auto point = [&](qreal x, qreal y) { d += svgNumber(x) + QLatin1Char(' ') + svgNumber(y); };
    auto closeIfBack = [&] {
        if (!d.isEmpty() && last == start) d += QLatin1Char('Z');
    };
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        switch (e.type) {
            case QPainterPath::MoveToElement:
                closeIfBack();
                d += QLatin1Char('M');
                point(e.x, e.y);
                start = last = e;
                break;
            case QPainterPath::LineToElement:
                d += QLatin1Char('L');
                point(e.x, e.y);
                last = e;
                break;
            case QPainterPath::CurveToElement: {
                d += QLatin1Char('C');
                point(e.x, e.y);
                for (int k = 1; k <= 2 && i + 1 < path.elementCount(); ++k) {
                    const QPainterPath::Element data = path.elementAt(++i);
                    d += QLatin1Char(' ');
                    point(data.x, data.y);
                    last = data;
                }
                break;
            }
            case QPainterPath::CurveToDataElement:
                break;
        }
    }
    closeIfBack();
    return d;
}

QString svgMatrix(const QTransform& m) {
    return QStringLiteral("matrix(%1 %2 %3 %4 %5 %6)")
        .arg(svgNumber(m.m11()), svgNumber(m.m12()), svgNumber(m.m21()), svgNumber(m.m22()),
             svgNumber(m.dx()), svgNumber(m.dy()));
}

class SvgEngine : public QPaintEngine {
public:
    SvgEngine() : QPaintEngine(AllFeatures) {}

    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    Type type() const override { return QPaintEngine::User; }

    void updateState(const QPaintEngineState& state) override {
        const DirtyFlags flags = state.state();
        if (flags & DirtyPen) pen_ = state.pen();
        if (flags & DirtyBrush) brush_ = state.brush();
        if (flags & DirtyBrushOrigin) brushOrigin_ = state.brushOrigin();
        if (flags & DirtyTransform) transform_ = state.transform();
        if (flags & DirtyOpacity) opacity_ = state.opacity();
        if (flags & DirtyClipEnabled) clipping_ = state.isClipEnabled();
        if (flags & (DirtyClipPath | DirtyClipRegion)) {
            clipping_ = state.clipOperation() != Qt::NoClip;
        }
        if (flags & DirtyCompositionMode) {
            composing_ = state.compositionMode() == QPainter::CompositionMode_SourceOver;
        }
    }

    void drawPath(const QPainterPath& path) override { element(path, true); }

    void drawPolygon(const QPointF* points, int count, PolygonDrawMode mode) override {
        if (count < 2) return;
        QPainterPath path(points[0]);
        for (int i = 1; i < count; ++i) path.lineTo(points[i]);
        if (mode != PolylineMode) path.closeSubpath();
        path.setFillRule(mode == WindingMode ? Qt::WindingFill : Qt::OddEvenFill);
        element(path, mode != PolylineMode);
    }

    void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {
        unsupported(QStringLiteral("pictures"));
    }
    void drawImage(const QRectF&, const QImage&, const QRectF&, Qt::ImageConversionFlags) override {
        unsupported(QStringLiteral("pictures"));
    }
    void drawTextItem(const QPointF&, const QTextItem&) override {
        unsupported(QStringLiteral("text items"));
    }

    // The finished document, or an empty string when something was painted
    // that the engine cannot write; problem() then says what.
    QString document(int size) const {
        if (!problem_.isEmpty()) return {};
        const QString side = QString::number(size);
        return QStringLiteral(
                   "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                   "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%1\" height=\"%1\" "
                   "viewBox=\"0 0 %1 %1\">\n<defs>\n%2</defs>\n%3</svg>\n")
            .arg(side, defs_, body_);
    }
    const QString& problem() const { return problem_; }

private:
    void unsupported(const QString& what) {
        if (problem_.isEmpty()) problem_ = QStringLiteral("the SVG writer cannot draw ") + what;
    }

    // An SVG paint for `brush` (a colour, or a reference to a new gradient)
    // and its opacity.
    std::pair<QString, qreal> paint(const QBrush& brush) {
        switch (brush.style()) {
            case Qt::NoBrush:
                return {QStringLiteral("none"), 1.0};
            case Qt::SolidPattern:
                return {svgColour(brush.color()), brush.color().alphaF()};
            case Qt::LinearGradientPattern:
            case Qt::RadialGradientPattern:
                return {gradient(brush), 1.0};
            default:
                unsupported(QStringLiteral("patterned brushes"));
                return {QStringLiteral("none"), 1.0};
        }
    }

    QString gradient(const QBrush& brush) {
        const QGradient& g = *brush.gradient();
        if (g.coordinateMode() != QGradient::LogicalMode || g.spread() != QGradient::PadSpread) {
            unsupported(QStringLiteral("gradients other than padded ones in user space"));
        }
        const QString id = QStringLiteral("g%1").arg(++gradients_);
        const bool linear = g.type() == QGradient::LinearGradient;
        const QString tag = linear ? QStringLiteral("linearGradient")
                                   : QStringLiteral("radialGradient");
        QString e = QLatin1Char('<') + tag;
        attribute(e, "id", id);
        attribute(e, "gradientUnits", QStringLiteral("userSpaceOnUse"));
        if (linear) {
            const auto& l = static_cast<const QLinearGradient&>(g);
            attribute(e, "x1", svgNumber(l.start().x()));
            attribute(e, "y1", svgNumber(l.start().y()));
            attribute(e, "x2", svgNumber(l.finalStop().x()));
            attribute(e, "y2", svgNumber(l.finalStop().y()));
        } else {
            const auto& r = static_cast<const QRadialGradient&>(g);
            if (r.focalRadius() > 0) unsupported(QStringLiteral("focal radii"));
            attribute(e, "cx", svgNumber(r.center().x()));
            attribute(e, "cy", svgNumber(r.center().y()));
            attribute(e, "r", svgNumber(r.radius()));
            attribute(e, "fx", svgNumber(r.focalPoint().x()));
            attribute(e, "fy", svgNumber(r.focalPoint().y()));
        }
        const QTransform m =
            brush.transform() * QTransform::fromTranslate(brushOrigin_.x(), brushOrigin_.y());
        if (!m.isIdentity()) attribute(e, "gradientTransform", svgMatrix(m));
        e += QStringLiteral(">\n");
        for (const QGradientStop& stop : g.stops()) {
            e += QStringLiteral("<stop");
            attribute(e, "offset", svgNumber(stop.first));
            attribute(e, "stop-color", svgColour(stop.second));
            if (stop.second.alpha() != 255) {
                attribute(e, "stop-opacity", svgNumber(stop.second.alphaF()));
            }
            e += QStringLiteral("/>\n");
        }
        defs_ += e + QStringLiteral("</") + tag + QStringLiteral(">\n");
        return QStringLiteral("url(#%1)").arg(id);
    }

    static void attribute(QString& element, const char* name, const QString& value) {
        element += QStringLiteral(" %1=\"%2\"").arg(QLatin1String(name), value);
    }

    void element(const QPainterPath& path, bool filled) {
        if (clipping_) unsupported(QStringLiteral("clipped shapes"));
        if (!composing_) unsupported(QStringLiteral("composition modes"));
        QString e = QStringLiteral("<path");
        attribute(e, "d", svgPathData(path));
        if (!transform_.isIdentity()) attribute(e, "transform", svgMatrix(transform_));
        const auto [fill, fillOpacity] = paint(filled ? brush_ : QBrush());
        attribute(e, "fill", fill);
        if (fillOpacity < 1.0) attribute(e, "fill-opacity", svgNumber(fillOpacity));
        if (fill != QStringLiteral("none")) {
            attribute(e, "fill-rule", path.fillRule() == Qt::WindingFill
                                          ? QStringLiteral("nonzero")
                                          : QStringLiteral("evenodd"));
        }
        if (pen_.style() == Qt::NoPen) {
            attribute(e, "stroke", QStringLiteral("none"));
        } else {
            if (pen_.style() != Qt::SolidLine) unsupported(QStringLiteral("dashed lines"));
            if (pen_.isCosmetic()) unsupported(QStringLiteral("cosmetic pens"));
            const auto [stroke, strokeOpacity] = paint(pen_.brush());
            attribute(e, "stroke", stroke);
            if (strokeOpacity < 1.0) attribute(e, "stroke-opacity", svgNumber(strokeOpacity));
            attribute(e, "stroke-width", svgNumber(pen_.widthF()));
            const Qt::PenCapStyle cap = pen_.capStyle();
            attribute(e, "stroke-linecap", cap == Qt::FlatCap    ? QStringLiteral("butt")
                                           : cap == Qt::RoundCap ? QStringLiteral("round")
                                                                 : QStringLiteral("square"));
            const Qt::PenJoinStyle join = pen_.joinStyle();
            attribute(e, "stroke-linejoin", join == Qt::RoundJoin   ? QStringLiteral("round")
                                            : join == Qt::BevelJoin ? QStringLiteral("bevel")
                                                                    : QStringLiteral("miter"));
            if (join == Qt::MiterJoin || join == Qt::SvgMiterJoin) {
                attribute(e, "stroke-miterlimit", svgNumber(qMax<qreal>(1.0, pen_.miterLimit())));
            }
        }
        if (opacity_ < 1.0) attribute(e, "opacity", svgNumber(opacity_));
        body_ += e + QStringLiteral("/>\n");
    }

    QPen pen_;
    QBrush brush_;
    QPointF brushOrigin_;
    QTransform transform_;
    qreal opacity_ = 1.0;
    bool clipping_ = false;
    bool composing_ = true;
    int gradients_ = 0;
    QString defs_;
    QString body_;
    QString problem_;
};

// A square canvas of `size` points whose painting ends up as SVG.
class SvgCanvas : public QPaintDevice {
public:
    explicit SvgCanvas(int size) : size_(size) {}
    QPaintEngine* paintEngine() const override { return &engine_; }
    const SvgEngine& engine() const { return engine_; }

protected:
    int metric(PaintDeviceMetric metric) const override {
        switch (metric) {
            case PdmWidth:
            case PdmHeight:
                return size_;
            case PdmWidthMM:
            case PdmHeightMM:
                return qRound(size_ * 25.4 / 96.0);
            case PdmNumColors:
                return std::numeric_limits<int>::max();
            case PdmDepth:
                return 32;
            case PdmDpiX:
            case PdmDpiY:
            case PdmPhysicalDpiX:
            case PdmPhysicalDpiY:
                return 96;
            case PdmDevicePixelRatio:
                return 1;
            case PdmDevicePixelRatioScaled:
                return static_cast<int>(devicePixelRatioFScale());
            default:
                return QPaintDevice::metric(metric);
        }
    }

private:
    int size_;
    mutable SvgEngine engine_;
};

// The large icon as SVG, on a canvas of 256 points; empty with `problem` set
// when the art uses something the SVG writer does not know.
QByteArray drawIconSvg(QString& problem) {
    constexpr int kSize = 256;
    SvgCanvas canvas(kSize);
    QPainter p(&canvas);
    drawIcon(p, kSize);
    p.end();
    problem = canvas.engine().problem();
    return canvas.engine().document(kSize).toUtf8();
}

int fail(const QString& message) {
    std::fprintf(stderr, "tessarin-sheetgen: %s\n", qPrintable(message));
    return 1;
}

// Writes `bytes` to `output` through a temporary file, so a failed run
// leaves the previous file in place.
int writeFile(const QString& output, const QByteArray& bytes) {
    QSaveFile file(output);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        return fail(QStringLiteral("cannot write %1: %2").arg(output, file.errorString()));
    }
    return 0;
}

QByteArray png(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG")) return {};
    return bytes;
}

int usage() {
    std::fprintf(stderr,
                 "usage: tessarin-sheetgen [--scale 1|2|3] OUTPUT.png\n"
                 "       tessarin-sheetgen --icon 16..1024|scalable OUTPUT\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    QStringList args = QGuiApplication::arguments();
    args.removeFirst();
    int scale = 1;
    int iconSize = 0;  // 0: the sheet; -1: the scalable icon
    if (args.size() == 3 && args.at(0) == QStringLiteral("--scale")) {
        bool ok = false;
        scale = args.at(1).toInt(&ok);
        if (!ok || scale < 1 || scale > 3) return usage();
        args.remove(0, 2);
    } else if (args.size() == 3 && args.at(0) == QStringLiteral("--icon")) {
        bool ok = args.at(1) == QStringLiteral("scalable");
        iconSize = ok ? -1 : args.at(1).toInt(&ok);
        if (!ok || (iconSize != -1 && (iconSize < 16 || iconSize > 1024))) return usage();
        args.remove(0, 2);
    }
    if (args.size() != 1 || args.at(0).startsWith(QLatin1Char('-'))) return usage();
    const QString output = args.at(0);

    gFamily = loadFont();
    if (gFamily.isEmpty()) {
        return fail(QStringLiteral("font not found: %1").arg(QString::fromUtf8(kFontFile)));
    }

    QByteArray bytes;
    if (iconSize == -1) {
        QString problem;
        bytes = drawIconSvg(problem);
        if (bytes.isEmpty()) return fail(problem);
    } else {
        bytes = png(iconSize > 0 ? drawIconImage(iconSize) : drawSheet(scale));
        if (bytes.isEmpty()) return fail(QStringLiteral("cannot encode the picture as PNG"));
    }
    return writeFile(output, bytes);
}
