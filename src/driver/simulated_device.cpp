#include "driver/simulated_device.h"

#include <QString>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace zolt3 {

namespace {

// The built-in profile: every channel heats towards its own set point for ten minutes
// and cools back for ten, each a little slower and later than the one before.
constexpr double Period = 1200.0;

std::uint64_t mix(std::uint64_t x) {
    x += 0x9E3779B97F4A7C15ull;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    return x ^ (x >> 31);
}

// Reproducible noise in [-1, 1] for one channel and sample.
double unitNoise(int channel, std::uint64_t sample) {
    const std::uint64_t h = mix(sample * 16 + std::uint64_t(channel + 1));
    return double(h >> 11) / double(1ull << 52) - 1.0;
}

std::uint16_t toWord(double celsius) {
    const double tenths = std::clamp(std::round(celsius * 10.0), -32768.0, 32767.0);
    return std::uint16_t(std::int16_t(tenths));
}

void putBigEndian16(std::vector<std::uint8_t>& out, std::uint16_t v) {
    out.push_back(std::uint8_t(v >> 8));
    out.push_back(std::uint8_t(v));
}

template <typename T>
bool parseInteger(const QString& text, T& out, long long low, long long high) {
    bool ok = false;
    const long long v = text.trimmed().toLongLong(&ok, 0);
    if (!ok || v < low || v > high) return false;
    out = T(v);
    return true;
}

bool parseCurve(const QString& text, SimulatedDevice::Curve& out) {
    SimulatedDevice::Curve curve;
    for (const QString& point : text.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const QStringList parts = point.split(QLatin1Char(':'));
        if (parts.size() != 2) return false;
        bool okT = false, okC = false;
        const double t = parts[0].trimmed().toDouble(&okT);
        const double c = parts[1].trimmed().toDouble(&okC);
        if (!okT || !okC || !std::isfinite(t) || !std::isfinite(c)) return false;
        if (!curve.empty() && t <= curve.back().first) return false;
        curve.emplace_back(t, c);
    }
    if (curve.empty()) return false;
    out = std::move(curve);
    return true;
}

} // namespace

SimulatedDevice::Config SimulatedDevice::Config::fromEnvironment(QStringList* problems) {
    Config c;
    const auto check = [&](const char* name, auto&& parse) {
        const QString value = qEnvironmentVariable(name);
        if (value.isEmpty()) return;
        if (!parse(value) && problems) {
            problems->append(QStringLiteral("%1=%2").arg(QLatin1String(name), value));
        }
    };
    check("ZOLT3_SIM_MODEL", [&](const QString& v) {
        const QString m = v.trimmed().remove(QStringLiteral("318."));
        if (m == QLatin1String("10") || m == QLatin1String("14")) {
            c.model = m.toInt();
            return true;
        }
        return false;
    });
    check("ZOLT3_SIM_CHANNELS",
          [&](const QString& v) { return parseInteger(v, c.channelMask, 0, 255); });
    check("ZOLT3_SIM_RECORDS", [&](const QString& v) {
        return parseInteger(v, c.records, 0, std::numeric_limits<std::int32_t>::max());
    });
    check("ZOLT3_SIM_INTERVAL", [&](const QString& v) {
        return parseInteger(v, c.interval, 0, std::numeric_limits<std::uint32_t>::max());
    });
    check("ZOLT3_SIM_SERIAL", [&](const QString& v) {
        return parseInteger(v, c.serialNumber, std::numeric_limits<std::int32_t>::min(),
                            std::numeric_limits<std::int32_t>::max());
    });
    check("ZOLT3_SIM_VERSION",
          [&](const QString& v) { return parseInteger(v, c.version, 0, 255); });
    check("ZOLT3_SIM_NOISE", [&](const QString& v) {
        bool ok = false;
        const double d = v.trimmed().toDouble(&ok);
        if (!ok || !(d >= 0 && d < 100)) return false;
        c.noise = d;
        return true;
    });
    check("ZOLT3_SIM_INTERNAL", [&](const QString& v) {
        bool ok = false;
        const double d = v.trimmed().toDouble(&ok);
        if (!ok || !std::isfinite(d)) return false;
        c.internalTemperature = d;
        return true;
    });
    for (int i = 0; i < 8; ++i) {
        const QByteArray name = "ZOLT3_SIM_CURVE" + QByteArray::number(i + 1);
        check(name.constData(), [&](const QString& v) { return parseCurve(v, c.curves[i]); });
    }
    return c;
}

SimulatedDevice::SimulatedDevice() : SimulatedDevice(Config{}) {}

SimulatedDevice::SimulatedDevice(Config config, Clock clock)
    : config_(std::move(config)),
      clock_(clock ? std::move(clock) : [] { return std::chrono::steady_clock::now(); }),
      start_(clock_()),
      // The model with memory starts its firmware from its own flash; the other waits
      // in reset for a download.
      control_(config_.model == 14 ? 0 : 1), nextInterval_(config_.interval) {}

