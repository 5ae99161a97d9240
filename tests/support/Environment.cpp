#include "tests/support/Environment.h"

#include <cstdlib>

void SetEnvironment(const char* name, const std::optional<std::string>& value) {
#ifdef _WIN32
    // The C runtime keeps its own copy of the environment; _putenv_s changes it and the
    // process's, which started programs inherit. An empty value removes the variable there.
    _putenv_s(name, value ? value->c_str() : "");
#else
    if (value)
        setenv(name, value->c_str(), 1);
    else
        unsetenv(name);
#endif
}

std::optional<std::string> GetEnvironment(const char* name) {
    if (const char* value = std::getenv(name))
        return std::string(value);
    return std::nullopt;
}

TEnvironment::TEnvironment(const char* name, const std::optional<std::string>& value)
    : FName(name), FOld(GetEnvironment(name)) {
    SetEnvironment(name, value);
}

TEnvironment::~TEnvironment() {
    SetEnvironment(FName, FOld);
}
