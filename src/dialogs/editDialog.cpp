// EMULATORSETTINGCHILDDLG: one emulator added or edited, with the controls of its kind enabled,
// two browse buttons and the input checks on OK. The decisions are in emulatorEdit.cpp.
#include "dialogs/editDialog.h"

#include <commdlg.h>
#include <shlobj.h>

#include <cstdio>
#include <cstring>

#include "dialogs/dialogSupport.h"
#include "dialogs/settingsDialog.h"
#include "launcher/templateExpansion.h"
#include "platform/platform.h"
#include "registry/argumentTemplates.h"
#include "registry/emulatorEdit.h"
#include "registry/emulatorPresets.h"
#include "registry/retroArchCores.h"
#include "registry/workingList.h"
#include "resource.h"

namespace lb {

namespace {

// The known emulators while the dialog is open, and which of them the 候補 drop-down lists: row
// i + 1 of the drop-down is preset shownPresets[i]; row 0 is "（選ばない）".
PresetTable presets;
int32_t shownPresets[kPresetRows];
int32_t shownPresetCount = 0;
PresetSkip presetSkip;
FileRead presetsRead = FileRead::Missing;
int32_t tablePresetCount = 0;  // the rows loaded; rows after them are a RetroArch's own cores

constexpr UINT kTellPresetProblems = WM_APP + 1;

// Lists "（選ばない）" and the given presets, the first selected.
void listPresets(HWND dialog, const int32_t* rows, int32_t count) {
    SendDlgItemMessageA(dialog, IDC_PRESET, CB_RESETCONTENT, 0, 0);
    addComboText(dialog, IDC_PRESET, "（選ばない）");
    shownPresetCount = 0;
    for (int32_t i = 0; i < count && i < kPresetRows; ++i) {
        shownPresets[shownPresetCount++] = rows[i];
        addComboText(dialog, IDC_PRESET, presets.rows[rows[i]].name);
    }
    selectComboRow(dialog, IDC_PRESET, 0, shownPresetCount + 1);
}

void listAllPresets(HWND dialog) {
    static int32_t all[kPresetRows];
    for (int32_t i = 0; i < presets.count; ++i) all[i] = i;
    listPresets(dialog, all, presets.count);
}

void fillEditCombos(HWND dialog) {
    for (int i = 0; i < kEmulatorKindCount; ++i)
        addComboText(dialog, IDC_KIND, emulatorKindTable[i].label);
    for (int i = 0; i < kWaitChoiceCount; ++i) {
        addComboText(dialog, IDC_KEY_WAIT, keyWaitTable[i].label);
        addComboText(dialog, IDC_BROWSE_WAIT, browseWaitTable[i].label);
    }
}

// The arguments the sample ROM would get with the template as typed, under the field.
void showSampleArguments(HWND dialog) {
    char text[kTemplateSize], sample[kSampleSize], exe[kTextSize], folder[kTextSize];
    readControlText(dialog, IDC_ARGUMENTS, text);
    readControlText(dialog, IDC_EXE, exe);
    readControlText(dialog, IDC_FOLDER, folder);
    if (folder[0] == '\0') copyText(folder, context->tempDir);
    ensureBackslash(folder, sizeof folder);
    sampleArguments(sample, text, comboSelection(dialog, IDC_KIND), isChecked(dialog, IDC_QUOTE),
                    exe, folder);
    SetDlgItemTextA(dialog, IDC_ARGUMENTS_SAMPLE, sample);
}

void setEditControls(HWND dialog, const EmulatorEntry& entry) {
    SetDlgItemTextA(dialog, IDC_NAME, entry.name);
    SetDlgItemTextA(dialog, IDC_EXE, entry.exePath);
    SetDlgItemTextA(dialog, IDC_FOLDER, entry.extractDir);
    selectComboRow(dialog, IDC_KIND, entry.kind, kEmulatorKindCount);
    selectComboRow(dialog, IDC_KEY_WAIT, entry.keyWaitIndex, kWaitChoiceCount);
    selectComboRow(dialog, IDC_BROWSE_WAIT, entry.browseWaitIndex, kWaitChoiceCount);
    setChecked(dialog, IDC_EXTRACT, entry.extractArchive != 0);
    setChecked(dialog, IDC_QUOTE, entry.quotePath != 0);
    setChecked(dialog, IDC_SHORT_PATH, entry.shortPath != 0);
    SendDlgItemMessageA(dialog, IDC_ARGUMENTS, EM_LIMITTEXT, kTemplateSize - 1, 0);
    SetDlgItemTextA(dialog, IDC_ARGUMENTS, findTemplate(workingTemplates, entry));
}

void readEditControls(HWND dialog, EmulatorEntry& entry) {
    readControlText(dialog, IDC_NAME, entry.name);
    readControlText(dialog, IDC_EXE, entry.exePath);
    readControlText(dialog, IDC_FOLDER, entry.extractDir);
    entry.kind = storedSelection(comboSelection(dialog, IDC_KIND), kEmulatorKindCount, Standard);
    entry.keyWaitIndex = storedSelection(comboSelection(dialog, IDC_KEY_WAIT), kWaitChoiceCount, 2);
    entry.browseWaitIndex =
        storedSelection(comboSelection(dialog, IDC_BROWSE_WAIT), kWaitChoiceCount, 2);
    entry.extractArchive = isChecked(dialog, IDC_EXTRACT) ? 1 : 0;
    entry.quotePath = isChecked(dialog, IDC_QUOTE) ? 1 : 0;
    entry.shortPath = isChecked(dialog, IDC_SHORT_PATH) ? 1 : 0;
}

EditControlStates currentStates(HWND dialog) {
    return editControlStates(comboSelection(dialog, IDC_KIND), isChecked(dialog, IDC_EXTRACT));
}

void applyExtractRule(HWND dialog) {
    enableControls(dialog, {IDC_FOLDER_LABEL, IDC_FOLDER, IDC_FOLDER_BROWSE},
                   currentStates(dialog).folder);
}

void applyKindRules(HWND dialog) {
    EditControlStates states = currentStates(dialog);
    enableControls(dialog, {IDC_FOLDER_LABEL, IDC_FOLDER, IDC_FOLDER_BROWSE, IDC_EXTRACT},
                   states.extract);
    enableControls(dialog, {IDC_KEY_WAIT_LABEL, IDC_KEY_WAIT}, states.keyWait);
    enableControls(dialog, {IDC_BROWSE_WAIT_LABEL, IDC_BROWSE_WAIT}, states.browseWait);
    enableControls(dialog, {IDC_QUOTE}, states.quote);
    enableControls(dialog, {IDC_SHORT_PATH}, states.shortPath);
    enableControls(dialog, {IDC_ARGUMENTS_LABEL, IDC_ARGUMENTS, IDC_ARGUMENTS_SAMPLE},
                   states.arguments);
    applyExtractRule(dialog);
    showSampleArguments(dialog);
}

// A chosen preset fills the kind, the boxes, the waits and the template, and an empty name; the
// executable stays as it is.
void choosePreset(HWND dialog, int32_t comboRow) {
    if (comboRow < 1 || comboRow > shownPresetCount) return;
    const EmulatorPreset& preset = presets.rows[shownPresets[comboRow - 1]];
    EmulatorEntry entry{};
    readEditControls(dialog, entry);
    applyPreset(preset, entry);
    setEditControls(dialog, entry);
    SetDlgItemTextA(dialog, IDC_ARGUMENTS, preset.args);
    applyKindRules(dialog);
}

// A RetroArch's installed cores that the table lacks, as rows after the table's: every core
// it has can be picked. A cfg or .info file that cannot be read is told, and so are cores left
// out (past kMaxCores, or a template that cannot be made or would be refused); the rest are
// listed.
void addInstalledCores(HWND dialog, const char* exePath) {
    presets.count = tablePresetCount;
    char folder[kTextSize];
    driveAndFolder(folder, exePath);
    if (!patternMatches("retroarch.exe", 13, exePath + std::strlen(folder))) return;
    static InstalledCore cores[kMaxCores];
    RetroArchFolders folders;
    bool unreadable = retroArchFolders(exePath, folders) == FileRead::Unreadable;
    bool infoUnreadable = false;
    int32_t leftOut = 0;
    int32_t count = installedCores(folders, cores, kMaxCores, infoUnreadable, &leftOut);
    for (int32_t i = 0; i < count && presets.count < kPresetRows; ++i) {
        EmulatorPreset& made = presets.rows[presets.count];
        if (!corePreset(cores[i], folders, presets, made) || templateRefused(made.args))
            ++leftOut;
        else if (presetNamed(presets, tablePresetCount, made.name) < 0)
            ++presets.count;
    }
    if (unreadable || infoUnreadable)
        MessageBoxA(dialog, "RetroArch の retroarch.cfg か .info ファイルを読み込めませんでした",
                    nullptr, MB_ICONWARNING);
    if (leftOut > 0) {
        char text[kTextSize];
        std::snprintf(text, sizeof text, "RetroArch のコアのうち %d 個は候補に入れられません",
                      int(leftOut));
        MessageBoxA(dialog, text, nullptr, MB_ICONWARNING);
    }
}

// After Browse: an executable that exactly one preset knows gets it while no template is typed;
// one that several know (RetroArch and its cores) lists only those, and nothing is filled.
void offerPresetsFor(HWND dialog, const char* exePath) {
    addInstalledCores(dialog, exePath);
    static int32_t rows[kPresetRows];
    int32_t count = matchingPresets(presets, exePath, rows, kPresetRows);
    if (count == 0) {
        listAllPresets(dialog);
        return;
    }
    listPresets(dialog, rows, count);
    char text[kTemplateSize];
    readControlText(dialog, IDC_ARGUMENTS, text);
    if (count == 1 && text[0] == '\0') {
        selectComboRow(dialog, IDC_PRESET, 1, 2);
        choosePreset(dialog, 1);
    }
}

// A Presets.txt that cannot be read is told as other files are, and its first row that cannot
// be read by line, once the dialog shows; the built-in rows work either way.
void tellPresetProblems() {
    if (presetsRead == FileRead::Unreadable) {
        char path[kTextSize];
        if (dataFilePath(path, "Presets.txt")) tellReadFailure(path);
    } else if (presetSkip.line != 0) {
        char text[kTextSize * 2];
        presetSkipText(text, presetSkip);
        platform::showExclamation(text);
    }
}

// addMode, editIndex and workingList are the settings dialog's, set before it opened this one.
void initEmulatorEdit(HWND dialog) {
    fillEditCombos(dialog);
    presetsRead = loadPresets(presets, presetSkip);
    tablePresetCount = presets.count;
    listAllPresets(dialog);
    if (presetsRead == FileRead::Unreadable || presetSkip.line != 0)
        PostMessageA(dialog, kTellPresetProblems, 0, 0);
    EmulatorEntry entry{};
    if (addMode == 1) {
        SetWindowTextA(dialog, "エミュレータ追加(Launchboard)");
        entry = newEmulatorEntry(context->tempDir, context->listName);
    } else {
        SetWindowTextA(dialog, "エミュレータ編集(Launchboard)");
        if (editIndex >= 0 && editIndex < workingCount) entry = workingList[editIndex];
    }
    setEditControls(dialog, entry);
    applyKindRules(dialog);
}

bool validateEmulator(HWND dialog, const EmulatorEntry& entry, const char* argumentTemplate) {
    const char* error = emulatorInputError(workingList, workingCount, editIndex, workingTemplates,
                                           entry, argumentTemplate, folderToCheck(entry));
    if (error != nullptr) MessageBoxA(dialog, error, nullptr, MB_ICONWARNING);
    return error == nullptr;
}

// A template with a name that is neither a placeholder nor an environment variable is refused,
// and the focus goes to it.
bool validateTemplate(HWND dialog, const char* text) {
    static char error[kTemplateErrorSize];
    templateError(error, text);
    if (error[0] == '\0') return true;
    MessageBoxA(dialog, error, nullptr, MB_ICONWARNING);
    HWND field = GetDlgItem(dialog, IDC_ARGUMENTS);
    SetFocus(field);
    SendMessageA(field, EM_SETSEL, 0, -1);
    return false;
}

bool acceptEmulatorEdit(HWND dialog) {
    EmulatorEntry entry{};
    readEditControls(dialog, entry);
    static char text[kTemplateSize];
    readControlText(dialog, IDC_ARGUMENTS, text);
    if (!validateEmulator(dialog, entry, text) || !validateTemplate(dialog, text)) return false;
    int32_t row = storeEditedEmulator(addMode == 1, editIndex, entry, text);
    if (row < 0) return false;
    refreshEmulatorListView(row);  // the settings dialog, which opened this one
    return true;
}

UINT_PTR CALLBACK openFileHookProc(HWND hook, UINT message, WPARAM, LPARAM) {
    if (message != WM_INITDIALOG) return FALSE;
    centerWindow(GetParent(hook));  // the Explorer-style hook is a child of the visible dialog
    return TRUE;
}

void browseEmulatorExe(HWND dialog) {
    char file[kTextSize];
    readControlText(dialog, IDC_EXE, file);
    if (file[0] == '\0' || !platform::fileExists(file)) copyText(file, context->lastExePath);
    OPENFILENAMEA request{};
    request.lStructSize = sizeof request;
    request.hwndOwner = dialog;
    request.lpstrFilter = "エミュレータファイル(.exe)\0*.EXE\0";
    request.nFilterIndex = 1;
    request.lpstrFile = file;
    request.nMaxFile = sizeof file;
    request.lpstrInitialDir = context->dataDir;
    request.lpstrTitle = "エミュレータ選択";
    request.Flags = OFN_HIDEREADONLY | OFN_ENABLEHOOK | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST |
                    OFN_EXPLORER | OFN_ENABLESIZING;
    request.lpfnHook = openFileHookProc;
    ComApartment com;
    if (GetOpenFileNameA(&request) != TRUE || context == nullptr) return;  // closed meanwhile
    SetDlgItemTextA(dialog, IDC_EXE, file);
    copyText(context->lastExePath, file);
    char name[kTextSize];
    readControlText(dialog, IDC_NAME, name);
    if (name[0] == '\0') {  // a name the user gave is never replaced
        nameFromExePath(name, file);
        SetDlgItemTextA(dialog, IDC_NAME, name);
    }
    offerPresetsFor(dialog, file);
}

void browseExtractDir(HWND dialog) {
    char initial[kTextSize], picked[MAX_PATH] = "";
    readControlText(dialog, IDC_FOLDER, initial);
    if (!platform::isDirectory(initial)) copyText(initial, context->lastExtractDir);
    if (!pickFolder(dialog, "解凍先のフォルダを選択してください", "解凍先のフォルダ選択", initial,
                    picked) ||
        context == nullptr)
        return;
    // A folder the shell cannot name keeps the last one, never a lone backslash.
    if (takePickedFolder(context->lastExtractDir, picked))
        SetDlgItemTextA(dialog, IDC_FOLDER, context->lastExtractDir);
}

BOOL onCommand(HWND dialog, int id, int code) {
    switch (id) {
        case IDC_EXE_BROWSE:
            browseEmulatorExe(dialog);
            return TRUE;
        case IDC_FOLDER_BROWSE:
            browseExtractDir(dialog);
            return TRUE;
        case IDC_KIND:
            if (code != CBN_SELCHANGE) return FALSE;
            applyKindRules(dialog);
            return TRUE;
        case IDC_PRESET:
            if (code != CBN_SELCHANGE) return FALSE;
            choosePreset(dialog, comboSelection(dialog, IDC_PRESET));
            return TRUE;
        case IDC_EXTRACT:
            if (code != BN_CLICKED) return FALSE;
            applyExtractRule(dialog);
            return TRUE;
        case IDC_ARGUMENTS:
        case IDC_EXE:
        case IDC_FOLDER:
        case IDC_QUOTE:
            if (code != EN_CHANGE && code != BN_CLICKED) return FALSE;
            showSampleArguments(dialog);
            return TRUE;
        case IDOK:
            if (acceptEmulatorEdit(dialog)) EndDialog(dialog, IDOK);
            return TRUE;
        case IDCANCEL:
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        default:
            return FALSE;
    }
}

INT_PTR CALLBACK emulatorEditProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (endedByClose(dialog, message)) return TRUE;
    switch (message) {
        case WM_INITDIALOG:
            centerWindow(dialog);
            initEmulatorEdit(dialog);
            return TRUE;
        case WM_COMMAND:
            return onCommand(dialog, LOWORD(wParam), HIWORD(wParam));
        case kTellPresetProblems:
            tellPresetProblems();
            return TRUE;
        default:
            return FALSE;
    }
}

}  // namespace

void openEmulatorEdit(HWND settings) {
    DialogBoxParamA(pluginInstance(), "EMULATORSETTINGCHILDDLG", settings, emulatorEditProc, 0);
}

}  // namespace lb
