#include "devices/com_read_thread.h"

#include <gtest/gtest.h>

namespace {

using Row = std::vector<quint32>;

// Feeds byte chunks (each with its arrival tick) through the record rules, without a port.
std::vector<Row> Feed(const std::vector<std::pair<QByteArray, quint32>>& chunks,
                      quint32 startTick = 1000) {
    std::vector<Row> rows;
    TComReadThread reader(QString(), startTick,
                          [&rows](const TDataRow& row) { rows.push_back(row); });
    for (const auto& [bytes, tick] : chunks)
        reader.ProcessBytes(bytes, tick);
    return rows;
}

TEST(ComReadThreadRecords, RecordRules) {
    struct Case {
        const char* name;
        std::vector<std::pair<QByteArray, quint32>> chunks;
        std::vector<Row> expected;
    };
    const Case cases[] = {
        {"valid record, any fifth character", {{"A023xZ", 1100}}, {{100, 230, 0, 0, 0, 0, 0, 1}}},
        {"channel F", {{"F100CZ", 1100}}, {{100, 0, 0, 0, 0, 0, 1000, 1}}},
        {"letter beyond F", {{"G023xZ", 1100}}, {}},
        {"four characters", {{"A023Z", 1100}}, {}},
        {"six characters", {{"A0234xZ", 1100}}, {}},
        {"non-digit", {{"A0x3xZ", 1100}}, {}},
        {"sign is no digit", {{"A-12xZ", 1100}}, {}},
        {"lower-case letter", {{"a023xZ", 1100}}, {}},
        {"empty records between terminators", {{"ZZZ", 1100}}, {}},
        {"noise spoils the record it precedes",
         {{"\x13\xff"
           "A023xZB024xZ",
           1100},
          {"C025xZ", 1200}},
         {{100, 0, 240, 0, 0, 0, 0, 1}, {200, 0, 240, 250, 0, 0, 0, 1}}},
        {"second record in the same tick is dropped",
         {{"A023xZB024xZ", 1100}},
         {{100, 230, 0, 0, 0, 0, 0, 1}}},
        {"time is taken at the first byte of the record",
         {{"A02", 1100}, {"3xZ", 1150}, {"B", 1180}, {"024xZ", 1300}},
         {{100, 230, 0, 0, 0, 0, 0, 1}, {180, 230, 240, 0, 0, 0, 0, 1}}},
        {"other channels keep their last values",
         {{"A023xZ", 1100}, {"B030xZ", 1200}, {"A025xZ", 1300}},
         {{100, 230, 0, 0, 0, 0, 0, 1},
          {200, 230, 300, 0, 0, 0, 0, 1},
          {300, 250, 300, 0, 0, 0, 0, 1}}},
        {"a long run of noise without a terminator does not grow",
         {{QByteArray(100000, 'Q'), 1100}, {"Z", 1101}, {"D999xZ", 1102}},
         {{102, 0, 0, 0, 9990, 0, 0, 1}}},
        {"tick wraps around", {{"A023xZ", 5}}, {{quint32(5 - 1000), 230, 0, 0, 0, 0, 0, 1}}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Feed(c.chunks), c.expected) << c.name;
}

} // namespace
