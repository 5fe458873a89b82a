// SCANNINGDLG and FOUNDDLG: the walk runs on the plug-in's worker with its own copies of the
// known emulators and the list's extensions, while the small window shows the folders seen and
// キャンセル asks the walk to stop; the host's thread reads the result once the worker has ended.
#include "dialogs/scanDialogs.h"

#include <commctrl.h>

#include <algorithm>
#include <atomic>
#include <cstdio>

#include "core/pluginContext.h"
#include "dialogs/dialogSupport.h"
#include "dialogs/settingsDialog.h"
#include "launcher/templateExpansion.h"
#include "platform/platform.h"
#include "registry/emulatorScan.h"
#include "registry/workingList.h"
#include "resource.h"

namespace lb {

namespace {

// The walk's job, handed to the worker: what it reads, and the result that it alone writes
// until it has ended. The folder count is read by the host's thread as it goes.
struct ScanJob {
    char root[kTextSize];
    PresetTable known;
    ListExtensions list;
    ScanResult result;
    bool checked[kMaxFound];
};
ScanJob* job;  // set by findEmulatorsInFolder for the two windows; released by it
std::atomic<bool> cancelled{false};
bool walkEnded = false;  // the window saw the walk end by itself, not cut short

bool scanStopped() { return cancelled.load() || platform::stopRequested(); }

void runScan(void* data) {
    auto* j = static_cast<ScanJob*>(data);
    scanForEmulators(j->root, j->known, j->list, j->result, scanStopped);
}

INT_PTR CALLBACK scanningProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (endedByClose(dialog, message)) return TRUE;
    if (message == WM_INITDIALOG) {
        centerWindow(dialog);
        SetTimer(dialog, 1, 50, nullptr);
        return TRUE;
    }
    if (message == WM_TIMER) {
        char text[64];
        std::snprintf(text, sizeof text, "%d 個のフォルダを調べました",
                      int(job->result.folders.load()));
        SetDlgItemTextA(dialog, IDC_SCAN_COUNT, text);
        if (!platform::workerRunning()) {
            KillTimer(dialog, 1);
            walkEnded = !cancelled.load();
            EndDialog(dialog, walkEnded ? IDOK : IDCANCEL);
        }
        return TRUE;
    }
    if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) {
        cancelled.store(true);  // the window closes at the next turn, once the walk has ended
        return TRUE;
    }
    return FALSE;
}

bool spaceDown = false;  // Space toggles the focused row's box, then every selected row follows

const char* fitMark(const FoundEmulator& row) {
    return row.listed ? "登録済み" : row.fits ? "○" : "";
}

// The widest of the texts in the list's font, with the room a column gives around its text.
int32_t columnRoom(HWND list, const char* const* texts, int32_t count) {
    int32_t widest = 0;
    for (int32_t i = 0; i < count; ++i) widest = std::max(widest, listTextWidth(list, texts[i]));
    return widest + scaledPixels(list, 16);
}

// The rows with their names, programs and marks, checked where they fit and are not listed
// yet. The name and mark columns take what their texts need (the name at most half the list),
// the program the rest of the width, with or without a scroll bar.
void fillFoundList(HWND dialog) {
    HWND list = GetDlgItem(dialog, IDC_FOUND_LIST);
    addListStyles(list, LVS_EX_FULLROWSELECT | LVS_EX_CHECKBOXES | LVS_EX_LABELTIP);
    insertListColumn(list, 0, scaledPixels(list, 100), "名前");
    insertListColumn(list, 1, scaledPixels(list, 100), "プログラム");
    insertListColumn(list, 2, scaledPixels(list, 60), "この一覧");
    static const char* names[kMaxFound + 1];
    names[0] = "名前";
    for (int32_t i = 0; i < job->result.count; ++i) {
        FoundEmulator& row = job->result.rows[i];
        names[i + 1] = row.preset.name;
        LVITEMA item{};
        item.mask = LVIF_TEXT;
        item.iItem = i;
        item.pszText = row.preset.name;
        SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
        item.iSubItem = 1;
        item.pszText = row.exePath;
        SendMessageA(list, LVM_SETITEMTEXTA, WPARAM(i), reinterpret_cast<LPARAM>(&item));
        item.iSubItem = 2;
        item.pszText = const_cast<char*>(fitMark(row));
        SendMessageA(list, LVM_SETITEMTEXTA, WPARAM(i), reinterpret_cast<LPARAM>(&item));
        ListView_SetCheckState(list, i, row.fits && !row.listed);
    }
    RECT client{};
    GetClientRect(list, &client);
    const char* marks[] = {"この一覧", "登録済み", "○"};
    // The name column holds the check box too.
    int32_t name = columnRoom(list, names, job->result.count + 1) + GetSystemMetrics(SM_CXSMICON);
    SendMessageA(list, LVM_SETCOLUMNWIDTH, 0,
                 MAKELPARAM(std::min(name, int32_t(client.right / 2)), 0));
    SendMessageA(list, LVM_SETCOLUMNWIDTH, 2, MAKELPARAM(columnRoom(list, marks, 3), 0));
    fitColumn(list, 3, 1);
    ListView_SetItemState(list, 0, LVIS_FOCUSED | LVIS_SELECTED, LVIS_FOCUSED | LVIS_SELECTED);
}

