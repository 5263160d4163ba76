#include "playback/text_files.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "playback/app_error.h"

namespace fs = std::filesystem;

namespace {

using Lines = std::vector<std::string>;

// A fresh directory for each test, removed afterwards.
class TextFilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "text_files_test.XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
    }
    void TearDown() override {
        std::error_code ignored;
        fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::add, ignored);
        fs::remove_all(dir_, ignored);
    }

    std::string PathOf(const std::string& name) const { return (dir_ / name).string(); }

    std::string Write(const std::string& name, const std::string& bytes) const {
        const std::string path = PathOf(name);
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }

    static std::string Read(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    std::set<std::string> Entries() const {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir_)) {
            names.insert(entry.path().filename().string());
        }
        return names;
    }

    fs::path dir_;
};

template <typename Action>
std::string MessageOf(Action action) {
    try {
        action();
    } catch (const AppError& error) {
        return error.what();
    }
    return "(no error)";
}

// Every byte value except the three that end text or lines.
std::string AllLineBytes() {
    std::string bytes;
    for (int b = 1; b < 256; ++b) {
        if (b != '\r' && b != '\n') bytes += static_cast<char>(b);
    }
    return bytes;
}

// Standard input comes from the file at `path` while the object lives.
class StandardInputFrom {
public:
    explicit StandardInputFrom(const std::string& path) : saved_(::dup(STDIN_FILENO)) {
        const int file = ::open(path.c_str(), O_RDONLY);
        EXPECT_GE(file, 0);
        EXPECT_EQ(::dup2(file, STDIN_FILENO), STDIN_FILENO);
        ::close(file);
    }
    ~StandardInputFrom() {
        ::dup2(saved_, STDIN_FILENO);
        ::close(saved_);
    }
    StandardInputFrom(const StandardInputFrom&) = delete;
    StandardInputFrom& operator=(const StandardInputFrom&) = delete;

private:
    int saved_;
};

struct LoadCase {
    const char* name;
    std::string bytes;
    Lines lines;
};

class LoadCommandFileTest : public TextFilesTest, public ::testing::WithParamInterface<LoadCase> {};

TEST_P(LoadCommandFileTest, SplitsIntoLines) {
    const std::string path = Write("commands.txt", GetParam().bytes);
    EXPECT_EQ(LoadCommandFile(path), GetParam().lines);
}

TEST_P(LoadCommandFileTest, StandardInputSplitsTheSame) {
    const std::string path = Write("commands.txt", GetParam().bytes);
    StandardInputFrom input(path);
    EXPECT_EQ(LoadCommandInput(), GetParam().lines);
}

using namespace std::string_literals;

