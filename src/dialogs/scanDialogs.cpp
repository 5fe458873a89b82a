// SCANNINGDLG and FOUNDDLG: the walk runs on the plug-in's worker with its own copies of the
// known emulators and the list's extensions, while the small window shows the folders seen and
// キャンセル asks the walk to stop; the host's thread reads the result once the worker has ended.
#include "dialogs/scanDialogs.h"

#include <commctrl.h>

#include <atomic>
#include <cstdio>

#include "core/pluginContext.h"
#include "dialogs/dialogSupport.h"
#include "dialogs/settingsDialog.h"
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

bool scanStopped() { return cancelled.load() || platform::stopRequested(); }

void runScan(void* data) {
    auto* j = static_cast<ScanJob*>(data);
    scanForEmulators(j->root, j->known, j->list, j->result, scanStopped);
}

INT_PTR CALLBACK scanningProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) {
        centerWindow(dialog);
        SetTimer(dialog, 1, 50, nullptr);
        return TRUE;
    }
    if (message == WM_TIMER) {
        char text[64];
        std::snprintf(text, sizeof text, "%d フォルダを見ました", int(job->result.folders.load()));
        SetDlgItemTextA(dialog, IDC_SCAN_COUNT, text);
        if (!platform::workerRunning()) {
            KillTimer(dialog, 1);
            EndDialog(dialog, cancelled.load() ? IDCANCEL : IDOK);
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

void fillFoundList(HWND dialog) {
    HWND list = GetDlgItem(dialog, IDC_FOUND_LIST);
    addListStyles(list, LVS_EX_FULLROWSELECT | LVS_EX_CHECKBOXES);
    RECT client{};
    GetClientRect(list, &client);
    int32_t mark = 60, name = (client.right - mark) * 9 / 20;  // the program takes the rest
    insertListColumn(list, 0, name, "名前");
    insertListColumn(list, 1, client.right - mark - name - GetSystemMetrics(SM_CXVSCROLL),
                     "プログラム");
    insertListColumn(list, 2, mark, "この一覧");
    for (int32_t i = 0; i < job->result.count; ++i) {
        FoundEmulator& row = job->result.rows[i];
        LVITEMA item{};
        item.mask = LVIF_TEXT;
        item.iItem = i;
        item.pszText = row.preset.name;
        SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
        item.iSubItem = 1;
        item.pszText = row.exePath;
        SendMessageA(list, LVM_SETITEMTEXTA, WPARAM(i), reinterpret_cast<LPARAM>(&item));
        item.iSubItem = 2;
        item.pszText = const_cast<char*>(row.fits ? "○" : "");
        SendMessageA(list, LVM_SETITEMTEXTA, WPARAM(i), reinterpret_cast<LPARAM>(&item));
        ListView_SetCheckState(list, i, row.fits);
    }
    ListView_SetItemState(list, 0, LVIS_FOCUSED | LVIS_SELECTED, LVIS_FOCUSED | LVIS_SELECTED);
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
    HWND list = GetDlgItem(dialog, IDC_FOUND_LIST);
    if (message == WM_INITDIALOG) {
        char title[128];
        std::snprintf(title, sizeof title, "見つかったエミュレータ(Launchboard) - %d件",
                      int(job->result.count));
        SetWindowTextA(dialog, title);
        if (lParam == 0)
            SetDlgItemTextA(dialog, IDC_FOUND_NOTE,
                            "この一覧のロムが見つからないため、合うかどうかは分かりません");
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
    INT_PTR walked = DialogBoxParamA(pluginInstance(), "SCANNINGDLG", settings, scanningProc, 0);
    while (platform::workerRunning()) platform::sleepFor(10);  // a failed window: wait anyway
    if (walked != IDOK) return false;
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
        picked[0] == '\0')
        return false;
    job = static_cast<ScanJob*>(platform::allocateZeroed(sizeof(ScanJob)));
    if (job == nullptr) return false;
    copyText(job->root, picked);
    PresetSkip skip{};
    loadPresets(job->known, skip);
    bool known = readListExtensions(job->list);
    bool added = false;
    if (walkWithProgress(settings) &&
        DialogBoxParamA(pluginInstance(), "FOUNDDLG", settings, foundProc, known ? 1 : 0) == IDOK) {
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
