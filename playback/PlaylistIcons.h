// The images of the playlist window's buttons, drawn in code: a normal and a disabled state.
#pragma once

#include <QIcon>

enum TPlaylistImage { piOpen, piSave, piClear, piPlay, piClose };

QIcon PlaylistIcon(TPlaylistImage image);
