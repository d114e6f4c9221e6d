// The single-file transfer (9106) in the short form, as the newer units answer it over IrDA.
//
// The request is the code, the file index (low, high) and the byte limit (0 = the whole file);
// two more bytes may name the packet wanted (high first; 65535 = from the first). Each answer is
// one packet: the code, a 15-bit packet number (high byte first, bit 7 marking the first packet,
// whose number is the count of packets that follow), and on the first packet the file size (32
// bits, low byte first), the file index (16 bits) and a zero byte before the data.
// 9022 asks for the next packet, 9023 for the same one again; their answers carry their own code.
// A request for a file other than file 0 while its train runs, without a packet named, asks for
// the next packet: the library asks so for those files instead of acknowledging. A packet lost
// on the way ends the train, so that the request that follows starts the file again.
#include <algorithm>

#include "unit.h"

namespace quibra::sim {
namespace {

constexpr uint8_t kFirstBit = 0x80;
constexpr int32_t kFromFirst = 0xFFFF;
constexpr uint32_t kOversizeFile = 262145;
constexpr size_t kRequestBytes = 4;
constexpr size_t kRequestWithPacket = 6;

}  // namespace

bool Unit::FitsShortFileRequest(int32_t id, size_t length) {
  if (id == static_cast<int32_t>(Msg::kSingleFile))
    return length == kRequestBytes || length == kRequestWithPacket;
  return (id == static_cast<int32_t>(Msg::kPacketAck) ||
          id == static_cast<int32_t>(Msg::kPacketNak)) &&
         length == kShortAckLength;
}

void Unit::build_short_file_train(int32_t file_index, int32_t byte_limit) {
  short_train_.clear();
  short_at_ = 0;
  short_file_ = file_index;
  const auto& file = files_[static_cast<size_t>(file_index)];
  const size_t length =
      byte_limit == 0 ? file.size() : std::min(file.size(), static_cast<size_t>(byte_limit));
  const size_t packets = std::max<size_t>(1, (length + kShortPacketData - 1) / kShortPacketData);
  const uint32_t size =
      take_train_fault(FaultKind::OversizeFile, 0) ? kOversizeFile : static_cast<uint32_t>(length);
  for (size_t i = 0; i < packets; ++i) {
    const size_t number = packets - 1 - i;
    std::vector<uint8_t> packet{CodeOf(Msg::kSingleFile),
                                static_cast<uint8_t>((number >> 8) | (i == 0 ? kFirstBit : 0)),
                                static_cast<uint8_t>(number & 0xFF)};
    if (i == 0) {
      for (int b = 0; b < 4; ++b)
        packet.push_back(static_cast<uint8_t>(size >> (8 * b)));
      packet.push_back(static_cast<uint8_t>(file_index & 0xFF));
      packet.push_back(static_cast<uint8_t>((file_index >> 8) & 0xFF));
      packet.push_back(0);
    }
    const size_t from = i * kShortPacketData;
    const size_t to = std::min(length, from + kShortPacketData);
    packet.insert(packet.end(), file.begin() + static_cast<std::ptrdiff_t>(from),
                  file.begin() + static_cast<std::ptrdiff_t>(to));
    short_train_.push_back(std::move(packet));
  }
}

std::vector<uint8_t> Unit::short_train_packet(size_t index, uint8_t code) {
  if (index >= short_train_.size()) return {};
  // A packet that never reached the library ends the train for a request without a packet
  // number: the library's next request for the file, which looks the same as one asking for the
  // next packet, then starts it over.
  if (take_train_fault(FaultKind::FallSilent, index)) {
    silent_ = true;
    short_file_ = -1;
    return {};
  }
  if (take_train_fault(FaultKind::DropPacket, index)) {
    short_file_ = -1;
    return {};
  }
  std::vector<uint8_t> packet = short_train_[index];
  packet[0] = code;
  return packet;
}

std::vector<uint8_t> Unit::short_file_answer(std::span<const uint8_t> request) {
  const uint8_t code = request[0];
  if (code == CodeOf(Msg::kPacketAck)) {
    if (short_train_.empty()) return {};
    if (take_train_fault(FaultKind::RepeatPacket, short_at_))
      return short_train_packet(short_at_, code);
    if (short_at_ + 1 >= short_train_.size()) return {};  // the train is over
    return short_train_packet(++short_at_, code);
  }
  if (code == CodeOf(Msg::kPacketNak)) return short_train_packet(short_at_, code);

  const int32_t index = request[1] | request[2] << 8;
  const int32_t wanted =
      request.size() == kRequestWithPacket ? (request[4] << 8 | request[5]) : kFromFirst;
  const bool running = index == short_file_ && index != 0 && short_at_ + 1 < short_train_.size();
  if (wanted == kFromFirst && request.size() == kRequestBytes && running)
    return short_train_packet(++short_at_, code);
  if (wanted == kFromFirst) {
    if (static_cast<size_t>(index) >= files_.size()) return {};
    build_short_file_train(index, request[3]);
    return short_train_packet(0, code);
  }
  if (index != short_file_ || static_cast<size_t>(wanted) >= short_train_.size()) return {};
  short_at_ = short_train_.size() - 1 - static_cast<size_t>(wanted);
  return short_train_packet(short_at_, code);
}

}  // namespace quibra::sim
