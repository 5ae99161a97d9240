#include "components/RootRegIniFile.h"

TRootRegIniFile::TRootRegIniFile(const std::string& keyPath, platform::HKEY rootKey)
    : TRegIniFile(keyPath, rootKey) {}
