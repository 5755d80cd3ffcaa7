#include "common/text_rules.h"

#include <gtest/gtest.h>

#include <array>

#include "common/gbk.h"

namespace quovella {
namespace {

using Parts = std::vector<std::string>;

TEST(TextBetween, Delimiters) {
    EXPECT_EQ(textBetween("var x=\"a,b\";", "\"", "\""), "a,b");
    EXPECT_EQ(textBetween("\"\"", "\"", "\""), "");
    EXPECT_EQ(textBetween("abc", nullptr, "."), "");
    EXPECT_EQ(textBetween("12.5", nullptr, "."), "12");
    EXPECT_EQ(textBetween(".5", nullptr, "."), "");
    EXPECT_EQ(textBetween("xAbCy", "a", "Y"), "bC");  // letter case ignored
    EXPECT_EQ(textBetween("a<1>b<2>", "<", ">", 4), "2");
    EXPECT_EQ(textBetween("a<1>", "<", ">", -5), "1");
    EXPECT_EQ(textBetween("<1><2>", "<", ">", 1), "1");  // the start counts from 1
    EXPECT_EQ(textBetween("<1><2>", "<", ">", 4), "2");
    EXPECT_EQ(textBetween("a<1>", "<", ">", 99), "");
}

TEST(TextBetween, NeverMatchesOnATrailByte) {
    // 乐 is 0xC0 0xD6 and 亚 0xD1 0xC7; "\x7C" (|) is a valid GBK trail byte: 檿 is 0x99 0x7C.
    const std::string name = "\x99\x7C";
    const std::string text = "\"" + name + "|x|\"";
    EXPECT_EQ(textBetween(text, "|", "|"), "x");
    // A name whose trail byte is a comma must not be cut.
    const std::string comma = "\x81\x2C";
    EXPECT_EQ(splitText(comma + ",1", ","), (Parts{comma, "1"}));
}

TEST(FindText, FoldsOnlySingleByteLetters) {
    EXPECT_EQ(findText("xABc", "abC"), 1U);
    // The trail bytes 0x41 and 0x61 read as A and a, but 0x81 0x41 and 0x81 0x61 differ.
    EXPECT_EQ(findText("\x81\x61", "\x81\x41"), std::string::npos);
    EXPECT_EQ(findText("a\x81\x41", "A\x81\x41"), 0U);
    EXPECT_EQ(splitText("\x81\x61,\x81\x41", "\x81\x41"), Parts{"\x81\x61,"});
}

TEST(SplitText, EmptyPartsAndTheTail) {
    EXPECT_EQ(splitText("a,,b,", ","), (Parts{"a", "", "b"}));
    EXPECT_EQ(splitText("a;b;", ";"), (Parts{"a", "b"}));
    EXPECT_EQ(splitText("", ","), Parts{});
    EXPECT_EQ(splitText(",", ","), Parts{""});
    EXPECT_EQ(splitText("sh600887\r\nsz000001", "\r\n"), (Parts{"sh600887", "sz000001"}));
    EXPECT_EQ(splitText("a\nb\n", "\r\n"), Parts{"a\nb\n"});
    EXPECT_EQ(splitText(gbk("伊利股份,1"), ","), (Parts{gbk("伊利股份"), "1"}));
}

TEST(SplitText, FirstPartsAreViewsAndStopEarly) {
    const std::string text = "a,,b,";
    std::array<std::string_view, 2> two;
    EXPECT_EQ(firstParts(text, ",", two), 2U);
    EXPECT_EQ(two[0].data(), text.data());
    EXPECT_EQ(two[1], "");
    std::array<std::string_view, 4> four;
    EXPECT_EQ(firstParts(text, ",", four), 3U);
    EXPECT_EQ(four[2], "b");
    EXPECT_EQ(upToFirstNul(std::string("ab\0c", 4)), "ab");
}

}  // namespace
}  // namespace quovella
