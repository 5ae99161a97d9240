// An INI-style registry reader on a key under any root, used read-only for the registered
// owner and organisation.
#pragma once

#include "settings/Registry.h"

#include <string>

class TRootRegIniFile : public TRegIniFile {
public:
    // Selects rootKey and opens keyPath under it, creating it if missing; when that fails no
    // key is open and each text read falls back to its default unless the section exists
    // directly under the root.
    TRootRegIniFile(const std::string& keyPath, platform::HKEY rootKey);
};
