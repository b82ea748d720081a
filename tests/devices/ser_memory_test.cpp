#include "devices/ser_memory.h"

#include <gtest/gtest.h>

#include <cmath>
#include <list>
#include <random>

namespace {

using Row = std::vector<quint32>;

// The merge as the logger's read-out describes it: for each record, search the row list
// from its start for the first row at or after the record's time.
std::vector<Row> StraightforwardMerge(const TSerMemory& memory) {
    std::list<Row> rows;
    for (int c = 1; c <= kSerChannels; ++c) {
        for (const TSerRecord& r : memory.records[c - 1]) {
            auto it = rows.begin();
            while (it != rows.end() && (*it)[0] < r.time)
                ++it;
            if (it != rows.end() && (*it)[0] == r.time) {
                (*it)[c] = r.value;
                continue;
            }
            Row row(kSerRowSize, 0);
            row[0] = r.time;
            row[c] = r.value;
            row[kSerRowSize - 1] = 1;
            rows.insert(it, row);
        }
    }
    return {rows.begin(), rows.end()};
}

// Gap filling written out per gap: find each run of zeros bounded by non-zero entries.
void StraightforwardInterpolate(std::vector<Row>& rows, const std::array<bool, kSerChannels>& has) {
    for (int c = 1; c <= kSerChannels; ++c) {
        if (!has[c - 1]) continue;
        // One gap after the other, left to right: [a] non-zero, zeros, [b] non-zero.
        std::size_t a = 0;
        while (a < rows.size() && rows[a][c] == 0)
            ++a;
        while (a < rows.size()) {
            std::size_t b = a + 1;
            while (b < rows.size() && rows[b][c] == 0)
                ++b;
            if (b == rows.size()) break;
            const double dt = double(rows[b][0] - rows[a][0]);
            const double dv = double(qint32(rows[b][c] - rows[a][c]));
            for (std::size_t j = a + 1; j < b; ++j)
                rows[j][c] =
                    rows[a][c] +
                    quint32(qint64(std::nearbyint(double(rows[j][0] - rows[a][0]) * dv / dt)));
            a = b;
        }
    }
}

std::vector<Row> Split(const std::vector<quint32>& table) {
    std::vector<Row> rows;
    for (std::size_t i = 0; i < table.size(); i += kSerRowSize)
        rows.emplace_back(table.begin() + i, table.begin() + i + kSerRowSize);
    return rows;
}

TEST(SerialMemoryMerge, InterpolatesTheChannelBetweenItsRecords) {
    TSerMemory m;
    m.records[0] = {{200, 1000}, {400, 3000}};
    m.records[1] = {{50, 1000}, {60, 2000}, {70, 3000}};
    m.hasData = {true, true, false, false, false, false};
    auto table = MergeMemoryRecords(m);
    InterpolateMemoryRows(table, m.hasData);
    const std::vector<Row> expected = {{1000, 200, 50, 0, 0, 0, 0, 1},
                                       {2000, 300, 60, 0, 0, 0, 0, 1},
                                       {3000, 400, 70, 0, 0, 0, 0, 1}};
    EXPECT_EQ(Split(table), expected);
}

TEST(SerialMemoryMerge, GapFillingCases) {
    struct Case {
        const char* name;
        std::vector<quint32> times;
        std::vector<quint32> values; // channel 1; 0 = no value at that row
        bool hasData;
        std::vector<quint32> expected;
    };
    const quint32 minus5 = quint32(-50), plus3 = 30;
    const Case cases[] = {
        {"leading and trailing zeros stay",
         {0, 10, 20, 30, 40},
         {0, 100, 0, 300, 0},
         true,
         {0, 100, 200, 300, 0}},
        {"first row is the anchor", {0, 10, 20}, {100, 0, 300}, true, {100, 200, 300}},
        {"falling", {0, 10, 20, 30}, {400, 0, 0, 100}, true, {400, 300, 200, 100}},
        {"across zero degrees",
         {0, 10, 20},
         {minus5, 0, plus3},
         true,
         {minus5, quint32(-10), plus3}},
        {"half rounds to even", {0, 1, 2, 3, 4}, {10, 0, 0, 0, 12}, true, {10, 10, 11, 12, 12}},
        {"uneven spacing", {0, 1, 10}, {0 + 100, 0, 1100}, true, {100, 200, 1100}},
        {"channel without data is left alone", {0, 10, 20}, {100, 0, 300}, false, {100, 0, 300}},
    };
    for (const Case& c : cases) {
        std::vector<quint32> table;
        for (std::size_t i = 0; i < c.times.size(); ++i) {
            Row row(kSerRowSize, 0);
            row[0] = c.times[i];
            row[1] = c.values[i];
            row[kSerRowSize - 1] = 1;
            table.insert(table.end(), row.begin(), row.end());
        }
        InterpolateMemoryRows(table, {c.hasData, false, false, false, false, false});
        std::vector<quint32> got;
        for (std::size_t i = 0; i < c.times.size(); ++i)
            got.push_back(table[i * kSerRowSize + 1]);
        EXPECT_EQ(got, c.expected) << c.name;
    }
}

// Random record lists: unsorted times, duplicates within and across channels, zero and
// negative values, empty channels. The fast merge must give exactly the rows of the
// straightforward one.
TEST(SerialMemoryMerge, MatchesTheStraightforwardMergeOnRandomRecords) {
    std::mt19937 random(20240611);
    for (int round = 0; round < 300; ++round) {
        TSerMemory m;
        const quint32 timeSpan = 1 + random() % (round % 3 == 0 ? 20 : 5000);
        for (int c = 0; c < kSerChannels; ++c) {
            const int n = random() % 4 == 0 ? 0 : int(random() % 60);
            m.hasData[c] = n > 0 || random() % 5 == 0;
            quint32 t = random() % timeSpan;
            for (int i = 0; i < n; ++i) {
                // Mostly ascending like the logger's records, sometimes not.
                t = random() % 8 == 0 ? quint32(random() % timeSpan) : t + random() % 3 * 250;
                const quint32 value = random() % 6 == 0 ? 0 : quint32(int(random() % 2000) - 300);
                m.records[c].push_back({value, t});
            }
        }
        std::vector<Row> expected = StraightforwardMerge(m);
        auto table = MergeMemoryRecords(m);
        ASSERT_EQ(Split(table), expected) << "merge, round " << round;
        StraightforwardInterpolate(expected, m.hasData);
        InterpolateMemoryRows(table, m.hasData);
        ASSERT_EQ(Split(table), expected) << "interpolation, round " << round;
    }
}

} // namespace
