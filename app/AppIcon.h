// The program's icon, drawn in code: a music note on a record.
#pragma once

#include <QIcon>

QIcon ApplicationIcon();
