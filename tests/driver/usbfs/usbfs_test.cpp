// LibusbTransport against an emulated device: umockdev stands in for usbfs, and the
// ioctl handler below plays the device's side of every request, backed by the
// simulated firmware. The requests are recorded field by field.

// GLib before Qt: GLib uses "signals" as a name, which Qt defines as a keyword.
#include <umockdev.h>

#include <linux/usbdevice_fs.h>
#include <sys/ioctl.h>

#include "driver/device_functions.h"
#include "driver/libusb_transport.h"
#include "driver/message_box.h"
#include "driver/simulated_device.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <mutex>
#include <string>
#include <unistd.h>

using namespace zolt3;

namespace {

constexpr const char* PreloadLibrary = "libumockdev-preload.so.0";
constexpr const char* ReexecMarker = "ZOLT3_USBFS_TEST_PRELOADED";

// The emulation needs umockdev's preload library from the start of the process, as
// umockdev-wrapper would give it; start over with it when it is missing.
__attribute__((constructor)) void reexecWithPreload(int, char** argv, char**) {
    const char* preload = std::getenv("LD_PRELOAD");
    if (std::getenv(ReexecMarker) || (preload && std::strstr(preload, "libumockdev-preload"))) {
        return;
    }
    std::string value = PreloadLibrary;
    if (preload && *preload) value += std::string(":") + preload;
    setenv(ReexecMarker, "1", 1);
    setenv("LD_PRELOAD", value.c_str(), 1);
    execv("/proc/self/exe", argv);
    // Could not start over: the tests report themselves skipped.
}

struct Seen {
    unsigned long request = 0;
    int type = -1;         // URB type (2 control, 3 bulk)
    unsigned endpoint = 0; // URB endpoint, or the endpoint of a clear-halt
    std::uint8_t requestType = 0, bRequest = 0;
    std::uint16_t value = 0, index = 0, length = 0; // control setup, or bulk buffer length
    std::vector<std::uint8_t> data;                 // bytes sent, or bytes returned
    unsigned interfaceNumber = 0, alternateSetting = 0;
};

// The device's side of usbfs. Runs on umockdev's worker thread while the caller waits
// in its ioctl; client memory is the test's own, so it is written directly.
class EmulatedDevice {
public:
    EmulatedDevice() {
        SimulatedDevice::Config config;
        config.noise = 0;
        device_ = std::make_unique<SimulatedDevice>(config);
    }

    std::vector<Seen> seen() {
        std::lock_guard lock(mutex_);
        return seen_;
    }
    void clearSeen() {
        std::lock_guard lock(mutex_);
        seen_.clear();
    }
    // Read the ready byte as 0 this many times more before the truth.
    void holdReady(int polls) {
        std::lock_guard lock(mutex_);
        holdReady_ = polls;
    }
    // After this many more URBs every request fails as if the cable was pulled.
    void unplugAfter(int urbs) {
        std::lock_guard lock(mutex_);
        unplugAfter_ = urbs;
    }

