#include "model/messung_info.h"
#include "model/spline.h"
#include "support/qt_printers.h"

#include <gtest/gtest.h>

#include <random>

namespace {
// The row-by-row rendition of the interpolation: walks the table and inserts as it goes,
// scanning for the support points every time. Quadratic, but plainly right; the fast
// version must give exactly its rows.
struct LiteralTable {
    std::vector<std::vector<quint32>> rows;
    int flag() const { return static_cast<int>(rows[0].size()) - 1; }

    std::array<double, 5> supportX(int b, std::array<int, 5>& idx) const {
        const auto& first = rows.front();
        const auto& last = rows.back();
        std::array<double, 5> x = {double(first[0]) - 20, double(first[0]) - 10, double(rows[b][0]),
                                   double(last[0]) + 10, double(last[0]) + 20};
        idx = {-1, -1, b, -2, -2};
        int found = 0;
        for (int r = b - 1; r >= 0 && found < 2; --r)
            if (rows[r][flag()]) {
                idx[1 - found] = r;
                x[1 - found] = rows[r][0];
                ++found;
            }
        found = 0;
        for (int r = b + 1; r < int(rows.size()) && found < 2; ++r)
            if (rows[r][flag()]) {
                idx[3 + found] = r;
                x[3 + found] = rows[r][0];
                ++found;
            }
        return x;
    }
    double value(int idx, int c) const {
        if (idx == -1) return rows.front()[c];
        if (idx == -2) return rows.back()[c];
        return rows[idx][c];
    }

    void interpolate(int N) {
        if (N < 1 || int(rows.size()) < N + 1) return;
        const int channels = flag() - 1;
        qint64 lastTime = rows[0][0];
        int lastIndex = 0;
        for (std::size_t r = 1; r < rows.size(); ++r) {
            const qint64 diff = qint64(rows[r][0]) - lastTime;
            if (diff > 2 * N) {
                std::array<int, 5> idx;
                const SplineBasis basis(supportX(lastIndex, idx));
                if (basis.valid()) {
                    const qint64 step = diff / (N + 1);
                    for (int k = 1; k <= N; ++k) {
                        const qint64 t = lastTime + k * step;
                        std::vector<quint32> ins(channels + 2, 0);
                        ins[0] = quint32(t);
                        std::array<int, 5> idx2;
                        const SplineBasis b2(supportX(lastIndex, idx2));
                        for (int c = 1; c <= channels; ++c) {
                            std::array<double, 5> y;
                            for (int j = 0; j < 5; ++j)
                                y[j] = value(idx2[j], c);
                            ins[c] = SplineBasis::evaluate(b2.weightsAt(double(t)), y);
                        }
                        rows.insert(rows.begin() + r, ins);
                        ++r;
                    }
                }
            }
            lastTime = rows[r][0];
            lastIndex = int(r);
        }
    }
};

std::vector<quint32> flatten(const std::vector<std::vector<quint32>>& rows) {
    std::vector<quint32> out;
    for (const auto& r : rows)
        out.insert(out.end(), r.begin(), r.end());
    return out;
}
} // namespace

TEST(Interpolation, InsertsFivePointsIntoEveryWideGap) {
    struct Case {
        quint32 gap;
        std::vector<quint32> inserted;
    } cases[] = {
        {600, {100, 200, 300, 400, 500}},
        {10, {}},
        {11, {1, 2, 3, 4, 5}},
    };
    for (const Case& c : cases) {
        TMessungInfo m;
        m.SetChannelCount(1);
        // The gap under test first, then five more rows 5 ms apart (too close for points).
        m.AddRow({0, 200, 1});
        for (quint32 i = 0; i < 5; ++i)
            m.AddRow({c.gap + 5 * i, 200, 1});
        m.SetInterpolation(true);
        EXPECT_TRUE(m.Interpolated);
        std::vector<quint32> got;
        for (int r = 0; r < m.RowCount(); ++r)
            if (m.GetRow(r).back() == 0) {
                got.push_back(m.GetTime(r));
                EXPECT_EQ(m.GetValue(r, 0), 200u) << "flat neighbours give the same value";
            }
        EXPECT_EQ(got, c.inserted) << "gap " << c.gap;
        m.SetInterpolation(false);
        EXPECT_EQ(m.RowCount(), 6);
    }
}

TEST(Interpolation, FewRowsInsertNothingButSwitchOn) {
    TMessungInfo m;
    m.SetChannelCount(1);
    for (quint32 t = 0; t < 5; ++t)
        m.AddRow({t * 1000, 100, 1});
    m.SetInterpolation(true);
    EXPECT_TRUE(m.Interpolated);
    EXPECT_EQ(m.RowCount(), 5);
}

