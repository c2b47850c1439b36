// Reading the data files of a folder: whole files of a bounded size, their
// lines, and whether a file of a name is there. Plain C++ over POSIX calls,
// shared by the game and tessarin-tool, so both read a file the same way.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tessarin {

// No data file the game can use comes near this size (all the stage lines
// it can number take 14 MB); a bigger one is not read into memory.
inline constexpr std::int64_t kMaxDataFileBytes = std::int64_t{64} << 20;

enum class ReadFault { None, NotAFile, TooBig, Unreadable };

// Reads a data file whole. Only an ordinary file is read (a folder, a
// dangling link or a pipe under the name is refused without blocking), and
// only up to kMaxDataFileBytes. False, with the reason in `fault`, otherwise.
bool readDataFile(const std::string& path, std::string& bytes, ReadFault* fault = nullptr);

// The lines of a text file; CR LF, LF and a lone CR each end a line, and a
// last line without a line end is a line all the same.
std::vector<std::string> textLines(std::string_view bytes);

// A line without the UTF-8 byte order mark it may start with (as editors
// write at the start of a file); the game reads every line so.
std::string_view withoutByteOrderMark(std::string_view line);

// The path of a file in a folder: a "/" between them unless the folder
// already ends with one.
std::string folderPath(const std::string& dir, const std::string& name);

// True when the path names a folder (a link to one included).
bool isFolder(const std::string& path);

// True when the folder lists an entry of this exact name (case-sensitive;
// ordinary and ideographic spaces around the listed name do not count) that
// is not a folder. A dangling link or a pipe is listed, so a reader meets
// it and refuses it instead of passing over it.
bool existsInFolder(const std::string& dir, const std::string& name);

}  // namespace tessarin
