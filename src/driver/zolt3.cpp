// The exports of libZolt3.so: each one finds the device functions for the transport the
// environment names and never lets an exception reach the caller.
#include "driver/zolt3.h"

#include "driver/device_functions.h"
#include "driver/libusb_transport.h"
#include "driver/simulated_device.h"

#include <QFile>
#include <QString>

#include <cstdio>
#include <memory>

namespace {

using zolt3::DeviceFunctions;

void warn(const QString& text) {
    std::fprintf(stderr, "Zolt3: %s\n", text.toLocal8Bit().constData());
}

std::unique_ptr<zolt3::Transport> makeTransport(const QString& kind, const QString& usbId) {
    if (kind == QLatin1String("sim")) {
        QStringList problems;
        auto config = zolt3::SimulatedDevice::Config::fromEnvironment(&problems);
        for (const QString& p : problems)
            warn(QStringLiteral("ignoring %1").arg(p));
        return std::make_unique<zolt3::SimulatedDevice>(std::move(config));
    }
    if (!kind.isEmpty() && kind != QLatin1String("libusb")) {
        warn(QStringLiteral("unknown ZOLT3_TRANSPORT=%1, using libusb").arg(kind));
    }
    std::uint16_t vid = zolt3::LibusbTransport::DefaultVendorId;
    std::uint16_t pid = zolt3::LibusbTransport::DefaultProductId;
    if (!usbId.isEmpty()) {
        if (const auto id = zolt3::LibusbTransport::parseUsbId(usbId)) {
            std::tie(vid, pid) = *id;
        } else {
            warn(QStringLiteral("ignoring ZOLT3_USB_ID=%1 (expected vvvv:pppp)").arg(usbId));
        }
    }
    return std::make_unique<zolt3::LibusbTransport>(vid, pid);
}

// The device state lives as long as the library; it starts afresh only when the
// environment names another transport or device.
struct Library {
    QString key;
    std::unique_ptr<zolt3::Transport> transport;
    std::unique_ptr<DeviceFunctions> functions;
};

DeviceFunctions& functions() {
    static Library library;
    const QString kind = qEnvironmentVariable("ZOLT3_TRANSPORT").trimmed().toLower();
    const QString usbId = qEnvironmentVariable("ZOLT3_USB_ID");
    const QString key = kind + QLatin1Char('|') + usbId;
    if (!library.functions || key != library.key) {
        library.functions.reset();
        library.transport = makeTransport(kind, usbId);
        library.functions = std::make_unique<DeviceFunctions>(*library.transport);
        library.key = key;
    }
    return *library.functions;
}

template <typename R, typename F> R guarded(R fallback, F&& f) noexcept {
    try {
        return f();
    } catch (...) {
        return fallback;
    }
}

template <typename F> void guarded(F&& f) noexcept {
    try {
        f();
    } catch (...) {
    }
}

} // namespace

extern "C" {

void WrRAM(uint32_t address, uint32_t value) {
    guarded([&] { functions().WrRAM(std::uint16_t(address), std::uint8_t(value)); });
}

uint8_t RdRAM(uint32_t address) {
    return guarded<uint8_t>(0, [&] { return functions().RdRAM(std::uint16_t(address)); });
}

void WriteRAMbytes(uint32_t address, uint32_t count, const uint8_t* data) {
    guarded([&] {
        if (count <= DeviceFunctions::BufferSize) {
            functions().WriteRAMbytes(std::uint16_t(address), std::uint16_t(count), data);
        }
    });
}

void ReadRAMbytes(uint32_t address, uint32_t count, uint8_t* destination) {
    guarded([&] {
        functions().ReadRAMbytes(std::uint16_t(address), std::uint16_t(count), destination);
    });
}

uint32_t EP2Out(const uint8_t* buffer, uint32_t length) {
    return guarded<uint32_t>(1, [&] { return functions().EP2Out(buffer, std::uint16_t(length)); });
}

uint32_t EP2In(uint8_t* buffer, uint32_t length) {
    return guarded<uint32_t>(0, [&] { return functions().EP2In(buffer, std::uint16_t(length)); });
}

uint16_t ProgStart(void) {
    return guarded<uint16_t>(0, [] { return functions().ProgStart(); });
}

void ProgReset(void) {
    guarded([] { functions().ProgReset(); });
}

uint32_t DownloadIntelHex(const char* path) {
    return guarded<uint32_t>(0, [&] {
        return functions().DownloadIntelHex(path ? QFile::decodeName(path) : QString());
    });
}

void DownloadBin(const char* path) {
    guarded([&] { functions().DownloadBin(path ? QFile::decodeName(path) : QString()); });
}

uint16_t ReadTemp(void) {
    return guarded<uint16_t>(0, [] { return functions().ReadTemp(); });
}

uint16_t ReadMemTemp(void) {
    return guarded<uint16_t>(0, [] { return functions().ReadMemTemp(); });
}

uint16_t GetTemp(int32_t index) {
    return guarded<uint16_t>(0, [&] { return functions().GetTemp(index); });
}

uint16_t WriteSimple(uint32_t index, int32_t value) {
    return guarded<uint16_t>(
        0, [&] { return functions().WriteSimple(std::uint8_t(index), std::uint32_t(value)); });
}

uint16_t ReadSimple(uint32_t index, int32_t* value) {
    return guarded<uint16_t>(0, [&]() -> uint16_t {
        std::uint32_t v = value ? std::uint32_t(*value) : 0;
        const std::uint16_t ok = functions().ReadSimple(std::uint8_t(index), v);
        if (value) *value = std::int32_t(v);
        return ok;
    });
}

uint32_t GetInfo(void) {
    return guarded<uint32_t>(0xFF, [] { return functions().GetInfo(); });
}

uint16_t SetInterface(uint32_t interfaceNumber, uint32_t alternateSetting) {
    return guarded<uint16_t>(0, [&] {
        return functions().SetInterface(std::uint8_t(interfaceNumber),
                                        std::uint8_t(alternateSetting));
    });
}

} // extern "C"
