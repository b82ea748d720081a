// The C interface of libZolt3.so as the program sees it.
#include "driver/zolt3.h"

#include <QCoreApplication>
#include <QFile>

#include <gtest/gtest.h>

namespace {

// Sets or clears environment variables for a scope.
class EnvScope {
public:
    EnvScope(std::initializer_list<std::pair<const char*, const char*>> values) {
        for (const auto& [name, value] : values) {
            saved_.emplace_back(name, qgetenv(name), qEnvironmentVariableIsSet(name));
            if (value) {
                qputenv(name, value);
            } else {
                qunsetenv(name);
            }
        }
    }
    ~EnvScope() {
        for (const auto& [name, value, wasSet] : saved_) {
            if (wasSet) {
                qputenv(name, value);
            } else {
                qunsetenv(name);
            }
        }
    }

private:
    std::vector<std::tuple<const char*, QByteArray, bool>> saved_;
};

QByteArray firmwarePath() {
    return QFile::encodeName(QCoreApplication::applicationDirPath() + QStringLiteral("/Zolt3.hex"));
}

TEST(Zolt3Exports, SimulatedDeviceAnswersLikeTheLogger) {
    EnvScope env{{"ZOLT3_TRANSPORT", "sim"}, {"ZOLT3_USB_ID", nullptr}};
    ProgReset();
    EXPECT_EQ(DownloadIntelHex(firmwarePath().constData()), 1u);
    EXPECT_EQ(ProgStart(), 1);
    const uint32_t info = GetInfo();
    EXPECT_EQ(info & 0xFF, 0x0Fu);
    EXPECT_EQ(info >> 8 & 0xFF, 1u);
    EXPECT_EQ(info >> 16 & 0xFF, 21u);

    ASSERT_EQ(ReadTemp(), 1);
    for (int c = 1; c <= 4; ++c) {
        const double t = int16_t(GetTemp(c)) / 10.0;
        EXPECT_GT(t, 15.0) << c;
        EXPECT_LT(t, 110.0) << c;
    }
    EXPECT_EQ(GetTemp(9), 0);
    EXPECT_EQ(GetTemp(0), GetTemp(8));

    int32_t serial = 0, interval = 0, records = 0;
    EXPECT_EQ(ReadSimple(20, &serial), 1);
    EXPECT_GT(serial, 0);
    EXPECT_EQ(ReadSimple(15, &interval), 1);
    EXPECT_EQ(ReadSimple(12, &records), 1);
    ASSERT_GT(records, 2);
    EXPECT_GT(interval, 0);
    EXPECT_LE(interval, 1200);
    for (int k = 0; k < 3; ++k) {
        ASSERT_EQ(ReadMemTemp(), 1);
        EXPECT_EQ(GetTemp(0), GetTemp(4));
        EXPECT_GT(GetTemp(1), 150);
    }
    EXPECT_EQ(WriteSimple(13, 4), 1);
    EXPECT_EQ(WriteSimple(17, 350), 1);
    EXPECT_EQ(ReadSimple(30, nullptr), 0);
}

TEST(Zolt3Exports, WithoutADeviceEverythingReadsZero) {
    // The default transport, looking for a device that is not there.
    EnvScope env{{"ZOLT3_TRANSPORT", nullptr}, {"ZOLT3_USB_ID", "ffff:fffe"}};
    ProgReset();
    EXPECT_EQ(ProgStart(), 0);
    EXPECT_EQ(SetInterface(0, 1), 0);
    EXPECT_EQ(RdRAM(0x1FB9), 0);
    EXPECT_EQ(ReadTemp(), 0);
    EXPECT_EQ(ReadMemTemp(), 0);
    for (int i = -2; i <= 8; ++i)
        EXPECT_EQ(GetTemp(i), 0) << i;
    int32_t value = 77;
    EXPECT_EQ(ReadSimple(20, &value), 0);
    EXPECT_EQ(value, 0);
    EXPECT_EQ(EP2Out(nullptr, 70000), 1u);
    EXPECT_EQ(DownloadIntelHex(firmwarePath().constData()), 0u);
    EXPECT_EQ(DownloadIntelHex(nullptr), 0u);
    WriteRAMbytes(0, 100000, nullptr);
    ReadRAMbytes(0, 100000, nullptr);
    // The one call that waits: the ready byte never comes.
    const uint32_t info = GetInfo();
    EXPECT_EQ(info & 0xFF, 0xFFu);
    EXPECT_EQ(info >> 8 & 0xFF, 0u);
}

} // namespace