INSTANTIATE_TEST_SUITE_P(
    Formats, LoadCommandFileTest,
    ::testing::Values(LoadCase{"CrLf", "VER\r\nRUN\r\nSTOP\r\n", {"VER", "RUN", "STOP"}},
                      LoadCase{"Lf", "VER\nRUN\nSTOP\n", {"VER", "RUN", "STOP"}},
                      LoadCase{"Cr", "VER\rRUN\rSTOP\r", {"VER", "RUN", "STOP"}},
                      LoadCase{"Mixed", "a\r\nb\nc\rd", {"a", "b", "c", "d"}},
                      LoadCase{
                          "LastLineWithoutEnd", "one\r\ntwo\r\nthree", {"one", "two", "three"}},
                      LoadCase{"SingleLineWithoutEnd", "VER", {"VER"}}, LoadCase{"Empty", "", {}},
                      LoadCase{"EmptyLineKept", "a\r\n\r\nb", {"a", "", "b"}},
                      LoadCase{"EmptyLastLineKept", "a\r\n\r\n", {"a", ""}},
                      LoadCase{"OnlyALineEnd", "\r\n", {""}},
                      LoadCase{"LfThenCrIsTwoLineEnds", "a\n\rb", {"a", "", "b"}},
                      LoadCase{"CrCrLf", "a\r\r\nb", {"a", "", "b"}},
                      LoadCase{"BlanksKept", " x \t\r\n\t", {" x \t", "\t"}},
                      LoadCase{"NulEndsText", "ab\0cd\r\nef"s, {"ab"}},
                      LoadCase{"NulFirst", "\0abc\r\n"s, {}},
                      LoadCase{"NulAfterLineEnd", "a\r\n\0b\r\n"s, {"a"}},
                      LoadCase{"AllByteValues",
                               AllLineBytes() + "\r\n" + AllLineBytes(),
                               {AllLineBytes(), AllLineBytes()}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(TextFilesTest, TextOfExactlyTheCapacityLoads) {
    const std::string path = Write("full.txt", "0123456789\r\n1234");
    EXPECT_EQ(LoadCommandFile(path, 16), (Lines{"0123456789", "1234"}));
}

TEST_F(TextFilesTest, TextOneByteOverTheCapacityIsRefused) {
    const std::string path = Write("over.txt", "0123456789\r\n12345");
    EXPECT_EQ(MessageOf([&] { LoadCommandFile(path, 16); }), "Text exceeds memo capacity");
}

// Loads `text` as the command file on standard input, given through a pipe as a shell gives it.
Lines LoadThroughPipe(const std::string& text, std::size_t capacity) {
    int ends[2];
    EXPECT_EQ(::pipe(ends), 0);
    EXPECT_EQ(::write(ends[1], text.data(), text.size()), static_cast<ssize_t>(text.size()));
    ::close(ends[1]);
    StandardInputFrom input("/dev/fd/" + std::to_string(ends[0]));
    ::close(ends[0]);
    return LoadCommandInput(capacity);
}

TEST_F(TextFilesTest, StandardInputFromAPipeHasTheSameCapacity) {
    EXPECT_EQ(LoadThroughPipe("0123456789\r\n1234", 16), (Lines{"0123456789", "1234"}));
    EXPECT_EQ(MessageOf([] { LoadThroughPipe("0123456789\r\n12345", 16); }),
              "Text exceeds memo capacity");
}

TEST_F(TextFilesTest, CapacityCountsTheTextBeforeANul) {
    EXPECT_EQ(LoadCommandFile(Write("a.txt", "0123456789abcdef\0tail"s), 16),
              (Lines{"0123456789abcdef"}));
    EXPECT_EQ(MessageOf([&] { LoadCommandFile(Write("b.txt", "0123456789abcdefg\0"s), 16); }),
              "Text exceeds memo capacity");
}

TEST_F(TextFilesTest, DefaultCapacityBoundary) {
    const std::string block = std::string(1023, 'x') + "\n";
    std::string full;
    for (std::size_t i = 0; i < kFileAreaCapacity / block.size(); ++i) full += block;
    ASSERT_EQ(full.size(), kFileAreaCapacity);
    EXPECT_EQ(LoadCommandFile(Write("full.txt", full)).size(), kFileAreaCapacity / block.size());
    EXPECT_EQ(MessageOf([&] { LoadCommandFile(Write("over.txt", full + "y")); }),
              "Text exceeds memo capacity");
}

TEST_F(TextFilesTest, HugeFileIsRefusedWithoutReadingItWhole) {
    // 64 GiB, almost all of it a hole: reading it whole would not end within the test's time.
    const std::string path = Write("huge.txt", std::string(32, 'x'));
    ASSERT_EQ(::truncate(path.c_str(), off_t{64} << 30), 0);
    EXPECT_EQ(MessageOf([&] { LoadCommandFile(path, 16); }), "Text exceeds memo capacity");
}

TEST_F(TextFilesTest, FileThatCannotBeOpenedIsReported) {
    const std::string missing = PathOf("no such file.txt");
    EXPECT_EQ(MessageOf([&] { LoadCommandFile(missing); }), "Cannot open file " + missing);
    EXPECT_EQ(MessageOf([&] { LoadCommandFile(dir_.string()); }),
              "Cannot open file " + dir_.string());
    EXPECT_EQ(MessageOf([] { LoadCommandFile(""); }), "Cannot open file ");
}

TEST_F(TextFilesTest, FifoWithoutWriterIsRefusedInsteadOfBlocking) {
    const std::string fifo = PathOf("commands.fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(MessageOf([&] { LoadCommandFile(fifo); }), "Cannot open file " + fifo);
}

TEST_F(TextFilesTest, SavedLinesEndInCrLf) {
    const std::string path = PathOf("log.txt");
    SaveLogFile(path, {"--> VER", "<-- OK", ""});
    EXPECT_EQ(Read(path), "--> VER\r\n<-- OK\r\n\r\n");
}

TEST_F(TextFilesTest, EmptyLogSavesAnEmptyFile) {
    const std::string path = Write("log.txt", "old content\r\n");
    SaveLogFile(path, {});
    ASSERT_TRUE(fs::is_regular_file(path));
    EXPECT_EQ(fs::file_size(path), 0u);
}

TEST_F(TextFilesTest, SaveReplacesALongerFileWhole) {
    const std::string path = Write("log.txt", std::string(1000, 'z'));
    SaveLogFile(path, {"a"});
    EXPECT_EQ(Read(path), "a\r\n");
    EXPECT_EQ(Entries(), std::set<std::string>{"log.txt"});
}

TEST_F(TextFilesTest, EveryByteValueIsSavedAsItIs) {
    std::string line;
    for (int b = 0; b < 256; ++b) line += static_cast<char>(b);
    const std::string path = PathOf("bytes.log");
    SaveLogFile(path, {line});
    EXPECT_EQ(Read(path), line + "\r\n");
}

TEST_F(TextFilesTest, SavedLogLoadsBackAsTheSameLines) {
    const Lines lines{"--> " + AllLineBytes(), "", "<-- OK"};
    const std::string path = PathOf("round.txt");
    SaveLogFile(path, lines);
    EXPECT_EQ(LoadCommandFile(path), lines);
}

TEST_F(TextFilesTest, NewFileGetsTheUmaskPermissions) {
    const mode_t old = ::umask(027);
    SaveLogFile(PathOf("log.txt"), {"x"});
    ::umask(old);
    EXPECT_EQ(fs::status(PathOf("log.txt")).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST_F(TextFilesTest, ReplacedFileKeepsItsPermissions) {
    const std::string path = Write("log.txt", "old");
    const fs::perms kept = fs::perms::owner_read | fs::perms::owner_write | fs::perms::others_read;
    fs::permissions(path, kept);
    SaveLogFile(path, {"new"});
    EXPECT_EQ(Read(path), "new\r\n");
    EXPECT_EQ(fs::status(path).permissions(), kept);
}

TEST_F(TextFilesTest, SaveThroughASymbolicLinkReplacesItsTarget) {
    const std::string target = Write("real.log", "old");
    fs::create_directory(dir_ / "links");
    fs::create_symlink("../real.log", dir_ / "links" / "link.log");
    SaveLogFile(PathOf("links/link.log"), {"new"});
    EXPECT_TRUE(fs::is_symlink(dir_ / "links" / "link.log"));
    EXPECT_EQ(Read(target), "new\r\n");
    EXPECT_EQ(Entries(), (std::set<std::string>{"links", "real.log"}));
}

TEST_F(TextFilesTest, SaveThroughADanglingLinkCreatesItsTarget) {
    fs::create_symlink("made.log", dir_ / "link.log");
    SaveLogFile(PathOf("link.log"), {"new"});
    EXPECT_TRUE(fs::is_symlink(dir_ / "link.log"));
    EXPECT_EQ(Read(PathOf("made.log")), "new\r\n");
}

TEST_F(TextFilesTest, LinkLoopCannotBeSaved) {
    fs::create_symlink("b.log", dir_ / "a.log");
    fs::create_symlink("a.log", dir_ / "b.log");
    const std::string path = PathOf("a.log");
    EXPECT_EQ(MessageOf([&] { SaveLogFile(path, {"x"}); }), "Cannot create file " + path);
}

TEST_F(TextFilesTest, TemporaryFilesLeftByAnEarlierRunAreSteppedOver) {
    // An earlier process with the same id may have died between creating its temporary file and
    // renaming it; those names are taken, and the save finds one that is free.
    const std::string prefix = ".log.txt." + std::to_string(::getpid()) + ".";
    for (int n = 0; n < 90; ++n) Write(prefix + std::to_string(n) + ".tmp", "");
    const std::set<std::string> stale = Entries();
    SaveLogFile(PathOf("log.txt"), {"new"});
    EXPECT_EQ(Read(PathOf("log.txt")), "new\r\n");
    std::set<std::string> expected = stale;
    expected.insert("log.txt");
    EXPECT_EQ(Entries(), expected);
}

struct RefusedSave {
    const char* name;
    std::string relativePath;  // below the test directory; empty for an empty name
};

class RefusedSaveTest : public TextFilesTest, public ::testing::WithParamInterface<RefusedSave> {};

TEST_P(RefusedSaveTest, ReportsAndLeavesNothingBehind) {
    Write("keep.txt", "old content");
    fs::create_directory(dir_ / "sub");
    const std::set<std::string> before = Entries();
    const std::string path = GetParam().relativePath.empty() ? "" : PathOf(GetParam().relativePath);

    EXPECT_EQ(MessageOf([&] { SaveLogFile(path, {"new"}); }), "Cannot create file " + path);
    EXPECT_EQ(Entries(), before);
    EXPECT_TRUE(fs::is_empty(dir_ / "sub"));
    EXPECT_EQ(Read(PathOf("keep.txt")), "old content");
}

INSTANTIATE_TEST_SUITE_P(Cases, RefusedSaveTest,
                         ::testing::Values(RefusedSave{"TargetIsADirectory", "sub"},
                                           RefusedSave{"DirectoryDoesNotExist", "missing/log.txt"},
                                           RefusedSave{"NameEndsInASlash", "keep.txt/"},
                                           RefusedSave{"PathThroughAFile", "keep.txt/log.txt"},
                                           RefusedSave{"EmptyName", ""}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(TextFilesTest, SaveOverAPipeIsRefused) {
    // Stands for every file that is not a regular one, such as a device: it stays what it is.
    const std::string path = PathOf("pipe");
    ASSERT_EQ(::mkfifo(path.c_str(), 0666), 0);
    EXPECT_EQ(MessageOf([&] { SaveLogFile(path, {"x"}); }), "Cannot create file " + path);
    EXPECT_TRUE(fs::is_fifo(path));
    EXPECT_EQ(Entries(), std::set<std::string>{"pipe"});
}

// Lowers the largest file this process may write, so that writing the temporary file fails.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &old_);
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit lowered = old_;
        lowered.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &lowered);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, oldHandler_);
    }

private:
    rlimit old_{};
    void (*oldHandler_)(int);
};

TEST_F(TextFilesTest, FailedWriteKeepsTheOldFileAndRemovesTheTemporary) {
    const std::string path = Write("log.txt", "old content\r\n");
    const Lines big(1000, std::string(100, 'x'));
    std::string message;
    {
        FileSizeLimit limit(4096);
        message = MessageOf([&] { SaveLogFile(path, big); });
    }
    EXPECT_EQ(message, "Cannot create file " + path);
    EXPECT_EQ(Read(path), "old content\r\n");
    EXPECT_EQ(Entries(), std::set<std::string>{"log.txt"});
}

// Runs `action` in a child process that cannot write to root-owned directories: as the superuser
// the child drops to the "nobody" user, otherwise it runs as it is. Returns the child's exit
// status.
template <typename Action>
int RunUnprivileged(Action action) {
    const pid_t child = ::fork();
    if (child == 0) {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(99);
        ::_exit(action());
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 100;
}

TEST_F(TextFilesTest, ReadOnlyFileIsNotReplaced) {
    const std::string path = Write("log.txt", "old content\r\n");
    fs::permissions(path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    fs::permissions(dir_, fs::perms::all);
    const int status = RunUnprivileged([&] {
        return MessageOf([&] { SaveLogFile(path, {"new"}); }) == "Cannot create file " + path ? 0
                                                                                              : 1;
    });
    EXPECT_EQ(status, 0);
    EXPECT_EQ(Read(path), "old content\r\n");
    EXPECT_EQ(Entries(), std::set<std::string>{"log.txt"});
}

TEST_F(TextFilesTest, UnwritableDirectoryKeepsTheOldFile) {
    // The file itself may be written, but a new file cannot be made beside it.
    const std::string path = Write("log.txt", "old content\r\n");
    fs::permissions(path, fs::perms::all);
    fs::permissions(dir_, ::geteuid() == 0 ? fs::perms::owner_all | fs::perms::group_read |
                                                 fs::perms::group_exec | fs::perms::others_read |
                                                 fs::perms::others_exec
                                           : fs::perms::owner_read | fs::perms::owner_exec);
    const int status = RunUnprivileged([&] {
        return MessageOf([&] { SaveLogFile(path, {"new"}); }) == "Cannot create file " + path ? 0
                                                                                              : 1;
    });
    fs::permissions(dir_, fs::perms::owner_all);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(Read(path), "old content\r\n");
    EXPECT_EQ(Entries(), std::set<std::string>{"log.txt"});
}

}  // namespace
