#include "platform/posix/XdgFolders.h"

#include <cerrno>
#include <cstdlib>
#include <pwd.h>
#include <unistd.h>
#include <vector>

namespace platform::xdg {

namespace {

bool IsAbsolute(const char* path) {
    return path != nullptr && path[0] == '/';
}

std::string WithoutTrailingDelimiters(std::string path) {
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

std::string BelowHome(TBase base) {
    return base == TBase::Config ? ".config" : ".local/share";
}

// The home folder of the user's passwd entry; empty when there is none.
std::string PasswdHome() {
    long size = sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(size > 0 ? static_cast<std::size_t>(size) : 4096);
    passwd entry{};
    passwd* found = nullptr;
    while (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) == ERANGE)
        buffer.resize(buffer.size() * 2);
    return found != nullptr && found->pw_dir != nullptr ? found->pw_dir : "";
}

} // namespace

std::string ChooseUserBaseFolder(TBase base, const char* xdgValue, const char* homeValue,
                                 const std::function<std::string()>& passwdHome) {
    if (IsAbsolute(xdgValue))
        return WithoutTrailingDelimiters(xdgValue);
    std::string home = IsAbsolute(homeValue) ? homeValue : passwdHome();
    if (!IsAbsolute(home.c_str()))
        return {};
    home = WithoutTrailingDelimiters(home);
    return (home == "/" ? home : home + "/") + BelowHome(base);
}

std::string UserBaseFolder(TBase base) {
    const char* variable = base == TBase::Config ? "XDG_CONFIG_HOME" : "XDG_DATA_HOME";
    return ChooseUserBaseFolder(base, std::getenv(variable), std::getenv("HOME"), PasswdHome);
}

} // namespace platform::xdg
