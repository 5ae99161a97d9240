#include "describe/DescribeOptions.h"

#include "platform/Errors.h"

TDescribeCommand ParseDescribeCommand(const std::vector<std::string_view>& arguments) {
    TDescribeCommand command;
    bool check = false;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const auto argument = arguments[i];
        if (optionsEnded || argument.empty() || argument.front() != '-' || argument == "-") {
            command.Roots.emplace_back(argument);
        } else if (argument == "--") {
            optionsEnded = true;
        } else if (argument == "--help" || argument == "-h") {
            command.Action = TDescribeAction::Help;
            return command;
        } else if (argument == "--version") {
            command.Action = TDescribeAction::Version;
            return command;
        } else if (argument == "--check") {
            check = true;
        } else if (argument == "--in-place") {
            command.InPlace = true;
        } else if (argument == "--catalogue" || argument.starts_with("--catalogue=")) {
            if (argument != "--catalogue")
                command.Catalogue = argument.substr(std::string_view("--catalogue=").size());
            else if (i + 1 < arguments.size())
                command.Catalogue = arguments[++i];
            if (command.Catalogue.empty())
                throw EConvertError("--catalogue needs a folder");
        } else if (argument == "--prune") {
            command.Options.Prune = true;
        } else if (argument == "--dry-run" || argument == "-n") {
            command.Options.DryRun = true;
        } else if (argument == "--encoding" || argument.starts_with("--encoding=")) {
            std::string_view name;
            if (argument != "--encoding")
                name = argument.substr(std::string_view("--encoding=").size());
            else if (i + 1 < arguments.size())
                name = arguments[++i];
            else
                throw EConvertError("--encoding needs a code page");
            const auto page = Catalogue::CodePageByName(name);
            if (!page)
                throw EConvertError("unknown encoding \"" + std::string(name) +
                                    "\" (auto, windows-1252, iso-8859-1, iso-8859-15 or "
                                    "utf-8)");
            command.Options.CodePage = *page;
        } else {
            throw EConvertError("unknown option " + std::string(argument));
        }
    }
    if (command.InPlace && !command.Catalogue.empty())
        throw EConvertError("--in-place writes no catalogue: --catalogue does not apply");
    if (check) {
        if (command.Options.Prune || command.Options.DryRun || command.InPlace ||
            !command.Catalogue.empty())
            throw EConvertError("--check writes nothing: --prune, --dry-run, --in-place and "
                                "--catalogue do not apply");
        command.Action = TDescribeAction::Check;
        if (command.Roots.empty())
            throw EConvertError("--check needs at least one ROOT");
        return command;
    }
    if (command.Roots.size() != 1)
        throw EConvertError(command.Roots.empty() ? "missing ROOT"
                                                  : "only one ROOT can be described");
    return command;
}

std::string DescribeUsage() {
    return R"USAGE(Usage: mp3tunestead-describe [--catalogue DIR] [--encoding NAME] [--prune] [--dry-run] MUSIC
       mp3tunestead-describe --in-place [--encoding NAME] [--prune] [--dry-run] ROOT
       mp3tunestead-describe --check ROOT...

Describes the MP3 files below MUSIC, in any folder layout, into a catalogue of its own that
the program reads: nothing is renamed, moved or written inside MUSIC, which may be read-only.
The catalogue has a folder for each category and album with its descript.ion file, and for
each song an entry of at most 18 characters that leads to the real file (a symbolic link; on
Windows a hard link on the same volume, else a symbolic link where the system allows one).
Its root is printed at the end: add it to the roots of the catalogue under Preferences.

Layout: a first-level folder is a category (an artist or a style) and each folder of songs
below it an album; deeper levels fold into the album's title ("Artist - Album"); disc folders
(CD1, CD 2, Disc 1...) make one album each, "Album (CD 1)"; songs lying in MUSIC or in a
category folder make an album of their own. A folder reached again through a link is
described once.

Run it again after adding or removing songs: entries keep their names, so your edited
descriptions stay; an unchanged song is not opened again; new entries are appended in name
order. Files are merged, never replaced blindly: your descriptions, comment lines, blank
lines, line order and CD numbers stay; the size and bit rate of changed songs are refreshed.
A file is replaced whole through a temporary file, and only when its bytes change. Lines end
with CR LF. Two runs on one catalogue do not mix: the second waits for the first.

Song titles and album titles come from the ID3 tags, or else from the file or folder name;
a category is described by its folder name. The bit rate is chosen so that 8 * size / rate
gives the song's true length in whole seconds (VBR included).

Options:
  --catalogue DIR  where the catalogue goes (default: the per-user data folder's
                   mp3tunestead/catalogues/<name of MUSIC>, on Linux below
                   $XDG_DATA_HOME or ~/.local/share)
  --in-place       describe ROOT itself, walking ROOT/CATEGORY/ALBUM/*.mp3 and writing the
                   descript.ion files there (for collections already kept that way); names
                   longer than 18 bytes and songs outside that layout are reported
  --encoding NAME  code page of the descriptions: auto (default: each description in
                   windows-1252 when every character fits, in utf-8 otherwise),
                   windows-1252, iso-8859-1, iso-8859-15 or utf-8; characters the code
                   page cannot hold are written as "?"
  --prune          drop the lines of entries whose files are gone (kept otherwise); in a
                   catalogue also the catalogue's own entries of them, never anything in MUSIC
  -n, --dry-run    write nothing; print each change as a unified diff on standard output,
                   paths relative to the catalogue or ROOT (a/..., b/...)
  --check          read the catalogues below each ROOT as the program does and print every
                   problem as FILE:LINE: MESSAGE (FOLDER: description file missing)
  -h, --help       show this text
  --version        show the version

What cannot be described (names not writable, descriptions cut at column 50, characters
outside the code page, unreadable songs or folders, files named .mp3 that are no regular
file, sizes or lengths the fields cannot hold) is reported on standard error as
PATH: MESSAGE, with counts at the end.

Exit status:
  0  everything described (--check: no problem found)
  1  some entries could not be described in full (--check: problems found)
  2  usage error, unreadable MUSIC or ROOT, or a description file not read or written
)USAGE";
}
