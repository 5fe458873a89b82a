// Dispatch by the label of the emulator's kind, the set-name launch of arcade emulators, and
// carrying out a plan: the process start shared by every kind, its preview and its failure.
#include <atomic>
#include <cstdio>
#include <cstring>
#include <initializer_list>

#include "core/fileIo.h"
#include "core/pluginContext.h"
#include "core/romCache.h"
#include "launcher/launch.h"
#include "launcher/templateExpansion.h"
#include "platform/platform.h"
#include "registry/argumentTemplates.h"
#include "registry/emulatorListFile.h"

namespace lb {

const char kKeysStoppedText[] =
    "エミュレータが前面にないため、キー入力を中止しました\r\nROMのパスはクリップボードにあります";
const char kEmulatorEndedText[] = "エミュレータが終了したため、キー入力を中止しました";
const char kPreviewCaption[] = "起動の確認";
const char kPlaylistTakenText[] =
    "プレイリストと同じ名前のファイルがあるため、上書きせずに起動を取りやめました";
const char kNotReadyText[] = "20秒待ちましたが、エミュレータが起動しませんでした";
const char kStillTypingText[] = "前のエミュレータへのキー入力がまだ終わっていません";

namespace {

const char kStartFailed[] = "エミュレータを起動できませんでした";

const char kKeysShown[] = "Alt, ↓, Enter, Ctrl+V, Enter";

void appendLines(char (&text)[kMessageSize], std::initializer_list<const char*> parts) {
    appendParts(text, parts.begin(), parts.size());
}

}  // namespace

void previewText(char (&text)[kMessageSize], const LaunchPlan& plan) {
    text[0] = '\0';
    appendLines(text, {"プログラム: ", plan.program, "\r\nフォルダ: ", plan.folder,
                       "\r\nコマンドライン: ", plan.commandLine});
    if (plan.typesKeys)
        appendLines(text, {"\r\nクリップボード: ", plan.clipboard, "\r\nキー入力: ", kKeysShown});
    if (plan.gameArguments[0] != '\0')
        appendLines(text,
                    {"\r\nこのゲームの引数 (このゲームの起動設定から): ", plan.gameArguments});
}

namespace {

// The game's own arguments while its plan is made: planTemplate puts them at %GAMEARGS%.
const char* plannedGameArgs = "";

// Whether Windows takes `commandLine`: fewer characters than it allows, counted as it counts
// them.
bool withinWindowsLimit(const char* commandLine) {
    size_t characters = 0;
    for (const char* p = commandLine; *p != '\0'; p += characterLength(p)) ++characters;
    return characters < kCommandLineCharacters;
}

// The game's arguments at the end of a command line whose template did not take them.
bool appendGameArguments(LaunchPlan& plan, const char* gameArgs) {
    copyText(plan.gameArguments, gameArgs);
    if (gameArgs[0] == '\0' || plan.placedGameArguments) return true;
    const char* parts[] = {" ", gameArgs};
    if (appendTexts(plan.commandLine, sizeof plan.commandLine, parts, 2) &&
        withinWindowsLimit(plan.commandLine))
        return true;
    platform::showExclamation(kTooLongText);
    return false;
}

bool planByKind(const EmulatorEntry& entry, const HostRomRecord* chain, LaunchPlan& plan) {
    auto is = [&entry](EmulatorKind kind) { return hasKindLabel(entry, kind); };
    if (is(Standard)) return planCommandLine(entry, chain, plan);
    if (is(MameModel2)) return planSetName(entry, chain, plan);
    if (is(KeyboardDriven)) return planKeyboardDriven(entry, chain, plan);
    if (is(WinX68Fast) || is(Xm6)) return planTwoDrive(entry, chain, plan);
    return false;
}

// What the history keeps of a launch that starts: the first ROM's key and name (the host's, or
// the favourite's Name), the emulator. The time and id are taken when it has started.
void notePlay(PlayStart& play, const EmulatorEntry& entry, const HostRomRecord& first) {
    play = PlayStart{};
    copyText(play.key, hostText(first.crc32));
    copyText(play.name, hostText(first.name));
    copyText(play.set, hostText(first.comment));
    copyText(play.emulator, entry.name);
    copyText(play.exe, entry.exePath);
}

// The end of a session, told by the watcher on its own thread: the history file and the id.
struct SessionEnd {
    char path[kTextSize];
    char id[24];
};

// The first end the watcher could not append: its file and the system's error, noted on the
// watcher's thread and told on the host's, at its next launch or opening of the history.
std::atomic<int> endFailure{0};  // 0 none, 1 being noted, 2 noted, 3 told
char endFailurePath[kTextSize];
uint32_t endFailureError = 0;

void endPlaySession(void* data, uint64_t milliseconds, bool cutShort) {
    auto* end = static_cast<SessionEnd*>(data);
    char line[kHistoryLineSize];
    endLine(line, end->id, milliseconds / 1000, cutShort);
    uint32_t error = 0;
    int none = 0;
    if (!appendHistoryLine(end->path, line, &error) &&
        endFailure.compare_exchange_strong(none, 1)) {
        copyText(endFailurePath, end->path);
        endFailureError = error;
        endFailure.store(2);
    }
    platform::release(end);
}

// Set by the first failed append told; a failed append is told once.
bool historyFailureTold = false;

// Appends the start line of a launch that started and has its end watched.
void recordPlay(PlayStart play, platform::JobHandle job, uint32_t processId) {
    static int32_t sequence = 0;
    platform::localTimeText(play.started);
    char digits[15] = "";  // the stamp's 14 digits
    size_t n = 0;
    for (const char* p = play.started; *p != '\0' && n + 1 < sizeof digits; ++p)
        if (*p >= '0' && *p <= '9') digits[n++] = *p;
    digits[n] = '\0';
    // The started process's id makes the id unique across hosts launching in the same second:
    // no two running processes share one.
    if (processId != 0)
        std::snprintf(play.id, sizeof play.id, "%s-%x", digits, unsigned(processId));
    else
        std::snprintf(play.id, sizeof play.id, "%s-s%d", digits, int(++sequence % 100000));
    char path[kTextSize];
    auto* end = static_cast<SessionEnd*>(platform::allocateZeroed(sizeof(SessionEnd)));
    if (!historyFilePath(path) || end == nullptr) {
        platform::release(end);
        platform::closeJob(job);
        return;
    }
    char line[kHistoryLineSize];
    startLine(line, play);
    bool appended = appendHistoryLine(path, line);
    uint32_t error = platform::lastError();
    copyText(end->path, path);
    copyText(end->id, play.id);
    // The session's clock starts before any message box: the time under one is played too.
    if (!platform::watchSession(job, processId, endPlaySession, end)) platform::release(end);
    tellHistoryFailure();
    FileToSave file{path, nullptr, 0};
    if (!appended && !historyFailureTold) tellSaveFailure(SaveFailure{0, error}, &file);
    historyFailureTold = historyFailureTold || !appended;
}

}  // namespace

void tellHistoryFailure() {
    int noted = 2;
    if (!endFailure.compare_exchange_strong(noted, 3)) return;
    FileToSave file{endFailurePath, nullptr, 0};
    if (!historyFailureTold) tellSaveFailure(SaveFailure{0, endFailureError}, &file);
    historyFailureTold = true;
}

bool planLaunch(const EmulatorEntry& entry, const HostRomRecord* chain, LaunchPlan& plan,
                const char* gameArgs) {
    plannedGameArgs = gameArgs;
    bool planned = planByKind(entry, chain, plan);
    plannedGameArgs = "";
    if (!planned || !appendGameArguments(plan, gameArgs)) return false;
    if (chain != nullptr) notePlay(plan.play, entry, *chain);
    return true;
}

void readGameSettingOf(const HostRomRecord* chain, GameSetting& setting) {
    char path[kTextSize];
    bool found = false;
    setting = GameSetting{};
    if (chain != nullptr && gameSettingsPath(path))
        findGameSetting(path, hostText(chain->crc32), setting, found);
}

int32_t gameEmulatorOr(const GameSetting& setting, int32_t fallback) {
    int32_t index = settingEmulatorIndex(setting);
    return index >= 0 ? index : fallback;
}

LaunchResult launchEmulator(int32_t index, const HostRomRecord* chain, bool preview,
                            const GameSetting* setting) {
    if (index < 0 || index >= context->emulatorCount || index >= kMaxEmulators)
        return LaunchResult::NothingToStart;
    platform::WindowHandle owner = platform::activeWindow();  // before anything else opens
    // Without its templates an emulator would start with arguments it was not meant to get.
    if (!templatesReadyForLaunch()) return LaunchResult::NothingToStart;
    static GameSetting read;
    if (setting == nullptr) readGameSettingOf(chain, read);
    const GameSetting& game = setting != nullptr ? *setting : read;
    const char* gameArgs = argumentsApply(game, index) ? game.arguments : "";
    static LaunchPlan plan;  // 36 KB, kept off the host's stack
    if (!planLaunch(context->emulators[index], chain, plan, gameArgs))
        return LaunchResult::NothingToStart;
    if (preview) {
        static char text[kMessageSize];
        previewText(text, plan);
        if (!platform::askOkCancel(text, kPreviewCaption)) return LaunchResult::Cancelled;
    }
    return carryOut(plan, owner);
}

bool buildCommandLine(char (&target)[kCommandLineSize], const char* exePath, const char* args) {
    // A path with a blank or tab is quoted, so the emulator's own argument splitting sees it as
    // one; any other path keeps the exact bytes emulators always saw.
    bool quoted = std::strpbrk(exePath, " \t") != nullptr;
    const char* quote = quoted ? "\"" : "";
    bool joined = args[0] == '\0' ? joinPath(target, quote, exePath, quote)
                                  : joinPath(target, quote, exePath, quote, " ", args);
    return joined && withinWindowsLimit(target);
}

bool planProcess(LaunchPlan& plan, const char* exePath, const char* args) {
    copyText(plan.program, exePath);
    driveAndFolder(plan.folder, exePath);
    return buildCommandLine(plan.commandLine, exePath, args);
}

bool planTemplate(LaunchPlan& plan, const EmulatorEntry& entry, const char* text, const char* rom,
                  const char* romRaw, const HostRomRecord& record, const char* playlist) {
    static char arguments[kCommandLineSize];
    char offending[kOffendingSize];
    TemplateValues values{
        rom,      romRaw,         entry.exePath, hostText(record.comment), hostText(record.crc32),
        playlist, plannedGameArgs};
    plan.placedGameArguments = usesGameArguments(text);
    Expansion expansion = expandTemplate(text, values, arguments, sizeof arguments, offending);
    if (expansion == Expansion::Refused) {
        static char message[kTemplateErrorSize];
        refusalText(message, offending);
        platform::showExclamation(message);
        return false;
    }
    if (expansion == Expansion::TooLong || !planProcess(plan, entry.exePath, arguments)) {
        platform::showExclamation(kTooLongText);
        return false;
    }
    return true;
}

// The arcade kind passes the set name; its template's path placeholders get the cache's path
// as it is, since the kind uses none of the path options.
bool planSetName(EmulatorEntry entry, const HostRomRecord* chain, LaunchPlan& plan) {
    plan = LaunchPlan{};
    if (chain == nullptr) return false;
    char setName[kTextSize];
    // A set name cut short would start another game; such a name starts nothing.
    if (!copyText(setName, hostText(chain->comment))) return false;
    const char* text = findTemplate(emulatorTemplates, entry);
    if (text[0] == '\0') return planProcess(plan, entry.exePath, setName);
    char path[kTextSize] = "";
    if (usesRomPath(text)) {
        loadRomCache();
        lookupRomPath(path, hostText(chain->crc32));
    }
    // No playlist: the kind starts one set, so %M3U% is refused rather than passed empty.
    return planTemplate(plan, entry, text, path, path, *chain, nullptr);
}

LaunchResult carryOut(const LaunchPlan& plan, platform::WindowHandle owner) {
    if (plan.writesPlaylist && !writePlannedPlaylist()) return LaunchResult::Failed;
    if (plan.typesKeys) setClipboardText(plan.clipboard);
    platform::JobHandle sessionJob = 0;
    platform::ProcessHandle process =
        platform::startProcessInJob(plan.program, plan.commandLine, plan.folder, sessionJob);
    if (process == 0) {
        static char text[kMessageSize];
        failureText(text, kStartFailed, plan.program, platform::lastError());
        platform::showExclamation(text);
        return LaunchResult::Failed;
    }
    platform::JobHandle typingJob = plan.typesKeys ? platform::duplicateJob(sessionJob) : 0;
    recordPlay(plan.play, sessionJob, platform::processIdOf(process));  // the watcher's job now
    if (!plan.typesKeys) {
        platform::closeProcess(process);
        return LaunchResult::Started;
    }
    auto* job = static_cast<TypingJob*>(platform::allocateZeroed(sizeof(TypingJob)));
    if (job == nullptr) {
        platform::closeProcess(process);
        platform::closeJob(typingJob);
        return LaunchResult::Started;
    }
    *job = TypingJob{process,  plan.keyWait, plan.browseWait, owner, platform::rootOwner(owner),
                     typingJob};
    // Without a thread the script runs here, as it always could.
    if (!platform::startWorker(runTypingJob, job)) runTypingJob(job);
    return LaunchResult::Started;
}

namespace {

using PlanMethod = bool (*)(EmulatorEntry, const HostRomRecord*, LaunchPlan&);

void launchBy(PlanMethod method, const EmulatorEntry& entry, const HostRomRecord* chain) {
    static LaunchPlan plan;
    if (method(entry, chain, plan)) carryOut(plan, platform::activeWindow());
}

}  // namespace

void launchCommandLine(EmulatorEntry entry, const HostRomRecord* chain) {
    launchBy(planCommandLine, entry, chain);
}
void launchSetName(EmulatorEntry entry, const HostRomRecord* chain) {
    launchBy(planSetName, entry, chain);
}
void launchKeyboardDriven(EmulatorEntry entry, const HostRomRecord* chain) {
    launchBy(planKeyboardDriven, entry, chain);
}
void launchTwoDrive(EmulatorEntry entry, const HostRomRecord* chain) {
    launchBy(planTwoDrive, entry, chain);
}

}  // namespace lb