bool SimulatedDevice::firmwareRunning() const {
    // Without firmware on board the processor needs a program at its reset vector
    // (an LJMP, 0x02, at address 0).
    return control_ == 0 && (config_.model == 14 || ram_[0] == 0x02);
}

double SimulatedDevice::secondsSinceStart() const {
    return std::chrono::duration<double>(clock_() - start_).count();
}

double SimulatedDevice::curveTemperature(int channel, double seconds) const {
    const Curve& curve = config_.curves[std::size_t(channel)];
    if (!curve.empty()) {
        if (seconds <= curve.front().first) return curve.front().second;
        if (seconds >= curve.back().first) return curve.back().second;
        const auto next = std::upper_bound(
            curve.begin(), curve.end(), seconds,
            [](double t, const std::pair<double, double>& p) { return t < p.first; });
        const auto prev = next - 1;
        const double f = (seconds - prev->first) / (next->first - prev->first);
        return prev->second + f * (next->second - prev->second);
    }
    const double ambient = 21.0 + 0.4 * channel;
    const double setPoint = 62.0 + 11.0 * channel;
    const double tau = 40.0 + 10.0 * channel;
    double phase = seconds - 30.0 * channel;
    if (phase <= 0) return ambient;
    phase = std::fmod(phase, Period);
    const double half = Period / 2;
    if (phase < half) return ambient + (setPoint - ambient) * (1.0 - std::exp(-phase / tau));
    const double peak = ambient + (setPoint - ambient) * (1.0 - std::exp(-half / tau));
    return ambient + (peak - ambient) * std::exp(-(phase - half) / tau);
}

std::uint16_t SimulatedDevice::reading(int channel, double seconds, std::uint64_t sample) const {
    const double celsius =
        curveTemperature(channel, seconds) + config_.noise * unitNoise(channel, sample);
    std::uint16_t word = toWord(celsius);
    const Adjustment& a = adjust_[std::size_t(channel)];
    if (a.low && a.high && a.measuredHigh != a.measuredLow) {
        // Two-point correction, as the firmware applies it.
        const double raw = std::int16_t(word);
        const double ml = std::int16_t(a.measuredLow), mh = std::int16_t(a.measuredHigh);
        const double rl = std::int16_t(a.referenceLow), rh = std::int16_t(a.referenceHigh);
        word = toWord((rl + (raw - ml) * (rh - rl) / (mh - ml)) / 10.0);
    }
    return word;
}

std::uint16_t SimulatedDevice::internalReading(std::uint64_t sample) const {
    return toWord(config_.internalTemperature + 0.05 * unitNoise(8, sample));
}

std::uint8_t SimulatedDevice::readByte(std::uint16_t address) const {
    if (address < RamSize) return ram_[address];
    if (address == ControlRegister) return control_;
    return 0;
}

void SimulatedDevice::writeByte(std::uint16_t address, std::uint8_t value) {
    if (address < RamSize) {
        ram_[address] = value;
    } else if (address == ControlRegister) {
        const std::uint8_t before = control_;
        control_ = value & 1;
        if (before != control_) {
            // Reset and restart both lose whatever the firmware had in hand.
            reply_.clear();
            replyPos_ = 0;
            memoryCursor_ = 0;
            ram_[ReadyByte] = 0;
        }
    }
}

bool SimulatedDevice::VendorRequest(const VendorRequestRecord& record, std::uint8_t* reply) {
    if (record.request != 0xA0 || record.length == 0 || record.length > MaxVendorBytes)
        return false;
    if (record.direction == VendorRequestRecord::HostToDevice) {
        writeByte(record.value, record.data);
        return true;
    }
    for (std::uint16_t i = 0; i < record.length; ++i) {
        reply[i] = readByte(std::uint16_t(record.value + i));
    }
    return true;
}

bool SimulatedDevice::RamBlockWrite(std::uint16_t address, const std::uint8_t* data,
                                    std::size_t count) {
    for (std::size_t i = 0; i < count; ++i)
        writeByte(std::uint16_t(address + i), data[i]);
    return true;
}

bool SimulatedDevice::BulkWrite(std::uint32_t pipe, const std::uint8_t* data, std::size_t count) {
    // With the processor stopped or the bulk interface not selected the endpoint only NAKs.
    if (pipe != WritePipe || count == 0 || count > MaxBulkBytes || !firmwareRunning() ||
        alternateSetting_ != 1) {
        return false;
    }
    handleMessage(data, count);
    return true;
}

bool SimulatedDevice::BulkRead(std::uint32_t pipe, std::uint8_t* data, std::size_t count) {
    if (pipe != ReadPipe || count > MaxBulkBytes || !firmwareRunning() || alternateSetting_ != 1 ||
        replyPos_ >= reply_.size()) {
        return false;
    }
    const std::size_t n = std::min(count, reply_.size() - replyPos_);
    std::copy_n(reply_.begin() + std::ptrdiff_t(replyPos_), n, data);
    replyPos_ += n;
    if (replyPos_ >= reply_.size()) ram_[ReadyByte] = 0;
    return true;
}

