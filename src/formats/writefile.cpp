#include "formats/writefile.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace tessarin {

namespace {

WriteFaultHook& faultHook() {
    static WriteFaultHook hook;
    return hook;
}

// 0 when the step may run, else the errno the hook fails it with.
int fault(WriteStep step, const std::string& path, std::size_t offset, std::size_t& size) {
    const WriteFaultHook& hook = faultHook();
    return hook ? hook(step, path, offset, size) : 0;
}

int fault(WriteStep step, const std::string& path) {
    std::size_t none = 0;
    return fault(step, path, 0, none);
}

const char* const kNotAFile = "not an ordinary file";
constexpr off_t kMaxAppendBytes = off_t{64} << 20;

// All of bytes, going on after short writes; false with errno set.
bool writeAll(int fd, const std::string& path, std::string_view bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        std::size_t size = bytes.size() - done;
        if (const int e = fault(WriteStep::Write, path, done, size)) {
            errno = e;
            return false;
        }
        const ssize_t n = ::write(fd, bytes.data() + done, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            if (n == 0) errno = EIO;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// A new, empty file "TARGET.XXXXXX" for writing; created with 0666, so the
// process's umask applies to it as to any file the program makes.
int createTemp(const std::string& target, std::string& temp) {
    static std::mt19937_64 random{std::random_device{}()};
    static constexpr char kChars[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    for (int attempt = 0; attempt < 100; ++attempt) {
        temp = target + '.';
        for (int i = 0; i < 6; ++i) temp += kChars[random() % (sizeof kChars - 1)];
        const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

}  // namespace

void setWriteFaultHook(WriteFaultHook hook) { faultHook() = std::move(hook); }

bool replaceFile(const std::string& path, std::string_view bytes, std::string& error) {
    std::string target = path;
    struct stat st {};
    if (::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
        if (char* real = ::realpath(path.c_str(), nullptr)) {
            target = real;
            std::free(real);
        }
    }
    const bool exists = ::stat(target.c_str(), &st) == 0;
    if (exists && !S_ISREG(st.st_mode)) {
        error = kNotAFile;
        return false;
    }

    std::string temp;
    int fd = -1;
    bool made = false;
    const auto fail = [&](int err) {
        if (fd >= 0) ::close(fd);
        if (made) ::unlink(temp.c_str());
        error = std::strerror(err);
        return false;
    };
    if (const int e = fault(WriteStep::Create, target)) return fail(e);
    fd = createTemp(target, temp);
    if (fd < 0) return fail(errno);
    made = true;
    // The new file keeps the permissions of the one it replaces.
    if (exists && ::fchmod(fd, st.st_mode & 07777) != 0) return fail(errno);
    if (!writeAll(fd, target, bytes)) return fail(errno);
    if (const int e = fault(WriteStep::Sync, target)) return fail(e);
    if (::fsync(fd) != 0) return fail(errno);
    const int closed = ::close(fd);
    fd = -1;
    if (closed != 0) return fail(errno);
    if (const int e = fault(WriteStep::Rename, target)) return fail(e);
    if (::rename(temp.c_str(), target.c_str()) != 0) return fail(errno);
    return true;
}

bool appendLine(const std::string& path, std::string_view line, std::string& error) {
    std::string bytes;
    // Not blocking: a pipe under the file's name must not stop the program.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0 && errno != ENOENT) {
        error = std::strerror(errno);
        return false;
    }
    if (fd >= 0) {
        struct stat st {};
        bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
        if (!ok) error = kNotAFile;
        // No file the game appends to comes near this size; a bigger one is
        // not read into memory to be copied.
        if (ok && st.st_size > kMaxAppendBytes) {
            ok = false;
            error = "the file is too large";
        }
        char buf[65536];
        for (ssize_t n = 0; ok;) {
            n = ::read(fd, buf, sizeof buf);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) {
                error = std::strerror(errno);
                ok = false;
            }
            if (n <= 0) break;
            bytes.append(buf, static_cast<std::size_t>(n));
        }
        ::close(fd);
        if (!ok) return false;
    }
    if (!bytes.empty() && bytes.back() != '\n' && bytes.back() != '\r') bytes += "\r\n";
    bytes += line;
    bytes += "\r\n";
    return replaceFile(path, bytes, error);
}

}  // namespace tessarin
