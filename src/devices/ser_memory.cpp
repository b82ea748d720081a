#include "devices/ser_memory.h"

#include <algorithm>
#include <cmath>

std::vector<quint32> MergeMemoryRecords(const TSerMemory& memory) {
    struct Item {
        quint32 time;
        quint32 value;
        int channel; // 1-based
    };
    std::size_t total = 0;
    for (const auto& channel : memory.records)
        total += channel.size();
    std::vector<Item> items;
    items.reserve(total);
    for (int c = 0; c < kSerChannels; ++c)
        for (const TSerRecord& r : memory.records[c])
            items.push_back({r.time, r.value, c + 1});
    // Stable, so records of equal time keep the order in which a later one overwrites.
    std::stable_sort(items.begin(), items.end(),
                     [](const Item& a, const Item& b) { return a.time < b.time; });

    std::vector<quint32> rows;
    rows.reserve(total * kSerRowSize);
    for (std::size_t i = 0; i < items.size();) {
        const quint32 time = items[i].time;
        const std::size_t base = rows.size();
        rows.resize(base + kSerRowSize, 0);
        rows[base] = time;
        rows[base + kSerRowSize - 1] = 1;
        for (; i < items.size() && items[i].time == time; ++i)
            rows[base + items[i].channel] = items[i].value;
    }
    return rows;
}

void InterpolateMemoryRows(std::vector<quint32>& rows,
                           const std::array<bool, kSerChannels>& hasData) {
    const std::size_t count = rows.size() / kSerRowSize;
    if (count < 2) return;
    auto at = [&rows](std::size_t row, int entry) -> quint32& {
        return rows[row * kSerRowSize + entry];
    };
    for (int c = 1; c <= kSerChannels; ++c) {
        if (!hasData[c - 1]) continue;
        bool seen = at(0, c) != 0;
        std::size_t gap = 0;
        for (std::size_t i = 1; i < count; ++i) {
            if (at(i, c) == 0) {
                if (seen) ++gap;
                continue;
            }
            if (gap > 0) {
                const std::size_t anchor = i - gap - 1;
                const quint32 t0 = at(anchor, 0);
                const quint32 v0 = at(anchor, c);
                const double dt = static_cast<double>(at(i, 0) - t0);
                // Values are two's complement underneath: a step from -5.0 to 3.0 °C is +80.
                const double dv = static_cast<double>(static_cast<qint32>(at(i, c) - v0));
                for (std::size_t j = anchor + 1; j < i; ++j) {
                    const double step =
                        std::nearbyint(static_cast<double>(at(j, 0) - t0) * dv / dt);
                    at(j, c) = v0 + static_cast<quint32>(static_cast<qint64>(step));
                }
            }
            gap = 0;
            seen = true;
        }
    }
}
