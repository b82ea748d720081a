#include "driver/device_functions.h"

#include "driver/intel_hex.h"
#include "driver/message_box.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cstring>

namespace zolt3 {

namespace {

const QString caption = QStringLiteral("Vantic ZOLT III");

std::uint16_t bigEndian16(const std::uint8_t* p) {
    return std::uint16_t(p[0] << 8 | p[1]);
}

std::uint32_t bigEndian32(const std::uint8_t* p) {
    return std::uint32_t(p[0]) << 24 | std::uint32_t(p[1]) << 16 | std::uint32_t(p[2]) << 8 | p[3];
}

} // namespace

DeviceFunctions::DeviceFunctions(Transport& transport, Clock clock)
    : transport_(transport),
      clock_(clock ? std::move(clock) : [] { return std::chrono::steady_clock::now(); }) {}

void DeviceFunctions::WrRAM(std::uint16_t address, std::uint8_t value) {
    VendorRequestRecord record;
    record.value = address;
    record.length = 1;
    record.direction = VendorRequestRecord::HostToDevice;
    record.data = value;
    transport_.VendorRequest(record, nullptr);
}

std::uint8_t DeviceFunctions::RdRAM(std::uint16_t address) {
    std::uint8_t byte[Transport::MaxVendorBytes] = {};
    VendorRequestRecord record;
    record.value = address;
    record.length = 1;
    record.direction = VendorRequestRecord::DeviceToHost;
    transport_.VendorRequest(record, byte);
    return byte[0];
}

void DeviceFunctions::WriteRAMbytes(std::uint16_t address, std::uint16_t count,
                                    const std::uint8_t* data) {
    if (count > BufferSize) return;
    if (data) std::memcpy(download_.data(), data, count);
    transport_.RamBlockWrite(address, download_.data(), count);
}

void DeviceFunctions::ReadRAMbytes(std::uint16_t address, std::uint16_t count,
                                   std::uint8_t* destination) {
    if (!destination) {
        if (count > BufferSize) return;
        destination = readBack_.data();
    }
    for (std::size_t done = 0; done < count;) {
        const std::size_t piece = std::min<std::size_t>(count - done, Transport::MaxVendorBytes);
        VendorRequestRecord record;
        record.value = std::uint16_t(address + done);
        record.length = std::uint16_t(piece);
        record.direction = VendorRequestRecord::DeviceToHost;
        // Bytes that do not arrive keep their old content: in the read-back buffer that
        // is the complement of the image, which then fails verification.
        transport_.VendorRequest(record, destination + done);
        done += piece;
    }
}

void DeviceFunctions::bulkReadBlock(std::uint8_t* data, std::size_t count) {
    std::memset(data, 0, count);
    for (std::size_t done = 0; done < count;) {
        const std::size_t piece = std::min(count - done, Transport::MaxBulkBytes);
        transport_.BulkRead(Transport::ReadPipe, data + done, piece);
        done += piece;
    }
}

void DeviceFunctions::bulkWriteBlock(const std::uint8_t* data, std::size_t count) {
    for (std::size_t done = 0; done < count;) {
        const std::size_t piece = std::min(count - done, Transport::MaxBulkBytes);
        transport_.BulkWrite(Transport::WritePipe, data + done, piece);
        done += piece;
    }
}

std::uint32_t DeviceFunctions::EP2Out(const std::uint8_t* buffer, std::uint16_t length) {
    if (!buffer) {
        if (length > BufferSize) return 1;
        buffer = download_.data();
    }
    bulkWriteBlock(buffer, length);
    return 1;
}

std::uint32_t DeviceFunctions::EP2In(std::uint8_t* buffer, std::uint16_t length) {
    if (!buffer) {
        if (length > BufferSize) return 0;
        buffer = readBack_.data();
    }
    const auto start = clock_();
    for (;;) {
        if (RdRAM(ReadyByte) != 0) {
            bulkReadBlock(buffer, length);
            return 1;
        }
        if (clock_() - start > ReplyWait) {
            std::memset(buffer, 0, length);
            return 0;
        }
    }
}

std::uint16_t DeviceFunctions::ProgStart() {
    WrRAM(ControlRegister, 0);
    SetInterface(0, 1);
    transport_.ResetPipe(Transport::ReadPipe);
    return transport_.ResetPipe(Transport::WritePipe) ? 1 : 0;
}

void DeviceFunctions::ProgReset() {
    WrRAM(ControlRegister, 1);
}

std::uint16_t DeviceFunctions::SetInterface(std::uint8_t interfaceNumber,
                                            std::uint8_t alternateSetting) {
    return transport_.SelectInterface(interfaceNumber, alternateSetting) ? 1 : 0;
}

void DeviceFunctions::placeImageByte(std::size_t address, std::uint8_t byte) {
    download_[address] = byte;
    // A byte the read-back does not overwrite must fail verification.
    readBack_[address] = std::uint8_t(0xFF - byte);
}

long DeviceFunctions::writeAndVerify(std::size_t length) {
    WriteRAMbytes(0, std::uint16_t(length), nullptr);
    ReadRAMbytes(0, std::uint16_t(length), nullptr);
    for (std::size_t a = 0; a < length; ++a) {
        if (download_[a] != readBack_[a]) return long(a);
    }
    return -1;
}

std::uint32_t DeviceFunctions::DownloadIntelHex(const QString& path) {
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        messageBox().show(caption, tr("Datei %1 nicht gefunden").arg(path));
        return 0;
    }
    const IntelHex::Result image =
        IntelHex::parse(file.readAll(), QFileInfo(path).fileName(), BufferSize);
    file.close();
    if (!image.ok()) {
        messageBox().show(caption, image.error);
        return 0;
    }
    std::size_t highest = 0;
    for (const IntelHex::Record& record : image.records) {
        for (std::size_t j = 0; j < record.data.size(); ++j) {
            placeImageByte(record.address + j, record.data[j]);
            highest = std::max(highest, record.address + j);
        }
    }
    const long mismatch = writeAndVerify(highest + 1);
    if (mismatch < 0) return 1;
    QString text = tr("Verify Error :%1\n").arg(QString::asprintf("%04lx", mismatch));
    if (mismatch > 3) {
        const auto a = std::size_t(mismatch);
        text += QString::asprintf("Out=%02x,%02x,%02x/ In=%02x,%02x,%02x\n", download_[a - 2],
                                  download_[a - 1], download_[a], readBack_[a - 2],
                                  readBack_[a - 1], readBack_[a]);
    }
    messageBox().show(caption, text);
    return 0;
}

