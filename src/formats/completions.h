// The completion file cmptwo.map: the stages marked as solved, one stage
// number a line.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tessarin {

// The stage numbers the file marks, in file order (a number may come more
// than once): every line that is five characters long once trimmed of
// ordinary and ideographic spaces. Such files are often written with a
// Japanese code page, whose ideographic space is the byte pair 0x81 0x40: a
// line that is not valid UTF-8 is read byte by byte with that pair as
// U+3000, and any other byte outside ASCII as U+FFFD, which no stage
// number holds. A byte order mark at the start of a line is dropped.
std::vector<std::u32string> completionMarks(std::string_view bytes);

// Strict UTF-8: false for any malformed, overlong or surrogate sequence.
bool decodeUtf8(std::string_view raw, std::u32string& out);

}  // namespace tessarin
