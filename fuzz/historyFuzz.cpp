// Feeds one input to the play history's reader as a whole file and in two pieces split at a
// line end, and checks what must hold whatever a crash or an editor left in the file: both reads
// give the same games, and the compacted text, read back, gives them again.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "history/playHistory.h"

namespace {

std::string games(const lb::HistoryTable& table) {
    std::string text;
    for (int32_t i = 0; i < table.count; ++i) {
        const lb::GameHistory& g = table.games[i];
        for (const char* field : {g.key, g.name, g.set, g.emulator, g.exe, g.lastPlayed})
            text += std::string(field) + "\t";
        text += std::to_string(g.plays) + "\t" + std::to_string(g.unknownPlays) + "\t" +
                std::to_string(g.seconds) + "\n";
    }
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static lb::HistoryTable whole{}, pieces{}, compacted{};
    const char* text = reinterpret_cast<const char*>(data);
    if (!lb::readHistoryText(text, size, whole) || !lb::beginHistory(pieces)) return 0;
    size_t cut = size / 2;
    while (cut < size && text[cut] != '\n') ++cut;
    cut = cut < size ? cut + 1 : size;
    lb::readHistoryLines(text, cut, pieces);
    lb::readHistoryLines(text + cut, size - cut, pieces);
    lb::finishHistory(pieces);
    static char out[1 << 22];
    size_t length = lb::compactHistoryText(out, sizeof out, whole);
    if (games(whole) != games(pieces) || (length == 0 && whole.count > 0) ||
        !lb::readHistoryText(out, length, compacted) || games(compacted) != games(whole))
        std::abort();
    return 0;
}