// The note above the list: what is not known and what was left out. Without one the list takes
// its place.
void showFoundNote(HWND dialog, bool known) {
    char note[kTextSize] = "", leftOut[128] = "";
    if (!known) copyText(note, "本体のキャッシュがないため、ROM に合うかどうか分かりません");
    if (job->result.leftOut > 0)
        std::snprintf(leftOut, sizeof leftOut, "%sほかに %d 件は一覧に入れられませんでした",
                      note[0] != '\0' ? "。" : "", int(job->result.leftOut));
    const char* parts[] = {leftOut};
    appendTexts(note, sizeof note, parts, 1);
    HWND text = GetDlgItem(dialog, IDC_FOUND_NOTE);
    if (note[0] != '\0') {
        SetWindowTextA(text, note);
        return;
    }
    ShowWindow(text, SW_HIDE);
    RECT noteRect{}, listRect{};
    GetWindowRect(text, &noteRect);
    HWND list = GetDlgItem(dialog, IDC_FOUND_LIST);
    GetWindowRect(list, &listRect);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&noteRect), 2);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&listRect), 2);
    MoveWindow(list, listRect.left, noteRect.top, listRect.right - listRect.left,
               listRect.bottom - noteRect.top, TRUE);
}

void followFocusedCheck(HWND list, const NMLISTVIEW& change) {
    bool stateChanged =
        (change.uChanged & LVIF_STATE) &&
        (change.uNewState & LVIS_STATEIMAGEMASK) != (change.uOldState & LVIS_STATEIMAGEMASK);
    if (!spaceDown || !stateChanged) return;
    spaceDown = false;
    bool on = ListView_GetCheckState(list, change.iItem) != 0;
    for (int row = -1; (row = ListView_GetNextItem(list, row, LVNI_SELECTED)) >= 0;)
        if (row != change.iItem) ListView_SetCheckState(list, row, on);
}

INT_PTR CALLBACK foundProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (endedByClose(dialog, message)) return TRUE;
    HWND list = GetDlgItem(dialog, IDC_FOUND_LIST);
    if (message == WM_INITDIALOG) {
        char title[128];
        std::snprintf(title, sizeof title, "見つかったエミュレータ(Launchboard) - %d件",
                      int(job->result.count));
        SetWindowTextA(dialog, title);
        showFoundNote(dialog, lParam != 0);
        fillFoundList(dialog);
        centerWindow(dialog);
        return TRUE;
    }
    if (message == WM_NOTIFY && reinterpret_cast<NMHDR*>(lParam)->idFrom == IDC_FOUND_LIST) {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        if (header->code == LVN_KEYDOWN)
            spaceDown = reinterpret_cast<NMLVKEYDOWN*>(lParam)->wVKey == VK_SPACE;
        if (header->code == LVN_ITEMCHANGED)
            followFocusedCheck(list, *reinterpret_cast<NMLISTVIEW*>(lParam));
        return FALSE;
    }
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        for (int32_t i = 0; i < job->result.count; ++i)
            job->checked[i] = ListView_GetCheckState(list, i) != 0;
        EndDialog(dialog, LOWORD(wParam));
        return TRUE;
    }
    return FALSE;
}

// Walks the picked folder with the progress window up; false when nothing is to be shown.
bool walkWithProgress(HWND settings) {
    cancelled.store(false);
    if (!platform::startWorker(runScan, job)) {
        MessageBoxA(settings, "前のエミュレータへのキー入力がまだ終わっていません", nullptr,
                    MB_ICONWARNING);
        return false;
    }
    walkEnded = false;
    DialogBoxParamA(pluginInstance(), "SCANNINGDLG", settings, scanningProc, 0);
    // Whatever else ended the window (キャンセル, Esc, the host quitting, whose WM_QUIT ends it
    // with a result of its own, closePlugin), the walk is told to stop before it is waited for:
    // it stops between two entries of any folder.
    if (!walkEnded) cancelled.store(true);
    while (platform::workerRunning()) platform::sleepFor(10);
    if (!walkEnded || context == nullptr) return false;
    dropRefusedRows(job->result, templateRefused);
    markListedRows(job->result);
    if (job->result.count == 0) {
        MessageBoxA(settings, "エミュレータが見つかりませんでした", nullptr, MB_ICONINFORMATION);
        return false;
    }
    if (job->result.unreadable)
        MessageBoxA(settings,
                    "RetroArch の retroarch.cfg か .info ファイルを読み込めませんでした\r\n"
                    "読めたものからコアを並べます",
                    nullptr, MB_ICONWARNING);
    return true;
}

}  // namespace

bool findEmulatorsInFolder(HWND settings) {
    char picked[MAX_PATH] = "";
    // The tree opens at its top: where emulators lie has nothing to do with the other folders.
    if (!pickFolder(settings, "エミュレータを探すフォルダを選択してください",
                    "エミュレータを探すフォルダ", nullptr, picked) ||
        picked[0] == '\0' || context == nullptr)  // the host may have closed the plug-in meanwhile
        return false;
    job = static_cast<ScanJob*>(platform::allocateZeroed(sizeof(ScanJob)));
    if (job == nullptr) return false;
    copyText(job->root, picked);
    PresetSkip skip{};
    loadPresets(job->known, skip);
    bool known = readListExtensions(job->list);
    bool added = false;
    if (walkWithProgress(settings) &&
        DialogBoxParamA(pluginInstance(), "FOUNDDLG", settings, foundProc, known ? 1 : 0) == IDOK &&
        context != nullptr) {
        int32_t before = workingCount;
        if (!addFoundEmulators(job->result, job->checked))
            MessageBoxA(settings, "エミュレータは20ケ以上登録できません", nullptr, MB_ICONERROR);
        added = workingCount != before;
    }
    platform::release(job);
    job = nullptr;
    return added;
}

}  // namespace lb
