// EMULATORSETTINGDLG: the emulator list of the current system, edited in a working copy that
// OK stores and saves and Cancel drops. The decisions are in workingList.cpp.
#include "dialogs/settingsDialog.h"

#include <cstdio>

#include "dialogs/dialogSupport.h"
#include "dialogs/editDialog.h"
#include "dialogs/scanDialogs.h"
#include "registry/emulatorListFile.h"
#include "registry/workingList.h"
#include "resource.h"

namespace lb {

// Set by the settings dialog's WM_INITDIALOG and cleared when it ends; read by its buttons.
HWND settingsDialog = nullptr;

namespace {

// Which rows' executables were missing at the last refresh: checked once per row there, never
// on a repaint, since a path on a slow disk can take seconds.
bool missingRows[kMaxEmulators];

HWND emulatorList() { return GetDlgItem(settingsDialog, IDC_EMULATOR_LIST); }

void setupEmulatorListView(HWND dialog) {
    HWND list = GetDlgItem(dialog, IDC_EMULATOR_LIST);
    addListStyles(list, LVS_EX_FULLROWSELECT | LVS_EX_LABELTIP);  // a name still cut shows whole
    RECT client{};
    GetClientRect(list, &client);
    insertListColumn(list, 0, client.right - 3, "");
}

void editEmulator(HWND dialog, bool adding) {
    if (adding && workingCount >= kMaxEmulators) {
        MessageBoxA(dialog, "エミュレータは20ケ以上登録できません", nullptr, MB_ICONERROR);
        return;
    }
    if (!adding) {
        editIndex = focusedSelectedRow(emulatorList());
        if (editIndex < 0 || editIndex >= workingCount) return;
    } else {
        editIndex = -1;
    }
    addMode = adding ? 1 : 0;
    openEmulatorEdit(dialog);
}

void moveEmulator(int32_t step) {
    int32_t moved = moveEntry(workingList, workingCount, focusedSelectedRow(emulatorList()), step);
    if (moved >= 0) refreshEmulatorListView(moved);
}

void deleteSelectedEmulators(HWND dialog) {
    int32_t selected[kMaxEmulators];
    int32_t count = selectedRows(emulatorList(), selected, kMaxEmulators);
    if (count == 0) return;
    char question[kTextSize];
    std::snprintf(question, sizeof question, "%dケのエミュレータをリストから全て削除しますか",
                  int(count));
    if (!confirmDeletion(dialog, question)) return;
    workingCount = removeEntries(workingList, workingCount, selected, count);
    refreshEmulatorListView(workingCount > 0 ? 0 : -1);
}

void deleteAllEmulators(HWND dialog) {
    if (!confirmDeletion(dialog, "エミュレータをリストから全て削除しますか")) return;
    workingCount = 0;
    refreshEmulatorListView(-1);
}

void copyEmulators() {
    int32_t selected[kMaxEmulators];
    int32_t count = selectedRows(emulatorList(), selected, kMaxEmulators);
    if (count > 0) copyToCopyFile(selected, count);  // a save that fails is told
}

// A full list takes nothing and is not refreshed, but a missing copy file is told first.
void pasteEmulators(HWND dialog) {
    bool full = workingCount >= kMaxEmulators;
    FileRead read = pasteFromCopyFile();  // a file that cannot be read is told
    if (read == FileRead::Missing)
        MessageBoxA(dialog, "コピーされていません", nullptr, MB_ICONWARNING);
    if (read == FileRead::Read && !full) refreshEmulatorListView(0);
}

const char* emulatorName(int32_t row, const void*) { return workingList[row].name; }

BOOL onNotify(HWND dialog, const NMHDR& header) {
    SetWindowLongPtrA(dialog, DWLP_MSGRESULT, 0);  // no answer left over from an earlier one
    if (header.idFrom != IDC_EMULATOR_LIST) return FALSE;
    if (answerFindRequest(dialog, header, workingCount, emulatorName, nullptr)) return TRUE;
    if (isListKey(header, VK_DELETE)) {
        deleteSelectedEmulators(dialog);
        return TRUE;
    }
    if (header.code == LVN_GETDISPINFOA) {
        auto& request = reinterpret_cast<NMLVDISPINFOA&>(const_cast<NMHDR&>(header));
        int32_t row = request.item.iItem;
        if (row >= 0 && row < workingCount) {
            char text[kRowTextSize];
            emulatorRowText(text, workingList[row].name, missingRows[row]);
            provideListText(request, text);
        }
        return TRUE;
    }
    if (header.code == NM_DBLCLK) {
        editEmulator(dialog, false);
        return TRUE;
    }
    return FALSE;
}

BOOL onCommand(HWND dialog, int id) {
    switch (id) {
        case IDC_ADD:
            editEmulator(dialog, true);
            break;
        case IDC_EDIT:
            editEmulator(dialog, false);
            break;
        case IDC_MOVE_UP:
            moveEmulator(-1);
            break;
        case IDC_MOVE_DOWN:
            moveEmulator(+1);
            break;
        case IDC_DELETE:
            deleteSelectedEmulators(dialog);
            break;
        case IDC_DELETE_ALL:
            deleteAllEmulators(dialog);
            break;
        case IDC_COPY:
            copyEmulators();
            break;
        case IDC_PASTE:
            pasteEmulators(dialog);
            break;
        case IDC_SCAN:
            if (findEmulatorsInFolder(dialog)) refreshEmulatorListView(0);
            break;
        case IDOK:
            // A save that fails is told, and the dialog stays open with the user's list.
            if (saveWorkingList()) EndDialog(dialog, IDOK);
            break;
        case IDCANCEL:
            EndDialog(dialog, IDCANCEL);
            break;
        default:
            return FALSE;
    }
    return TRUE;
}

INT_PTR CALLBACK emulatorSettingsProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (endedByClose(dialog, message)) return TRUE;
    switch (message) {
        case WM_INITDIALOG:
            settingsDialog = dialog;
            centerWindow(dialog);
            loadWorkingList();
            setupEmulatorListView(dialog);
            refreshEmulatorListView(0);
            return TRUE;
        case WM_NOTIFY:
            return onNotify(dialog, *reinterpret_cast<NMHDR*>(lParam));
        case WM_COMMAND:
            return onCommand(dialog, LOWORD(wParam));
        default:
            return FALSE;
    }
}

}  // namespace

void refreshEmulatorListView(int32_t row) {
    for (int32_t i = 0; i < workingCount && i < kMaxEmulators; ++i)
        missingRows[i] = isExecutableMissing(workingList[i]);
    refreshListView(emulatorList(), workingCount, row);
    fitLastColumn(emulatorList(), 1);
}

int32_t openEmulatorSettings() {
    platform::PluginWindows windows;  // for the dialog and all it opens while it runs
    INT_PTR result = DialogBoxParamA(pluginInstance(), "EMULATORSETTINGDLG", GetActiveWindow(),
                                     emulatorSettingsProc, 0);
    settingsDialog = nullptr;
    return int32_t(result);
}

}  // namespace lb
