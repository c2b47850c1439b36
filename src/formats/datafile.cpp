#include "formats/datafile.h"

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tessarin {

namespace {

// Ordinary (U+0020) and ideographic (U+3000, UTF-8 E3 80 80) spaces at both ends.
std::string_view trimSpaces(std::string_view s) {
    for (;;) {
        if (!s.empty() && s.front() == ' ') s.remove_prefix(1);
        else if (s.substr(0, 3) == "\xE3\x80\x80") s.remove_prefix(3);
        else if (!s.empty() && s.back() == ' ') s.remove_suffix(1);
        else if (s.size() >= 3 && s.substr(s.size() - 3) == "\xE3\x80\x80") s.remove_suffix(3);
        else return s;
    }
}

}  // namespace

bool readDataFile(const std::string& path, std::string& bytes, ReadFault* fault) {
    ReadFault none;
    ReadFault& why = fault ? *fault : none;
    why = ReadFault::None;
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
        why = ReadFault::NotAFile;
        return false;
    }
    if (st.st_size > kMaxDataFileBytes) {
        why = ReadFault::TooBig;
        return false;
    }
    // Not blocking: should a pipe take the file's place after the test above,
    // the open must not wait for a writer.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        why = ReadFault::Unreadable;
        return false;
    }
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        why = ReadFault::NotAFile;
        return false;
    }
    std::string out;
    out.reserve(static_cast<std::size_t>(st.st_size));
    char buf[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            ::close(fd);
            why = ReadFault::Unreadable;
            return false;
        }
        if (n == 0) break;
        out.append(buf, static_cast<std::size_t>(n));
        // The file may have grown since it was measured.
        if (static_cast<std::int64_t>(out.size()) > kMaxDataFileBytes) {
            ::close(fd);
            why = ReadFault::TooBig;
            return false;
        }
    }
    ::close(fd);
    bytes = std::move(out);
    return true;
}

std::vector<std::string> textLines(std::string_view bytes) {
    std::vector<std::string> lines;
    const std::size_t n = bytes.size();
    std::size_t start = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const char c = bytes[i];
        if (c != '\r' && c != '\n') continue;
        lines.emplace_back(bytes.substr(start, i - start));
        if (c == '\r' && i + 1 < n && bytes[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < n) lines.emplace_back(bytes.substr(start));
    return lines;
}

std::string_view withoutByteOrderMark(std::string_view line) {
    return line.substr(0, 3) == "\xEF\xBB\xBF" ? line.substr(3) : line;
}

std::string folderPath(const std::string& dir, const std::string& name) {
    if (!dir.empty() && dir.back() == '/') return dir + name;
    return dir + '/' + name;
}

bool isFolder(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool existsInFolder(const std::string& dir, const std::string& name) {
    DIR* d = ::opendir(dir.c_str());
    if (!d) return false;
    bool found = false;
    while (const dirent* e = ::readdir(d)) {
        if (trimSpaces(e->d_name) != name) continue;
        struct stat st {};
        // A folder under the name is not the file; anything else (a dangling
        // link included) is, and its reader says what is wrong with it.
        const std::string path = folderPath(dir, e->d_name);
        if (::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) continue;
        found = true;
        break;
    }
    ::closedir(d);
    return found;
}

}  // namespace tessarin
