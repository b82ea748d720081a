#pragma once

#include <QIcon>

// The program's icon set, by the index the actions and tool bars refer to. Drawn rather
// than loaded, so it looks the same everywhere and needs no files.
QIcon ActionIcon(int index);
