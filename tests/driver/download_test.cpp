#include "driver/device_functions.h"
#include "driver/recording_transport.h"
#include "driver/simulated_device.h"
#include "driver_test_support.h"
#include "support/qt_printers.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace zolt3;
using Op = RecordingTransport::Op;
using Bytes = std::vector<std::uint8_t>;

namespace {

// Device RAM that reads one address back wrong.
class CorruptingDevice : public SimulatedDevice {
public:
    explicit CorruptingDevice(std::uint16_t faulty) : faulty_(faulty) {}
    bool VendorRequest(const VendorRequestRecord& record, std::uint8_t* reply) override {
        const bool ok = SimulatedDevice::VendorRequest(record, reply);
        if (record.direction == VendorRequestRecord::DeviceToHost && faulty_ >= record.value &&
            faulty_ < record.value + record.length) {
            reply[faulty_ - record.value] ^= 0x40;
        }
        return ok;
    }

private:
    std::uint16_t faulty_;
};

// An Intel HEX data record with its checksum.
QByteArray record(std::uint16_t address, const Bytes& data, std::uint8_t type = 0) {
    Bytes all{std::uint8_t(data.size()), std::uint8_t(address >> 8), std::uint8_t(address), type};
    all.insert(all.end(), data.begin(), data.end());
    int sum = 0;
    for (auto b : all)
        sum += b;
    all.push_back(std::uint8_t(-sum));
    QByteArray line(":");
    for (auto b : all)
        line += QByteArray::number(b, 16).rightJustified(2, '0').toUpper();
    return line + '\n';
}

const QByteArray endRecord = ":00000001FF\n";

class DownloadTest : public ::testing::Test {
protected:
    QString write(const QByteArray& content, const QString& name = QStringLiteral("image.hex")) {
        QFile file(dir.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
        return file.fileName();
    }

    QTemporaryDir dir;
    RecordedMessageBoxes boxes;
};

TEST_F(DownloadTest, OneRecordIsWrittenAndReadBack) {
    RecordingTransport transport;
    DeviceFunctions f(transport);
    transport.vendorReply({0x02, 0x01, 0x00});
    EXPECT_EQ(f.DownloadIntelHex(write(":03000000020100FA\n:00000001FF\n")), 1u);
    EXPECT_TRUE(boxes.shown.empty());
    const auto writes = transport.requests(Op::RamBlockWrite);
    ASSERT_EQ(writes.size(), 1u);
    EXPECT_EQ(writes[0].input, (Bytes{0, 0}));
    EXPECT_EQ(writes[0].data, (Bytes{0x02, 0x01, 0x00}));
    const auto reads = transport.requests(Op::Vendor);
    ASSERT_EQ(reads.size(), 1u);
    EXPECT_EQ(reads[0].input, (Bytes{0xA0, 0, 0, 0, 0, 0, 3, 0, 1, 0}));
}

TEST_F(DownloadTest, VerifyErrorsNameTheFirstDifference) {
    struct Case {
        std::uint16_t faulty;
        QString text;
    } cases[] = {
        {2, QStringLiteral("Verify Error :0002\n")},
        {0x10, QStringLiteral("Verify Error :0010\nOut=0e,0f,10/ In=0e,0f,50\n")},
    };
    Bytes image;
    for (int i = 0; i < 0x20; ++i)
        image.push_back(std::uint8_t(i));
    const QString path = write(record(0, Bytes(image.begin(), image.begin() + 16)) +
                               record(16, Bytes(image.begin() + 16, image.end())) + endRecord);
    for (const Case& c : cases) {
        boxes.shown.clear();
        CorruptingDevice device(c.faulty);
        DeviceFunctions f(device);
        EXPECT_EQ(f.DownloadIntelHex(path), 0u);
        ASSERT_EQ(boxes.shown.size(), 1u);
        EXPECT_EQ(boxes.shown[0].caption, QStringLiteral("Vantic ZOLT III"));
        EXPECT_EQ(boxes.shown[0].text, c.text);
    }
}

TEST_F(DownloadTest, WithoutADeviceEvenZeroBytesFailVerification) {
    RecordingTransport transport; // no replies: nothing comes back
    DeviceFunctions f(transport);
    EXPECT_EQ(f.DownloadIntelHex(write(record(0, {0x00, 0x00}) + endRecord)), 0u);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, QStringLiteral("Verify Error :0000\n"));
}

TEST_F(DownloadTest, BadFilesEndTheDownloadBeforeAnythingIsWritten) {
    struct Case {
        const char* what;
        QByteArray content;
        const char* fragment;
    } cases[] = {
        {"address at the end of RAM", record(0x2000, {1}) + endRecord, "außerhalb"},
        {"record crossing the end", record(0x1FFE, {1, 2, 3}) + endRecord, "außerhalb"},
        {"linear base address", record(0, {0x00, 0x01}, 4) + record(0, {1}) + endRecord,
         "außerhalb"},
        {"no colon", "03000000020100FA\n" + endRecord, "Zeile 1"},
        {"truncated", record(0, {1, 2}) + ":0300000002\n" + endRecord, "Zeile 2"},
        {"lower case", ":0a010000758160e4901fb9f080fee5\n" + endRecord, "Zeile 1"},
        {"count too large", ":05000000020100FA\n" + endRecord, "Zeile 1"},
        {"checksum", ":03000000020100FB\n" + endRecord, "Prüfsumme"},
        {"unknown type", record(0, {1}, 7) + endRecord, "Zeile 1"},
        {"no end record", record(0, {1, 2, 3}), "Ende-Datensatz"},
        {"empty file", "", "Ende-Datensatz"},
    };
    for (const Case& c : cases) {
        boxes.shown.clear();
        RecordingTransport transport;
        DeviceFunctions f(transport);
        const auto before = f.downloadBuffer();
        EXPECT_EQ(f.DownloadIntelHex(write(c.content)), 0u) << c.what;
        EXPECT_TRUE(transport.requests().empty()) << c.what;
        EXPECT_EQ(f.downloadBuffer(), before) << c.what;
        ASSERT_EQ(boxes.shown.size(), 1u) << c.what;
        EXPECT_TRUE(boxes.shown[0].text.contains(QString::fromUtf8(c.fragment)))
            << c.what << ": " << boxes.shown[0].text.toStdString();
        EXPECT_TRUE(boxes.shown[0].text.contains(QStringLiteral("image.hex"))) << c.what;
    }

    boxes.shown.clear();
    RecordingTransport transport;
    DeviceFunctions f(transport);
    const QString missing = dir.filePath(QStringLiteral("missing.hex"));
    EXPECT_EQ(f.DownloadIntelHex(missing), 0u);
    EXPECT_TRUE(transport.requests().empty());
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, QStringLiteral("Datei %1 nicht gefunden").arg(missing));
}

