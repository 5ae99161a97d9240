// A stand-in for the MP3 player: appends its arguments and its working directory to the
// file, FIFO or named pipe named by TUNESTEAD_FAKE_PLAYER_LOG, each as
// "<kind> <length>\n<bytes>\n", and exits.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

void AppendField(std::string& record, const char* kind, const std::string& bytes) {
    record += kind;
    record += ' ' + std::to_string(bytes.size()) + '\n';
    record += bytes;
    record += '\n';
}

} // namespace

int main(int argc, char** argv) {
    const char* log = std::getenv("TUNESTEAD_FAKE_PLAYER_LOG");
    if (log == nullptr)
        return 2;
    std::string record;
    for (int i = 1; i < argc; ++i)
        AppendField(record, "arg", argv[i]);
    std::error_code error;
    AppendField(record, "cwd", std::filesystem::current_path(error).string());

    std::FILE* file = std::fopen(log, "ab");
    if (file == nullptr)
        return 3;
    const bool written = std::fwrite(record.data(), 1, record.size(), file) == record.size();
    return std::fclose(file) == 0 && written ? 0 : 4;
}
