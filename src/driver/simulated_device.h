#pragma once

#include "driver/transport.h"

#include <QStringList>

#include <array>
#include <chrono>
#include <functional>
#include <utility>
#include <vector>

namespace zolt3 {

// An in-process model of the logger and its firmware, so the program can be tried and
// tested without hardware: 8 KiB of RAM behind the RAM access request, the processor's
// control register, the ready byte and the endpoint-2 command set. Every reading is
// computed from its time alone, so a stored record costs the same however many there are.
class SimulatedDevice : public Transport {
public:
    // Piecewise linear: (seconds, °C) in ascending time, constant after the last point.
    using Curve = std::vector<std::pair<double, double>>;

    struct Config {
        int model = 14;                     // 14: with memory, firmware on board; 10: neither
        std::uint8_t channelMask = 0x0F;    // bit i: channel i+1 present
        std::uint32_t records = 720;        // stored memory records
        std::uint32_t interval = 10;        // interval of the stored measurement, 0.5 s units
        std::int32_t serialNumber = 104711; // -1: not set
        std::uint8_t version = 21;          // firmware 2.1
        double noise = 0.15;                // ± °C
        double internalTemperature = 28.5;
        std::array<Curve, 8> curves; // empty: the built-in heating and cooling profile

        // Reads the ZOLT3_SIM_* variables; a value that does not parse keeps the default
        // and is reported in `problems`.
        static Config fromEnvironment(QStringList* problems = nullptr);
    };

    using Clock = std::function<std::chrono::steady_clock::time_point()>;

    static constexpr std::size_t RamSize = 8192;
    static constexpr std::uint16_t ControlRegister = 0x7F92;
    static constexpr std::uint16_t ReadyByte = 0x1FB9;

    SimulatedDevice();
    explicit SimulatedDevice(Config config, Clock clock = {});

    bool VendorRequest(const VendorRequestRecord& record, std::uint8_t* reply) override;
    bool RamBlockWrite(std::uint16_t address, const std::uint8_t* data, std::size_t count) override;
    bool BulkRead(std::uint32_t pipe, std::uint8_t* data, std::size_t count) override;
    bool BulkWrite(std::uint32_t pipe, const std::uint8_t* data, std::size_t count) override;
    bool ResetPipe(std::uint32_t pipe) override;
    bool SelectInterface(std::uint8_t interfaceNumber, std::uint8_t alternateSetting) override;

    const Config& config() const { return config_; }
    // True when the processor runs a firmware that serves endpoint 2.
    bool firmwareRunning() const;
    // What the last preparation wrote: parameters 13 (0.5 s units) and 17 (tenths of °C).
    std::uint32_t nextInterval() const { return nextInterval_; }
    std::uint32_t triggerValue() const { return trigger_; }
    // The temperature of channel `channel` (0-7) at `seconds`, without noise or adjustment.
    double curveTemperature(int channel, double seconds) const;

private:
    std::uint8_t readByte(std::uint16_t address) const;
    void writeByte(std::uint16_t address, std::uint8_t value);
    void handleMessage(const std::uint8_t* message, std::size_t length);
    void setReply(std::vector<std::uint8_t> reply);
    // Device word (tenths, two's complement) of a channel, with noise and adjustment.
    std::uint16_t reading(int channel, double seconds, std::uint64_t sample) const;
    std::uint16_t internalReading(std::uint64_t sample) const;
    double secondsSinceStart() const;
    bool parameter(std::uint8_t index, std::uint32_t& value) const;

    struct Adjustment {
        bool low = false, high = false;
        std::uint16_t measuredLow = 0, referenceLow = 0, measuredHigh = 0, referenceHigh = 0;
    };

    Config config_;
    Clock clock_;
    std::chrono::steady_clock::time_point start_;
    std::array<std::uint8_t, RamSize> ram_{};
    std::uint8_t control_ = 0;
    std::uint8_t alternateSetting_ = 0;
    std::vector<std::uint8_t> reply_;
    std::size_t replyPos_ = 0;
    std::uint64_t samples_ = 0;
    std::uint32_t memoryCursor_ = 0;
    std::uint32_t nextInterval_ = 0;
    std::uint32_t trigger_ = 0;
    std::array<Adjustment, 8> adjust_{};
};

} // namespace zolt3
