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

constexpr int32_t kMaxProcesses = 4096;
constexpr uint64_t kNoWindowGrace = 200, kNoWindowPoll = 20;
constexpr uint64_t kReadyWait = 20000;
constexpr uint32_t kIdleSlice = 100;

// The parent of `id` in the snapshot; 0 when it is not there.
uint32_t parentIn(const platform::ProcessLink* links, int32_t count, uint32_t id) {
    for (int32_t i = 0; i < count; ++i)
        if (links[i].id == id) return links[i].parent;
    return 0;
}

// How a wait and script ended: typed; stopped because another program was in front; stopped
// because the emulator ended; not ready within 20 s; or closed by a stop that closePlugin asked
// for.
enum class Typing { Done, Stopped, Exited, NotReady, Closed };

enum class Front { Emulator, Other, NoWindow, Exited };

// With a job the emulator lives while any process of its launch does: a batch file that starts
// it and ends does not end it.
bool emulatorEnded(const EmulatorProcess& emulator) {
    return emulator.job != 0 ? platform::jobEnded(emulator.job)
                             : platform::processExited(emulator.process);
}

// A console window is never the emulator's: a batch file's own console, or a console program's,
// takes no File/Open keys.
Front whoIsInFront(const EmulatorProcess& emulator) {
    if (emulatorEnded(emulator)) return Front::Exited;
    bool console = false;
    uint32_t front = platform::foregroundProcessId(console);
    if (front == 0) return Front::NoWindow;
    return !console && belongsToEmulator(front, emulator) ? Front::Emulator : Front::Other;
}

// Before the first key the emulator may take up to 3 s of real time to come in front; before
// the others it must be there, but no window at all is borne for 200 ms, while its file dialog
// activates.
Typing checkFront(const EmulatorProcess& emulator, bool first) {
    uint64_t since = platform::tickCount();
    for (uint64_t polls = 0;; ++polls) {
        Front front = whoIsInFront(emulator);
        if (front == Front::Emulator) return Typing::Done;
        if (front == Front::Exited) return Typing::Exited;
        uint64_t waited = platform::tickCount() - since;
        bool waiting = first ? waited < kFrontWait && polls * kFrontPoll < 2 * kFrontWait
                             : front == Front::NoWindow && waited < kNoWindowGrace &&
                                   polls * kNoWindowPoll < 2 * kNoWindowGrace;
        if (!waiting) return Typing::Stopped;
        if (!platform::pauseUnlessStopped(first ? kFrontPoll : uint32_t(kNoWindowPoll)))
            return Typing::Closed;
    }
}

// Waits, in slices that a stop can end, until the emulator waits for input. A program that
// cannot be waited for so (a console program, a batch file) is ready when a window of it, or
// of a process it started, is in front, a console window never. Both within 20 s of real time.
Typing waitUntilReady(const EmulatorProcess& emulator) {
    uint64_t since = platform::tickCount();
    bool console = false;
    // The slices bound the wait too, should the clock stand still.
    for (uint64_t slices = 0;; ++slices) {
        if (platform::stopRequested()) return Typing::Closed;
        if (!console) {
            uint32_t idle = platform::waitForInputIdle(emulator.process, kIdleSlice);
            if (idle == 0) return Typing::Done;
            console = idle == platform::kWaitFailed;
        }
        if (emulatorEnded(emulator)) return Typing::Exited;
        if (console && whoIsInFront(emulator) == Front::Emulator) return Typing::Done;
        if (platform::tickCount() - since >= kReadyWait || slices * kFrontPoll >= 2 * kReadyWait)
            return Typing::NotReady;
        if (console && !platform::pauseUnlessStopped(kFrontPoll)) return Typing::Closed;
    }
}

