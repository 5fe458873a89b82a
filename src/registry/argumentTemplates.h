// The command-line template of each emulator, kept beside its list: the fixed list layouts stay
// byte for byte as they are, and a companion text file ("<system>.emu.txt", "Copy.dat.txt")
// holds each template with its emulator's name and executable path. A template whose name and
// path match no entry of the list (the list was restored from a backup, or written by an older
// version) is ignored.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/fileIo.h"
#include "core/records.h"

namespace lb {

constexpr size_t kTemplateSize = 1024;  // at most 1,023 bytes and the NUL

struct TemplateRow {
    char name[kTextSize];
    char exePath[kTextSize];
    char text[kTemplateSize];
};

// Templates by name and executable path. A table holds the templates of a list's entries and,
// for a while, of entries since renamed or deleted: those are dropped when room is needed and
// never saved.
constexpr int32_t kMaxTemplateRows = 2 * kMaxEmulators;
struct TemplateTable {
    int32_t count;
    TemplateRow rows[kMaxTemplateRows];
};

// The current system's templates, loaded with its list; set by loadEmulatorList and the
// settings dialog's OK, read by the launches.
extern TemplateTable emulatorTemplates;
// The settings dialog's working templates, beside workingList; set by loadWorkingList, the edit
// dialog and Paste, read by the edit dialog and OK.
extern TemplateTable workingTemplates;

// The entry's template in `table`; the empty text when it has none.
const char* findTemplate(const TemplateTable& table, const EmulatorEntry& entry);

// Sets the entry's template; an empty text removes it. When the table is full, the rows that
// match no entry of `list` make room first. False when the text does not fit or no room is left.
bool setTemplate(TemplateTable& table, const EmulatorEntry& entry, const char* text,
                 const EmulatorEntry* list, int32_t count);

// The companion file's text for the templates of `list`'s entries, in list order: a comment
// line, then for each template "name=", "exe=" and "args=" lines and a blank line, CR LF
// throughout. A template whose texts hold a line end is left out. The number of templates.
int32_t writeTemplateText(char* out, size_t size, size_t& length, const TemplateTable& table,
                          const EmulatorEntry* list, int32_t count);
// Reads a companion file's text into `table`, replacing what it held. Lines that do not make a
// whole template are skipped; texts too long for their fields lose only their template.
void readTemplateText(const char* text, size_t length, TemplateTable& table);

// The companion of the list file `listPath`: its path with ".txt" appended.
bool templateFilePath(char (&path)[kTextSize + 8], const char* listPath);

// Reads the companion of `listPath` into `table`: a damaged file gives the templates it could
// read, a missing one none. A file that exists but cannot be read leaves the table empty and is
// Unreadable: the caller must neither use nor save the table then. Nothing is told.
FileRead loadTemplates(const char* listPath, TemplateTable& table);

// The companion's text for the templates of `list`'s entries, to be saved beside `listPath`
// with its list; false when nothing is to be written: no template and no companion file yet.
// An existing file is emptied to its comment line. The text lives until the next call.
bool templateFileText(const char* listPath, const TemplateTable& table, const EmulatorEntry* list,
                      int32_t count, Chunk& text);

}  // namespace lb
