// The history file on disk: where it lies, a line appended with one write, the file read a
// piece at a time into a table, and a table saved back compacted.
#include "history/playHistory.h"

#include <cstring>

#include "core/pluginContext.h"
#include "platform/platform.h"

namespace lb {

bool historyFilePath(char (&path)[kTextSize]) {
    return dataFilePath(path, context->systemName, ".history.txt");
}

bool appendHistoryLine(const char* path, const char* line, uint32_t* error) {
    char bytes[kHistoryLineSize + 2] = "\r\n";
    size_t length = std::strlen(line);
    if (length + 2 >= sizeof bytes) return false;
    std::memcpy(bytes + 2, line, length);
    // Held for the write when it can be at once, never waited for: one write is whole by itself,
    // and a rewrite looks at the file's size again before it replaces the file. Flushed before
    // the game goes on.
    platform::Hold hold = platform::holdFile(path, 0);
    uint32_t failure = 0;
    platform::File* file = platform::openForAppend(path, failure);
    bool appended = file != nullptr && platform::writeToFile(file, bytes, length + 2) &&
                    platform::flushFile(file);
    if (file != nullptr && !appended) failure = platform::fileError(file);
    if (file != nullptr) platform::closeFile(file);  // flushed already: nothing left to lose
    platform::releaseFile(hold);
    if (error != nullptr) *error = failure;
    return appended;
}

FileRead readHistoryFile(const char* path, HistoryTable& table, size_t& size) {
    size = 0;
    platform::File* file = nullptr;
    platform::OpenResult opened = platform::openForRead(path, file);
    if (opened == platform::OpenResult::Missing) return FileRead::Missing;
    if (opened != platform::OpenResult::Opened) return FileRead::Unreadable;
    static char piece[1 << 18];
    size_t kept = 0;
    bool ready = beginHistory(table);
    for (;;) {
        long n = platform::readFromFile(file, piece + kept, sizeof piece - kept);
        if (n < 0) {
            platform::closeFile(file);
            releaseHistory(table);
            return FileRead::Unreadable;
        }
        size += size_t(n);
        size_t filled = kept + size_t(n);
        if (n == 0) {
            if (ready) readHistoryLines(piece, filled, table);  // the last line, torn or not
            break;
        }
        size_t whole = filled;
        while (whole > 0 && piece[whole - 1] != '\n') --whole;
        if (whole == 0) whole = filled;  // a line longer than the piece: damaged anyway
        if (ready) readHistoryLines(piece, whole, table);
        kept = filled - whole;
        std::memmove(piece, piece + whole, kept);
    }
    platform::closeFile(file);
    if (ready) finishHistory(table);
    return ready ? FileRead::Read : FileRead::Missing;
}

bool saveCompactedHistory(const char* path, const HistoryTable& table, const bool* dropped,
                          size_t within, int64_t readSize) {
    if (table.unread > 0) return false;  // the games it could not read would be lost
    // As much as its lines take, not a longest line per game: 10,000 games take about 1 MB.
    size_t size = compactedRoom(table);
    auto* text = static_cast<char*>(platform::allocate(size));
    if (text == nullptr) return false;
    size_t length = compactHistoryText(text, size, table, dropped);
    bool anyKept = false;
    for (int32_t i = 0; i < table.count && !anyKept; ++i)
        anyKept = dropped == nullptr || !dropped[i];
    if ((length == 0 && anyKept) || length > within) {  // never empty for a history with games
        platform::release(text);
        return length > within;
    }
    Chunk chunk{text, length};
    bool saved = saveFileSafely(path, &chunk, 1, readSize);
    platform::release(text);
    return saved;
}

bool deleteHistoryGames(const char* path, const char* const* keys, int32_t count) {
    platform::Hold hold = platform::holdFile(path, 1000);
    if (hold == 0) return false;
    static HistoryTable table;
    static bool dropped[kMaxGames];
    bool saved = false, grew = true;
    for (int attempt = 0; attempt < 3 && !saved && grew; ++attempt) {
        size_t size = 0;
        FileRead read = readHistoryFile(path, table, size);
        saved = read == FileRead::Missing;  // nothing left to delete
        if (read == FileRead::Read) {
            std::memset(dropped, 0, sizeof dropped);
            for (int32_t i = 0; i < count; ++i) {
                int32_t game = findFirst(table.index, keys[i]);
                if (game >= 0) dropped[game] = true;
            }
            saved = saveCompactedHistory(path, table, dropped, SIZE_MAX, int64_t(size));
        }
        releaseHistory(table);
        uint64_t now = 0;  // a play appended meanwhile: read again, with it
        grew = !saved && read == FileRead::Read && platform::fileSize(path, now) && now != size;
    }
    platform::releaseFile(hold);
    return saved;
}

}  // namespace lb
