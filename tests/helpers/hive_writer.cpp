// Writes values into the HKEY_CURRENT_USER hive of a given folder, one after another, and
// writes one byte to standard output after each write has returned. Tests stop it at any
// moment to see that the hive stays whole.
//   hive_writer <folder> <prefix> <count> [<write number> <step>]
// With the last two arguments it kills itself at that step of that write (1-based).
#ifdef _WIN32
int main() {
    return 0;
}
#else
#include "platform/Registry.h"
#include "platform/posix/HiveStore.h"
#include "tests/helpers/HiveWriterValues.h"

#include <csignal>
#include <cstdlib>
#include <string>
#include <unistd.h>

using namespace platform;

int main(int argc, char** argv) {
    if (argc != 4 && argc != 6)
        return 2;
    SetRegistryFolderForTesting(argv[1]);
    const std::string prefix = argv[2];
    const int count = std::atoi(argv[3]);
    const int dieAtWrite = argc == 6 ? std::atoi(argv[4]) : 0;
    const int dieAtStep = argc == 6 ? std::atoi(argv[5]) : 0;

    int writing = 0;
    hive::SetWriteStepHookForTesting([&](int step) {
        if (writing == dieAtWrite && step == dieAtStep)
            std::raise(SIGKILL);
    });
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, HiveWriterKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                        &key, nullptr) != ERROR_SUCCESS)
        return 3;
    for (int i = 0; i < count; ++i) {
        writing = i + 1;
        const std::string data = HiveWriterData(i);
        if (RegSetValueExA(key, (prefix + std::to_string(i)).c_str(), 0, REG_SZ,
                           reinterpret_cast<const BYTE*>(data.data()),
                           static_cast<DWORD>(data.size())) != ERROR_SUCCESS)
            return 4;
        if (write(STDOUT_FILENO, "+", 1) != 1)
            return 5;
    }
    RegCloseKey(key);
    return 0;
}
#endif
