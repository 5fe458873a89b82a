// The keyboard-driven launch, for emulators that take no ROM on their command line: the ROM's
// path goes on the clipboard, the emulator starts bare, and once it waits for input a File/Open
// script types Alt, Down, Enter, then Ctrl+V and Enter into its file dialog. Each key goes
// only to the emulator: when another program comes in front, the script stops.
#include <cstring>

#include "core/pluginContext.h"
#include "core/romCache.h"
#include "launcher/launch.h"
#include "platform/platform.h"

namespace lb {

namespace {

constexpr int32_t kDefaultWaitIndex = 2;
constexpr uint32_t kFrontWait = 3000, kFrontPoll = 50;  // before the first key
constexpr int kMaxAncestors = 32;

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

bool emulatorInFront(uint32_t emulator) {
    return belongsToEmulator(platform::foregroundProcessId(), emulator);
}

// Polls until the emulator is in front, for at most kFrontWait.
bool waitForEmulatorInFront(uint32_t emulator) {
    for (uint32_t waited = 0;; waited += kFrontPoll) {
        if (emulatorInFront(emulator)) return true;
        if (waited >= kFrontWait) return false;
        platform::sleepFor(kFrontPoll);
    }
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

bool belongsToEmulator(uint32_t id, uint32_t emulator) {
    for (int depth = 0; id != 0 && depth < kMaxAncestors; ++depth) {
        if (id == emulator) return true;
        id = platform::parentProcessId(id);
    }
    return false;
}

bool sendOpenFileKeys(int32_t keyWait, int32_t browseWait, uint32_t emulatorProcess) {
    uint8_t held[4];  // pressed and not yet released, in the order pressed
    int heldCount = 0;
    bool first = true;
    for (const ScriptStep& step : kOpenFileScript) {
        // Only a press can type into a window; a release is sent whoever is in front, since
        // the key the emulator saw go down must come up (its dialog may close on an Enter and
        // leave no window in front for a moment).
        if (step.key != 0 && !step.release) {
            bool inFront =
                first ? waitForEmulatorInFront(emulatorProcess) : emulatorInFront(emulatorProcess);
            first = false;
            if (!inFront) {
                while (heldCount > 0) platform::keyEvent(held[--heldCount], true);
                return false;
            }
        }
        if (step.key != 0) {
            platform::keyEvent(step.key, step.release);
            if (!step.release && heldCount < 4) {
                held[heldCount++] = step.key;
            } else if (step.release) {
                int at = 0;
                while (at < heldCount && held[at] != step.key) ++at;
                for (; at + 1 < heldCount; ++at) held[at] = held[at + 1];
                if (at < heldCount) --heldCount;
            }
        }
        if (step.pause == Pause::Key) platform::sleepFor(uint32_t(keyWait));
        if (step.pause == Pause::Browse) platform::sleepFor(uint32_t(browseWait));
    }
    return true;
}

bool planKeyboardDriven(EmulatorEntry entry, const HostRomRecord* chain, LaunchPlan& plan) {
    plan = LaunchPlan{};
    if (chain == nullptr) return false;
    loadRomCache();
    char path[kTextSize];
    if (!resolveRomPath(entry, *chain, path)) return false;
    plan.typesKeys = true;
    copyText(plan.clipboard, path);
    plan.keyWait = keyWaitOf(entry);
    plan.browseWait = browseWaitOf(entry);
    return planProcess(plan, entry.exePath, "");
}

}  // namespace lb
