// The command line of mp3tunestead-describe: what to do, on which roots, with which options.
#pragma once

#include "describing/DescribeWalk.h"

#include <string>
#include <string_view>
#include <vector>

enum class TDescribeAction { Describe, Check, Help, Version };

struct TDescribeCommand {
    TDescribeAction Action = TDescribeAction::Describe;
    Catalogue::TDescribeOptions Options;
    std::vector<std::string> Roots;
    // Describe ROOT itself in its three levels instead of into a catalogue of its own.
    bool InPlace = false;
    // Where the catalogue of its own goes; empty for the default place.
    std::string Catalogue;
};

// The command of the arguments (without the program name); throws EConvertError with the
// reason when they do not make one.
TDescribeCommand ParseDescribeCommand(const std::vector<std::string_view>& arguments);

// The text of --help.
std::string DescribeUsage();