    gboolean handle(UMockdevIoctlClient* client) {
        std::lock_guard lock(mutex_);
        const unsigned long request = umockdev_ioctl_client_get_request(client);
        UMockdevIoctlData* arg = umockdev_ioctl_client_get_arg(client);
        void* argPointer = *reinterpret_cast<void**>(arg->data);
        // Unplugged: URBs already given back can still be reaped, as the kernel allows
        // (USBDEVFS_CAP_REAP_AFTER_DISCONNECT); everything else fails.
        const bool reap = request == USBDEVFS_REAPURB || request == USBDEVFS_REAPURBNDELAY;
        if (unplugAfter_ == 0 && !(reap && !done_.empty())) {
            umockdev_ioctl_client_complete(client, -1, ENODEV);
            return TRUE;
        }
        switch (request) {
        case USBDEVFS_GET_CAPABILITIES:
            *static_cast<std::uint32_t*>(argPointer) = USBDEVFS_CAP_BULK_CONTINUATION |
                                                       USBDEVFS_CAP_NO_PACKET_SIZE_LIM |
                                                       USBDEVFS_CAP_REAP_AFTER_DISCONNECT;
            umockdev_ioctl_client_complete(client, 0, 0);
            return TRUE;
        case USBDEVFS_CLAIMINTERFACE:
        case USBDEVFS_RELEASEINTERFACE:
            umockdev_ioctl_client_complete(client, 0, 0);
            return TRUE;
        case USBDEVFS_SETINTERFACE: {
            const auto* s = static_cast<usbdevfs_setinterface*>(argPointer);
            Seen r;
            r.request = request;
            r.interfaceNumber = s->interface;
            r.alternateSetting = s->altsetting;
            seen_.push_back(r);
            const bool ok =
                device_->SelectInterface(std::uint8_t(s->interface), std::uint8_t(s->altsetting));
            umockdev_ioctl_client_complete(client, ok ? 0 : -1, ok ? 0 : EINVAL);
            return TRUE;
        }
        case USBDEVFS_CLEAR_HALT: {
            Seen r;
            r.request = request;
            r.endpoint = *static_cast<unsigned*>(argPointer);
            seen_.push_back(r);
            const bool ok = device_->ResetPipe(r.endpoint == 0x82 ? 1 : 2);
            umockdev_ioctl_client_complete(client, ok ? 0 : -1, ok ? 0 : EINVAL);
            return TRUE;
        }
        case USBDEVFS_SUBMITURB:
            if (unplugAfter_ > 0) --unplugAfter_;
            submit(static_cast<usbdevfs_urb*>(argPointer));
            umockdev_ioctl_client_complete(client, 0, 0);
            return TRUE;
        case USBDEVFS_REAPURB:
        case USBDEVFS_REAPURBNDELAY:
            if (done_.empty()) {
                umockdev_ioctl_client_complete(client, -1, EAGAIN);
            } else {
                *static_cast<void**>(argPointer) = done_.front();
                done_.pop_front();
                umockdev_ioctl_client_complete(client, 0, 0);
            }
            return TRUE;
        case USBDEVFS_DISCARDURB: {
            const auto it = std::find(done_.begin(), done_.end(), argPointer);
            if (it == done_.end()) {
                umockdev_ioctl_client_complete(client, -1, EINVAL);
            } else {
                done_.erase(it);
                umockdev_ioctl_client_complete(client, 0, 0);
            }
            return TRUE;
        }
        default:
            return FALSE;
        }
    }

private:
    void submit(usbdevfs_urb* urb) {
        auto* buffer = static_cast<std::uint8_t*>(urb->buffer);
        Seen r;
        r.request = USBDEVFS_SUBMITURB;
        r.type = urb->type;
        r.endpoint = urb->endpoint;
        bool ok = false;
        int actual = 0;
        if (urb->type == USBDEVFS_URB_TYPE_CONTROL) {
            r.requestType = buffer[0];
            r.bRequest = buffer[1];
            r.value = std::uint16_t(buffer[2] | buffer[3] << 8);
            r.index = std::uint16_t(buffer[4] | buffer[5] << 8);
            r.length = std::uint16_t(buffer[6] | buffer[7] << 8);
            std::uint8_t* payload = buffer + 8;
            if (r.requestType == 0x40) {
                r.data.assign(payload, payload + r.length);
                ok = r.length == 1 ? writeByte(r, payload[0])
                                   : device_->RamBlockWrite(r.value, payload, r.length);
            } else {
                VendorRequestRecord record;
                record.request = r.bRequest;
                record.value = r.value;
                record.length = r.length;
                record.direction = VendorRequestRecord::DeviceToHost;
                ok = device_->VendorRequest(record, payload);
                if (ok && r.value == SimulatedDevice::ReadyByte && holdReady_ > 0) {
                    --holdReady_;
                    payload[0] = 0;
                }
                r.data.assign(payload, payload + r.length);
            }
            actual = ok ? r.length : 0;
        } else {
            r.length = std::uint16_t(urb->buffer_length);
            if (urb->endpoint == 0x02) {
                r.data.assign(buffer, buffer + urb->buffer_length);
                ok = device_->BulkWrite(2, buffer, std::size_t(urb->buffer_length));
            } else {
                ok = device_->BulkRead(1, buffer, std::size_t(urb->buffer_length));
                if (ok) r.data.assign(buffer, buffer + urb->buffer_length);
            }
            actual = ok ? urb->buffer_length : 0;
        }
        seen_.push_back(std::move(r));
        urb->actual_length = actual;
        urb->status = ok ? 0 : -EPIPE;
        done_.push_back(urb);
    }

    bool writeByte(const Seen& r, std::uint8_t byte) {
        VendorRequestRecord record;
        record.request = r.bRequest;
        record.value = r.value;
        record.length = 1;
        record.data = byte;
        return device_->VendorRequest(record, nullptr);
    }

