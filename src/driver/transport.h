#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace zolt3 {

// The request record of the device's RAM access request (0xA0), in the layout the
// controller's loader expects: little-endian, 10 bytes.
struct VendorRequestRecord {
    enum Direction : std::uint8_t { HostToDevice = 0, DeviceToHost = 1 };

    std::uint8_t request = 0xA0;
    std::uint16_t value = 0; // device RAM address
    std::uint16_t index = 0;
    std::uint16_t length = 0; // 1 to 8
    std::uint8_t direction = HostToDevice;
    std::uint8_t data = 0; // the byte of a one-byte write

    std::array<std::uint8_t, 10> bytes() const {
        return {request,
                0,
                static_cast<std::uint8_t>(value),
                static_cast<std::uint8_t>(value >> 8),
                static_cast<std::uint8_t>(index),
                static_cast<std::uint8_t>(index >> 8),
                static_cast<std::uint8_t>(length),
                static_cast<std::uint8_t>(length >> 8),
                direction,
                data};
    }
};

// The six requests the device functions need from whatever carries them to the device.
// Every operation stands alone (no handle survives it). A missing device or a failed
// request is not an error: reads leave the bytes they did not receive untouched (the
// callers zero their buffers first) and the result says whether the request went through.
class Transport {
public:
    static constexpr std::size_t MaxVendorBytes = 8;
    static constexpr std::size_t MaxBulkBytes = 64;
    static constexpr std::uint32_t ReadPipe = 1;  // bulk IN, endpoint 0x82
    static constexpr std::uint32_t WritePipe = 2; // bulk OUT, endpoint 0x02

    virtual ~Transport() = default;

    // RAM access; for a device-to-host request up to `record.length` bytes land in `reply`.
    virtual bool VendorRequest(const VendorRequestRecord& record, std::uint8_t* reply) = 0;
    // Writes `count` bytes to device RAM from `address` on.
    virtual bool RamBlockWrite(std::uint16_t address, const std::uint8_t* data,
                               std::size_t count) = 0;
    // One bulk request of at most MaxBulkBytes.
    virtual bool BulkRead(std::uint32_t pipe, std::uint8_t* data, std::size_t count) = 0;
    virtual bool BulkWrite(std::uint32_t pipe, const std::uint8_t* data, std::size_t count) = 0;
    virtual bool ResetPipe(std::uint32_t pipe) = 0;
    virtual bool SelectInterface(std::uint8_t interfaceNumber, std::uint8_t alternateSetting) = 0;
};

} // namespace zolt3
