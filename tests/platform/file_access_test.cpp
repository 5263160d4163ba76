// Reading and replacing whole files, the same cases on every system the program runs on.
#include "platform/file_access.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

class FileAccessTest : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = test->name();
        std::replace(name.begin(), name.end(), '/', '.');  // parameterised names have slashes
        dir_ = fs::temp_directory_path() / ("file_access_test." + name);
        fs::remove_all(dir_);
        ASSERT_TRUE(fs::create_directory(dir_));
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(dir_, ignored);
    }

    std::string PathOf(const std::string& name) const { return (dir_ / name).string(); }

    void Write(const std::string& name, const std::string& bytes) const {
        std::ofstream(PathOf(name), std::ios::binary) << bytes;
    }
    std::string Read(const std::string& name) const {
        std::ifstream in(PathOf(name), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    // The names in the directory: a replacement leaves nothing of its own behind.
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir_)) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    fs::path dir_;
};

const std::string kBytes = std::string("line one\r\nline\0two\r\n\xff\x80 end", 25);

struct HeadCase {
    const char* title;
    std::size_t size;
    std::size_t limit;
    friend void PrintTo(const HeadCase& row, std::ostream* out) { *out << row.title; }
};

class ReadFileHeadTest : public FileAccessTest, public ::testing::WithParamInterface<HeadCase> {};

TEST_P(ReadFileHeadTest, GivesTheFirstBytesUpToTheLimit) {
    std::string content;
    for (std::size_t i = 0; i < GetParam().size; ++i) content += static_cast<char>(i * 7 + 1);
    Write("file", content);
    const auto head = platform::ReadFileHead(PathOf("file"), GetParam().limit);
    ASSERT_TRUE(head.has_value());
    EXPECT_EQ(*head, content.substr(0, GetParam().limit));
}

INSTANTIATE_TEST_SUITE_P(Sizes, ReadFileHeadTest,
                         ::testing::Values(HeadCase{"Empty", 0, 10}, HeadCase{"Shorter", 5, 10},
                                           HeadCase{"Exact", 10, 10}, HeadCase{"Longer", 11, 10},
                                           HeadCase{"SeveralChunks", 200'000, 150'001},
                                           HeadCase{"LimitZero", 4, 0}),
                         [](const auto& info) { return std::string(info.param.title); });

TEST_F(FileAccessTest, ReadingWhatIsNoRegularFileGivesNothing) {
    EXPECT_FALSE(platform::ReadFileHead(PathOf("missing"), 10).has_value());
    EXPECT_FALSE(platform::ReadFileHead(dir_.string(), 10).has_value());
    EXPECT_FALSE(platform::ReadFileHead("", 10).has_value());
}

TEST_F(FileAccessTest, ReadingIsByteExact) {
    Write("file", kBytes);
    EXPECT_EQ(platform::ReadFileHead(PathOf("file"), 1000), kBytes);
}

TEST_F(FileAccessTest, ReplacingCreatesAMissingFile) {
    ASSERT_TRUE(platform::ReplaceFileContents(PathOf("new"), kBytes));
    EXPECT_EQ(Read("new"), kBytes);
    EXPECT_EQ(Names(), std::vector<std::string>{"new"});
}

TEST_F(FileAccessTest, ReplacingPutsTheWholeNewContentInPlaceOfTheOld) {
    Write("file", std::string(5000, 'o'));
    ASSERT_TRUE(platform::ReplaceFileContents(PathOf("file"), "short"));
    EXPECT_EQ(Read("file"), "short");
    ASSERT_TRUE(platform::ReplaceFileContents(PathOf("file"), ""));
    EXPECT_EQ(Read("file"), "");
    EXPECT_EQ(Names(), std::vector<std::string>{"file"});
}

TEST_F(FileAccessTest, ADirectoryIsNotReplaced) {
    fs::create_directory(PathOf("sub"));
    EXPECT_FALSE(platform::ReplaceFileContents(PathOf("sub"), kBytes));
    EXPECT_TRUE(fs::is_directory(PathOf("sub")));
    EXPECT_EQ(Names(), std::vector<std::string>{"sub"});
}

TEST_F(FileAccessTest, AFileInAMissingDirectoryIsNotMade) {
    EXPECT_FALSE(platform::ReplaceFileContents(PathOf("missing/file"), kBytes));
    EXPECT_TRUE(Names().empty());
}

}  // namespace