    std::mutex mutex_;
    std::unique_ptr<SimulatedDevice> device_;
    std::vector<Seen> seen_;
    std::deque<void*> done_;
    int holdReady_ = 0;
    int unplugAfter_ = -1;
};

gboolean onIoctl(UMockdevIoctlBase*, UMockdevIoctlClient* client, gpointer device) {
    return static_cast<EmulatedDevice*>(device)->handle(client);
}

// Messages of the library go nowhere here; the tests look at requests and results.
class QuietMessages : public MessageBox {
public:
    void show(const QString&, const QString& text) override { last = text; }
    QString last;
};

class UsbfsTest : public ::testing::Test {
protected:
    void SetUp() override {
        testbed_ = umockdev_testbed_new();
        if (!umockdev_in_mock_environment()) {
            g_clear_object(&testbed_);
            GTEST_SKIP() << "umockdev's preload library is not active (" << PreloadLibrary
                         << " could not be loaded); run under umockdev-wrapper";
        }
        handler_ = umockdev_ioctl_base_new();
        g_signal_connect(handler_, "handle-ioctl", G_CALLBACK(onIoctl), &device);
        const char* node = "/dev/bus/usb/001/002";
        ASSERT_TRUE(umockdev_testbed_attach_ioctl(testbed_, node, handler_, nullptr));
        // An EZ-USB controller with its unprogrammed ids: interface 0 with alternate
        // setting 1 holding bulk endpoints 0x02 and 0x82.
        ASSERT_TRUE(
            umockdev_testbed_add_from_string(testbed_,
                                             "P: /devices/usb1/1-1\n"
                                             "N: bus/usb/001/002\n"
                                             "E: SUBSYSTEM=usb\n"
                                             "E: DEVTYPE=usb_device\n"
                                             "E: DEVNAME=/dev/bus/usb/001/002\n"
                                             "E: BUSNUM=001\n"
                                             "E: DEVNUM=002\n"
                                             "A: busnum=1\\n\n"
                                             "A: devnum=2\\n\n"
                                             "A: bConfigurationValue=1\\n\n"
                                             "A: speed=12\\n\n"
                                             "H: descriptors=120100020000004047053121010000000001"
                                             "09022900010100803209040000"
                                             "00ff00000009040001"
                                             "02ff000000"
                                             "07050202400000"
                                             "07058202400000\n",
                                             nullptr));
        transport = std::make_unique<LibusbTransport>(LibusbTransport::DefaultVendorId,
                                                      LibusbTransport::DefaultProductId);
        f = std::make_unique<DeviceFunctions>(*transport, [this] { return clock(); });
        previousBox_ = setMessageBox(&messages);
    }
    void TearDown() override {
        if (!testbed_) return;
        setMessageBox(previousBox_);
        f.reset();
        transport.reset();
        g_clear_object(&testbed_);
        g_clear_object(&handler_);
    }

    std::vector<Seen> urbs(int type) {
        std::vector<Seen> out;
        for (const Seen& s : device.seen()) {
            if (s.request == USBDEVFS_SUBMITURB && s.type == type) out.push_back(s);
        }
        return out;
    }

    // Moves on 100 ms per reading so a wait for the ready byte ends after 30 polls.
    std::chrono::steady_clock::time_point clock() { return now_ += std::chrono::milliseconds(100); }

