// The system's 8-bit text: which byte each character becomes on the wire and back, and what
// reaches a file it is written to.
#include "platform/system_text.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "platform/standard_streams.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

std::string EveryByte() {
    std::string bytes;
    for (int code = 0; code < 256; ++code) bytes += static_cast<char>(code);
    return bytes;
}

struct Crossing {
    std::u16string text;
    std::string bytes;
};

#ifdef _WIN32
constexpr unsigned kWesternEuropean = 1252;

std::u16string Decode(const std::string& bytes) {
    return platform::DecodeCodePage(bytes, kWesternEuropean);
}
std::string Encode(const std::u16string& text) {
    return platform::EncodeCodePage(text, kWesternEuropean);
}

// Code page 1252 differs from Latin-1 in 0x80-0x9F; the five codes it leaves free stay themselves.
const std::vector<Crossing> kBothWays = {
    {u"\u20ac", "\x80"},
    {u"\u201a\u0192", "\x82\x83"},
    {u"\u0178", "\x9f"},
    {u"\u0081\u009d", "\x81\x9d"},
    {u"\u00e9t\u00e9", "\xe9t\xe9"},
    {u"\u00ff", "\xff"},
    {u"", ""},
};
// Characters the code page lacks: a question mark, never a look-alike.
const std::vector<Crossing> kOutOnly = {
    {u"\u0100", "?"}, {u"\u03a9=1", "?=1"}, {u"\u4e2d\u00e9", "?\xe9"}};
#else
std::u16string Decode(const std::string& bytes) {
    return platform::DecodeSystemText(bytes);
}
std::string Encode(const std::u16string& text) {
    return platform::EncodeSystemText(text);
}

// Latin-1: each byte is the character of the same code.
const std::vector<Crossing> kBothWays = {
    {u"\u0080", "\x80"}, {u"\u0081\u009d", "\x81\x9d"},
    {u"\u009f", "\x9f"}, {u"\u00e9t\u00e9", "\xe9t\xe9"},
    {u"\u00ff", "\xff"}, {u"", ""},
};
const std::vector<Crossing> kOutOnly = {
    {u"\u20ac", "?"}, {u"\u0100", "?"}, {u"\u03a9=1", "?=1"}, {u"\u4e2d\u00e9", "?\xe9"}};
#endif

TEST(SystemText, CharactersAndTheirBytesCrossBothWays) {
    for (const Crossing& crossing : kBothWays) {
        EXPECT_EQ(Encode(crossing.text), crossing.bytes);
        EXPECT_EQ(Decode(crossing.bytes), crossing.text);
    }
}

TEST(SystemText, CharactersWithoutAByteGoOutAsQuestionMarks) {
    for (const Crossing& crossing : kOutOnly) EXPECT_EQ(Encode(crossing.text), crossing.bytes);
}

TEST(SystemText, EveryByteComesBackAsItWentIn) {
    // A command file's bytes reach the wire through the text area's characters.
    const std::u16string text = Decode(EveryByte());
    EXPECT_EQ(text.size(), 256u);
    EXPECT_EQ(Encode(text), EveryByte());
}

// Only a console is given characters; a file or pipe, as the player's output usually is, gets the
// bytes, the same as its log holds.
TEST(SystemText, WrittenToAFileItStaysItsBytes) {
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() /
        ("qdax-system-text-" + std::to_string(std::random_device{}()));
    std::FILE* file = std::fopen(path.string().c_str(), "wb");
    ASSERT_NE(file, nullptr);
    platform::WriteSystemText(file, EveryByte());
    platform::WriteSystemText(file, "\xe9t\xe9");
    std::fclose(file);
    std::ifstream in(path, std::ios::binary);
    const std::string written{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    in.close();
    std::filesystem::remove(path);
    EXPECT_EQ(written, EveryByte() + "\xe9t\xe9");
}

#ifdef _WIN32
TEST(SystemText, IsTheSystemsAnsiCodePage) {
    const unsigned system = ::GetACP();
    EXPECT_EQ(platform::DecodeSystemText(EveryByte()),
              platform::DecodeCodePage(EveryByte(), system));
    EXPECT_EQ(platform::EncodeSystemText(u"\u20ac\u00e9\u0100"),
              platform::EncodeCodePage(u"\u20ac\u00e9\u0100", system));
}
#endif

}  // namespace
