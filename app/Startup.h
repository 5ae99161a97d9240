// Program start: the application object's look, the six windows in their order, the
// failure box that ends a start-up which cannot open its settings, and the report of a
// command line that was not understood.
#pragma once

#include <string>

class TApplication;

// Title, icon, style and font of the application object.
void SetUpApplication(TApplication& application);

// Shows the settings store's warnings (a damaged settings file moved aside) in a warning box.
void InstallRegistryWarningBox();

// Creates the six windows in their order. When that fails, shows the "Application Error"
// box with the reason and returns false; the program then ends with exit code 1.
bool CreateForms();

// Destroys the windows, the last created first.
void DestroyForms();

// The usage error of a command line (the argument not understood, the synopsis, where the
// help is) in an error box captioned with the program's name.
void ShowUsageErrorBox(const std::string& rejected);

// Reports a command line that was not understood and returns its exit code: on Windows, where
// the program has no console, in the usage error box; elsewhere on standard error.
int ReportUsageError(const std::string& rejected, int& argc, char** argv);
