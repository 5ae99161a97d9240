// The texts of a play whose player could not be started. Lines of a message are separated
// by a carriage return alone.
#pragma once

#include <string>
#include <string_view>

namespace Playback {

// No player has been chosen yet.
std::string NoPlayerMessage();

// The player was asked to start and the system refused: names the player and the reason.
std::string PlayerNotStartedMessage(std::string_view player, std::string_view reason);

} // namespace Playback
