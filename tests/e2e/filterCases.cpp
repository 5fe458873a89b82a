// The favourites filter against the real DLL: kana, width and case folded alike, whole
// characters only, every word; deletions under a filter keep the hidden favourites; Esc clears
// the field before it cancels; Ctrl+F goes to the field.
#include "dialogDriver.h"
#include "resource.h"
#include "session.h"

using namespace host;

namespace {

std::string namesIn(const std::string& file) {
    std::vector<std::string> names;
    for (size_t at = 264; at + 1576 <= file.size(); at += 1576) names.push_back(file.c_str() + at);
    return joined(names);
}

// A key as the dialog's message loop receives it, to the control with the focus. A message box
// that has just closed may leave the focus nowhere for a moment: the key waits for it to return.
void press(HWND dialog, WPARAM key, UINT message = WM_KEYDOWN) {
    HWND focus = nullptr;
    waitUntil([&] {
        focus = focusIn(dialog);
        return focus == dialog || IsChild(dialog, focus);
    });
    PostMessageA(focus, message, key, 0);
    Sleep(200);
}

}  // namespace

HOST_CASE(theFilterFoldsKanaWidthAndCaseAndKeepsHiddenFavoritesThroughDeletesAndEsc) {
    Session s("favoritesFilter");
    s.plugin.isCompatible("Arcade (MAME)");  // no cache: the favourites stay as written
    const std::vector<std::string> names = {"ゼルダの伝説",  "ｾﾞﾙﾀﾞ ｸﾛﾆｸﾙ", "ＺＥＬＤＡ ＩＩ",
                                            "zelda classic", "ぜるだ外伝",  "表示テスト",
                                            "アクション",    "マリオ"};
    std::vector<FavoriteRecord> favorites;
    for (size_t i = 0; i < names.size(); ++i)
        favorites.push_back(favorite(names[i], "K" + std::to_string(i)));
    std::string fvr = s.dataDir + s.system + ".fvr";
    writeFile(fvr, favoritesFile(s.system, favorites));
    const std::string before = readFile(fvr);
    auto rows = [](HWND dialog) { return joined(listRows(dialog, IDC_FAVORITE_LIST)); };
    int result = onMenuDialog(s.plugin, 1, favoritesTitle(8), [&](HWND dialog) {
        CHECK(focusIn(dialog) == GetDlgItem(dialog, IDC_FAVORITE_LIST), "the list has the focus");
        struct Typed {
            const char* text;
            std::string shown;
        } typed[] = {
            {"ぜるだ", "ぜるだ外伝 | ゼルダの伝説 | ｾﾞﾙﾀﾞ ｸﾛﾆｸﾙ"},  // in the Name order
            {"ｾﾞﾙﾀﾞ", "ぜるだ外伝 | ゼルダの伝説 | ｾﾞﾙﾀﾞ ｸﾛﾆｸﾙ"},
            {"ＺＥＬＤＡ", "zelda classic | ＺＥＬＤＡ ＩＩ"},
            {"\\", ""},                                // 表's trail byte
            {"a", "zelda classic | ＺＥＬＤＡ ＩＩ"},  // not アクション, whose trail byte is "A"
            {"ii zelda", "ＺＥＬＤＡ ＩＩ"},
        };
        for (const Typed& t : typed) {
            typeText(dialog, IDC_FAVORITE_FILTER, t.text);
            CHECK_EQ(rows(dialog), t.shown, std::string("rows for ") + t.text);
        }
        CHECK_EQ(windowTitle(dialog), std::string("お気に入り(Launchboard) - 8件中 1件"), "title");

        typeText(dialog, IDC_FAVORITE_FILTER, "zelda");
        selectRows(dialog, IDC_FAVORITE_LIST, {0}, 0);
        clickLater(dialog, IDC_FAVORITE_DELETE);
        answerMessageBox(IDOK);
        waitUntil([&] { return rows(dialog) == "ＺＥＬＤＡ ＩＩ"; });
        CHECK_EQ(rows(dialog), std::string("ＺＥＬＤＡ ＩＩ"),
                 "Delete takes the selected shown row");
        clickLater(dialog, IDC_FAVORITE_DELETE_ALL);
        Answered box = answerMessageBox(IDOK);
        CHECK_EQ(box.text, std::string("表示中の1件をお気に入りから削除しますか？"),
                 "its question");
        waitUntil([&] { return rows(dialog).empty(); });
        CHECK_EQ(rows(dialog), std::string(""), "全て削除 takes the shown rows");

        press(dialog, 0x06, WM_CHAR);  // Ctrl+F, from the list
        CHECK(focusIn(dialog) == GetDlgItem(dialog, IDC_FAVORITE_FILTER), "Ctrl+F: the field");
        press(dialog, VK_ESCAPE);
        CHECK(IsWindowVisible(dialog), "Esc with a filter does not close the dialog");
        CHECK_EQ(controlText(dialog, IDC_FAVORITE_FILTER), std::string(""), "it clears the field");
        CHECK_EQ(windowTitle(dialog), favoritesTitle(6), "and shows every row");
        clickNow(dialog, IDOK);
    });
    CHECK_EQ(result, 1, "OK");
    CHECK_EQ(
        namesIn(readFile(fvr)),
        std::string("ぜるだ外伝 | アクション | ゼルダの伝説 | マリオ | 表示テスト | ｾﾞﾙﾀﾞ ｸﾛﾆｸﾙ"),
        "OK keeps every favourite that was not deleted, hidden or shown, in the sort order");

    writeFile(fvr, before);
    result = onMenuDialog(s.plugin, 1, favoritesTitle(8), [&](HWND dialog) {
        CHECK_EQ(controlText(dialog, IDC_FAVORITE_FILTER), std::string(""), "opens unfiltered");
        typeText(dialog, IDC_FAVORITE_FILTER, "zelda");
        clickLater(dialog, IDC_FAVORITE_DELETE_ALL);
        answerMessageBox(IDOK);
        press(dialog, VK_ESCAPE);
        press(dialog, VK_ESCAPE);
        CHECK(waitUntilClosed(dialog), "a second Esc cancels the dialog");
    });
    CHECK_EQ(result, 2, "cancelled");
    CHECK_EQ(readFile(fvr), before, "Cancel drops every change");
}
