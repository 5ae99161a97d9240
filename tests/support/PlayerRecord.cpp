#include "tests/support/PlayerRecord.h"

#include "platform/Folders.h"

#include "tests/support/Environment.h"

#ifdef _WIN32
#include <random>
#include <windows.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#ifdef _WIN32

// The server end of the pipe, with the overlapped state of its pending connection or read.
struct TPlayerRecord::TChannel {
    HANDLE Pipe = INVALID_HANDLE_VALUE;
    HANDLE Event = nullptr;
    OVERLAPPED Overlapped{};
    bool Connecting = false;

    ~TChannel() {
        if (Pipe != INVALID_HANDLE_VALUE) {
            CancelIo(Pipe);
            CloseHandle(Pipe);
        }
        if (Event != nullptr)
            CloseHandle(Event);
    }

    // Waits for the pending operation; false when it failed or did not end in time.
    bool Finish(int timeoutMs, DWORD& transferred) {
        if (WaitForSingleObject(Event, static_cast<DWORD>(timeoutMs)) != WAIT_OBJECT_0) {
            CancelIo(Pipe);
            return false;
        }
        return GetOverlappedResult(Pipe, &Overlapped, &transferred, FALSE) != 0;
    }
};

TPlayerRecord::TPlayerRecord(const std::filesystem::path& fifo, const char* variable)
    : FVariable(variable), FOld(GetEnvironment(variable)) {
    std::random_device device;
    FPath = "\\\\.\\pipe\\tunestead-" + std::to_string(GetCurrentProcessId()) + "-" +
            std::to_string(device()) + "-" + fifo.filename().string();
    SetEnvironment(variable, FPath);
}

bool TPlayerRecord::Arm() {
    Disarm();
    auto channel = std::make_unique<TChannel>();
    channel->Pipe = CreateNamedPipeA(FPath.c_str(), PIPE_ACCESS_INBOUND | FILE_FLAG_OVERLAPPED,
                                     PIPE_TYPE_BYTE | PIPE_WAIT, 1, 0, 65536, 0, nullptr);
    channel->Event = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (channel->Pipe == INVALID_HANDLE_VALUE || channel->Event == nullptr)
        return false;
    channel->Overlapped.hEvent = channel->Event;
    if (!ConnectNamedPipe(channel->Pipe, &channel->Overlapped)) {
        const DWORD error = GetLastError();
        if (error == ERROR_IO_PENDING)
            channel->Connecting = true;
        else if (error != ERROR_PIPE_CONNECTED)
            return false;
    }
    FChannel = std::move(channel);
    return true;
}

std::string TPlayerRecord::Read(int timeoutMs) {
    std::string record;
    DWORD transferred = 0;
    if (FChannel && (!FChannel->Connecting || FChannel->Finish(timeoutMs, transferred))) {
        FChannel->Connecting = false;
        for (;;) {
            char buffer[4096];
            if (!ReadFile(FChannel->Pipe, buffer, sizeof buffer, nullptr, &FChannel->Overlapped) &&
                GetLastError() != ERROR_IO_PENDING)
                break;
            if (!FChannel->Finish(timeoutMs, transferred))
                break;
            record.append(buffer, transferred);
        }
    }
    Disarm();
    return record;
}

#else

// The FIFO's reading end.
struct TPlayerRecord::TChannel {
    int Reader = -1;
    ~TChannel() {
        if (Reader >= 0)
            close(Reader);
    }
};

TPlayerRecord::TPlayerRecord(const std::filesystem::path& fifo, const char* variable)
    : FPath(fifo.string()), FVariable(variable), FOld(GetEnvironment(variable)) {
    SetEnvironment(variable, FPath);
}

bool TPlayerRecord::Arm() {
    Disarm();
    std::filesystem::remove(FPath);
    if (mkfifo(FPath.c_str(), 0600) != 0)
        return false;
    auto channel = std::make_unique<TChannel>();
    channel->Reader = open(FPath.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (channel->Reader < 0)
        return false;
    FChannel = std::move(channel);
    return true;
}

std::string TPlayerRecord::Read(int timeoutMs) {
    std::string record;
    if (FChannel) {
        pollfd waiting{FChannel->Reader, POLLIN, 0};
        while (poll(&waiting, 1, timeoutMs) > 0) {
            char buffer[4096];
            const ssize_t got = read(FChannel->Reader, buffer, sizeof buffer);
            if (got > 0)
                record.append(buffer, static_cast<std::size_t>(got));
            else if (got == 0 || errno != EAGAIN)
                break;
        }
    }
    Disarm();
    return record;
}

#endif

TPlayerRecord::~TPlayerRecord() {
    Disarm();
    SetEnvironment(FVariable, FOld);
}

void TPlayerRecord::Disarm() {
    FChannel.reset();
}

std::string FakePlayerPath() {
    return platform::ExecutableDirectory() + FakePlayerName;
}
