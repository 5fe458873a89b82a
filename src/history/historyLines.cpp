// The history's two kinds of line as a launch writes them, a start and an end, each one line
// ending in a "." field; and the history's numbers as the list shows them.
#include "history/playHistory.h"

#include <cstdio>
#include <initializer_list>

namespace lb {

namespace {

// Appends `text` to `line` with tabs and line ends as blanks.
void putField(char (&line)[kHistoryLineSize], size_t& used, const char* text) {
    for (const char* p = text; *p != '\0' && used + 2 < sizeof line; ++p)
        line[used++] = (*p == '\t' || *p == '\r' || *p == '\n') ? ' ' : *p;
    line[used++] = '\t';
    line[used] = '\0';
}

void closeLine(char (&line)[kHistoryLineSize], size_t used) {
    if (used + 2 > sizeof line) used = sizeof line - 2;
    line[used++] = '.';
    line[used] = '\0';
}

}  // namespace

void startLine(char (&line)[kHistoryLineSize], const PlayStart& start) {
    size_t used = 0;
    line[0] = '\0';
    for (const char* field : {"S", start.id, start.started, start.key, start.name, start.set,
                              start.emulator, start.exe})
        putField(line, used, field);
    closeLine(line, used);
}

void endLine(char (&line)[kHistoryLineSize], const char* id, uint64_t seconds, bool cutShort) {
    char number[24];
    decimalText(number, seconds);
    size_t used = 0;
    line[0] = '\0';
    for (const char* field : {"E", id, static_cast<const char*>(number), cutShort ? "1" : "0"})
        putField(line, used, field);
    closeLine(line, used);
}

void playTimeText(char (&text)[24], uint64_t seconds) {
    std::snprintf(text, sizeof text, "%llu:%02u:%02u",
                  static_cast<unsigned long long>(seconds / 3600), unsigned(seconds / 60 % 60),
                  unsigned(seconds % 60));
}

void lastPlayedText(char (&text)[kStampSize], const char* stamp) {
    copyText(text, stamp);
    if (std::strlen(text) == 19) text[16] = '\0';  // the seconds are not shown
}

}  // namespace lb
