// The keyboard-driven launch, for emulators that take no ROM on their command line: the ROM's
// path goes on the clipboard, the emulator starts bare, and once it waits for input a File/Open
// script types Alt, Down, Enter, then Ctrl+V and Enter into its file dialog.
#include <cstring>

#include "core/pluginContext.h"
#include "core/romCache.h"
#include "launcher/launch.h"
#include "platform/platform.h"

namespace lb {

namespace {

constexpr uint32_t kInputIdleTimeout = 20000;
constexpr int32_t kDefaultWaitIndex = 2;

const char kNotStarted[] = "20秒待ちましたが、エミュレータが起動しませんでした";

constexpr uint8_t kAlt = 0x12, kDown = 0x28, kEnter = 0x0D, kControl = 0x11, kV = 0x56;

enum class Pause { Key, Browse, None };
struct ScriptStep {
    uint8_t key;  // 0: no key event
    bool release;
    Pause pause;
};

// Alt opens the menu bar on the first menu, Down opens that menu, Enter takes its first item
// (the file-open command). The browse wait lets the file dialog appear before the paste.
constexpr ScriptStep kOpenFileScript[] = {
    {0, false, Pause::Key},         // 1
    {kAlt, false, Pause::Key},      // 2
    {kAlt, true, Pause::Key},       // 3
    {kDown, false, Pause::Key},     // 4
    {kDown, true, Pause::Key},      // 5
    {kEnter, false, Pause::Key},    // 6
    {kEnter, true, Pause::Browse},  // 7
    {kControl, false, Pause::Key},  // 8
    {kV, false, Pause::Key},        // 9
    {kV, true, Pause::Key},         // 10
    {kControl, true, Pause::Key},   // 11
    {kEnter, false, Pause::Key},    // 12
    {kEnter, true, Pause::None},    // 13
};

int32_t waitOf(const WaitChoice (&table)[kWaitChoiceCount], int32_t index) {
    if (index < 0 || index >= kWaitChoiceCount) index = kDefaultWaitIndex;
    return table[index].milliseconds;
}

}  // namespace

int32_t keyWaitOf(const EmulatorEntry& entry) { return waitOf(keyWaitTable, entry.keyWaitIndex); }
int32_t browseWaitOf(const EmulatorEntry& entry) {
    return waitOf(browseWaitTable, entry.browseWaitIndex);
}

int32_t setClipboardText(const char* text) {
    size_t length = std::strlen(text);
    if (length > kMaxClipboardText) length = kMaxClipboardText;
    return platform::setClipboardBytes(text, length);
}

void sendOpenFileKeys(int32_t keyWait, int32_t browseWait) {
    for (const ScriptStep& step : kOpenFileScript) {
        if (step.key != 0) platform::keyEvent(step.key, step.release);
        if (step.pause == Pause::Key) platform::sleepFor(uint32_t(keyWait));
        if (step.pause == Pause::Browse) platform::sleepFor(uint32_t(browseWait));
    }
}

void launchKeyboardDriven(EmulatorEntry entry, const HostRomRecord* chain) {
    if (chain == nullptr) return;
    loadRomCache();
    char path[kTextSize];
    if (!resolveRomPath(entry, *chain, path)) return;
    setClipboardText(path);
    platform::ProcessHandle process = startInExecutableFolder("", entry.exePath);
    uint32_t idle = platform::waitForInputIdle(process, kInputIdleTimeout);
    platform::closeProcess(process);
    if (idle != 0) {
        platform::showExclamation(kNotStarted);
        return;
    }
    sendOpenFileKeys(keyWaitOf(entry), browseWaitOf(entry));
}

}  // namespace lb
