#include "playback/PlayerMessages.h"

namespace Playback {

std::string NoPlayerMessage() {
    return "No MP3 player is set.\rChoose one under Preferences, on the \"Files location\" page "
           "(right-click the main window).";
}

std::string PlayerNotStartedMessage(std::string_view player, std::string_view reason) {
    std::string text = "The MP3 player \"";
    text += player;
    text += "\" could not be started.\r";
    text += reason;
    return text;
}

} // namespace Playback
