#pragma once

#include "driver/transport.h"

#include <QCoreApplication>
#include <QString>

#include <array>
#include <chrono>
#include <cstdint>
#include <functional>

namespace zolt3 {

// The device functions behind the library's exports: RAM access, the endpoint-2
// message channel, firmware download and the command set. Holds the state the library
// keeps between calls (the two transfer buffers and the value block) and reaches the
// device only through a Transport.
class DeviceFunctions {
    Q_DECLARE_TR_FUNCTIONS(DeviceFunctions)

public:
    static constexpr std::size_t BufferSize = 8192;
    static constexpr std::uint16_t ControlRegister = 0x7F92; // 1 holds the processor in reset
    static constexpr std::uint16_t ReadyByte = 0x1FB9;       // non-zero: a reply waits on EP2
    // How long EP2In waits for the ready byte.
    static constexpr std::chrono::milliseconds ReplyWait{3000};

    using Clock = std::function<std::chrono::steady_clock::time_point()>;

    // Adjustment data of one channel as the device stores it (tenths of a degree).
    struct AdjustData {
        std::uint16_t measuredLow = 0;
        std::uint16_t referenceLow = 0;
        std::uint16_t measuredHigh = 0;
        std::uint16_t referenceHigh = 0;
    };

    explicit DeviceFunctions(Transport& transport, Clock clock = {});

    void WrRAM(std::uint16_t address, std::uint8_t value);
    std::uint8_t RdRAM(std::uint16_t address);
    // `data` null: the download buffer already holds the bytes. Counts beyond the
    // buffer are refused.
    void WriteRAMbytes(std::uint16_t address, std::uint16_t count, const std::uint8_t* data);
    // `destination` null: into the read-back buffer from its start.
    void ReadRAMbytes(std::uint16_t address, std::uint16_t count, std::uint8_t* destination);
    std::uint32_t EP2Out(const std::uint8_t* buffer, std::uint16_t length);
    std::uint32_t EP2In(std::uint8_t* buffer, std::uint16_t length);
    std::uint16_t ProgStart();
    void ProgReset();
    std::uint32_t DownloadIntelHex(const QString& path);
    void DownloadBin(const QString& path);
    std::uint16_t ReadTemp();
    std::uint16_t ReadMemTemp();
    std::uint16_t GetTemp(std::int32_t index) const;
    std::uint16_t WriteSimple(std::uint8_t index, std::uint32_t value);
    std::uint16_t ReadSimple(std::uint8_t index, std::uint32_t& value);
    std::uint32_t GetInfo();
    std::uint16_t SetInterface(std::uint8_t interfaceNumber, std::uint8_t alternateSetting);

    // Command 0x04 for the adjustment dialog: true when the reply came and its
    // checksum holds.
    bool ReadAdjustData(std::uint8_t channel, AdjustData& data);

    const std::array<std::uint8_t, BufferSize>& downloadBuffer() const { return download_; }
    const std::array<std::uint8_t, BufferSize>& readBackBuffer() const { return readBack_; }

private:
    // The value block filled by ReadTemp/ReadMemTemp.
    struct Values {
        std::uint8_t status = 0;
        std::uint16_t extra = 0;
        std::uint16_t reference = 0;
        std::array<std::uint16_t, 8> channels{};
    };

    void bulkReadBlock(std::uint8_t* data, std::size_t count);
    void bulkWriteBlock(const std::uint8_t* data, std::size_t count);
    void placeImageByte(std::size_t address, std::uint8_t byte);
    // Writes bytes 0..length-1 of the download buffer, reads them back and returns the
    // first address that differs, or -1.
    long writeAndVerify(std::size_t length);

    Transport& transport_;
    Clock clock_;
    std::array<std::uint8_t, BufferSize> download_{};
    std::array<std::uint8_t, BufferSize> readBack_{};
    Values values_;
};

} // namespace zolt3
