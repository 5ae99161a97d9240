#include "platform/Launch.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <system_error>
#include <unistd.h>

extern char** environ;

namespace platform {

namespace {

// Starts the player from a short-lived intermediate process, so that the player becomes
// the child of the system's reaper and never lingers as our zombie, while other children
// of the program are left alone. Between fork() and _exit() the intermediate only makes
// the spawn call and writes its result into the report pipe.
int SpawnDetached(char* const argv[], const posix_spawnattr_t* attributes) {
    int report[2];
    if (pipe2(report, O_CLOEXEC) != 0)
        return errno;
    const pid_t intermediate = fork();
    if (intermediate == 0) {
        close(report[0]);
        pid_t player = 0;
        const int result = posix_spawnp(&player, argv[0], nullptr, attributes, argv, environ);
        const ssize_t written = write(report[1], &result, sizeof result);
        _exit(written == sizeof result ? 0 : 1);
    }
    const int forkError = errno;
    close(report[1]);
    int result = forkError;
    if (intermediate > 0) {
        ssize_t got = 0;
        do
            got = read(report[0], &result, sizeof result);
        while (got < 0 && errno == EINTR);
        if (got != sizeof result)
            result = ECHILD;
        int status = 0;
        while (waitpid(intermediate, &status, 0) < 0 && errno == EINTR) {
        }
    }
    close(report[0]);
    return result;
}

} // namespace

TStartResult ShellOpen(void* /*ownerWindow*/, const std::string& player,
                       const std::string& parameter) {
    if (player.empty())
        return {false, std::generic_category().message(ENOENT)};
    std::string file = player;
    std::string argument = parameter;
    char* const argv[] = {file.data(), argument.data(), nullptr};

    // The player starts in a session of its own with default signal handling and no
    // blocked signal, whatever the program has set up for itself.
    posix_spawnattr_t attributes;
    if (const int error = posix_spawnattr_init(&attributes); error != 0)
        return {false, std::generic_category().message(error)};
    sigset_t noSignals;
    sigemptyset(&noSignals);
    sigset_t allSignals;
    sigfillset(&allSignals);
    posix_spawnattr_setsigmask(&attributes, &noSignals);
    posix_spawnattr_setsigdefault(&attributes, &allSignals);
    short flags = POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF;
#ifdef POSIX_SPAWN_SETSID
    flags |= POSIX_SPAWN_SETSID;
#else
    flags |= POSIX_SPAWN_SETPGROUP;
#endif
    posix_spawnattr_setflags(&attributes, flags);

    const int result = SpawnDetached(argv, &attributes);
    posix_spawnattr_destroy(&attributes);
    if (result != 0)
        return {false, std::generic_category().message(result)};
    return {true, {}};
}

} // namespace platform
