// Environment variables of the test process, which the programs it starts inherit.
#pragma once

#include <optional>
#include <string>

// Sets the variable, or removes it when there is no value.
void SetEnvironment(const char* name, const std::optional<std::string>& value);

// The variable's value, if it is set.
std::optional<std::string> GetEnvironment(const char* name);

// Sets a variable for one test and restores it afterwards.
class TEnvironment {
public:
    TEnvironment(const char* name, const std::optional<std::string>& value);
    ~TEnvironment();
    TEnvironment(const TEnvironment&) = delete;
    TEnvironment& operator=(const TEnvironment&) = delete;

private:
    const char* FName;
    std::optional<std::string> FOld;
};
