// A game in a temporary program folder, with a tile sheet whose every
// picture is a distinct flat colour, so pixels say exactly what was drawn.
#pragma once

#include "app/mjanmodule.h"
#include "support/fakeui.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>

namespace tessarin::test {

// Writes the test sheet as paidat.dat into dir.
void writeTestSheet(const QString& dir);

// The colour of the test sheet's picture at sheet position (srcX, srcY).
QRgb sheetColour(int srcX, int srcY);

// The colour a tile number shows when drawn plainly.
QRgb paiColour(const PaiTbl& tbl, int tileNo);

// The inverted colour, as the "NOT" drawing shows it.
inline QRgb inverted(QRgb c) { return qRgb(255 - qRed(c), 255 - qGreen(c), 255 - qBlue(c)); }

// A pixel of the surface, without its alpha byte.
inline QRgb pixelAt(const QImage& img, int x, int y) { return img.pixel(x, y) | 0xff000000u; }

// The colour in the middle of a cell, away from any red frame.
QRgb cellColour(const MjanModule& game, int x, int y);

class GameTest : public ::testing::Test {
protected:
    void SetUp() override;
    // Starts a game of the current kind with a fixed clock (6 December,
    // 03:25:57, so the TwoCorner deal is number 33763).
    void startRandom();
    // Reads a file of the program folder.
    QByteArray readFile(const QString& name) const;
    void writeFile(const QString& name, const QByteArray& bytes) const;
    QString path(const QString& name) const { return dir.filePath(name); }

    QTemporaryDir dir;
    FakeUi ui;
    std::unique_ptr<MjanModule> game;
};

}  // namespace tessarin::test