    EmulatedDevice device;
    QuietMessages messages;
    std::unique_ptr<LibusbTransport> transport;
    std::unique_ptr<DeviceFunctions> f;

private:
    UMockdevTestbed* testbed_ = nullptr;
    UMockdevIoctlBase* handler_ = nullptr;
    MessageBox* previousBox_ = nullptr;
    std::chrono::steady_clock::time_point now_{};
};

TEST_F(UsbfsTest, FirmwareDownloadWritesInBlocksAndReadsBackInEights) {
    const QString image = QCoreApplication::applicationDirPath() + QStringLiteral("/Zolt3.hex");
    f->ProgReset();
    device.clearSeen();
    ASSERT_EQ(f->DownloadIntelHex(image), 1u) << messages.last.toStdString();
    const auto control = urbs(USBDEVFS_URB_TYPE_CONTROL);
    ASSERT_FALSE(control.empty());
    std::size_t written = 0, read = 0;
    for (const Seen& s : control) {
        EXPECT_EQ(s.bRequest, 0xA0);
        EXPECT_EQ(s.index, 0);
        EXPECT_EQ(s.endpoint, 0u);
        if (s.requestType == 0x40) {
            EXPECT_EQ(read, 0u) << "every write comes before the read-back";
            EXPECT_EQ(s.value, written);
            EXPECT_LE(s.length, 64);
            written += s.length;
        } else {
            EXPECT_EQ(s.requestType, 0xC0);
            EXPECT_EQ(s.value, read);
            EXPECT_EQ(s.length, std::min<std::size_t>(8, written - read));
            read += s.length;
        }
    }
    EXPECT_EQ(written, 0x0213u); // up to the last byte of the image
    EXPECT_EQ(read, written);
    EXPECT_TRUE(urbs(USBDEVFS_URB_TYPE_BULK).empty());
}

TEST_F(UsbfsTest, StartReadTempGetInfoAndParameters) {
    f->ProgReset();
    device.clearSeen();
    ASSERT_EQ(f->ProgStart(), 1);
    auto seen = device.seen();
    ASSERT_EQ(seen.size(), 4u);
    EXPECT_EQ(seen[0].requestType, 0x40);
    EXPECT_EQ(seen[0].value, 0x7F92);
    EXPECT_EQ(seen[0].data, std::vector<std::uint8_t>{0});
    EXPECT_EQ(seen[1].request, (unsigned long)USBDEVFS_SETINTERFACE);
    EXPECT_EQ(seen[1].interfaceNumber, 0u);
    EXPECT_EQ(seen[1].alternateSetting, 1u);
    EXPECT_EQ(seen[2].request, (unsigned long)USBDEVFS_CLEAR_HALT);
    EXPECT_EQ(seen[2].endpoint, 0x82u);
    EXPECT_EQ(seen[3].request, (unsigned long)USBDEVFS_CLEAR_HALT);
    EXPECT_EQ(seen[3].endpoint, 0x02u);

    device.clearSeen();
    ASSERT_EQ(f->ReadTemp(), 1);
    auto bulk = urbs(USBDEVFS_URB_TYPE_BULK);
    ASSERT_EQ(bulk.size(), 2u);
    EXPECT_EQ(bulk[0].endpoint, 0x02u);
    EXPECT_EQ(bulk[0].data, std::vector<std::uint8_t>{0x01});
    EXPECT_EQ(bulk[1].endpoint, 0x82u);
    EXPECT_EQ(bulk[1].length, 18);
    EXPECT_NEAR(std::int16_t(f->GetTemp(1)) / 10.0, 21.0, 1.0);

    device.clearSeen();
    device.holdReady(3);
    EXPECT_EQ(f->GetInfo(), 0x0F | 1u << 8 | 21u << 16);
    const auto polls = urbs(USBDEVFS_URB_TYPE_CONTROL);
    ASSERT_EQ(polls.size(), 4u);
    for (const Seen& s : polls) {
        EXPECT_EQ(s.requestType, 0xC0);
        EXPECT_EQ(s.value, 0x1FB9);
        EXPECT_EQ(s.length, 1);
    }
    bulk = urbs(USBDEVFS_URB_TYPE_BULK);
    ASSERT_EQ(bulk.size(), 2u);
    EXPECT_EQ(bulk[0].data, std::vector<std::uint8_t>{0x0A});
    EXPECT_EQ(bulk[1].endpoint, 0x82u);
    EXPECT_EQ(bulk[1].length, 4);

    device.clearSeen();
    std::uint32_t serial = 0;
    EXPECT_EQ(f->ReadSimple(20, serial), 1);
    EXPECT_EQ(serial, 104711u);
    bulk = urbs(USBDEVFS_URB_TYPE_BULK);
    ASSERT_EQ(bulk.size(), 2u);
    EXPECT_EQ(bulk[0].data, (std::vector<std::uint8_t>{20, 0, 0, 0, 0}));
    EXPECT_EQ(bulk[1].length, 5);

    device.clearSeen();
    const std::vector<std::uint8_t> block(100, 0x00);
    f->EP2Out(block.data(), 100);
    bulk = urbs(USBDEVFS_URB_TYPE_BULK);
    ASSERT_EQ(bulk.size(), 2u);
    EXPECT_EQ(bulk[0].length, 64);
    EXPECT_EQ(bulk[1].length, 36);
    EXPECT_EQ(bulk[1].endpoint, 0x02u);
}

TEST_F(UsbfsTest, ADeviceThatDisappearsGivesZeros) {
    f->ProgReset();
    ASSERT_EQ(f->ProgStart(), 1);
    ASSERT_EQ(f->ReadTemp(), 1);
    device.unplugAfter(1); // the command goes out, the reply never comes
    EXPECT_EQ(f->ReadTemp(), 0);
    for (int i = -2; i <= 8; ++i)
        EXPECT_EQ(f->GetTemp(i), 0) << i;
    EXPECT_EQ(f->ReadMemTemp(), 0);
    std::uint32_t value = 5;
    EXPECT_EQ(f->ReadSimple(12, value), 0);
    EXPECT_EQ(value, 0u);
    EXPECT_EQ(f->RdRAM(0x1FB9), 0);
    EXPECT_EQ(f->ProgStart(), 0);
    EXPECT_EQ(f->GetInfo() & 0xFFFF, 0xFFu);
    EXPECT_EQ(
        f->DownloadIntelHex(QCoreApplication::applicationDirPath() + QStringLiteral("/Zolt3.hex")),
        0u);
    EXPECT_TRUE(messages.last.startsWith(QStringLiteral("Verify Error :0000")));
}

} // namespace