bool SimulatedDevice::ResetPipe(std::uint32_t pipe) {
    return pipe == ReadPipe || pipe == WritePipe;
}

bool SimulatedDevice::SelectInterface(std::uint8_t interfaceNumber, std::uint8_t alternateSetting) {
    if (interfaceNumber != 0 || alternateSetting > 1) return false;
    alternateSetting_ = alternateSetting;
    return true;
}

void SimulatedDevice::setReply(std::vector<std::uint8_t> reply) {
    reply_ = std::move(reply);
    replyPos_ = 0;
    ram_[ReadyByte] = reply_.empty() ? 0 : 1;
}

bool SimulatedDevice::parameter(std::uint8_t index, std::uint32_t& value) const {
    const bool memory = config_.model == 14;
    switch (index) {
    case 12:
        value = memory ? config_.records : 0;
        return true;
    case 15:
        value = memory ? config_.interval : 0;
        return true;
    case 20:
        value = std::uint32_t(config_.serialNumber);
        return true;
    default:
        return false;
    }
}

void SimulatedDevice::handleMessage(const std::uint8_t* m, std::size_t length) {
    // A new command replaces a reply nobody fetched.
    setReply({});
    const auto channelOf = [&](std::size_t pos) -> int {
        return length > pos && m[pos] >= 1 && m[pos] <= 8 ? m[pos] - 1 : -1;
    };
    switch (m[0]) {
    case 0x01: {
        const double now = secondsSinceStart();
        const std::uint64_t sample = samples_++;
        std::vector<std::uint8_t> r{0x01, 1};
        for (int c = 0; c < 8; ++c) {
            std::uint16_t word = 0;
            if (config_.channelMask & (1u << c)) {
                word = reading(c, now, sample);
            } else if (c == 7) {
                word = internalReading(sample); // the eighth value without a probe
            }
            putBigEndian16(r, word);
        }
        setReply(std::move(r));
        break;
    }
    case 0x02:
    case 0x03: {
        const int c = channelOf(1);
        if (c < 0 || length < 4) break;
        const auto reference = std::uint16_t(m[2] << 8 | m[3]);
        Adjustment& a = adjust_[std::size_t(c)];
        // The measured point is the uncorrected reading at the moment of adjustment.
        Adjustment saved = a;
        a.low = a.high = false;
        const std::uint16_t measured = reading(c, secondsSinceStart(), samples_++);
        a = saved;
        if (m[0] == 0x02) {
            a.low = true;
            a.measuredLow = measured;
            a.referenceLow = reference;
        } else {
            a.high = true;
            a.measuredHigh = measured;
            a.referenceHigh = reference;
        }
        break;
    }
    case 0x04: {
        const int c = channelOf(1);
        if (c < 0) break;
        const Adjustment& a = adjust_[std::size_t(c)];
        std::vector<std::uint8_t> r{0x04, m[1]};
        putBigEndian16(r, a.measuredLow);
        putBigEndian16(r, a.referenceLow);
        putBigEndian16(r, a.measuredHigh);
        putBigEndian16(r, a.referenceHigh);
        std::uint8_t sum = 0;
        for (std::size_t i = 2; i <= 9; ++i)
            sum = std::uint8_t(sum + r[i]);
        r.push_back(std::uint8_t(~sum));
        r.push_back(0);
        setReply(std::move(r));
        break;
    }
    case 0x06:
        adjust_ = {};
        break;
    case 0x0A:
        setReply({0x0A, config_.channelMask, 1, config_.version});
        break;
    case 0x0B: {
        std::vector<std::uint8_t> r{0x0B, 0};
        if (config_.model == 14 && memoryCursor_ < config_.records) {
            const std::uint32_t k = memoryCursor_++;
            const double t = double(k) * config_.interval * 0.5;
            r[1] = 1;
            putBigEndian16(r, internalReading(k));
            for (int c = 0; c < 4; ++c) {
                putBigEndian16(r, config_.channelMask & (1u << c) ? reading(c, t, k) : 0);
            }
        }
        r.resize(12, 0);
        setReply(std::move(r));
        break;
    }
    default: {
        std::uint32_t value = 0;
        if (m[0] < 12 || length < 5) break;
        const std::uint32_t sent =
            std::uint32_t(m[1]) << 24 | std::uint32_t(m[2]) << 16 | std::uint32_t(m[3]) << 8 | m[4];
        // 13 and 17 are written and never answer (a read cannot be told from a write);
        // the others ignore the value sent and report theirs.
        if (m[0] == 13) nextInterval_ = sent;
        if (m[0] == 17) trigger_ = sent;
        if (m[0] == 12) memoryCursor_ = 0; // asking for the count starts a read-out
        if (!parameter(m[0], value)) break;
        setReply({m[0], std::uint8_t(value >> 24), std::uint8_t(value >> 16),
                  std::uint8_t(value >> 8), std::uint8_t(value)});
        break;
    }
    }
}

} // namespace zolt3
