#include "tests/support/LameSongs.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace fs = std::filesystem;

namespace {

void Put(std::ofstream& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.put(static_cast<char>((value >> (8 * i)) & 0xFF));
}

std::uint32_t Get(const std::string& bytes, std::size_t at, int size) {
    std::uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = value << 8 | static_cast<unsigned char>(bytes.at(at + i));
    return value;
}

} // namespace

bool LameAvailable() {
    return std::system("command -v lame >/dev/null 2>&1") == 0;
}

void WriteToneWav(const fs::path& file, int sampleRate, int samples) {
    const std::uint32_t dataBytes = static_cast<std::uint32_t>(samples) * 4;
    std::ofstream out(file, std::ios::binary);
    out.write("RIFF", 4);
    Put(out, 36 + dataBytes, 4);
    out.write("WAVEfmt ", 8);
    Put(out, 16, 4);
    Put(out, 1, 2);
    Put(out, 2, 2);
    Put(out, static_cast<std::uint32_t>(sampleRate), 4);
    Put(out, static_cast<std::uint32_t>(sampleRate) * 4, 4);
    Put(out, 4, 2);
    Put(out, 16, 2);
    out.write("data", 4);
    Put(out, dataBytes, 4);
    for (int i = 0; i < samples; ++i) {
        const auto value = static_cast<std::int16_t>(8000 * std::sin(i * 0.06));
        Put(out, static_cast<std::uint16_t>(value), 2);
        Put(out, static_cast<std::uint16_t>(value), 2);
    }
}

fs::path MakeLameSong(const fs::path& folder, const TLameSong& song) {
    const fs::path wav = folder / (song.Name + ".wav");
    const fs::path mp3 = folder / song.Name;
    WriteToneWav(wav, song.SampleRate, song.Samples);
    const std::string command =
        "lame --quiet " + song.LameOptions + " '" + wav.string() + "' '" + mp3.string() + "'";
    const int status = std::system(command.c_str());
    fs::remove(wav);
    if (status != 0)
        throw std::runtime_error("lame failed: " + command);
    return mp3;
}

double DecodedSeconds(const fs::path& mp3) {
    const fs::path wav = fs::path(mp3.string() + ".decoded.wav");
    const std::string command =
        "lame --quiet --decode '" + mp3.string() + "' '" + wav.string() + "'";
    const int status = std::system(command.c_str());
    std::ifstream in(wav, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    in.close();
    fs::remove(wav);
    // lame writes the canonical header: the format chunk at 12, the samples from 44 on.
    if (status != 0 || bytes.size() < 44 || bytes.compare(12, 4, "fmt ") != 0)
        throw std::runtime_error("lame failed: " + command);
    const std::uint32_t rate = Get(bytes, 24, 4);
    const std::uint32_t frameBytes = Get(bytes, 32, 2);
    return static_cast<double>(bytes.size() - 44) / frameBytes / rate;
}
