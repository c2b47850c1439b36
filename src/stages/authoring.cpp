// The authoring build's writers: deals numbered in sequence after the
// highest stage in "maptwo.map", and every cleared board stored there with
// its answer in "anstwo.map", in the line formats the game reads.
#include "app/mjanmodule.h"
#include "stages/lines.h"

namespace tessarin {

namespace {

const QString kStageStore = QStringLiteral("maptwo.map");
const QString kAnswerStore = QStringLiteral("anstwo.map");

// Stage numbers are written with five digits.
constexpr int kLastStageNo = 99999;

// The value of the leading decimal digits of a text (none: 0).
int leadingNumber(const QString& text) {
    int n = 0;
    for (QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) break;
        n = n * 10 + (c.unicode() - '0');
    }
    return n;
}

}  // namespace

int MjanModule::nextStageNo() {
    QByteArray bytes;
    if (!existsInAppDir(kStageStore) || !readDataFile(appDirPath(kStageStore), bytes)) {
        ui.messageBox(QStringLiteral("File Open Error"), QString());
        return -1;
    }
    // The highest number in text order: every stage number has five digits.
    QString highest;
    for (const QByteArray& raw : textLines(bytes)) {
        const QString number = QString::fromUtf8(raw).left(5);
        if (number > highest) highest = number;
    }
    const int next = leadingNumber(highest) + 1;
    if (next > kLastStageNo) {
        ui.messageBox(QStringLiteral("面番号が 99999 を超えるため、番号は時刻から付けます"), QString());
        return -1;
    }
    return next;
}

void MjanModule::storeSolvedStage() {
    if (gameKind != TwoCorner) return;
    // The board as it was played, tile exchanges included: a removed tile
    // keeps its number in its cell.
    const std::string line = formatStageLine(stageNo.toStdString(), boardMap);
    if (!appendAppLine(kStageStore, QByteArray::fromStdString(line)))
        ui.messageBox(QStringLiteral("%1 に書き込めませんでした").arg(kStageStore), QString());
}

void MjanModule::storeAnswer() {
    if (gameKind != TwoCorner) return;
    std::string line = stageNo.toStdString();
    for (int i = 1; i <= kTiles; ++i) line += threeDigits(moveHist[static_cast<std::size_t>(i)]);
    if (!appendAppLine(kAnswerStore, QByteArray::fromStdString(line)))
        ui.messageBox(QStringLiteral("%1 に書き込めませんでした").arg(kAnswerStore), QString());
}

}  // namespace tessarin