TEST(Interpolation, SplineStaysWithinItsSupportValues) {
    // A sharp step: a cubic through it overshoots, the limit cuts that off.
    TMessungInfo m;
    m.SetChannelCount(1);
    const quint32 values[] = {0, 0, 0, 1000, 1000, 1000, 0, 0};
    for (quint32 i = 0; i < 8; ++i)
        m.AddRow({i * 600, values[i], 1});
    m.SetInterpolation(true);
    ASSERT_EQ(m.RowCount(), 8 + 7 * 5);
    for (int r = 0; r < m.RowCount(); ++r)
        EXPECT_LE(m.GetValue(r, 0), 1000u);
    // Rises monotonically between 0 and 1000 in the step's own gap (rows 2..3).
    for (int r = 2 * 6; r < 3 * 6; ++r)
        EXPECT_LE(m.GetValue(r, 0), m.GetValue(r + 1, 0));
}

TEST(Interpolation, EqualSupportTimesLeaveTheGapEmpty) {
    TMessungInfo m;
    m.SetChannelCount(1);
    // Two rows with the same time in front of a wide gap: the spline would divide by zero.
    for (const auto& [t, v] : std::vector<std::pair<quint32, quint32>>{
             {0, 10}, {100, 20}, {100, 30}, {700, 40}, {1300, 50}, {1900, 60}})
        m.AddRow({t, v, 1});
    m.SetInterpolation(true);
    for (int r = 0; r < m.RowCount(); ++r) {
        // Nothing between 100 and 700, whose support points hold the doubled time.
        if (m.GetTime(r) > 100 && m.GetTime(r) < 700) ADD_FAILURE() << "point at " << m.GetTime(r);
    }
    EXPECT_GT(m.RowCount(), 6) << "other gaps still get points";
}

TEST(Interpolation, ChannelCountChangeKeepsInterpolationOn) {
    TMessungInfo m;
    m.SetChannelCount(2);
    for (quint32 i = 0; i < 6; ++i)
        m.AddRow({i * 600, 100 + i, 200, 1});
    m.SetInterpolation(true);
    ASSERT_EQ(m.RowCount(), 31);
    m.SetChannelCount(3);
    EXPECT_TRUE(m.Interpolated);
    EXPECT_EQ(m.RowCount(), 31);
    EXPECT_EQ(m.GetRow(1), (TDataRow{100, 100, 200, 0, 0}));
}

// The fast interpolation against the literal rendition on random measurements: random
// channel counts, gaps wide and narrow, repeated times, stray interpolated flags.
TEST(Interpolation, OnePassEqualsRowByRowOnRandomMeasurements) {
    std::mt19937 rng(20261211);
    for (int trial = 0; trial < 400; ++trial) {
        const int channels = std::uniform_int_distribution<int>(1, 8)(rng);
        const int rows = std::uniform_int_distribution<int>(0, 120)(rng);
        const int N = trial % 7 == 0 ? std::uniform_int_distribution<int>(0, 9)(rng) : 5;
        std::vector<std::vector<quint32>> table;
        quint32 t = std::uniform_int_distribution<quint32>(0, 50)(rng);
        for (int r = 0; r < rows; ++r) {
            std::vector<quint32> row(channels + 2);
            row[0] = t;
            for (int c = 1; c <= channels; ++c)
                row[c] = std::uniform_int_distribution<quint32>(0, 3000)(rng);
            row[channels + 1] = std::uniform_int_distribution<int>(0, 9)(rng) == 0 ? 0 : 1;
            table.push_back(row);
            switch (std::uniform_int_distribution<int>(0, 5)(rng)) {
            case 0:
                break; // repeated time
            case 1:
                t += std::uniform_int_distribution<quint32>(1, 12)(rng);
                break;
            case 2:
                t += std::uniform_int_distribution<quint32>(1000, 100000)(rng);
                break;
            default:
                t += 500;
                break;
            }
        }
        TMessungInfo fast;
        fast.InterpolationPoints = static_cast<quint16>(N);
        fast.SetChannelCount(channels);
        for (const auto& row : table)
            ASSERT_TRUE(fast.AddRow(row));
        fast.Interpolate();

        LiteralTable literal{table};
        if (!table.empty()) literal.interpolate(N);
        ASSERT_EQ(fast.RowTable(), flatten(literal.rows))
            << "trial " << trial << ", " << rows << " rows, " << channels << " channels";
    }
}

TEST(Interpolation, SplineValueScansTheStoredRows) {
    // Straight line: the spline reproduces it inside the measurement.
    TMessungInfo m;
    m.SetChannelCount(1);
    for (quint32 i = 0; i < 6; ++i)
        m.AddRow({i * 1000, i * 100, 1});
    EXPECT_EQ(m.SplineValue(1, 2, 2500), 250u);
    EXPECT_EQ(m.SplineValue(1, 2, 2000), 200u);
}
