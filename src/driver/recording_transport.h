#pragma once

#include "driver/transport.h"

#include <deque>
#include <vector>

namespace zolt3 {

// A transport for tests: records every request with its exact bytes and answers reads
// from scripted replies (a read with nothing scripted receives nothing).
class RecordingTransport : public Transport {
public:
    enum class Op { Vendor, RamBlockWrite, BulkRead, BulkWrite, ResetPipe, SelectInterface };

    struct Request {
        Op op;
        // Vendor: the 10-byte record. RamBlockWrite: the address (little-endian, 2 bytes).
        // Bulk requests and ResetPipe: the pipe number (little-endian, 4 bytes).
        // SelectInterface: interface number and alternate setting.
        std::vector<std::uint8_t> input;
        // Bytes written (RAM block write, bulk write) or bytes received.
        std::vector<std::uint8_t> data;
        std::size_t length = 0; // bytes asked for or sent
    };

    // Replies to device-to-host vendor requests, in order.
    RecordingTransport& vendorReply(std::vector<std::uint8_t> bytes);
    // Replies to bulk reads, in order; one per request.
    RecordingTransport& bulkReply(std::vector<std::uint8_t> bytes);
    // What ResetPipe and SelectInterface report.
    RecordingTransport& accept(bool accepted) {
        accepted_ = accepted;
        return *this;
    }

    const std::vector<Request>& requests() const { return requests_; }
    std::vector<Request> requests(Op op) const;
    void clear() { requests_.clear(); }

    bool VendorRequest(const VendorRequestRecord& record, std::uint8_t* reply) override;
    bool RamBlockWrite(std::uint16_t address, const std::uint8_t* data, std::size_t count) override;
    bool BulkRead(std::uint32_t pipe, std::uint8_t* data, std::size_t count) override;
    bool BulkWrite(std::uint32_t pipe, const std::uint8_t* data, std::size_t count) override;
    bool ResetPipe(std::uint32_t pipe) override;
    bool SelectInterface(std::uint8_t interfaceNumber, std::uint8_t alternateSetting) override;

private:
    std::vector<Request> requests_;
    std::deque<std::vector<std::uint8_t>> vendorReplies_;
    std::deque<std::vector<std::uint8_t>> bulkReplies_;
    bool accepted_ = true;
};

} // namespace zolt3
