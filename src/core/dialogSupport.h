// What the plug-in's dialog procedures share on Windows: centring, bounded reads of control
// texts, and the owner-data list views that both list dialogs keep in the same way.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <cstdint>

#include "core/text.h"

namespace lb {

// Centres a window on the desktop work area without changing its size or Z order.
void centerWindow(HWND window);

// A control's text in a fixed field; a longer text is cut at a whole character.
void readControlText(HWND dialog, int id, char (&field)[kTextSize]);

// Answers a list view's request for a cell text within its buffer, cut at a whole character.
void provideListText(NMLVDISPINFOA& request, const char* text);

// Sets the item count, selects and focuses `row` alone (none for -1), shows it, and repaints.
void refreshListView(HWND list, int32_t count, int32_t row);

// The first row that is both focused and selected; -1 when there is none.
int32_t focusedSelectedRow(HWND list);

// The selected rows in ascending order, at most `capacity` of them; their number.
int32_t selectedRows(HWND list, int32_t* rows, int32_t capacity);

// A deletion question under the caption "削除確認" with OK and Cancel; true for OK.
bool confirmDeletion(HWND owner, const char* text);

// The module the dialog templates come from.
HINSTANCE pluginInstance();

}  // namespace lb
