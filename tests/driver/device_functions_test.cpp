#include "driver/device_functions.h"
#include "driver/recording_transport.h"
#include "driver_test_support.h"

#include <gtest/gtest.h>

using namespace zolt3;
using Op = RecordingTransport::Op;
using Bytes = std::vector<std::uint8_t>;

namespace {

Bytes pipe(std::uint32_t p) {
    return {std::uint8_t(p), 0, 0, 0};
}

// A ReadTemp reply: echo, status, eight big-endian words.
Bytes tempReply(std::uint8_t echo, std::uint8_t status, std::array<std::uint16_t, 8> words) {
    Bytes r{echo, status};
    for (auto w : words) {
        r.push_back(std::uint8_t(w >> 8));
        r.push_back(std::uint8_t(w));
    }
    return r;
}

class DeviceFunctionsTest : public ::testing::Test {
protected:
    RecordingTransport transport;
    SteppingClock clock{std::chrono::milliseconds(100)};
    DeviceFunctions f{transport, [this] { return clock(); }};
};

TEST_F(DeviceFunctionsTest, RamAccessSendsTheVendorRecord) {
    f.WrRAM(0x7F92, 1);
    transport.vendorReply({0x5A});
    EXPECT_EQ(f.RdRAM(0x1234), 0x5A);
    ASSERT_EQ(transport.requests().size(), 2u);
    EXPECT_EQ(transport.requests()[0].input, (Bytes{0xA0, 0, 0x92, 0x7F, 0, 0, 1, 0, 0, 1}));
    EXPECT_EQ(transport.requests()[1].input, (Bytes{0xA0, 0, 0x34, 0x12, 0, 0, 1, 0, 1, 0}));
    // Nothing answers: the byte is 0.
    EXPECT_EQ(f.RdRAM(0x1234), 0);
}

TEST_F(DeviceFunctionsTest, ReadRamBytesGoesInPiecesOfEight) {
    transport.vendorReply({1, 2, 3, 4, 5, 6, 7, 8}).vendorReply({9, 10, 11, 12, 13, 14, 15, 16});
    transport.vendorReply({17, 18, 19, 20});
    std::uint8_t out[20] = {};
    f.ReadRAMbytes(0x0100, 20, out);
    const auto reads = transport.requests(Op::Vendor);
    ASSERT_EQ(reads.size(), 3u);
    const std::uint16_t address[] = {0x0100, 0x0108, 0x0110};
    const std::uint8_t length[] = {8, 8, 4};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(reads[i].input, (Bytes{0xA0, 0, std::uint8_t(address[i]),
                                         std::uint8_t(address[i] >> 8), 0, 0, length[i], 0, 1, 0}))
            << i;
    }
    for (int i = 0; i < 20; ++i)
        EXPECT_EQ(out[i], i + 1);
}

TEST_F(DeviceFunctionsTest, WriteRamBytesUsesTheDownloadBufferFromItsStart) {
    const std::uint8_t data[] = {0xDE, 0xAD, 0xBE};
    f.WriteRAMbytes(0x0400, 3, data);
    f.WriteRAMbytes(0x0500, 2, nullptr); // the first two bytes still in the buffer
    const auto writes = transport.requests(Op::RamBlockWrite);
    ASSERT_EQ(writes.size(), 2u);
    EXPECT_EQ(writes[0].input, (Bytes{0x00, 0x04}));
    EXPECT_EQ(writes[0].data, (Bytes{0xDE, 0xAD, 0xBE}));
    EXPECT_EQ(writes[1].input, (Bytes{0x00, 0x05}));
    EXPECT_EQ(writes[1].data, (Bytes{0xDE, 0xAD}));
    // More than the buffer holds is refused, not written past it.
    f.WriteRAMbytes(0, 8193, nullptr);
    f.ReadRAMbytes(0, 8193, nullptr);
    EXPECT_EQ(transport.requests().size(), 2u);
}

TEST_F(DeviceFunctionsTest, BulkTransfersGoInPiecesOfSixtyFour) {
    struct Case {
        std::uint16_t length;
        std::vector<std::size_t> pieces;
    } cases[] = {{18, {18}}, {64, {64}}, {100, {64, 36}}, {130, {64, 64, 2}}};
    for (const Case& c : cases) {
        transport.clear();
        Bytes out(c.length, 0x11);
        f.EP2Out(out.data(), c.length);
        transport.vendorReply({1});
        f.EP2In(out.data(), c.length);
        const auto writes = transport.requests(Op::BulkWrite);
        const auto reads = transport.requests(Op::BulkRead);
        ASSERT_EQ(writes.size(), c.pieces.size()) << c.length;
        ASSERT_EQ(reads.size(), c.pieces.size()) << c.length;
        for (std::size_t i = 0; i < c.pieces.size(); ++i) {
            EXPECT_EQ(writes[i].length, c.pieces[i]);
            EXPECT_EQ(writes[i].input, pipe(2));
            EXPECT_EQ(reads[i].length, c.pieces[i]);
            EXPECT_EQ(reads[i].input, pipe(1));
        }
    }
}

