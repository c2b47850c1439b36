// File writes under faults and a writer killed at random: a file is its old or
// its new version, never a mix, and the player is told when a write failed.
#include "stages/writefile.h"
#include "stages_support.h"
#include "support/threemove_game.h"

#include <csignal>
#include <fcntl.h>
#include <linux/fs.h>
#include <optional>
#include <random>
#include <spawn.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace tessarin::test {
namespace {

// Sets the writers' fault hook for a scope.
struct Faults {
    explicit Faults(WriteFaultHook hook) { setWriteFaultHook(std::move(hook)); }
    ~Faults() { setWriteFaultHook(nullptr); }
    Faults(const Faults&) = delete;
    Faults& operator=(const Faults&) = delete;
};

// A step that fails with err; for writes, after the first `after` bytes
// have been written (the first write comes short up to there).
WriteFaultHook failing(WriteStep failed, int err, std::size_t after = 0) {
    return [=](WriteStep step, const std::string&, std::size_t offset, std::size_t& size) {
        if (step != failed) return 0;
        if (step != WriteStep::Write || offset >= after) return err;
        size = std::min(size, after - offset);
        return 0;
    };
}

// Makes a folder refuse new entries for real: through its permissions for an
// ordinary user, through the immutable flag for root, where the file system
// has one. `active` tells whether it worked.
struct ReadOnlyFolder {
    explicit ReadOnlyFolder(const QString& dir) : path(QFile::encodeName(dir)) { active = set(true); }
    ~ReadOnlyFolder() {
        if (active) set(false);
    }
    ReadOnlyFolder(const ReadOnlyFolder&) = delete;
    ReadOnlyFolder& operator=(const ReadOnlyFolder&) = delete;
    bool set(bool readOnly) const {
        if (::geteuid() != 0) return ::chmod(path.constData(), readOnly ? 0555 : 0755) == 0;
        const int fd = ::open(path.constData(), O_RDONLY | O_DIRECTORY);
        int flags = 0;
        bool done = fd >= 0 && ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
        flags = readOnly ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
        done = done && ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
        if (fd >= 0) ::close(fd);
        return done;
    }
    QByteArray path;
    bool active = false;
};

QByteArray bytesOf(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("missing");
}

ino_t inode(const QByteArray& path) {
    struct stat st {};
    return ::stat(path.constData(), &st) == 0 ? st.st_ino : 0;
}

QStringList entries(const QString& dir) {
    return QDir(dir).entryList(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot);
}

TEST(FileWrites, AWriteThatFailsAtAnyStepOrByteLeavesTheOldFile) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("data.txt"));
    const std::string path = file.toStdString();
    const QByteArray old = "an old line\r\nthe last line, without its end";
    const std::string line(2000, 'n'), replacement(3000, 'r');
    struct Writer {
        const char* what;
        std::function<bool(std::string& error)> write;
        QByteArray result;
    };
    const std::vector<Writer> writers = {
        {"replace", [&](std::string& e) { return replaceFile(path, replacement, e); }, QByteArray::fromStdString(replacement)},
        {"append", [&](std::string& e) { return appendLine(path, line, e); },
         old + "\r\n" + QByteArray::fromStdString(line) + "\r\n"},
    };
    const auto writeOld = [&] {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(old);
        f.close();
        ASSERT_TRUE(f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
    };
    for (const Writer& w : writers) {
        SCOPED_TRACE(w.what);
        std::vector<std::tuple<WriteStep, int, std::size_t>> faults = {
            {WriteStep::Create, EROFS, 0}, {WriteStep::Sync, EIO, 0}, {WriteStep::Rename, EPERM, 0}};
        for (std::size_t at = 0; at < static_cast<std::size_t>(w.result.size()); at += 97)
            faults.emplace_back(WriteStep::Write, ENOSPC, at);  // the disk fills after `at` bytes
        for (const auto& [step, err, after] : faults) {
            SCOPED_TRACE(testing::Message() << "step " << static_cast<int>(step) << ", byte " << after);
            writeOld();
            const Faults hook(failing(step, err, after));
            std::string error;
            ASSERT_FALSE(w.write(error));
            EXPECT_EQ(error, std::strerror(err));
            ASSERT_EQ(bytesOf(file), old);
            ASSERT_EQ(entries(dir.path()), QStringList{QStringLiteral("data.txt")});
        }

        // Writes the system cuts short, a few bytes each, still finish; the
        // file keeps its permissions.
        writeOld();
        const Faults hook([](WriteStep, const std::string&, std::size_t offset, std::size_t& size) {
            size = std::min<std::size_t>(size, 1 + offset % 13);
            return 0;
        });
        std::string error;
        ASSERT_TRUE(w.write(error)) << error;
        EXPECT_EQ(bytesOf(file), w.result);
        struct stat st {};
        ASSERT_EQ(::stat(QFile::encodeName(file).constData(), &st), 0);
        EXPECT_EQ(st.st_mode & 07777, 0640u);
        EXPECT_EQ(entries(dir.path()), QStringList{QStringLiteral("data.txt")});
    }
}

