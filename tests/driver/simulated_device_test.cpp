#include "driver/device_functions.h"
#include "driver/simulated_device.h"
#include "driver_test_support.h"
#include "support/qt_printers.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace zolt3;
using std::chrono::milliseconds;
using std::chrono::seconds;

namespace {

double celsius(std::uint16_t word) {
    return std::int16_t(word) / 10.0;
}

// A simulated device on a clock the test moves by hand, started as the program does.
class SimulatedDeviceTest : public ::testing::Test {
protected:
    void start(SimulatedDevice::Config c = {}) {
        config = c;
        device = std::make_unique<SimulatedDevice>(c, [this] { return now; });
        f = std::make_unique<DeviceFunctions>(*device, [this] { return now; });
        f->ProgReset();
        ASSERT_EQ(f->ProgStart(), 1);
    }
    std::uint32_t param(std::uint8_t index, std::uint16_t* ok = nullptr) {
        std::uint32_t v = 0;
        const auto r = f->ReadSimple(index, v);
        if (ok) *ok = r;
        return v;
    }

    std::chrono::steady_clock::time_point now{};
    SimulatedDevice::Config config;
    std::unique_ptr<SimulatedDevice> device;
    std::unique_ptr<DeviceFunctions> f;
};

TEST_F(SimulatedDeviceTest, DefaultMeasurementHeatsAndCools) {
    start();
    EXPECT_EQ(f->GetInfo(), 0x0F | 1u << 8 | 21u << 16);
    std::array<double, 4> atStart{}, heated{}, cooled{};
    ASSERT_EQ(f->ReadTemp(), 1);
    for (int c = 0; c < 4; ++c)
        atStart[c] = celsius(f->GetTemp(c + 1));
    now += seconds(590);
    ASSERT_EQ(f->ReadTemp(), 1);
    for (int c = 0; c < 4; ++c)
        heated[c] = celsius(f->GetTemp(c + 1));
    now += seconds(400);
    ASSERT_EQ(f->ReadTemp(), 1);
    for (int c = 0; c < 4; ++c)
        cooled[c] = celsius(f->GetTemp(c + 1));
    for (int c = 0; c < 4; ++c) {
        EXPECT_NEAR(atStart[c], 21.0 + 0.4 * c, 0.3) << c;
        EXPECT_GT(heated[c], 55.0) << c;
        EXPECT_LT(heated[c], 100.0) << c;
        EXPECT_LT(cooled[c], heated[c] - 20) << c;
        EXPECT_GT(cooled[c], atStart[c] - 0.5) << c;
    }
    // Absent channels read 0; the eighth value is the internal temperature.
    for (int c = 5; c <= 7; ++c)
        EXPECT_EQ(f->GetTemp(c), 0) << c;
    EXPECT_NEAR(celsius(f->GetTemp(8)), 28.5, 0.1);
    EXPECT_EQ(f->GetTemp(0), f->GetTemp(8));
    EXPECT_EQ(f->GetTemp(-2), 1);
}

TEST_F(SimulatedDeviceTest, CommandsNeedARunningProcessorAndTheBulkInterface) {
    start();
    f->ProgReset();
    EXPECT_EQ(f->ReadTemp(), 0);
    std::uint16_t ok = 1;
    EXPECT_EQ(param(20, &ok), 0u);
    EXPECT_EQ(ok, 0);
    f->WrRAM(SimulatedDevice::ControlRegister, 0);
    f->SetInterface(0, 0);
    EXPECT_EQ(f->ReadTemp(), 0);
    EXPECT_EQ(f->SetInterface(0, 1), 1);
    EXPECT_EQ(f->ReadTemp(), 1);
    EXPECT_EQ(f->SetInterface(1, 0), 0);
    EXPECT_EQ(f->SetInterface(0, 2), 0);
}

TEST_F(SimulatedDeviceTest, Parameters) {
    SimulatedDevice::Config c;
    c.records = 1234;
    c.interval = 7;
    c.serialNumber = -1;
    start(c);
    std::uint16_t ok = 0;
    EXPECT_EQ(param(12, &ok), 1234u);
    EXPECT_EQ(ok, 1);
    EXPECT_EQ(param(15), 7u);
    EXPECT_EQ(std::int32_t(param(20)), -1);
    f->WriteSimple(13, 3);
    f->WriteSimple(17, std::uint32_t(-25));
    EXPECT_EQ(device->nextInterval(), 3u);
    EXPECT_EQ(std::int32_t(device->triggerValue()), -25);
    EXPECT_EQ(param(13, &ok), 0u) << "write-only";
    EXPECT_EQ(ok, 0);
    // Reading a read-only parameter does not change it, whatever is sent along.
    std::uint32_t v = 99;
    f->ReadSimple(15, v);
    EXPECT_EQ(v, 7u);
    EXPECT_EQ(param(15), 7u);
    EXPECT_EQ(param(30, &ok), 0u);
    EXPECT_EQ(ok, 0);
}

TEST_F(SimulatedDeviceTest, MemoryRecordsFollowTheCurvesAndEnd) {
    SimulatedDevice::Config c;
    c.records = 5;
    c.interval = 120;     // 60 s
    c.channelMask = 0x0B; // channels 1, 2, 4
    start(c);
    ASSERT_EQ(param(12), 5u);
    for (std::uint32_t k = 0; k < 5; ++k) {
        ASSERT_EQ(f->ReadMemTemp(), 1) << k;
        EXPECT_EQ(f->GetTemp(-2), 1);
        for (int ch : {1, 2, 4}) {
            EXPECT_NEAR(celsius(f->GetTemp(ch)), device->curveTemperature(ch - 1, k * 60.0),
                        c.noise + 0.051)
                << k << "/" << ch;
        }
        EXPECT_EQ(f->GetTemp(3), 0);
        EXPECT_NEAR(celsius(f->GetTemp(-1)), 28.5, 0.1);
    }
    // Past the last record: an empty record with status 0.
    EXPECT_EQ(f->ReadMemTemp(), 1);
    EXPECT_EQ(f->GetTemp(-2), 0);
    EXPECT_EQ(f->GetTemp(1), 0);
    // Asking for the count again starts over.
    param(12);
    ASSERT_EQ(f->ReadMemTemp(), 1);
    EXPECT_NEAR(celsius(f->GetTemp(1)), device->curveTemperature(0, 0), c.noise + 0.051);

    SimulatedDevice::Config online = c;
    online.model = 10;
    SimulatedDevice withoutMemory(online);
    EXPECT_FALSE(withoutMemory.firmwareRunning());
}

TEST_F(SimulatedDeviceTest, AdjustmentIsStoredAppliedAndCleared) {
    SimulatedDevice::Config c;
    c.noise = 0;
    c.curves[2] = {{0, 20.0}, {1000, 120.0}};
    start(c);
    DeviceFunctions::AdjustData data;
    ASSERT_TRUE(f->ReadAdjustData(3, data));
    EXPECT_EQ(data.referenceLow, 0);

    const std::uint8_t low[] = {0x02, 3, 0x00, 200}; // reference 20.0 °C at 20.0 measured
    f->EP2Out(low, 4);
    now += seconds(1000);
    const std::uint8_t high[] = {0x03, 3, 0x03, 0xE8}; // reference 100.0 °C at 120.0 measured
    f->EP2Out(high, 4);
    ASSERT_TRUE(f->ReadAdjustData(3, data));
    EXPECT_EQ(data.measuredLow, 200);
    EXPECT_EQ(data.referenceLow, 200);
    EXPECT_EQ(data.measuredHigh, 1200);
    EXPECT_EQ(data.referenceHigh, 1000);

    now -= seconds(500); // the curve reads 70.0 °C here
    ASSERT_EQ(f->ReadTemp(), 1);
    EXPECT_EQ(f->GetTemp(3), 600);

    const std::uint8_t clear[] = {0x06};
    f->EP2Out(clear, 1);
    ASSERT_TRUE(f->ReadAdjustData(3, data));
    EXPECT_EQ(data.measuredHigh, 0);
    ASSERT_EQ(f->ReadTemp(), 1);
    EXPECT_EQ(f->GetTemp(3), 700);
}

TEST(SimulatedDeviceConfig, ReadsTheEnvironmentAndKeepsDefaultsForBadValues) {
    const char* names[] = {"ZOLT3_SIM_MODEL",    "ZOLT3_SIM_CHANNELS", "ZOLT3_SIM_RECORDS",
                           "ZOLT3_SIM_INTERVAL", "ZOLT3_SIM_SERIAL",   "ZOLT3_SIM_VERSION",
                           "ZOLT3_SIM_NOISE",    "ZOLT3_SIM_CURVE2",   "ZOLT3_SIM_CURVE3",
                           "ZOLT3_SIM_INTERNAL"};
    const auto clearAll = [&] {
        for (const char* n : names)
            qunsetenv(n);
    };
    clearAll();
    qputenv("ZOLT3_SIM_MODEL", "318.10");
    qputenv("ZOLT3_SIM_CHANNELS", "0x83");
    qputenv("ZOLT3_SIM_RECORDS", "100000");
    qputenv("ZOLT3_SIM_INTERVAL", "1201");
    qputenv("ZOLT3_SIM_SERIAL", "-1");
    qputenv("ZOLT3_SIM_NOISE", "0");
    qputenv("ZOLT3_SIM_CURVE2", "0:20, 60:80.5,120:-5");
    qputenv("ZOLT3_SIM_INTERNAL", "31.5");
    QStringList problems;
    auto c = SimulatedDevice::Config::fromEnvironment(&problems);
    EXPECT_TRUE(problems.isEmpty()) << problems.join(' ').toStdString();
    EXPECT_EQ(c.model, 10);
    EXPECT_EQ(c.channelMask, 0x83);
    EXPECT_EQ(c.records, 100000u);
    EXPECT_EQ(c.interval, 1201u);
    EXPECT_EQ(c.serialNumber, -1);
    EXPECT_EQ(c.noise, 0.0);
    EXPECT_EQ(c.internalTemperature, 31.5);
    SimulatedDevice device(c);
    EXPECT_DOUBLE_EQ(device.curveTemperature(1, 30), 50.25);
    EXPECT_DOUBLE_EQ(device.curveTemperature(1, 500), -5);
    EXPECT_DOUBLE_EQ(device.curveTemperature(1, -1), 20);

    clearAll();
    const SimulatedDevice::Config defaults;
    qputenv("ZOLT3_SIM_MODEL", "12");
    qputenv("ZOLT3_SIM_CHANNELS", "256");
    qputenv("ZOLT3_SIM_RECORDS", "many");
    qputenv("ZOLT3_SIM_VERSION", "-1");
    qputenv("ZOLT3_SIM_CURVE3", "10:20,5:30");
    problems.clear();
    c = SimulatedDevice::Config::fromEnvironment(&problems);
    EXPECT_EQ(problems.size(), 5);
    EXPECT_EQ(c.model, defaults.model);
    EXPECT_EQ(c.channelMask, defaults.channelMask);
    EXPECT_EQ(c.records, defaults.records);
    EXPECT_EQ(c.version, defaults.version);
    EXPECT_TRUE(c.curves[2].empty());
    clearAll();
}

TEST(SimulatedDeviceNoise, IsSmallAndReproducible) {
    SimulatedDevice::Config c;
    c.records = 200;
    c.curves[0] = {{0, 50.0}};
    std::vector<std::uint16_t> first, second;
    for (auto* out : {&first, &second}) {
        SimulatedDevice device(c);
        DeviceFunctions f(device);
        f.ProgStart();
        std::uint32_t n = 0;
        f.ReadSimple(12, n);
        for (std::uint32_t k = 0; k < n; ++k) {
            f.ReadMemTemp();
            out->push_back(f.GetTemp(1));
        }
    }
    EXPECT_EQ(first, second);
    const auto [lo, hi] = std::minmax_element(first.begin(), first.end());
    EXPECT_GE(*lo, 498);
    EXPECT_LE(*hi, 502);
    EXPECT_LT(*lo, *hi);
}

} // namespace
