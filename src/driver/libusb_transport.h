#pragma once

#include "driver/transport.h"

#include <QString>

#include <optional>
#include <utility>

struct libusb_context;
struct libusb_device_handle;

namespace zolt3 {

// The real device over libusb. Every operation looks the device up by vendor and
// product id, opens it, does its requests and closes it again, so a device plugged in
// or out between calls is simply found or not found.
class LibusbTransport : public Transport {
public:
    // The EZ-USB controller before its firmware gives it other ids.
    static constexpr std::uint16_t DefaultVendorId = 0x0547;
    static constexpr std::uint16_t DefaultProductId = 0x2131;
    // Per request; a device that stops answering must not hold the program up.
    static constexpr unsigned TimeoutMs = 500;
    // Data bytes per control transfer of a RAM block write (the control endpoint's
    // packet size).
    static constexpr std::size_t MaxBlockPiece = 64;

    LibusbTransport(std::uint16_t vendorId, std::uint16_t productId);
    ~LibusbTransport() override;
    LibusbTransport(const LibusbTransport&) = delete;
    LibusbTransport& operator=(const LibusbTransport&) = delete;

    // "vvvv:pppp" in hexadecimal; nothing for any other form.
    static std::optional<std::pair<std::uint16_t, std::uint16_t>> parseUsbId(const QString& text);

    bool VendorRequest(const VendorRequestRecord& record, std::uint8_t* reply) override;
    bool RamBlockWrite(std::uint16_t address, const std::uint8_t* data, std::size_t count) override;
    bool BulkRead(std::uint32_t pipe, std::uint8_t* data, std::size_t count) override;
    bool BulkWrite(std::uint32_t pipe, const std::uint8_t* data, std::size_t count) override;
    bool ResetPipe(std::uint32_t pipe) override;
    bool SelectInterface(std::uint8_t interfaceNumber, std::uint8_t alternateSetting) override;

private:
    class Session;
    libusb_context* context();

    std::uint16_t vendorId_;
    std::uint16_t productId_;
    libusb_context* context_ = nullptr;
    bool initFailed_ = false;
};

} // namespace zolt3
