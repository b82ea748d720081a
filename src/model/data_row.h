#pragma once

#include <QtGlobal>

#include <vector>

// One sample row: entry 0 the time in ms since the start, then one value per channel in
// tenths of a degree; rows stored in a measurement carry a trailing measured flag
// (1 measured, 0 inserted by interpolation).
using TDataRow = std::vector<quint32>;

// One presence flag per channel slot of a device.
using TChannel = std::vector<bool>;
