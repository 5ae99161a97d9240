#include "describing/DescWriter.h"

#include "catalogue/CatalogueMessages.h"
#include "catalogue/CataloguePath.h"
#include "describing/UnifiedDiff.h"
#include "platform/DescRead.h"
#include "platform/Errors.h"
#include "platform/FileIO.h"
#include "platform/MusicFiles.h"

#include <algorithm>
#include <climits>

namespace Catalogue {

namespace {

// How often a file changed by someone else while it was merged is merged again before the
// merge of the last reading is written anyway.
constexpr int MergeRounds = 3;

} // namespace

std::string Trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(" \t");
    return std::string(text.substr(first, last - first + 1));
}

void TDescWriter::Report(TProblemKind kind, const std::string& path, const std::string& message) {
    ++FSummary.Problems[static_cast<std::size_t>(kind)];
    if (FEvents.OnProblem)
        FEvents.OnProblem({kind, path, message});
}

bool TDescWriter::Describable(const std::string& name, const std::string& path) {
    switch (CheckName(name)) {
    case TNameFault::None:
        return true;
    case TNameFault::TooLong:
        Report(TProblemKind::NameTooLong, path,
               "name longer than " + std::to_string(MaxNameLength) + " characters, not described");
        return false;
    case TNameFault::Unwritable:
        Report(TProblemKind::NameUnwritable, path,
               "name cannot stand in a description line (control character, two blanks in a "
               "row, trailing blank or leading \";\"), not described");
        return false;
    }
    return false;
}

std::optional<TSongNumbers> TDescWriter::SongNumbers(const std::string& path,
                                                     const TSongFacts& facts) {
    std::optional<TSongNumbers> numbers;
    if (!facts.LengthMs)
        Report(TProblemKind::NumbersNotHeld, path,
               "length unknown, line written without size and bit rate");
    else if (facts.Size > static_cast<std::uint64_t>(INT32_MAX))
        Report(TProblemKind::NumbersNotHeld, path,
               "size of " + std::to_string(facts.Size) +
                   " bytes does not fit the size field, line written without size and bit rate");
    else if (!(numbers = ChooseNumbers(facts.Size, *facts.LengthMs)))
        Report(TProblemKind::NumbersNotHeld, path,
               "no bit rate up to " + std::to_string(MaxBitRate) + " gives " +
                   std::to_string(*facts.LengthMs / 1000) + " s for " + std::to_string(facts.Size) +
                   " bytes, line written without size and bit rate");
    return numbers;
}

void TDescWriter::AddEntry(TFolderEntries& entries, const std::string& name,
                           const std::string& path, const std::string& title,
                           const std::optional<TSongNumbers>& numbers) {
    auto line = LayOutTitle(name, title, FOptions.CodePage, numbers);
    entries.Input.Found.push_back({name, std::move(line.Text), numbers});
    entries.Pending.push_back({path, title, line.Cut, line.Unrepresentable});
}

bool TDescWriter::ReadExisting(const std::string& descPath, std::optional<std::string>& existing) {
    existing.reset();
    platform::TReadBuffer buffer;
    const auto result = platform::ReadDescFile(descPath, nullptr, buffer);
    if (result == TDescRead::Read) {
        existing.emplace(buffer.Data(), buffer.Size());
        return true;
    }
    if (result == TDescRead::NotOpened && !platform::EntryExists(descPath))
        return true;
    Report(TProblemKind::FileError, descPath,
           "cannot read description file, left as it is: " +
               (result == TDescRead::NotOpened ? std::string("cannot open")
                                               : RefusedFileMessage(descPath, result)));
    return false;
}

void TDescWriter::Update(const std::string& folder, const std::string& relative,
                         TFolderEntries& entries) {
    const std::string descPath = DescFilePath(folder);
    std::optional<std::string> existing;
    if (!ReadExisting(descPath, existing))
        return;
    // The file is read again just before it is replaced: when someone saved it meanwhile (an
    // edit, or another describing), the merge is made again on what they saved. A file that was
    // not there was looked for just now: it is written as new at once.
    TMergeResult merged;
    for (int round = 0;; ++round) {
        entries.Input.Existing.reset();
        if (existing)
            entries.Input.Existing = *existing;
        merged = MergeDescFile(entries.Input);
        if (FOptions.DryRun || round + 1 == MergeRounds || !existing || *existing == merged.Text)
            break;
        std::optional<std::string> again;
        if (!ReadExisting(descPath, again))
            return;
        if (again == existing)
            break;
        existing = std::move(again);
    }
    for (const auto index : merged.Added) {
        const auto& entry = entries.Pending[index];
        if (entry.Cut)
            Report(TProblemKind::DescriptionCut, entry.Path,
                   "description cut at column 50: \"" + entry.Title + "\"");
        if (entry.Unrepresentable > 0)
            Report(TProblemKind::NotRepresentable, entry.Path,
                   std::to_string(entry.Unrepresentable) + " character(s) of \"" + entry.Title +
                       "\" not representable in " + std::string(CodePageName(FOptions.CodePage)) +
                       ", written as \"?\"");
    }
    if (existing && *existing == merged.Text)
        return;
    ++FSummary.FilesChanged;
    FSummary.LinesAdded += static_cast<int>(merged.Added.size());
    FSummary.LinesRefreshed += merged.Refreshed;
    FSummary.LinesPruned += merged.Pruned;
    // A diff names its files with "/" on every system, as patch tools read them.
    std::string label =
        relative.empty() ? std::string(DescFileName) : relative + "/" + std::string(DescFileName);
    std::replace(label.begin(), label.end(), PathDelimiter, '/');
    if (FOptions.DryRun) {
        std::string diff = UnifiedDiff(existing.value_or(std::string{}), merged.Text,
                                       existing ? "a/" + label : "/dev/null", "b/" + label);
        if (diff.empty())
            diff = "--- /dev/null\n+++ b/" + label + "\n";
        if (FEvents.OnDiff)
            FEvents.OnDiff(diff);
        return;
    }
    try {
        // A new file has nothing to lose in a crash: it is made durable with all the others
        // when the run ends, which is far faster than flushing each to the disk.
        if (existing) {
            platform::ReplaceFileBytes(descPath, merged.Text);
        } else {
            platform::WriteNewFileBytes(descPath, merged.Text);
            FUnsynced = true;
        }
    } catch (const EError& failure) {
        Report(TProblemKind::FileError, descPath, std::string("cannot write: ") + failure.what());
    }
}

void TDescWriter::SyncNewFiles(const std::string& folder) {
    if (!FUnsynced)
        return;
    FUnsynced = false;
    try {
        platform::SyncFileSystem(folder);
    } catch (const EError& failure) {
        Report(TProblemKind::FileError, folder,
               std::string("cannot write to the disk: ") + failure.what());
    }
}

} // namespace Catalogue
