#include <gtest/gtest.h>

#include <climits>

#include "common/date_time.h"
#include "common/gbk.h"

namespace quovella {
namespace {

TEST(Gbk, RoundTripsThroughUtf8AndUtf16) {
    const std::string name = "\xD2\xC1\xC0\xFB\xB9\xC9\xB7\xDD";  // 伊利股份
    EXPECT_EQ(gbkToUtf8(name), "伊利股份");
    EXPECT_EQ(utf8ToGbk(gbkToUtf8(name)), name);
    EXPECT_EQ(gbkToUtf16(name), u"伊利股份");
    EXPECT_EQ(utf16ToGbk(gbkToUtf16(name)), name);
    EXPECT_EQ(gbkToUtf8(""), "");
}

TEST(Gbk, InvalidBytesBecomeQuestionMarks) {
    EXPECT_EQ(gbkToUtf8(std::string("a\xFF") + "b"), "a?b");
    EXPECT_EQ(gbkToUtf8("a\xD2"), "a?");  // a lead byte cut off at the end
    EXPECT_EQ(utf8ToGbk("a\xC3"), "a?");
}

TEST(DateText, PaddingAroundMidnightAndOctober) {
    EXPECT_EQ(timestampText({2020, 8, 27, 9, 5, 3}), "2020-08-27  09:05:03");
    EXPECT_EQ(timestampText({2020, 8, 28, 0, 0, 0}), "2020-08-28  00:00:00");
    EXPECT_EQ(dateText({2020, 10, 1}), "2020-10-01");
    EXPECT_EQ(dateText({2020, 8, 7}), "2020-08-07");
    // Never cut to a buffer, however wide the numbers.
    EXPECT_EQ(timestampText({INT_MIN, INT_MIN, INT_MIN, INT_MIN, INT_MIN, INT_MIN}),
              "-2147483648--2147483648--2147483648  -2147483648:-2147483648:-2147483648");
}

TEST(DateText, TextToDate) {
    const LocalDateTime d = dateFromText("2020-8-7");
    EXPECT_EQ(dateText(d), "2020-08-07");
    EXPECT_EQ(dateText(dateFromText("2020-08-27  09:05:03")), "2020-08-27");
    EXPECT_EQ(dateText(dateFromText("")), "100-01-01");
    EXPECT_EQ(dateText(dateFromText("编号")), "100-01-01");
    EXPECT_EQ(dateText(dateFromText("2021-02-29")), "100-01-01");
    EXPECT_EQ(dateText(dateFromText("2020-02-29")), "2020-02-29");
    EXPECT_EQ(dateText(dateFromText("2020-13-01")), "100-01-01");
}

}  // namespace
}  // namespace quovella
