// Program start: the application object's look, the six windows in their order, and the
// failure box that ends a start-up which cannot open its settings.
#pragma once

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
