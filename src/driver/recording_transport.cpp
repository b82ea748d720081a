#include "driver/recording_transport.h"

#include <algorithm>

namespace zolt3 {

namespace {
std::vector<std::uint8_t> pipeBytes(std::uint32_t pipe) {
    return {std::uint8_t(pipe), std::uint8_t(pipe >> 8), std::uint8_t(pipe >> 16),
            std::uint8_t(pipe >> 24)};
}

// Hands out the next scripted reply, cut to what was asked for.
std::vector<std::uint8_t> take(std::deque<std::vector<std::uint8_t>>& replies, std::size_t count,
                               std::uint8_t* out) {
    if (replies.empty()) return {};
    std::vector<std::uint8_t> reply = std::move(replies.front());
    replies.pop_front();
    reply.resize(std::min(reply.size(), count));
    std::copy(reply.begin(), reply.end(), out);
    return reply;
}
} // namespace

RecordingTransport& RecordingTransport::vendorReply(std::vector<std::uint8_t> bytes) {
    vendorReplies_.push_back(std::move(bytes));
    return *this;
}

RecordingTransport& RecordingTransport::bulkReply(std::vector<std::uint8_t> bytes) {
    bulkReplies_.push_back(std::move(bytes));
    return *this;
}

std::vector<RecordingTransport::Request> RecordingTransport::requests(Op op) const {
    std::vector<Request> out;
    std::copy_if(requests_.begin(), requests_.end(), std::back_inserter(out),
                 [op](const Request& r) { return r.op == op; });
    return out;
}

bool RecordingTransport::VendorRequest(const VendorRequestRecord& record, std::uint8_t* reply) {
    const auto bytes = record.bytes();
    Request r{Op::Vendor, {bytes.begin(), bytes.end()}, {}, record.length};
    bool answered = true;
    if (record.direction == VendorRequestRecord::DeviceToHost) {
        answered = !vendorReplies_.empty();
        r.data = take(vendorReplies_, record.length, reply);
    }
    requests_.push_back(std::move(r));
    return answered;
}

bool RecordingTransport::RamBlockWrite(std::uint16_t address, const std::uint8_t* data,
                                       std::size_t count) {
    requests_.push_back({Op::RamBlockWrite,
                         {std::uint8_t(address), std::uint8_t(address >> 8)},
                         {data, data + count},
                         count});
    return true;
}

bool RecordingTransport::BulkRead(std::uint32_t pipe, std::uint8_t* data, std::size_t count) {
    const bool answered = !bulkReplies_.empty();
    requests_.push_back({Op::BulkRead, pipeBytes(pipe), take(bulkReplies_, count, data), count});
    return answered;
}

bool RecordingTransport::BulkWrite(std::uint32_t pipe, const std::uint8_t* data,
                                   std::size_t count) {
    requests_.push_back({Op::BulkWrite, pipeBytes(pipe), {data, data + count}, count});
    return true;
}

bool RecordingTransport::ResetPipe(std::uint32_t pipe) {
    requests_.push_back({Op::ResetPipe, pipeBytes(pipe), {}, 0});
    return accepted_;
}

bool RecordingTransport::SelectInterface(std::uint8_t interfaceNumber,
                                         std::uint8_t alternateSetting) {
    requests_.push_back({Op::SelectInterface, {interfaceNumber, alternateSetting}, {}, 0});
    return accepted_;
}

} // namespace zolt3
