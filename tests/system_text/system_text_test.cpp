// The system's 8-bit text: which byte each character becomes on the wire and back.
#include "platform/system_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

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