TEST_F(DeviceFunctionsTest, EP2InWaitsForTheReadyByteThenReads) {
    transport.vendorReply({0}).vendorReply({0}).vendorReply({7});
    transport.bulkReply({1, 2, 3});
    std::uint8_t buffer[3] = {};
    EXPECT_EQ(f.EP2In(buffer, 3), 1u);
    const auto polls = transport.requests(Op::Vendor);
    ASSERT_EQ(polls.size(), 3u);
    for (const auto& p : polls) {
        EXPECT_EQ(p.input, (Bytes{0xA0, 0, 0xB9, 0x1F, 0, 0, 1, 0, 1, 0}));
    }
    EXPECT_EQ(Bytes(buffer, buffer + 3), (Bytes{1, 2, 3}));
}

TEST_F(DeviceFunctionsTest, EP2InGivesUpAfterThreeSecondsWithZeros) {
    std::uint8_t buffer[4] = {9, 9, 9, 9};
    EXPECT_EQ(f.EP2In(buffer, 4), 0u);
    // 100 ms per clock reading: about thirty polls, never a bulk read.
    const auto polls = transport.requests(Op::Vendor).size();
    EXPECT_GE(polls, 29u);
    EXPECT_LE(polls, 31u);
    EXPECT_TRUE(transport.requests(Op::BulkRead).empty());
    EXPECT_EQ(Bytes(buffer, buffer + 4), Bytes(4, 0));
}

TEST_F(DeviceFunctionsTest, ProgStartAndProgReset) {
    EXPECT_EQ(f.ProgStart(), 1);
    const auto& r = transport.requests();
    ASSERT_EQ(r.size(), 4u);
    EXPECT_EQ(r[0].input, (Bytes{0xA0, 0, 0x92, 0x7F, 0, 0, 1, 0, 0, 0}));
    EXPECT_EQ(r[1].op, Op::SelectInterface);
    EXPECT_EQ(r[1].input, (Bytes{0, 1}));
    EXPECT_EQ(r[2].op, Op::ResetPipe);
    EXPECT_EQ(r[2].input, pipe(1));
    EXPECT_EQ(r[3].op, Op::ResetPipe);
    EXPECT_EQ(r[3].input, pipe(2));

    transport.clear();
    transport.accept(false);
    EXPECT_EQ(f.ProgStart(), 0);
    EXPECT_EQ(f.SetInterface(0, 1), 0);
    f.ProgReset();
    EXPECT_EQ(transport.requests().back().input, (Bytes{0xA0, 0, 0x92, 0x7F, 0, 0, 1, 0, 0, 1}));
}

