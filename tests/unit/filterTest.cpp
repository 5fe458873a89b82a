// The favourites filter: folding rules both ways, whole characters, words across fields.
#include <gtest/gtest.h>

#include <string>

#include "core/rowSearch.h"
#include "core/text.h"
#include "core/textFold.h"
#include "favorites/favoriteFilter.h"

using namespace lb;

namespace {

bool holds(const std::string& text, const std::string& word) {
    uint16_t t[1024], w[1024];
    size_t tl = foldText(text.c_str(), text.size(), t), wl = foldText(word.c_str(), word.size(), w);
    return holdsFolded(t, tl, w, wl);
}

}  // namespace

TEST(Folding, eachRuleMatchesBothWaysAndOnlyWholeCharacters) {
    struct Row {
        const char* text;
        const char* word;
        bool found;
    } rows[] = {
        {"The Legend of ZELDA", "zelda", true},
        {"zelda", "ZELDA", true},
        {"ＺＥＬＤＡ", "zelda", true},
        {"zelda", "ｚｅｌｄａ", true},
        {"ＡＢＣ１２３！？", "abc123!?", true},
        {"abc123!?", "ＡＢＣ１２３！？", true},
        {"Ｆ－ＺＥＲＯ　Ｘ", "f-zero x", true},
        {"C:\\ROMs", "Ｃ：￥ｒｏｍｓ", true},
        {"ｾﾞﾙﾀﾞの伝説", "ゼルダ", true},
        {"ゼルダの伝説", "ｾﾞﾙﾀﾞ", true},
        {"ゼルダの伝説", "ぜるだ", true},
        {"ぽけもん", "ポケモン", true},
        {"ﾊﾟｯｸﾏﾝ", "パックマン", true},
        {"ヴァンパイア", "ｳﾞｧﾝﾊﾟｲｱ", true},
        {"ｶﾞ", "カ", false},
        {"ｶﾟ", "カ゜", true},  // no such sound: kept apart
        {"ガ", "ｶ", false},
        {"伝説", "伝説", true},
        {"\x83\x41rc", "A", false},            // ア's trail byte is the code of "A"
        {"\x95\x5C", "\\", false},             // 表's trail byte is the code of "\"
        {"x\x95\x5C\x41", "\x5C\x41", false},  // and never starts a match
        {"a@b", "`", false},                   // case folds only A to Z
        {"", "", true},
        {"ムーミン", "む", true},
        {"ヾ", "ゞ", true},
        {"ヂ", "ﾁﾞ", true},
        {"(a)", "）", true},
        {"(a", "）", false},
        {"It's \"x\"", "\xEE\xFBs \xEE\xFC", true},  // ＇ and ＂ of the IBM extension
        {"It's \"x\"", "\xFA\x56s \xFA\x57", true},  // and of the NEC selection
    };
    for (const Row& row : rows)
        EXPECT_EQ(holds(row.text, row.word), row.found) << row.text << " / " << row.word;
    EXPECT_TRUE(beginsWithFolded("ｾﾞﾙﾀﾞの伝説", "ぜる"));
    EXPECT_FALSE(beginsWithFolded("\x83\x41rc", "a"));
    EXPECT_TRUE(beginsWithFolded("ｾﾞﾙﾀﾞ", "ぜるだ")) << "the whole text typed";
}

TEST(Folding, theFilterWantsEveryWordInAnyFieldAndShowsRowsInOrder) {
    FavoriteEntry entries[4] = {};
    const std::string longName(259, 'x');
    const char* names[] = {"ゼルダの伝説", "ｽｰﾊﾟｰﾏﾘｵ", "ZELDA II", longName.c_str()};
    for (int i = 0; i < 4; ++i) copyText(entries[i].name, names[i]);
    copyText(entries[0].publisher, "Nintendo");
    copyText(entries[2].publisher, "ＮＩＮＴＥＮＤＯ");
    copyText(entries[1].comment, "mario");
    FavoriteFilter filter{};
    ASSERT_TRUE(prepareFilter(filter, entries, 4));
    auto shown = [&](const std::string& text) {
        applyFilter(filter, text.c_str());
        std::string rows;
        for (int32_t r = 0; r < filter.shownCount; ++r)
            rows += std::to_string(shownEntry(filter, r));
        return rows;
    };
    EXPECT_EQ(shown("ぜるだ"), "0");
    EXPECT_EQ(shown("nintendo"), "02");
    EXPECT_EQ(shown("ii nintendo"), "2") << "two words, two fields, any order";
    EXPECT_EQ(shown("　ｚｅｌｄａ  ii "), "2") << "ideographic and doubled blanks split words";
    EXPECT_EQ(shown("   "), "0123");
    EXPECT_FALSE(filter.narrowed);
    EXPECT_EQ(shown("ndoゼ"), "") << "no match runs from one field into the next";
    EXPECT_EQ(shown("説nin"), "") << "nor from the next field back";
    EXPECT_EQ(shown("ii\tnintendo"), "2") << "a pasted tab splits words";
    EXPECT_EQ(shown(std::string(400, 'x')), "3") << "a text longer than a field is cut";
    int32_t order[] = {2, 0, 3, 1};
    reorderFilter(filter, order);
    EXPECT_EQ(shown("nintendo"), "01");
    releaseFilter(filter);
}
