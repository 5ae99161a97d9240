// Conversion between the program's single-byte texts and Qt's strings.
#pragma once

#include <QString>
#include <string>

// Bytes as read from disk or the registry, shown on screen: as UTF-8 when they are valid
// UTF-8 throughout (as Linux editors write description files). Other bytes are taken as
// single-byte text, every byte a character: on Windows in the ANSI code page, elsewhere as
// Windows-1252, the code page in which older catalogues were written, so that their accents,
// € and curly quotes show, a last "é" included. (A description that column 50 cuts inside a
// UTF-8 character comes without that character from the description reader, which alone
// knows where a field was cut.)
QString ToQString(const std::string& bytes);

// What the user typed, as the text the program stores and hands to the system: UTF-8 on
// Linux, the ANSI code page on Windows.
std::string FromQString(const QString& text);

// The typed text in the other encoding ToQString shows (Windows-1252 on Linux, UTF-8 on
// Windows), so that a query finds catalogues written in either. Empty when it reads the same
// in both, or has characters Windows-1252 cannot write.
std::string OtherSpelling(const QString& text);
