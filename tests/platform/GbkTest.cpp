#include "platform/Gbk.h"

#include <gtest/gtest.h>

namespace tx {
namespace {

TEST(Gbk, ByteLengthsAndRoundTrip) {
    struct Case {
        const char* text;
        int bytes;
    };
    const Case cases[] = {
        {"A", 1},
        {"汉", 2},
        {"\xF0\x9F\x98\x80", 4}, // an emoji: GBK lacks it, GB18030 takes 4 bytes
        {"a汉\xF0\x9F\x98\x80", 7},
        {"", 0},
        {"童学三步通", 10},
        {"菜资料     红烧肉", 17},
        {"\xE2\x82\xAC", 2}, // euro sign: one byte 0x80 in code page 936, two in GB18030
    };
    for (const Case& c : cases) {
        const QString text = QString::fromUtf8(c.text);
        SCOPED_TRACE(c.text);
        EXPECT_EQ(gbkByteLength(text), c.bytes);
        EXPECT_EQ(toGbk(text).size(), c.bytes);
        EXPECT_EQ(fromGbk(toGbk(text)), text);
    }
}

TEST(Gbk, KnownBytes) {
    EXPECT_EQ(toGbk(QStringLiteral("汉")), QByteArray("\xBA\xBA"));
    EXPECT_EQ(fromGbk(QByteArray("\xD6\xD0\xCE\xC4")), QStringLiteral("中文"));
}

} // namespace
} // namespace tx
