// Real MP3 files for tests, made at test time with lame from a generated tone of a known
// number of samples, so that each file's true length is known exactly.
#pragma once

#include <filesystem>
#include <string>

// A song to make: its file name, its tone and how lame encodes it.
struct TLameSong {
    std::string Name;
    int SampleRate = 44100;
    int Samples = 0;
    // lame's options (quoted for the shell where they hold blanks): bit rate, tags, ...
    std::string LameOptions;

    // The true length of the song in seconds.
    double Seconds() const { return static_cast<double>(Samples) / SampleRate; }
};

// Whether lame can be started.
bool LameAvailable();

// Writes a 16-bit stereo PCM WAV file of samples frames of a quiet tone.
void WriteToneWav(const std::filesystem::path& file, int sampleRate, int samples);

// Makes the song in folder with lame; throws std::runtime_error when lame fails.
std::filesystem::path MakeLameSong(const std::filesystem::path& folder, const TLameSong& song);

// The length in seconds of the audio that lame's decoder gets out of an MP3 file; throws
// std::runtime_error when lame fails.
double DecodedSeconds(const std::filesystem::path& mp3);
