// Templates by emulator name and executable path, and their companion text file:
//
//   ; Launchboard: command-line templates
//   name=RetroArch
//   exe=C:\Emu\RetroArch\retroarch.exe
//   args=-L cores\snes9x_libretro.dll %ROM%
//
// Shift-JIS with CR LF, so a text editor shows and keeps it.
#include "registry/argumentTemplates.h"

#include <cstring>

#include "core/text.h"
#include "platform/platform.h"

namespace lb {

TemplateTable emulatorTemplates;
TemplateTable workingTemplates;

namespace {

const char kComment[] = "; Launchboard: command-line templates\r\n";
constexpr size_t kFileLimit = 64 * 1024;  // a longer file is read only this far

bool sameKey(const TemplateRow& row, const char* name, const char* exePath) {
    return std::strcmp(row.name, name) == 0 && std::strcmp(row.exePath, exePath) == 0;
}

int32_t findRow(const TemplateTable& table, const char* name, const char* exePath) {
    int32_t count =
        table.count < 0 ? 0 : (table.count > kMaxTemplateRows ? kMaxTemplateRows : table.count);
    for (int32_t i = 0; i < count; ++i)
        if (sameKey(table.rows[i], name, exePath)) return i;
    return -1;
}

void removeRow(TemplateTable& table, int32_t row) {
    for (int32_t i = row + 1; i < table.count; ++i) table.rows[i - 1] = table.rows[i];
    --table.count;
}

bool listed(const TemplateRow& row, const EmulatorEntry* list, int32_t count) {
    for (int32_t i = 0; i < count; ++i)
        if (sameKey(row, list[i].name, list[i].exePath)) return true;
    return false;
}

bool holdsLineEnd(const char* text) { return std::strpbrk(text, "\r\n") != nullptr; }

}  // namespace

const char* findTemplate(const TemplateTable& table, const EmulatorEntry& entry) {
    int32_t row = findRow(table, entry.name, entry.exePath);
    return row < 0 ? "" : table.rows[row].text;
}

bool setTemplate(TemplateTable& table, const EmulatorEntry& entry, const char* text,
                 const EmulatorEntry* list, int32_t count) {
    if (table.count < 0 || table.count > kMaxTemplateRows) table.count = 0;
    int32_t row = findRow(table, entry.name, entry.exePath);
    if (text[0] == '\0') {
        if (row >= 0) removeRow(table, row);
        return true;
    }
    if (std::strlen(text) >= kTemplateSize) return false;
    if (row < 0) {
        for (int32_t i = table.count - 1; i >= 0 && table.count == kMaxTemplateRows; --i)
            if (!listed(table.rows[i], list, count)) removeRow(table, i);
        if (table.count == kMaxTemplateRows) return false;
        row = table.count++;
        copyText(table.rows[row].name, entry.name);
        copyText(table.rows[row].exePath, entry.exePath);
    }
    copyText(table.rows[row].text, kTemplateSize, text);
    return true;
}

int32_t writeTemplateText(char* out, size_t size, size_t& length, const TemplateTable& table,
                          const EmulatorEntry* list, int32_t count) {
    const char* comment[] = {kComment};
    length = 0;
    if (size == 0 || !joinTexts(out, size, comment, 1)) return 0;
    int32_t written = 0;
    for (int32_t i = 0; i < count; ++i) {
        const char* text = findTemplate(table, list[i]);
        if (text[0] == '\0' || holdsLineEnd(list[i].name) || holdsLineEnd(list[i].exePath) ||
            holdsLineEnd(text))
            continue;
        const char* parts[] = {"name=",     list[i].name, "\r\nexe=", list[i].exePath,
                               "\r\nargs=", text,         "\r\n\r\n"};
        if (appendTexts(out, size, parts, 7)) ++written;
    }
    length = std::strlen(out);
    return written;
}

void readTemplateText(const char* text, size_t length, TemplateTable& table) {
    table.count = 0;
    TemplateRow row{};
    int stage = 0;  // 0: a name is next, 1: its exe, 2: its args
    const char* line = nullptr;
    size_t lineLength = 0;
    for (size_t at = 0; nextLine(text, length, at, line, lineLength);) {
        auto value = [&](const char* label, auto& field) {
            size_t n = std::strlen(label);
            return lineLength >= n && std::memcmp(line, label, n) == 0 &&
                   takeBytes(field, line + n, lineLength - n);
        };
        if (value("name=", row.name)) {
            stage = 1;
        } else if (stage == 1 && value("exe=", row.exePath)) {
            stage = 2;
        } else if (stage == 2 && value("args=", row.text)) {
            stage = 0;
            if (row.text[0] != '\0' && findRow(table, row.name, row.exePath) < 0 &&
                table.count < kMaxTemplateRows)
                table.rows[table.count++] = row;
        } else if (lineLength > 0 && line[0] != ';') {
            stage = 0;  // anything else breaks the template it interrupts
        }
    }
}

bool templateFilePath(char (&path)[kTextSize + 8], const char* listPath) {
    return joinPath(path, listPath, ".txt");
}

FileRead loadTemplates(const char* listPath, TemplateTable& table) {
    table.count = 0;
    char path[kTextSize + 8];
    static char text[kFileLimit];
    size_t got = 0;
    if (!templateFilePath(path, listPath)) return FileRead::Missing;
    FileRead read = readFilePrefix(path, text, sizeof text, got);
    if (read == FileRead::Read) readTemplateText(text, got, table);
    return read;
}

bool templateFileText(const char* listPath, const TemplateTable& table, const EmulatorEntry* list,
                      int32_t count, Chunk& chunk) {
    char path[kTextSize + 8];
    if (!templateFilePath(path, listPath)) return false;
    static char text[kMaxEmulators * (kTemplateSize + 2 * kTextSize + 32) + sizeof kComment];
    size_t length = 0;
    int32_t written = writeTemplateText(text, sizeof text, length, table, list, count);
    if (written == 0 && !platform::fileExists(path)) return false;
    chunk = Chunk{text, length};
    return true;
}

}  // namespace lb
