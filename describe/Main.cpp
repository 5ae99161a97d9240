// mp3tunestead-describe: writes the description files of a catalogue from its song files,
// or checks a catalogue as the program reads it.
#include "describe/DescribeOptions.h"
#include "describe/ProgressBar.h"
#include "describe/TagLibSongFacts.h"
#include "describing/CataloguePlace.h"
#include "describing/DescCheck.h"
#include "describing/DescribeWalk.h"
#include "describing/MusicCatalogue.h"
#include "describing/MusicScan.h"
#include "platform/Errors.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr const char* Program = "mp3tunestead-describe";

enum TExitCode { ExitDone = 0, ExitIncomplete = 1, ExitFailure = 2 };

// Songs read at once when describing into a catalogue of its own.
constexpr unsigned ReadThreads = 16;

void PrintLine(std::FILE* stream, const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stream);
    std::fputc('\n', stream);
}

int RunCheck(const std::vector<std::string>& roots) {
    int problems = 0;
    for (const auto& root : roots)
        problems += Catalogue::CheckCatalogue(
            root, [](const std::string& problem) { PrintLine(stdout, problem); });
    return problems > 0 ? ExitIncomplete : ExitDone;
}

// The counts of the problems by kind, as one line.
std::string ProblemCounts(const Catalogue::TDescribeSummary& summary) {
    std::string text;
    int total = 0;
    for (std::size_t i = 0; i < Catalogue::ProblemKindCount; ++i) {
        const auto kind = static_cast<Catalogue::TProblemKind>(i);
        if (summary.Count(kind) == 0)
            continue;
        total += summary.Count(kind);
        text += (text.empty() ? "" : ", ") + std::to_string(summary.Count(kind)) + " " +
                std::string(Catalogue::ProblemKindText(kind));
    }
    return std::to_string(total) + " problem(s): " + text;
}

// The default place of the catalogue of music; a run without a per-user data folder must
// name one.
std::string DefaultCatalogue(const std::string& music) {
    std::string place = Catalogue::DefaultCataloguePlace(music);
    if (place.empty())
        throw EInOutError("no per-user data folder is known: name the catalogue with --catalogue",
                          0);
    return place;
}

int RunDescribe(const TDescribeCommand& command) {
    const std::string& music = command.Roots.front();
    const std::string catalogue = command.InPlace             ? music
                                  : command.Catalogue.empty() ? DefaultCatalogue(music)
                                                              : command.Catalogue;
    TTagLibSongFacts reader;
    // The reader is safe on several threads; many of them keep a disk's or a share's queue
    // full while the describing goes on in order.
    auto options = command.Options;
    options.ReadThreads = ReadThreads;
    TProgressBar progress;
    Catalogue::TDescribeEvents events;
    events.OnProblem = [&](const Catalogue::TProblem& problem) {
        progress.Clear();
        PrintLine(stderr, problem.Path + ": " + problem.Message);
    };
    events.OnDiff = [&](const std::string& diff) {
        progress.Clear();
        std::fwrite(diff.data(), 1, diff.size(), stdout);
    };
    events.OnProgress = [&](std::size_t done, std::size_t total) { progress.Show(done, total); };
    events.OnBusy = [&] {
        PrintLine(stderr, std::string(Program) + ": another run is describing " + catalogue +
                              "; waiting for it to finish");
    };

    const auto summary =
        command.InPlace ? Catalogue::DescribeCatalogue(music, reader, options, events)
                        : Catalogue::DescribeMusicFolder(music, catalogue, reader, options, events);
    progress.Clear();
    std::fflush(stdout);
    const std::string verb = command.Options.DryRun ? " would change: " : " changed: ";
    PrintLine(stderr, std::string(Program) + ": " + std::to_string(summary.FilesChanged) +
                          " file(s)" + verb + std::to_string(summary.LinesAdded) +
                          " line(s) added, " + std::to_string(summary.LinesRefreshed) +
                          " refreshed, " + std::to_string(summary.LinesPruned) + " pruned");
    if (summary.EntryProblems() > 0 || summary.Count(Catalogue::TProblemKind::FileError) > 0)
        PrintLine(stderr, std::string(Program) + ": " + ProblemCounts(summary));
    if (!command.InPlace && !command.Options.DryRun)
        PrintLine(stdout, "Catalogue root: " + catalogue);
    if (summary.Count(Catalogue::TProblemKind::FileError) > 0)
        return ExitFailure;
    return summary.EntryProblems() > 0 ? ExitIncomplete : ExitDone;
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string_view> arguments(argv + 1, argv + argc);
    TDescribeCommand command;
    try {
        command = ParseDescribeCommand(arguments);
    } catch (const EError& error) {
        PrintLine(stderr, std::string(Program) + ": " + error.what());
        PrintLine(stderr, "Try '" + std::string(Program) + " --help'.");
        return ExitFailure;
    }
    try {
        switch (command.Action) {
        case TDescribeAction::Help:
            std::fputs(DescribeUsage().c_str(), stdout);
            return ExitDone;
        case TDescribeAction::Version:
            PrintLine(stdout, std::string(Program) + " " + TUNESTEAD_VERSION);
            return ExitDone;
        case TDescribeAction::Check:
            return RunCheck(command.Roots);
        case TDescribeAction::Describe:
            return RunDescribe(command);
        }
    } catch (const std::exception& error) {
        PrintLine(stderr, std::string(Program) + ": " + error.what());
    }
    return ExitFailure;
}
