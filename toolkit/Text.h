// Conversion between the program's single-byte texts and Qt's strings.
#pragma once

#include <QString>
#include <string>

// Bytes as read from disk or the registry, shown on screen. Bytes that are not valid in the
// user's (UTF-8) locale are taken as Latin-1, so older single-byte catalogues stay readable.
QString ToQString(const std::string& bytes);

// What the user typed, as the single-byte text the program stores.
std::string FromQString(const QString& text);
