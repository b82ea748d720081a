#pragma once

#include <QtGlobal>

#include <array>
#include <vector>

// The stored measurement of the serial logger, as read channel by channel, and its merge
// into rows by time.

// One stored record of one channel.
struct TSerRecord {
    quint32 value; // tenths of a degree
    quint32 time;  // ms from the start of the stored measurement
};
using TDataArray = std::vector<TSerRecord>;

constexpr int kSerChannels = 6;
// Rows of the read-out: time, channels 1 to 6, the measured flag 1.
constexpr int kSerRowSize = kSerChannels + 2;

struct TSerMemory {
    std::array<TDataArray, kSerChannels> records;
    // Channels the device announced records for; only these are interpolated.
    std::array<bool, kSerChannels> hasData{};
};

// Rows sorted by time (compared as unsigned), stored contiguously with kSerRowSize
// entries each: one row per distinct record time; a channel's entry is the value of its
// last record with that time (channels taken 1 to 6, records in order), 0 where it has
// none. O(n log n) in the number of records.
std::vector<quint32> MergeMemoryRecords(const TSerMemory& memory);

// Fills a channel's zero entries between two non-zero entries by linear interpolation
// between them (rounded half to even); zeros before a channel's first and after its last
// non-zero entry stay 0. Only channels with data are touched; linear in the rows.
void InterpolateMemoryRows(std::vector<quint32>& rows,
                           const std::array<bool, kSerChannels>& hasData);
