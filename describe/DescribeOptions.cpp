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
    if (check) {
        if (command.Options.Prune || command.Options.DryRun)
            throw EConvertError("--check writes nothing: --prune and --dry-run do not apply");
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
    return R"(Usage: mp3tunestead-describe [--encoding NAME] [--prune] [--dry-run] ROOT
       mp3tunestead-describe --check ROOT...

Writes the descript.ion file of ROOT (its categories), of every category folder (its albums)
and of every album folder (its *.mp3 songs, with size and bit rate), walking
ROOT/CATEGORY/ALBUM. Existing files are merged, never replaced blindly: your descriptions,
comment lines, blank lines, line order and CD numbers stay; new entries are appended in
name order; the size and bit rate of changed songs are refreshed. A file is replaced
whole through a temporary file, and only when its bytes change. Lines end with CR LF.

Song titles and album titles come from the ID3 tags, or else from the file or folder name;
a category is described by its folder name. The bit rate is chosen so that 8 * size / rate
gives the song's true length in whole seconds (VBR included). Names are written as the
file system gives their bytes; a name longer than 18 bytes cannot be described.

Options:
  --encoding NAME  code page of the descriptions: auto (default: each description in
                   windows-1252 when every character fits, in utf-8 otherwise),
                   windows-1252, iso-8859-1, iso-8859-15 or utf-8; characters the code
                   page cannot hold are written as "?"
  --prune          drop the lines of entries whose files are gone (kept otherwise)
  -n, --dry-run    write nothing; print each change as a unified diff on standard output,
                   paths relative to ROOT (a/..., b/...)
  --check          read the catalogues below each ROOT as the program does and print every
                   problem as FILE:LINE: MESSAGE (FOLDER: description file missing)
  -h, --help       show this text
  --version        show the version

What cannot be described (names too long or not writable, descriptions cut at column 50,
characters outside the code page, unreadable songs or folders, sizes or lengths the
fields cannot hold) is reported on standard error as PATH: MESSAGE, with counts at the end.

Exit status:
  0  everything described (--check: no problem found)
  1  some entries could not be described in full (--check: problems found)
  2  usage error, unreadable ROOT, or a description file not read or written
)";
}
