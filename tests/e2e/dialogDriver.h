// Plays the user on the plug-in's modal dialogs: a script runs in its own thread while the main
// thread sits in the dialog's modal loop, finds windows by title, types, selects, clicks, and
// answers message boxes. A script that loses its way closes every window it can find, so the
// main thread always returns.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace host {

struct Driver {
    HANDLE thread = nullptr;
    std::function<void()> script;
    void start(std::function<void()> run);
    void finish();  // waits for the script, then closes whatever it left open
};

// Runs `script` in a driver thread while `modal` runs here; `modal`'s result.
int runDriven(const std::function<int()>& modal, const std::function<void()>& script);

struct Plugin;
// Chooses main-menu item `index` and plays `user` on the dialog titled `title` that it opens;
// the dialog's result.
int onMenuDialog(Plugin& plugin, int index, const std::string& title, int timeoutMs,
                 const std::function<void(HWND)>& user);
inline int onMenuDialog(Plugin& plugin, int index, const std::string& title,
                        const std::function<void(HWND)>& user) {
    return onMenuDialog(plugin, index, title, 5000, user);
}

// A visible dialog of this process with the given title (Shift-JIS), or null after the timeout.
HWND waitForDialog(const std::string& title, int timeoutMs = 5000);

// A message box of this process: its text and caption, answered with `button`.
struct Answered {
    bool seen = false;
    std::string text, caption;
    bool errorIcon = false, warningIcon = false;
};
Answered answerMessageBox(int button = IDOK, int timeoutMs = 5000);
// True when no message box appears within the time.
bool noMessageBox(int timeoutMs = 600);

// Controls, by id.
void typeText(HWND dialog, int id, const std::string& text);
std::string controlText(HWND dialog, int id);
void chooseComboRow(HWND dialog, int id, int row);  // with the CBN_SELCHANGE the user's pick sends
int comboRow(HWND dialog, int id);
bool isEnabled(HWND dialog, int id);
// Clicks `button`, types `path` into the file name box of the open-file dialog titled `title`,
// and presses OK; false when no such dialog opened.
bool pickFile(HWND dialog, int button, const std::string& title, const std::string& path);
bool isChecked(HWND dialog, int id);
void clickNow(HWND dialog, int id);       // handled before this returns
void clickLater(HWND dialog, int id);     // posted: for buttons that open a modal window
void clickCheckBox(HWND dialog, int id);  // toggles the mark as a mouse click does
void selectRows(HWND dialog, int listId, const std::vector<int>& rows, int focused);
std::vector<std::string> listRows(HWND dialog, int listId);
std::string windowTitle(HWND window);
// Waits until `done` answers true; false on timeout. A modal window that has just closed leaves
// its caller a moment before the caller acts on what it returned.
bool waitUntil(const std::function<bool()>& done, int timeoutMs = 3000);
// Waits until `window` is gone; false on timeout.
bool waitUntilClosed(HWND window, int timeoutMs = 5000);
// Selects `folder` in the shell's folder dialog, waits until its tree shows it selected, then
// presses OK; false when it never did, the dialog then cancelled and, with `tell`, a failure.
bool pickFolderIn(HWND browser, const std::string& folder, bool tell = true);
// The window with the keyboard focus in the dialog's thread.
HWND focusIn(HWND dialog);

// The favourites dialog: its title for `count` favourites, and a click on the header of
// `column`, delivered as the header control reports it to its list view.
std::string favoritesTitle(int count);
void clickFavoritesHeader(HWND dialog, int column);
// The screen's dots per inch, as Wine's LogPixels sets them.
int screenDpi();
// Shift as the host's thread sees it while the user chooses an item.
void holdShift(bool down);
// Shows the favourites dialog's tab `tab` (0 the favourites, 1 the history) as a click does.
void showFavoritesTab(HWND dialog, int tab);

// The window of a popup menu on screen, or null after the timeout.
HWND waitForPopupMenu(int timeoutMs = 3000);
// The items of the popup menu on screen, each as "<id>:<text>", after waiting for it; the menu
// is then cancelled.
std::vector<std::string> popupMenuItems(HWND owner);

// Saves what the screen shows of a window as a 24-bit BMP file.
bool captureWindow(HWND window, const std::string& bmpPath);

}  // namespace host