TEST_F(DeviceFunctionsTest, ReadTempFillsTheValueBlock) {
    transport.bulkReply(tempReply(0x01, 3, {10, 20, 30, 40, 50, 60, 0xFFCE, 250}));
    EXPECT_EQ(f.ReadTemp(), 1);
    EXPECT_EQ(transport.requests(Op::BulkWrite)[0].data, Bytes{0x01});
    ASSERT_EQ(transport.requests(Op::BulkRead).size(), 1u);
    EXPECT_EQ(transport.requests(Op::BulkRead)[0].length, 18u);
    EXPECT_EQ(f.GetTemp(-2), 3);
    EXPECT_EQ(f.GetTemp(-1), 0);
    EXPECT_EQ(f.GetTemp(0), 250);
    EXPECT_EQ(f.GetTemp(0), f.GetTemp(8));
    EXPECT_EQ(f.GetTemp(1), 10);
    EXPECT_EQ(f.GetTemp(7), 0xFFCE);
    for (int outside : {9, -3, 1000, -70000})
        EXPECT_EQ(f.GetTemp(outside), 0) << outside;

    // A wrong echo clears even the values of the earlier read.
    transport.bulkReply(tempReply(0x02, 3, {1, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(f.ReadTemp(), 0);
    for (int i = -2; i <= 8; ++i)
        EXPECT_EQ(f.GetTemp(i), 0) << i;

    // So does no answer at all.
    transport.bulkReply(tempReply(0x01, 3, {1, 2, 3, 4, 5, 6, 7, 8}));
    ASSERT_EQ(f.ReadTemp(), 1);
    EXPECT_EQ(f.ReadTemp(), 0);
    for (int i = -2; i <= 8; ++i)
        EXPECT_EQ(f.GetTemp(i), 0) << i;
}

TEST_F(DeviceFunctionsTest, ReadMemTempMapsFourValues) {
    transport.bulkReply({0x0B, 1, 0x01, 0x2C, 0x00, 0x64, 0x00, 0xC8, 0x01, 0x2C, 0xFF, 0xCE});
    EXPECT_EQ(f.ReadMemTemp(), 1);
    EXPECT_EQ(transport.requests(Op::BulkWrite)[0].data, Bytes{0x0B});
    EXPECT_EQ(f.GetTemp(-2), 1);
    EXPECT_EQ(f.GetTemp(-1), 300);
    EXPECT_EQ(f.GetTemp(1), 100);
    EXPECT_EQ(f.GetTemp(2), 200);
    EXPECT_EQ(f.GetTemp(3), 300);
    EXPECT_EQ(f.GetTemp(4), 0xFFCE);
    EXPECT_EQ(f.GetTemp(0), f.GetTemp(4));
    EXPECT_EQ(f.GetTemp(8), f.GetTemp(4));
    for (int i = 5; i <= 7; ++i)
        EXPECT_EQ(f.GetTemp(i), 0) << i;

    transport.bulkReply({0x01, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1});
    EXPECT_EQ(f.ReadMemTemp(), 0);
    EXPECT_EQ(f.GetTemp(1), 0);
}

TEST_F(DeviceFunctionsTest, ParameterMessages) {
    f.WriteSimple(13, 258);
    EXPECT_EQ(transport.requests(Op::BulkWrite).back().data, (Bytes{0x0D, 0x00, 0x00, 0x01, 0x02}));
    f.WriteSimple(17, std::uint32_t(-50));
    EXPECT_EQ(transport.requests(Op::BulkWrite).back().data, (Bytes{0x11, 0xFF, 0xFF, 0xFF, 0xCE}));
    EXPECT_TRUE(transport.requests(Op::BulkRead).empty());

    // ReadSimple sends the current content of its value and takes the device's.
    std::uint32_t value = 7;
    transport.bulkReply({20, 0xFF, 0xFF, 0xFF, 0xFF});
    EXPECT_EQ(f.ReadSimple(20, value), 1);
    EXPECT_EQ(transport.requests(Op::BulkWrite).back().data, (Bytes{20, 0, 0, 0, 7}));
    EXPECT_EQ(value, 0xFFFFFFFFu);

    value = 5;
    transport.bulkReply({12, 0, 1, 0x86, 0xA0});
    EXPECT_EQ(f.ReadSimple(12, value), 1);
    EXPECT_EQ(value, 100000u);

    // A different echo, or none, stores 0.
    value = 5;
    transport.bulkReply({15, 0, 0, 0, 10});
    EXPECT_EQ(f.ReadSimple(12, value), 0);
    EXPECT_EQ(value, 0u);
    value = 5;
    EXPECT_EQ(f.ReadSimple(12, value), 0);
    EXPECT_EQ(value, 0u);
}

TEST_F(DeviceFunctionsTest, GetInfoPacksMaskStatusAndVersion) {
    transport.vendorReply({1}).bulkReply({0x0A, 0x83, 1, 21});
    EXPECT_EQ(f.GetInfo(), 0x150183u);
    EXPECT_EQ(transport.requests(Op::BulkWrite)[0].data, Bytes{0x0A});
    EXPECT_EQ(transport.requests(Op::BulkRead)[0].length, 4u);

    // No ready byte within the wait: 0xFF and nothing else, so the status reads 0.
    EXPECT_EQ(f.GetInfo(), 0xFFu);
}

TEST_F(DeviceFunctionsTest, AdjustDataNeedsItsChecksum) {
    Bytes reply{0x04, 3, 0x01, 0x00, 0x00, 0xFA, 0x03, 0xE8, 0x03, 0xB6, 0, 0};
    std::uint8_t sum = 0;
    for (int i = 2; i <= 9; ++i)
        sum = std::uint8_t(sum + reply[i]);
    reply[10] = std::uint8_t(~sum);
    DeviceFunctions::AdjustData data;
    transport.vendorReply({1}).bulkReply(reply);
    ASSERT_TRUE(f.ReadAdjustData(3, data));
    EXPECT_EQ(transport.requests(Op::BulkWrite)[0].data, (Bytes{0x04, 3}));
    EXPECT_EQ(data.measuredLow, 256);
    EXPECT_EQ(data.referenceLow, 250);
    EXPECT_EQ(data.measuredHigh, 1000);
    EXPECT_EQ(data.referenceHigh, 950);

    reply[10] = sum; // the sum itself, not its complement
    transport.vendorReply({1}).bulkReply(reply);
    EXPECT_FALSE(f.ReadAdjustData(3, data));
}

} // namespace
