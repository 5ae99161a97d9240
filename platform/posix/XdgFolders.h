// The per-user base folders of the XDG base directory rules, looked up in one place for the
// settings hives, the per-user data folder and the desktop's application lists.
#pragma once

#include <functional>
#include <string>

namespace platform::xdg {

enum class TBase { Config, Data };

// The folder in XDG_CONFIG_HOME or XDG_DATA_HOME when that is an absolute path; else .config or
// .local/share in the home folder, which is $HOME when that is an absolute path and otherwise
// the home of the user's passwd entry. Empty when none of them is an absolute path, so the
// result is never relative to the current folder. No trailing delimiter, except for "/".
std::string UserBaseFolder(TBase base);

// The same choice on given values: a null or empty text stands for an unset variable, and
// passwdHome is asked only when the variables do not decide.
std::string ChooseUserBaseFolder(TBase base, const char* xdgValue, const char* homeValue,
                                 const std::function<std::string()>& passwdHome);

} // namespace platform::xdg