// Types the File/Open script into the emulator. Before each key press the foreground window
// must belong to the emulator, alive, or a process it started: before the first it may take up
// to 3 s of real time to get there; before the others it must be there, or no window be in
// front for at most 200 ms. When it is not, or a stop is asked for, every key the script holds
// down is released and no other key is sent.
Typing sendOpenFileKeys(int32_t keyWait, int32_t browseWait, const EmulatorProcess& emulator) {
    uint8_t held[4];  // pressed and not yet released, in the order pressed
    int heldCount = 0;
    bool first = true;
    for (const ScriptStep& step : kOpenFileScript) {
        // Only a press can type into a window; a release is sent whoever is in front, since
        // the key the emulator saw go down must come up (its dialog may close on an Enter and
        // leave no window in front for a moment).
        if (step.key != 0 && !step.release) {
            Typing front = checkFront(emulator, first);
            first = false;
            if (front != Typing::Done) {
                while (heldCount > 0) platform::keyEvent(held[--heldCount], true);
                return front;
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
        uint32_t pause = step.pause == Pause::Key      ? uint32_t(keyWait)
                         : step.pause == Pause::Browse ? uint32_t(browseWait)
                                                       : 0;
        if (pause > 0 && !platform::pauseUnlessStopped(pause)) {
            while (heldCount > 0) platform::keyEvent(held[--heldCount], true);
            return Typing::Closed;
        }
    }
    return Typing::Done;
}

Typing typeIntoEmulator(const TypingJob& job) {
    EmulatorProcess emulator{job.process, platform::processIdOf(job.process),
                             platform::processCreationTime(job.process), job.job};
    Typing ready = waitUntilReady(emulator);
    if (ready != Typing::Done) return ready;
    return sendOpenFileKeys(job.keyWait, job.browseWait, emulator);
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

// A process id is reused once its process has ended, so the recorded parent of an older process
// may name the emulator by chance: a link counts only between processes created in order.
bool belongsToEmulator(uint32_t id, const EmulatorProcess& emulator) {
    // A process of the launch's job is the emulator's; the parent links still count, for a
    // system that cannot tell.
    if (emulator.job != 0 && id != 0 && platform::processInJob(id, emulator.job)) return true;
    platform::ProcessLink links[kMaxProcesses];
    int32_t count = platform::snapshotProcesses(links, kMaxProcesses);
    for (int depth = 0; id != 0 && depth < kMaxAncestors; ++depth) {
        if (id == emulator.id) return true;
        uint32_t parent = parentIn(links, count, id);
        if (parent == 0) return false;
        uint64_t parentCreated = platform::creationTimeOf(parent);
        uint64_t childCreated = platform::creationTimeOf(id);
        if (parentCreated == 0 || childCreated == 0 || parentCreated > childCreated ||
            parentCreated < emulator.created)
            return false;
        id = parent;
    }
    return false;
}

void runTypingJob(void* data) {
    auto* job = static_cast<TypingJob*>(data);
    Typing result = typeIntoEmulator(*job);
    platform::closeProcess(job->process);
    platform::closeJob(job->job);
    // After a stop asked for by closePlugin the host is closing: nothing is told.
    const char* text = result == Typing::NotReady  ? kNotReadyText
                       : result == Typing::Stopped ? kKeysStoppedText
                       : result == Typing::Exited  ? kEmulatorEndedText
                                                   : nullptr;
    if (text != nullptr && !platform::stopRequested()) {
        // The window active at the launch may be gone (a dialog closed on launch): its root
        // owner, the host's main window, then owns the message, or nothing does.
        platform::WindowHandle owner = platform::windowExists(job->owner)        ? job->owner
                                       : platform::windowExists(job->mainWindow) ? job->mainWindow
                                                                                 : 0;
        platform::showExclamationOwnedBy(owner, text);
    }
    platform::release(job);
}

// While another launch's wait or script runs, nothing is planned: nothing is extracted, shown
// or put on the clipboard.
bool planKeyboardDriven(EmulatorEntry entry, const HostRomRecord* chain, LaunchPlan& plan) {
    plan = LaunchPlan{};
    if (platform::workerRunning()) {
        platform::showExclamation(kStillTypingText);
        return false;
    }
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
