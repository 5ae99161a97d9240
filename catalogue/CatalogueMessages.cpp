#include "catalogue/CatalogueMessages.h"

#include "catalogue/CataloguePath.h"

namespace Catalogue {

namespace {

std::string MissingMessage(std::string_view descPath, std::string_view tail) {
    std::string text;
    text += '"';
    text += descPath;
    text += "\" file missing.\r Description files are required in every directory.";
    text += tail;
    return text;
}

} // namespace

std::string SyntaxErrorMessage(std::string_view descPath) {
    std::string text = "Syntax error in file \"";
    text += DirectoryPart(descPath);
    text += DescFileName;
    text += "\".\rYou must separate the filename and the description with TWO spaces.";
    return text;
}

std::string SyntaxErrorText(std::string_view descPath) {
    std::string text = "<";
    text += DirectoryPart(descPath);
    text += DescFileName;
    text += " : syntax error>";
    return text;
}

std::string CategoryFileMissingMessage(std::string_view descPath) {
    return MissingMessage(descPath, " ");
}

std::string DescFileMissingMessage(std::string_view descPath) {
    return MissingMessage(descPath, "");
}

std::string RefusedFileMessage(std::string_view descPath, TDescRead result) {
    std::string text;
    text += '"';
    text += descPath;
    text += result == TDescRead::TooLarge
                ? "\" is larger than " + std::to_string(MaxDescFileSize / (1024 * 1024)) + " MiB."
                : std::string("\" is not a regular file.");
    return text;
}

std::string CategoryFileNotReadMessage(std::string_view descPath, TDescRead result) {
    return result == TDescRead::NotOpened ? CategoryFileMissingMessage(descPath)
                                          : RefusedFileMessage(descPath, result);
}

std::string DescFileNotReadMessage(std::string_view descPath, TDescRead result) {
    return result == TDescRead::NotOpened ? DescFileMissingMessage(descPath)
                                          : RefusedFileMessage(descPath, result);
}

} // namespace Catalogue
