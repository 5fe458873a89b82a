// The game's launch setting dialog: the emulator list with "(指定しない)" first, the arguments,
// and the command line the focused game would start with, kept up as the user types or picks.
#include "dialogs/gameSettingDialog.h"

#include <cstdio>

#include "core/pluginContext.h"
#include "dialogs/dialogSupport.h"
#include "games/gameSettings.h"
#include "launcher/launch.h"
#include "launcher/templateExpansion.h"
#include "registry/argumentTemplates.h"
#include "resource.h"

namespace lb {

namespace {

const char kTitle[] = "このゲームの起動設定(Launchboard)";
const char kNoEmulator[] = "(指定しない)";

// What the open dialog works on: the games, the focused one's setting as read, and whether its
// emulator, no longer registered, has the last row of the list.
struct GameDialog {
    HostRomRecord focused;
    const char* const* keys;
    int32_t count;
    char path[kTextSize];
    GameSetting setting;
    bool missingRow;
};
GameDialog* open = nullptr;

int32_t emulatorRows() { return boundedEmulatorCount(context->emulatorCount); }

// The emulator the chosen row stands for: -1 for "(指定しない)" and for the missing one.
int32_t chosenEmulator(HWND dialog) {
    int32_t row = comboSelection(dialog, IDC_GAME_EMULATOR);
    return row >= 1 && row <= emulatorRows() ? row - 1 : -1;
}

void showSample(HWND dialog) {
    char arguments[kGameArgumentsSize], sample[kSampleSize] = "";
    readControlText(dialog, IDC_GAME_ARGUMENTS, arguments);
    int32_t row = comboSelection(dialog, IDC_GAME_EMULATOR);
    int32_t index = row == 0 ? 0 : chosenEmulator(dialog);  // none: the first emulator's line
    if (index >= 0 && index < emulatorRows()) {
        const EmulatorEntry& entry = context->emulators[index];
        gameSample(sample, entry, findTemplate(emulatorTemplates, entry), open->focused, arguments);
    }
    SetDlgItemTextA(dialog, IDC_GAME_SAMPLE, sample);
}

void initGameDialog(HWND dialog) {
    char title[kTextSize + 32];
    if (open->count > 1) {
        std::snprintf(title, sizeof title, "%s - %d件", kTitle, int(open->count));
        SetWindowTextA(dialog, title);
    }
    SetDlgItemTextA(dialog, IDC_GAME_NAME, hostText(open->focused.name));
    addComboText(dialog, IDC_GAME_EMULATOR, kNoEmulator);
    for (int32_t i = 0; i < emulatorRows(); ++i)
        addComboText(dialog, IDC_GAME_EMULATOR, context->emulators[i].name);
    int32_t index = settingEmulatorIndex(open->setting);
    open->missingRow = index < 0 && open->setting.emulator[0] != '\0';
    if (open->missingRow) {
        const char* parts[] = {open->setting.emulator, " (見つかりません)"};
        joinTexts(title, sizeof title, parts, 2);
        addComboText(dialog, IDC_GAME_EMULATOR, title);
    }
    int32_t rows = emulatorRows() + 1 + (open->missingRow ? 1 : 0);
    selectComboRow(dialog, IDC_GAME_EMULATOR, open->missingRow ? rows - 1 : index + 1, rows);
    SendDlgItemMessageA(dialog, IDC_GAME_ARGUMENTS, EM_LIMITTEXT, kGameArgumentsSize - 1, 0);
    SetDlgItemTextA(dialog, IDC_GAME_ARGUMENTS, open->setting.arguments);
    showSample(dialog);
}

// Saves the games' setting as the dialog shows it; false, told, when it could not be.
bool saveGameDialog(HWND dialog) {
    GameSetting setting{};
    readControlText(dialog, IDC_GAME_ARGUMENTS, setting.arguments);
    if (!storableArguments(setting.arguments)) {
        MessageBoxA(dialog, "このゲームの引数にタブは使えません", nullptr, MB_ICONWARNING);
        return false;
    }
    int32_t index = chosenEmulator(dialog);
    if (index >= 0) {
        copyText(setting.emulator, context->emulators[index].name);
        copyText(setting.program, context->emulators[index].exePath);
    } else if (open->missingRow && comboSelection(dialog, IDC_GAME_EMULATOR) > emulatorRows()) {
        copyText(setting.emulator, open->setting.emulator);  // kept as it was
        copyText(setting.program, open->setting.program);
    }
    switch (saveGameSettings(open->path, open->keys, open->count, setting)) {
        case GamesSave::Saved:
            return true;
        case GamesSave::Unreadable:
            tellReadFailure(open->path);
            return false;
        case GamesSave::TooMany:
            MessageBoxA(dialog, "ゲームの起動設定は10,000件までです。これ以上は保存できません",
                        nullptr, MB_ICONWARNING);
            return false;
        case GamesSave::Failed:
            tellSaveFailure(open->path);
            return false;
    }
    return false;
}

INT_PTR CALLBACK gameSettingProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (endedByClose(dialog, message)) return TRUE;
    if (message == WM_INITDIALOG) {
        centerWindow(dialog);
        initGameDialog(dialog);
        return TRUE;
    }
    if (message != WM_COMMAND) return FALSE;
    int id = LOWORD(wParam), code = HIWORD(wParam);
    if ((id == IDC_GAME_EMULATOR && code == CBN_SELCHANGE) ||
        (id == IDC_GAME_ARGUMENTS && code == EN_CHANGE)) {
        showSample(dialog);
    } else if (id == IDOK) {
        if (saveGameDialog(dialog)) EndDialog(dialog, IDOK);
    } else if (id == IDCANCEL) {
        EndDialog(dialog, IDCANCEL);
    } else {
        return FALSE;
    }
    return TRUE;
}

}  // namespace

void editGameSetting(HWND owner, const FocusedGame& focused, const char* const* keys,
                     int32_t count) {
    static GameDialog dialog;
    dialog = GameDialog{HostRomRecord{}, keys, count, "", {}, false};
    dialog.focused.crc32 = focused.key;
    dialog.focused.name = focused.name;
    dialog.focused.comment = focused.set;
    bool found = false;
    if (count <= 0 || !gameSettingsPath(dialog.path)) return;
    if (findGameSetting(dialog.path, focused.key, dialog.setting, found) == FileRead::Unreadable) {
        tellReadFailure(dialog.path);
        return;
    }
    open = &dialog;
    DialogBoxParamA(pluginInstance(), "GAMESETTINGDLG", owner, gameSettingProc, 0);
    open = nullptr;
}

}  // namespace lb