void DeviceFunctions::DownloadBin(const QString& path) {
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly)) {
        messageBox().show(caption, tr("Datei %1 nicht gefunden").arg(path));
        return;
    }
    const QByteArray image = file.read(qint64(BufferSize) + 1);
    if (std::size_t(image.size()) > BufferSize) {
        messageBox().show(
            caption,
            tr("Datei %1 ist größer als der Gerätespeicher (%2 Bytes)").arg(path).arg(BufferSize));
        return;
    }
    for (qsizetype i = 0; i < image.size(); ++i)
        placeImageByte(std::size_t(i), std::uint8_t(image[i]));
    const long mismatch = writeAndVerify(std::size_t(image.size()));
    messageBox().show(
        caption, mismatch < 0
                     ? tr("Download OK\n")
                     : tr("Download Verify Error :%1\n").arg(QString::asprintf("%04lx", mismatch)));
}

std::uint16_t DeviceFunctions::ReadTemp() {
    const std::uint8_t command = 0x01;
    EP2Out(&command, 1);
    values_ = Values{};
    std::uint8_t reply[18];
    bulkReadBlock(reply, sizeof reply);
    if (reply[0] != 0x01) return 0;
    values_.status = reply[1];
    for (int i = 0; i < 8; ++i)
        values_.channels[i] = bigEndian16(reply + 2 + 2 * i);
    values_.reference = values_.channels[7];
    return 1;
}

std::uint16_t DeviceFunctions::ReadMemTemp() {
    const std::uint8_t command = 0x0B;
    EP2Out(&command, 1);
    values_ = Values{};
    std::uint8_t reply[12];
    bulkReadBlock(reply, sizeof reply);
    if (reply[0] != 0x0B) return 0;
    values_.status = reply[1];
    values_.extra = bigEndian16(reply + 2);
    for (int i = 0; i < 4; ++i)
        values_.channels[i] = bigEndian16(reply + 4 + 2 * i);
    values_.reference = values_.channels[3];
    values_.channels[7] = values_.channels[3];
    return 1;
}

std::uint16_t DeviceFunctions::GetTemp(std::int32_t index) const {
    switch (index) {
    case -2:
        return values_.status;
    case -1:
        return values_.extra;
    case 0:
        return values_.reference;
    default:
        return index >= 1 && index <= 8 ? values_.channels[index - 1] : 0;
    }
}

std::uint16_t DeviceFunctions::WriteSimple(std::uint8_t index, std::uint32_t value) {
    const std::uint8_t message[5] = {index, std::uint8_t(value >> 24), std::uint8_t(value >> 16),
                                     std::uint8_t(value >> 8), std::uint8_t(value)};
    EP2Out(message, sizeof message);
    return 1;
}

std::uint16_t DeviceFunctions::ReadSimple(std::uint8_t index, std::uint32_t& value) {
    const std::uint8_t message[5] = {index, std::uint8_t(value >> 24), std::uint8_t(value >> 16),
                                     std::uint8_t(value >> 8), std::uint8_t(value)};
    EP2Out(message, sizeof message);
    std::uint8_t reply[5];
    bulkReadBlock(reply, sizeof reply);
    if (reply[0] != index) {
        value = 0;
        return 0;
    }
    value = bigEndian32(reply + 1);
    return 1;
}

std::uint32_t DeviceFunctions::GetInfo() {
    const std::uint8_t command = 0x0A;
    EP2Out(&command, 1);
    std::uint8_t reply[4] = {};
    if (!EP2In(reply, sizeof reply)) return 0xFF;
    return std::uint32_t(reply[1]) | std::uint32_t(reply[2]) << 8 | std::uint32_t(reply[3]) << 16;
}

bool DeviceFunctions::ReadAdjustData(std::uint8_t channel, AdjustData& data) {
    const std::uint8_t message[2] = {0x04, channel};
    EP2Out(message, sizeof message);
    std::uint8_t reply[12] = {};
    if (!EP2In(reply, sizeof reply)) return false;
    std::uint8_t sum = 0;
    for (int i = 2; i <= 9; ++i)
        sum = std::uint8_t(sum + reply[i]);
    if (reply[10] != std::uint8_t(~sum)) return false;
    data.measuredLow = bigEndian16(reply + 2);
    data.referenceLow = bigEndian16(reply + 4);
    data.measuredHigh = bigEndian16(reply + 6);
    data.referenceHigh = bigEndian16(reply + 8);
    return true;
}

} // namespace zolt3
