// The line readers without Qt: a stage line (parseStageLine) and a run of
// cell codes (parseCellCodes, the body of answer lines). What they accept
// is written back byte for byte by their writers and places a whole board;
// what they refuse leaves the output as it was.
#include "fuzz_support.h"
#include "stages/lines.h"

using namespace tessarin;
using fuzz::check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    StageLine stage;
    stage.stageNo = "unset";
    std::string error;
    if (parseStageLine(text, stage, error)) {
        BoardMap map;
        PaiTbl tbl{};
        fillPaiTbl(tbl);
        placeStage(stage, map, tbl, true);
        check(boardIsConsistent(map, tbl), "an accepted stage line places no whole board");
        check(formatStageLine(stage.stageNo, map) == text, "an accepted stage line is not written back as read");
    } else {
        check(!error.empty(), "a refused stage line without a reason");
        check(stage.stageNo == "unset" && stage.tiles == decltype(stage.tiles){}, "a refused stage line changed the output");
    }

    std::vector<int> codes{-1};
    error.clear();
    if (parseCellCodes(text, codes, error)) {
        check(codes.size() * 3 == size, "cell codes: not one code per three characters");
        std::string back;
        for (int c : codes) {
            check(onField(codeX(c), codeY(c)), "cell codes: an accepted code names no field cell");
            back += threeDigits(c);
        }
        check(back == text, "cell codes are not written back as read");
    } else {
        check(!error.empty(), "refused cell codes without a reason");
        check(codes == std::vector<int>{-1}, "refused cell codes changed the output");
    }
    return 0;
}