TEST(FileWrites, AWriterKilledAtRandomMomentsLeavesTheOldOrTheNewFileNeverAMix) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("data.txt"));
    const QByteArray a(300000, 'A'), b(200000, 'B');  // what the probe writes in turn
    std::mt19937 random(2024);
    for (const char* mode : {"replace", "append"}) {
        SCOPED_TRACE(mode);
        const bool replacing = std::string_view(mode) == "replace";
        {
            QFile f(file);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
            f.write(replacing ? a : QByteArray("a line before\r\n"));
        }
        QByteArray before = bytesOf(file);
        for (int run = 0; run < 40; ++run) {
            const QByteArray probe = TESSARIN_WRITE_PROBE;
            const QByteArray target = QFile::encodeName(file);
            char* argv[] = {const_cast<char*>(probe.constData()), const_cast<char*>(mode),
                            const_cast<char*>(target.constData()), nullptr};
            pid_t pid = 0;
            ASSERT_EQ(::posix_spawn(&pid, probe.constData(), nullptr, nullptr, argv, environ), 0);
            // Once the probe has replaced the file a first time, it is killed
            // at a random moment of its work.
            const ino_t first = inode(target);
            for (int wait = 0; wait < 50000 && inode(target) == first; ++wait) ::usleep(100);
            ::usleep(std::uniform_int_distribution<unsigned>(0, 15000)(random));
            ::kill(pid, SIGKILL);
            int status = 0;
            ASSERT_EQ(::waitpid(pid, &status, 0), pid);
            ASSERT_TRUE(WIFSIGNALED(status)) << "the probe stopped by itself with status " << status;

            const QByteArray now = bytesOf(file);
            if (replacing) {
                ASSERT_TRUE(now == a || now == b) << "run " << run << ": a mix of " << now.size() << " bytes";
                continue;
            }
            // The old content, then whole lines of the probe.
            ASSERT_TRUE(now.startsWith(before)) << "run " << run;
            const QByteArray added = now.mid(before.size());
            ASSERT_EQ(added.size() % 102, 0) << "run " << run;
            for (qsizetype p = 0; p < added.size(); p += 102)
                ASSERT_TRUE(added.mid(p, 5) == "line " && added.mid(p + 100, 2) == "\r\n") << "run " << run;
            before = now;
        }
        // Kills met the probe in the middle of a write: they left temporary
        // files behind.
        EXPECT_GT(entries(dir.path()).size(), 1);
        for (const QString& name : entries(dir.path()))
            if (name != QStringLiteral("data.txt")) QFile::remove(dir.filePath(name));
    }
}

using GameWrites = ThreeMoveGame;

TEST_F(GameWrites, RefusedWritesAreReportedAndEveryFileStaysAsItWas) {
    MjanModule author(dir.path(), ui, true);
    ASSERT_TRUE(author.startUp());
    writeFile(QStringLiteral("maptwo.map"), stageLine(20) + "\r\n");
    writeFile(QStringLiteral("anstwo.map"), "an answer written by hand\r\n");

    struct Writer {
        const char* what;
        std::function<void()> prepare;  // runs without faults
        std::function<void()> write;
        QStringList messages;           // what each message box starts with
    };
    const std::vector<Writer> writers = {
        {"SAVE",
         [&] {
             author.menuStartRnd_Click();
             takeFirstPair(author);
             author.menuSave_Click();  // the save there before
             takeFirstPair(author);
         },
         [&] { author.menuSave_Click(); },
         {QStringLiteral("testdat.txt に保存できませんでした")}},
        {"a ThreeMove move",
         [&] {
             setPosition({"..ba..cd.e#"}, 3);
             click(3, 1, kLeftButton);  // its work files are there before
         },
         [&] { click(7, 1, kLeftButton); },
         {QStringLiteral("一手戻すための作業ファイル ") + path(QStringLiteral("workthree1.dat"))}},
        {"the stores of a solved stage",
         [&] { author.stageNo = QStringLiteral("00021"); },
         [&] {
             author.storeAnswer();
             author.storeSolvedStage();
         },
         {QStringLiteral("anstwo.map に書き込めませんでした"), QStringLiteral("maptwo.map に書き込めませんでした")}},
    };
    struct Fault {
        const char* what;
        WriteFaultHook hook;
        bool realReadOnly = false;
    };
    const std::vector<Fault> faults = {
        {"a folder that takes no new file", failing(WriteStep::Create, EROFS)},
        {"a folder the system makes read-only", nullptr, true},
        {"a disk that fills after 100 bytes", failing(WriteStep::Write, ENOSPC, 100)},
        {"data that never reach the disk", failing(WriteStep::Sync, EIO)},
        {"a refused rename", failing(WriteStep::Rename, EPERM)},
    };
    for (const Writer& w : writers) {
        for (const Fault& f : faults) {
            SCOPED_TRACE(testing::Message() << w.what << " / " << f.what);
            w.prepare();
            const auto files = folderBytes(dir.path());
            const QStringList names = entries(dir.path());
            const Snapshot before(author);
            ui.boxes.clear();
            {
                std::optional<ReadOnlyFolder> readOnly;
                if (f.realReadOnly && !readOnly.emplace(dir.path()).active) continue;  // no way to here
                const Faults hook(f.hook);
                w.write();
            }
            ASSERT_EQ(static_cast<qsizetype>(ui.boxes.size()), w.messages.size());
            for (std::size_t i = 0; i < ui.boxes.size(); ++i)
                EXPECT_TRUE(ui.boxes[i].text.startsWith(w.messages[static_cast<qsizetype>(i)]))
                    << ui.boxes[i].text.toStdString();
            EXPECT_EQ(folderBytes(dir.path()), files);
            EXPECT_EQ(entries(dir.path()), names);
            before.expectSame(author);
        }
    }
    // The move went on, but cannot be taken back.
    EXPECT_FALSE(game->menu(MenuId::PaiBack).enabled);
}

}  // namespace
}  // namespace tessarin::test
