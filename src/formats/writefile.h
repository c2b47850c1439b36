// Writing the files beside the program so that a crash, a full disk or a
// file system that refuses never leaves a file half written: a file is
// replaced as a whole through a temporary file in its own folder and a
// rename, and a line is appended the same way. Plain C++ over POSIX calls,
// shared by the game and tessarin-tool.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace tessarin {

// Replaces the file at path with bytes: they go to a new temporary file in
// the same folder ("NAME.XXXXXX"), which is flushed to the disk and renamed
// over path. A link is followed: the file it names is replaced. False, with
// the system's reason in error, when a step fails; then the file at path is
// as it was and no temporary file is left behind.
bool replaceFile(const std::string& path, std::string_view bytes, std::string& error);

// Appends line and a CR LF to the file at path, which is made when missing;
// a last line without a line end is ended first, so the new line never runs
// on from it. The append is a replaceFile: afterwards the file holds its old
// content, with or without the whole new line, never a part of it. (A plain
// append is not enough: a write the kernel interrupts at a page boundary,
// for a process being killed, stores only the first part of the line.)
bool appendLine(const std::string& path, std::string_view line, std::string& error);

// For tests: every step of the two writers asks the hook first, when one is
// set, naming the file being written (never the temporary one). The hook
// returns 0 to let the step run, or an errno value to make it fail with it;
// before a write, it may lower size (the bytes about to be written at
// offset) to make the write a short one.
enum class WriteStep { Create, Write, Sync, Rename };
using WriteFaultHook =
    std::function<int(WriteStep step, const std::string& path, std::size_t offset, std::size_t& size)>;
void setWriteFaultHook(WriteFaultHook hook);

}  // namespace tessarin
