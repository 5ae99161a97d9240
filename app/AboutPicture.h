// The About box's picture, drawn in code: a record with a note before a night sky.
#pragma once

#include <QPixmap>

// An 80 x 92 picture; the About box shows its upper 80 x 78.
QPixmap AboutPicture();
