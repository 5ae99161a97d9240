// Conversion between the program's single-byte texts and Qt's strings.
#pragma once

#include <QString>
#include <optional>
#include <string>

// Bytes as read from disk or the registry, shown on screen: in the user's locale (UTF-8 on
// Linux desktops, as Linux editors write description files). A text whose last UTF-8
// character was cut short (a description cut at its last column) shows without it. Bytes that
// are not valid in the locale otherwise are taken as Windows-1252, the code page in which
// older catalogues were written, so that their accents, € and curly quotes show.
QString ToQString(const std::string& bytes);

// What the user typed, as the single-byte text the program stores.
std::string FromQString(const QString& text);

// The text as Windows-1252 writes it; nothing when a character has no place there.
std::optional<std::string> ToWindows1252(const QString& text);
