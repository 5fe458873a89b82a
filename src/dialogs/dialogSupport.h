// What the plug-in's dialog procedures share on Windows: centring, bounded reads of control
// texts, questions, and thin helpers over the list views, combo boxes and check boxes, so that a
// dialog procedure reads as what the user sees happen rather than as raw messages.
#pragma once

#include <windows.h>

#include <commctrl.h>
#include <objbase.h>

#include <cstdint>
#include <initializer_list>

#include "core/rowSearch.h"
#include "core/text.h"
#include "platform/platform.h"

namespace lb {

// The module the dialog templates come from.
HINSTANCE pluginInstance();

// Centres a window on the desktop work area without changing its size or Z order.
void centerWindow(HWND window);

// The dots per inch `window` is shown at: its monitor's where Windows keeps one a window
// (GetDpiForWindow, Windows 10 1607 and later), else the screen's. A size in pixels written for
// 96 DPI, scaled to it.
int32_t windowDpi(HWND window);
int32_t scaledPixels(HWND window, int32_t pixelsAt96);

// A control's text in a fixed field; a longer text is cut at a whole character.
void readControlText(HWND dialog, int id, char* field, size_t size);
template <size_t N>
void readControlText(HWND dialog, int id, char (&field)[N]) {
    readControlText(dialog, id, field, N);
}

// A deletion question under the caption "削除確認" with OK and Cancel; true for OK.
bool confirmDeletion(HWND owner, const char* text);

// COM for the shell's browse dialogs, initialised on the calling thread where it is made and
// balanced where it goes out of scope; the plug-in initialises it nowhere else.
class ComApartment {
public:
    ComApartment() : initialised_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ~ComApartment() {
        if (initialised_) CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

private:
    bool initialised_;
};

// The shell's folder dialog under `caption`, with `prompt` above the tree and `initial` (when
// given) selected:
// false when it was cancelled; the folder in `picked` (MAX_PATH bytes), empty when the shell
// cannot name it.
bool pickFolder(HWND owner, const char* prompt, const char* caption, const char* initial,
                char* picked);

// Enables or disables every listed control of a dialog.
void enableControls(HWND dialog, std::initializer_list<int> ids, bool on);

// --- Check boxes
inline bool isChecked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }
inline void setChecked(HWND dialog, int id, bool on) {
    CheckDlgButton(dialog, id, on ? BST_CHECKED : BST_UNCHECKED);
}

// --- Combo boxes
inline void addComboText(HWND dialog, int id, const char* text) {
    SendDlgItemMessageA(dialog, id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
}
inline int32_t comboSelection(HWND dialog, int id) {
    return int32_t(SendDlgItemMessageA(dialog, id, CB_GETCURSEL, 0, 0));
}
// Selects `row`; a row outside the combo's `rows` (a damaged list file) leaves no selection.
inline void selectComboRow(HWND dialog, int id, int32_t row, int32_t rows) {
    bool valid = row >= 0 && row < rows;
    SendDlgItemMessageA(dialog, id, CB_SETCURSEL, WPARAM(valid ? row : -1), 0);
}

// --- Owner-data list views
// Adds the extended styles to those the list has.
void addListStyles(HWND list, DWORD styles);
void insertListColumn(HWND list, int32_t index, int32_t width, const char* title);
inline int32_t listColumnWidth(HWND list, int32_t index) {
    return int32_t(SendMessageA(list, LVM_GETCOLUMNWIDTH, WPARAM(index), 0));
}
inline bool listColumnOrder(HWND list, int32_t* order, int32_t count) {
    return SendMessageA(list, LVM_GETCOLUMNORDERARRAY, WPARAM(count),
                        reinterpret_cast<LPARAM>(order)) != 0;
}
inline void setListColumnOrder(HWND list, const int32_t* order, int32_t count) {
    SendMessageA(list, LVM_SETCOLUMNORDERARRAY, WPARAM(count),
                 reinterpret_cast<LPARAM>(const_cast<int32_t*>(order)));
}
// Shows the header's sort arrow on a column: HDF_SORTUP, HDF_SORTDOWN, or 0 for none.
void setSortArrow(HWND list, int32_t column, int arrow);

// Answers a list view's request for a cell text within its buffer, cut at a whole character.
void provideListText(NMLVDISPINFOA& request, const char* text);

// Sets the item count, selects and focuses `row` alone (none for -1), shows it, and repaints.
void refreshListView(HWND list, int32_t count, int32_t row);

// Answers an owner-data list's type-to-find request (LVN_ODFINDITEMA or LVN_ODFINDITEMW; a list
// may send the wide form to an ANSI dialog) through the dialog's message result: the row whose
// text `textOf` gives begins with the typed text (`folded` as findTypedRow takes it), or -1,
// which keeps the list's selection. False for any other notification.
bool answerFindRequest(HWND dialog, const NMHDR& header, int32_t rowCount, RowText textOf,
                       const void* user, bool folded = false);

// Whether a list's key notification is `key` pressed alone, or with Ctrl for `withCtrl`.
bool isListKey(const NMHDR& header, WORD key, bool withCtrl = false);

// What a list of the favourites dialog answers alike: type-to-find over `rowCount` rows by
// `textOf` (folded), Delete calling `remove`, Ctrl+A selecting every row; true when answered.
bool answerListKeys(HWND dialog, const NMHDR& header, int32_t rowCount, RowText textOf,
                    void (*remove)(HWND dialog));

// The favourites dialog's title for a tab's list: "<heading>(Launchboard) - N件" of `total`
// rows, or "- N件中 M件" while the filter narrows them.
struct FavoriteFilter;
void setCountTitle(HWND dialog, const char* heading, int32_t total, const FavoriteFilter& filter);

// Selects every row of a list.
void selectAllRows(HWND list);

// Where a context menu opened from the keyboard goes: below the list's focused row when it is
// in view, else the list's top-left corner; in screen coordinates.
POINT keyboardMenuPoint(HWND list);

// Makes the last of a list's `columns` columns take what the others leave of its client area,
// which leaves out a vertical scroll bar when there is one, so no horizontal scroll bar is
// needed (at least 60 pixels at 96 DPI). With one column, that column fills the list. fitColumn
// does the same for any one of them.
void fitLastColumn(HWND list, int32_t columns);
void fitColumn(HWND list, int32_t columns, int32_t column);
// The width in pixels of `text` in the list's font, as a column needs it without its margins.
int32_t listTextWidth(HWND list, const char* text);

// Whether the host closed the plug-in (closePlugin released the state record) while `dialog`
// was open: then a command, a notification or a timer of it ends the dialog as cancelled, and
// the caller must do nothing else. Every dialog procedure asks first.
bool endedByClose(HWND dialog, UINT message);

// The first row that is both focused and selected; -1 when there is none.
int32_t focusedSelectedRow(HWND list);

// The selected rows in ascending order, at most `capacity` of them; their number.
int32_t selectedRows(HWND list, int32_t* rows, int32_t capacity);

}  // namespace lb
