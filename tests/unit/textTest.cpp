#include <gtest/gtest.h>

#include "core/itemList.h"
#include "core/rowSearch.h"
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

TEST(TypeToFind, theFirstRowFromTheStartBeginningWithTheTypedTextWrapsWhenAsked) {
    // ア is 0x83 0x41: its trail byte is the code of "A", which must not match a typed "a".
    static const char* const rows[] = {"Zeta",   "alpha", "Alpine", "\x83\x41rc",
                                       "ゼルダ", "",      "ALPS",   "@home"};
    auto textOf = [](int32_t row, const void*) { return rows[row]; };
    struct Row {
        const char* typed;
        int32_t start;
        bool wrap;
        int32_t found;
    } cases[] = {
        {"a", 0, false, 1},    {"AL", 2, false, 2}, {"alpi", 0, false, 2},
        {"alp", 3, false, 6},  {"alp", 3, true, 6}, {"z", 1, false, -1},
        {"z", 1, true, 0},     {"ゼ", 0, false, 4}, {"ゼル", 5, true, 4},
        {"\x83", 0, true, -1},  // a lone lead byte never matches half of ア or ゼ
        {"A", 3, false, 6},    {"q", 0, true, -1},  {"", 4, false, 4},
        {"a", 99, false, 1},  // a start past the rows begins at row 0
        {"a", 8, false, 1},   // so does a start equal to the row count
        {"`", 0, true, -1},   // case folds only A to Z: "`" is no "@"
    };
    for (const Row& c : cases)
        EXPECT_EQ(findTypedRow(8, c.start, c.wrap, c.typed, textOf, nullptr), c.found)
            << "\"" << c.typed << "\" from row " << c.start << (c.wrap ? " with wrap" : "");
}

TEST(MenuText, everyAmpersandOfANameIsDoubledWithinTheBuffer) {
    struct Row {
        const char* name;
        size_t capacity;
        const char* shown;
    } rows[] = {
        {"A&B", 16, "A&&B"}, {"&&", 16, "&&&&"}, {"表&", 16, "表&&"},
        {"A&B", 3, "A"},    // "&&" does not fit after "A": nothing of it is shown
        {"表表", 4, "表"},  // a double-byte character is never cut
    };
    for (const Row& row : rows) {
        char text[16];
        menuItemText(text, row.capacity, row.name);
        EXPECT_STREQ(text, row.shown) << row.name << " in " << row.capacity;
    }
}

// Both searches in both forms: the blocks the 64-bit builds run, and the word loop the DLL runs
// alone, against a byte-by-byte walk, at every length, start and place of the byte and a NUL.
TEST(TextSearch, bothFormsFindWhatAByteWalkFindsBeforeAnyNul) {
    char text[48];
    for (int length = 0; length <= 40; ++length)
        for (int at = 0; at < 40; ++at)
            for (int nul = 0; nul <= 41; nul += 7) {
                for (int i = 0; i < 48; ++i)
                    text[i] = char(i >= at && (i - at) % 9 == 0 ? '\t' : 'a' + i % 7);
                if (nul < 48) text[nul] = '\0';
                const char *end = text + length, *expected[3], *found[3], *words[3];
                int count = 0;
                const char* first = end;
                for (const char* p = text; p < end && *p != '\0'; ++p)
                    if (*p == '\t' && count < 3) expected[count++] = p;
                for (const char* p = text; p < end; ++p)
                    if (*p == '\t' || *p == '\0') {
                        first = p;
                        break;
                    }
                ASSERT_EQ(findBytes('\t', text, end, found, 3), count) << length << " " << at;
                ASSERT_EQ(findBytesByWords('\t', text, end, words, 3), count)
                    << length << " " << at;
                for (int i = 0; i < count; ++i)
                    ASSERT_TRUE(found[i] == expected[i] && words[i] == expected[i]) << i;
                ASSERT_EQ(findByteOrNul('\t', text, end), first) << length << " " << at;
                ASSERT_EQ(findByteOrNulByWords('\t', text, end), first) << length << " " << at;
            }
}
