#include <gtest/gtest.h>

#include "core/text.h"
#include "platform/fake/fakePlatform.h"

using namespace lb;

// 表 is 0x95 0x5C and ソ is 0x83 0x5C in code page 932: their second byte is the backslash code.
static const char kHyo[] = "\x95\x5C";
static const char kSo[] = "\x83\x5C";

TEST(PathText, finalBackslashIsFoundByCharacterNotByByte) {
    struct Row {
        std::string text;
        bool endsWithBackslash;
    } rows[] = {
        {"C:\\data\\", true},
        {"C:\\data", false},
        {"", false},
        {"\\", true},
        {std::string("C:\\") + kHyo, false},
        {std::string("C:\\") + kSo, false},
        {std::string("C:\\") + kHyo + "\\", true},
        {std::string("C:\\") + kSo + kSo, false},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(endsWithBackslash(row.text.c_str()), row.endsWithBackslash) << row.text;
    }
}

TEST(PathText, aFolderEndingInHyoGetsItsBackslash) {
    char dir[kTextSize];
    copyText(dir, (std::string("C:\\") + kHyo).c_str());
    ASSERT_TRUE(ensureBackslash(dir, sizeof dir));
    EXPECT_EQ(std::string(dir), std::string("C:\\") + kHyo + "\\");
    ASSERT_TRUE(ensureBackslash(dir, sizeof dir));
    EXPECT_EQ(std::string(dir), std::string("C:\\") + kHyo + "\\") << "a second call adds nothing";
}

TEST(BoundedText, aCopyThatDoesNotFitIsCutAtAWholeCharacterAndSaysSo) {
    char small[4];
    EXPECT_TRUE(copyText(small, "abc"));
    EXPECT_STREQ(small, "abc");
    EXPECT_FALSE(copyText(small, "abcd"));
    EXPECT_STREQ(small, "abc");
    EXPECT_FALSE(copyText(small, (std::string("ab") + kHyo).c_str()));
    EXPECT_STREQ(small, "ab") << "a lead byte is never left without its trail byte";
}

TEST(BoundedText, aJoinThatDoesNotFitLeavesTheEmptyTextNotACutPath) {
    char path[12];
    EXPECT_TRUE(joinPath(path, "C:\\d\\", "a.emu"));
    EXPECT_STREQ(path, "C:\\d\\a.emu");
    EXPECT_FALSE(joinPath(path, "C:\\d\\", "abcdef.emu"));
    EXPECT_STREQ(path, "");
    EXPECT_TRUE(joinPath(path, "C:\\d\\", "abcd", ".x")) << "11 bytes and the NUL fit";
}
