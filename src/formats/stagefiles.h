// The stage files maptwo0.map .. maptwo9.map: one stage line per line,
// numbered from 1 across the files in the order of their digit, and the
// answer files anstwo0.map .. anstwo9.map that hold the model answers.
#pragma once

#include <functional>
#include <string>

namespace tessarin {

// Sequence numbers are 16-bit: a longer list of stage lines cannot be numbered.
inline constexpr int kMaxStageLines = 32767;

std::string stageFileName(int digit);   // "maptwo3.map"
std::string answerFileName(int digit);  // "anstwo3.map"

enum class StageWalk {
    NoFiles,     // no stage file in the folder
    Unreadable,  // a file that cannot be read, or a line past the 32767th, was met
    Stopped,     // the visitor asked to stop
    Finished,    // every line was visited
};

// Calls visit(number, line) for the lines of the numbered stage files of a
// folder in order until it returns false. A file is read only when the walk
// reaches it, so a stage found early is not kept from loading by a later
// file that cannot be read.
StageWalk walkStageLines(const std::string& dir, const std::function<bool(int number, const std::string& line)>& visit);

// The rest (after its five characters) of the first line that starts with
// stageNo, searched in anstwo0.map .. anstwo9.map; a file that cannot be
// read holds no answer and the later files are still searched. False when
// there is none.
bool findAnswer(const std::string& dir, const std::string& stageNo, std::string& rest);

}  // namespace tessarin
