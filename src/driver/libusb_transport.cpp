#include "driver/libusb_transport.h"

#include <libusb.h>

#include <QRegularExpression>

#include <algorithm>

namespace zolt3 {

namespace {
constexpr std::uint8_t OutEndpoint = 0x02;
constexpr std::uint8_t InEndpoint = 0x82;
// bmRequestType of the RAM access request: vendor, device, out or in.
constexpr std::uint8_t VendorOut = 0x40;
constexpr std::uint8_t VendorIn = 0xC0;

std::uint8_t endpointOf(std::uint32_t pipe) {
    return pipe == Transport::ReadPipe ? InEndpoint : OutEndpoint;
}
} // namespace

// The device opened for one operation, with an interface claimed when bulk requests or
// interface settings need it (-1: none).
class LibusbTransport::Session {
public:
    Session(LibusbTransport& t, int claim) : interface_(claim) {
        libusb_context* ctx = t.context();
        if (!ctx) return;
        handle_ = libusb_open_device_with_vid_pid(ctx, t.vendorId_, t.productId_);
        if (handle_ && claim >= 0) {
            claimed_ = libusb_claim_interface(handle_, claim) == 0;
            if (!claimed_) close();
        }
    }
    ~Session() { close(); }
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    libusb_device_handle* handle() const { return handle_; }

private:
    void close() {
        if (!handle_) return;
        if (claimed_) libusb_release_interface(handle_, interface_);
        libusb_close(handle_);
        handle_ = nullptr;
        claimed_ = false;
    }

    int interface_;
    libusb_device_handle* handle_ = nullptr;
    bool claimed_ = false;
};

LibusbTransport::LibusbTransport(std::uint16_t vendorId, std::uint16_t productId)
    : vendorId_(vendorId), productId_(productId) {}

LibusbTransport::~LibusbTransport() {
    if (context_) libusb_exit(context_);
}

std::optional<std::pair<std::uint16_t, std::uint16_t>>
LibusbTransport::parseUsbId(const QString& text) {
    static const QRegularExpression form(QStringLiteral("^([0-9A-Fa-f]{4}):([0-9A-Fa-f]{4})$"));
    const auto m = form.match(text.trimmed());
    if (!m.hasMatch()) return std::nullopt;
    return std::pair{std::uint16_t(m.captured(1).toUInt(nullptr, 16)),
                     std::uint16_t(m.captured(2).toUInt(nullptr, 16))};
}

libusb_context* LibusbTransport::context() {
    // Without usbfs (a container, a machine without USB) every operation finds nothing.
    if (!context_ && !initFailed_) initFailed_ = libusb_init(&context_) != 0;
    if (initFailed_) context_ = nullptr;
    return context_;
}

bool LibusbTransport::VendorRequest(const VendorRequestRecord& record, std::uint8_t* reply) {
    Session s(*this, -1);
    if (!s.handle()) return false;
    if (record.direction == VendorRequestRecord::HostToDevice) {
        std::uint8_t data = record.data;
        return libusb_control_transfer(s.handle(), VendorOut, record.request, record.value,
                                       record.index, &data, 1, TimeoutMs) == 1;
    }
    const std::uint16_t length = std::min<std::uint16_t>(record.length, MaxVendorBytes);
    std::uint8_t buffer[MaxVendorBytes] = {};
    const int n = libusb_control_transfer(s.handle(), VendorIn, record.request, record.value,
                                          record.index, buffer, length, TimeoutMs);
    if (n <= 0) return false;
    std::copy_n(buffer, n, reply);
    return n == length;
}

bool LibusbTransport::RamBlockWrite(std::uint16_t address, const std::uint8_t* data,
                                    std::size_t count) {
    Session s(*this, -1);
    if (!s.handle()) return false;
    for (std::size_t done = 0; done < count;) {
        const std::size_t piece = std::min(count - done, MaxBlockPiece);
        std::uint8_t buffer[MaxBlockPiece];
        std::copy_n(data + done, piece, buffer);
        const int n =
            libusb_control_transfer(s.handle(), VendorOut, 0xA0, std::uint16_t(address + done), 0,
                                    buffer, std::uint16_t(piece), TimeoutMs);
        if (n != int(piece)) return false;
        done += piece;
    }
    return true;
}

bool LibusbTransport::BulkRead(std::uint32_t pipe, std::uint8_t* data, std::size_t count) {
    Session s(*this, 0);
    if (!s.handle() || count > MaxBulkBytes) return false;
    std::uint8_t buffer[MaxBulkBytes];
    int received = 0;
    const int rc = libusb_bulk_transfer(s.handle(), endpointOf(pipe), buffer, int(count), &received,
                                        TimeoutMs);
    std::copy_n(buffer, std::clamp(received, 0, int(count)), data);
    return rc == 0 && received == int(count);
}

bool LibusbTransport::BulkWrite(std::uint32_t pipe, const std::uint8_t* data, std::size_t count) {
    Session s(*this, 0);
    if (!s.handle() || count > MaxBulkBytes) return false;
    std::uint8_t buffer[MaxBulkBytes];
    std::copy_n(data, count, buffer);
    int sent = 0;
    return libusb_bulk_transfer(s.handle(), endpointOf(pipe), buffer, int(count), &sent,
                                TimeoutMs) == 0 &&
           sent == int(count);
}

bool LibusbTransport::ResetPipe(std::uint32_t pipe) {
    Session s(*this, 0);
    return s.handle() && libusb_clear_halt(s.handle(), endpointOf(pipe)) == 0;
}

bool LibusbTransport::SelectInterface(std::uint8_t interfaceNumber, std::uint8_t alternateSetting) {
    Session s(*this, interfaceNumber);
    return s.handle() &&
           libusb_set_interface_alt_setting(s.handle(), interfaceNumber, alternateSetting) == 0;
}

} // namespace zolt3
