// An emulator's command-line template expanded for one launch. Placeholders are matched without
// regard to ASCII case:
//
//   %ROM%       the ROM path as the kind passes it (extracted, shortened, quoted as set)
//   %ROMRAW%    the same path with no short form and no quotes
//   %FILENAME%  its file name, with the extension      %BASENAME%  without it
//   %GAMEDIR%   its folder                             %EMUDIR%    the executable's folder
//   %SET%       the set name                           %CRC%       the ROM's key
//   %M3U%       a playlist of every selected ROM (several discs started as one game)
//   %GAMEARGS%  the game's own arguments, from its launch setting (empty without one)
//   %%          one %
//
// Folders never end in a backslash ("C:\." for a drive's root), so "%GAMEDIR%" is always read
// back as one argument. Any other %NAME% that names an environment variable expands to its
// value, as cmd does; a %NAME% that is neither, and a lone %, are refused.
#pragma once

#include <cstddef>

#include "core/hostInterface.h"
#include "core/records.h"
#include "core/text.h"

namespace lb {

// What the placeholders stand for in one launch.
struct TemplateValues {
    const char* rom;            // %ROM%
    const char* romRaw;         // %ROMRAW%, and the base of the file and folder placeholders
    const char* exePath;        // the base of %EMUDIR%
    const char* set;            // %SET%
    const char* key;            // %CRC%
    const char* playlist = "";  // %M3U%; nullptr, refused, for the set name's kind
    const char* gameArgs = "";  // %GAMEARGS%
};

enum class Expansion { Done, Refused, TooLong };

// Expands `text` into `out` (`size` bytes with the NUL). Refused names the first text that is
// neither a placeholder nor an environment variable in `offending`: "%ROMM%", or for a lone %
// the text from it to the end. TooLong: the text, or an environment variable's value, does not
// fit.
constexpr size_t kOffendingSize = 1024;
Expansion expandTemplate(const char* text, const TemplateValues& values, char* out, size_t size,
                         char (&offending)[kOffendingSize]);

// Whether the template needs the ROM's path: it names %ROM%, %ROMRAW%, %FILENAME%, %BASENAME%,
// %GAMEDIR% or %M3U%; whether it names %M3U%, the playlist of all the selected ROMs.
bool usesRomPath(const char* text);
bool usesPlaylist(const char* text);
// Whether it names %GAMEARGS%: a game's own arguments then go there, not at the end.
bool usesGameArguments(const char* text);

// The file name of `path` without its extension (from its last dot, walking whole characters):
// what %BASENAME% stands for.
void baseNameOf(char (&name)[kTextSize], const char* path);

// The folder of `path` without its final backslashes, however many, "C:\." for a drive's root,
// the empty text for a path without a folder.
void folderOf(char (&folder)[kTextSize], const char* path);

// The message for a template that is refused: "コマンドライン引数に使えない文字列があります: "
// and the offending text. The empty text when the template can be expanded.
constexpr size_t kTemplateErrorSize = kOffendingSize + 64;
void templateError(char (&message)[kTemplateErrorSize], const char* text);
// Whether templateError has a message for `text`: a template made for a found emulator is
// checked so before it is offered.
bool templateRefused(const char* text);
// The same message for the offending text that an expansion gave.
void refusalText(char (&message)[kTemplateErrorSize], const char* offending);

// What the sample ROM "C:\ROMs\Sample Game.zip" with set name "sample" and key "1A2B3C4D" would
// get with `text` (today's arguments of the kind when it is empty) after the entry's quote
// option, for the edit dialog's line under the field: the arguments a launch would pass (cut
// at a whole character when longer than the line), or the message of the launch's refusal.
// Its playlist lies in `playlistFolder`, which ends in a backslash.
constexpr size_t kSampleSize = 2048;
void sampleArguments(char (&out)[kSampleSize], const char* text, int kind, bool quote,
                     const char* exePath, const char* playlistFolder = "C:\\ROMs\\");

// The command line the game `game` would start with by `entry` and its template `text`, with
// the game's own arguments: its ROM's path as the cache knows it (an archive's file named in the
// extraction folder, extracted only by a launch), for the game's launch setting dialog. The
// message of the launch's refusal when it would start nothing.
void gameSample(char (&out)[kSampleSize], const EmulatorEntry& entry, const char* text,
                const HostRomRecord& game, const char* gameArgs);

extern const char kTooLongText[];

}  // namespace lb
