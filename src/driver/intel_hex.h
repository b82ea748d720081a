#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QString>

#include <cstdint>
#include <vector>

namespace zolt3 {

// A firmware image read from Intel HEX text, checked completely before anything of it
// reaches the device: a half-read image must never be downloaded.
class IntelHex {
    Q_DECLARE_TR_FUNCTIONS(IntelHex)

public:
    struct Record {
        std::uint16_t address;
        std::vector<std::uint8_t> data;
    };

    // Records of types 00 (data) in file order; reading ends at the first record with
    // a byte count of 0. Blank lines are skipped. On failure `error` says why and which
    // line; `records` is then empty.
    struct Result {
        std::vector<Record> records;
        QString error;
        bool ok() const { return error.isEmpty(); }
    };

    // `limit` is the size of the device RAM: no byte may land at or beyond it.
    static Result parse(const QByteArray& text, const QString& fileName, std::size_t limit);
};

} // namespace zolt3