TEST_F(DownloadTest, HarmlessVariantsAreAccepted) {
    SimulatedDevice device;
    DeviceFunctions f(device);
    // CR LF, blank lines, a base address of 0, a start address, trailing text after the end.
    const QByteArray content = "\r\n" + record(0, {0, 0}, 4).replace("\n", "\r\n") +
                               record(0x0100, {0xAA, 0xBB}) + "\n" + record(0, {0, 0, 1, 0}, 5) +
                               endRecord + "garbage after the end\n";
    EXPECT_EQ(f.DownloadIntelHex(write(content)), 1u);
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_EQ(f.RdRAM(0x0101), 0xBB);
}

TEST_F(DownloadTest, TheShippedFirmwareStartsTheModelWithoutFirmware) {
    SimulatedDevice::Config config;
    config.model = 10;
    SimulatedDevice device(config);
    SteppingClock clock(std::chrono::milliseconds(500));
    DeviceFunctions f(device, [&clock] { return clock(); });
    f.ProgReset();
    f.ProgStart();
    EXPECT_EQ(f.GetInfo() >> 8 & 0xFF, 0u) << "answers without firmware";

    const QString image = QCoreApplication::applicationDirPath() + QStringLiteral("/Zolt3.hex");
    ASSERT_TRUE(QFile::exists(image)) << "the build puts Zolt3.hex beside the programs";
    f.ProgReset();
    EXPECT_EQ(f.DownloadIntelHex(image), 1u);
    EXPECT_TRUE(boxes.shown.empty());
    f.ProgStart();
    EXPECT_TRUE(device.firmwareRunning());
    const std::uint32_t info = f.GetInfo();
    EXPECT_EQ(info >> 8 & 0xFF, 1u);
    EXPECT_EQ(info & 0xFF, config.channelMask);
}

TEST_F(DownloadTest, DownloadBin) {
    Bytes content;
    for (int i = 0; i < 300; ++i)
        content.push_back(std::uint8_t(i * 7));
    const QString path =
        write(QByteArray(reinterpret_cast<const char*>(content.data()), qsizetype(content.size())),
              QStringLiteral("image.bin"));
    {
        SimulatedDevice device;
        DeviceFunctions f(device);
        f.DownloadBin(path);
        ASSERT_EQ(boxes.shown.size(), 1u);
        EXPECT_EQ(boxes.shown[0].text, QStringLiteral("Download OK\n"));
        EXPECT_EQ(f.RdRAM(299), std::uint8_t(299 * 7));
    }
    {
        boxes.shown.clear();
        CorruptingDevice device(0x12B);
        DeviceFunctions f(device);
        f.DownloadBin(path);
        ASSERT_EQ(boxes.shown.size(), 1u);
        EXPECT_EQ(boxes.shown[0].text, QStringLiteral("Download Verify Error :012b\n"));
    }
    for (const QString& bad : {dir.filePath(QStringLiteral("missing.bin")),
                               write(QByteArray(8193, '\x01'), QStringLiteral("large.bin"))}) {
        boxes.shown.clear();
        RecordingTransport transport;
        DeviceFunctions f(transport);
        f.DownloadBin(bad);
        EXPECT_TRUE(transport.requests().empty()) << bad.toStdString();
        ASSERT_EQ(boxes.shown.size(), 1u) << bad.toStdString();
        EXPECT_NE(boxes.shown[0].text.toStdString(), "Download OK\n");
    }
}

} // namespace
