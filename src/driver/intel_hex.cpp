#include "driver/intel_hex.h"

#include <optional>

namespace zolt3 {

namespace {

// Upper-case digits only: that is what the device tools write, and a file in another
// spelling is more likely damaged than merely different.
std::optional<int> hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return std::nullopt;
}

std::optional<int> hexByte(const QByteArray& line, qsizetype pos) {
    if (pos + 1 >= line.size()) return std::nullopt;
    const auto hi = hexDigit(line[pos]);
    const auto lo = hexDigit(line[pos + 1]);
    if (!hi || !lo) return std::nullopt;
    return *hi * 16 + *lo;
}

} // namespace

IntelHex::Result IntelHex::parse(const QByteArray& text, const QString& fileName,
                                 std::size_t limit) {
    Result result;
    const auto fail = [&](const QString& message) {
        result.records.clear();
        result.error = message;
        return result;
    };
    const QList<QByteArray> lines = text.split('\n');
    for (qsizetype n = 0; n < lines.size(); ++n) {
        const QByteArray line = lines[n].trimmed();
        const int lineNumber = int(n) + 1;
        if (line.isEmpty()) continue;
        const QString malformed = tr("Datei %1, Zeile %2: kein gültiger Intel-HEX-Datensatz")
                                      .arg(fileName)
                                      .arg(lineNumber);
        // ':' count(2) address(4) type(2) data(2*count) checksum(2)
        if (line[0] != ':' || line.size() < 11 || (line.size() - 11) % 2 != 0)
            return fail(malformed);
        std::vector<int> bytes;
        for (qsizetype pos = 1; pos < line.size(); pos += 2) {
            const auto b = hexByte(line, pos);
            if (!b) return fail(malformed);
            bytes.push_back(*b);
        }
        const int count = bytes[0];
        if (int(bytes.size()) != count + 5) return fail(malformed);
        int sum = 0;
        for (int b : bytes)
            sum += b;
        if ((sum & 0xFF) != 0) {
            return fail(tr("Datei %1, Zeile %2: Prüfsumme falsch").arg(fileName).arg(lineNumber));
        }
        const auto address = static_cast<std::uint16_t>(bytes[1] << 8 | bytes[2]);
        const int type = bytes[3];
        if (count == 0) return result; // the end record, or anything else that ends the reading
        switch (type) {
        case 0x00: {
            if (std::size_t(address) + std::size_t(count) > limit) {
                return fail(tr("Datei %1, Zeile %2: Adresse %3 liegt außerhalb des "
                               "Gerätespeichers (0000 bis %4)")
                                .arg(fileName)
                                .arg(lineNumber)
                                .arg(QString::asprintf("%04X", address + count - 1))
                                .arg(QString::asprintf("%04X", unsigned(limit - 1))));
            }
            Record record{address, {}};
            for (int j = 0; j < count; ++j)
                record.data.push_back(std::uint8_t(bytes[4 + j]));
            result.records.push_back(std::move(record));
            break;
        }
        case 0x02: // segment and linear base addresses: only a base of 0 fits the device
        case 0x04: {
            bool zero = true;
            for (int j = 0; j < count; ++j)
                zero = zero && bytes[4 + j] == 0;
            if (!zero) {
                return fail(tr("Datei %1, Zeile %2: Adresse liegt außerhalb des Gerätespeichers")
                                .arg(fileName)
                                .arg(lineNumber));
            }
            break;
        }
        case 0x03: // start addresses mean nothing to the device's loader
        case 0x05:
            break;
        default:
            return fail(malformed);
        }
    }
    return fail(tr("Datei %1 endet ohne Ende-Datensatz").arg(fileName));
}

} // namespace zolt3
