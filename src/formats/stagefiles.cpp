#include "formats/stagefiles.h"

#include "formats/datafile.h"

namespace tessarin {

std::string stageFileName(int digit) { return "maptwo" + std::to_string(digit) + ".map"; }

std::string answerFileName(int digit) { return "anstwo" + std::to_string(digit) + ".map"; }

StageWalk walkStageLines(const std::string& dir, const std::function<bool(int, const std::string&)>& visit) {
    bool anyFile = false;
    for (int d = 0; d <= 9 && !anyFile; ++d) anyFile = existsInFolder(dir, stageFileName(d));
    if (!anyFile) return StageWalk::NoFiles;
    int number = 0;
    for (int d = 0; d <= 9; ++d) {
        if (!existsInFolder(dir, stageFileName(d))) continue;
        std::string bytes;
        if (!readDataFile(folderPath(dir, stageFileName(d)), bytes)) return StageWalk::Unreadable;
        for (const std::string& line : textLines(bytes)) {
            if (number >= kMaxStageLines) return StageWalk::Unreadable;
            if (!visit(++number, line)) return StageWalk::Stopped;
        }
    }
    return StageWalk::Finished;
}

bool findAnswer(const std::string& dir, const std::string& stageNo, std::string& rest) {
    for (int d = 0; d <= 9; ++d) {
        const std::string name = answerFileName(d);
        std::string bytes;
        if (!existsInFolder(dir, name) || !readDataFile(folderPath(dir, name), bytes)) continue;
        for (const std::string& raw : textLines(bytes)) {
            // The first five characters name the stage (a longer key never matches).
            const std::string_view line = withoutByteOrderMark(raw);
            if (line.substr(0, 5) == stageNo) {
                rest = line.size() > 5 ? std::string(line.substr(5)) : std::string();
                return true;
            }
        }
    }
    return false;
}

}  // namespace tessarin
