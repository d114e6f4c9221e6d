// The file transfers in the short form: the single-file transfer (9106), as the newer units
// answer it over IrDA, and the older units' whole exercise memory (9011).
//
// The request is the code, the file index (low, high) and the byte limit (0 = the whole file);
// two more bytes may name the packet wanted (high first; 65535 = from the first). Each answer is
// one packet: the code, a 15-bit packet number (high byte first, bit 7 marking the first packet,
// whose number is the count of packets that follow), and on the first packet the file size (32
// bits, low byte first), the file index (16 bits) and a zero byte before the data.
// 9011 (the code alone) gets the exercise memory in the same packets without a header of their
// own: the memory's first bytes are its size and header values.
// 9022 asks for the next packet, 9023 for the same one again; their answers carry their own code.
// A request for a file other than file 0 while its train runs, without a packet named, asks for
// the next packet: the library asks so for those files instead of acknowledging. A packet lost
// on the way ends the train, so that the request that follows starts the file again.
#include <algorithm>

#include "file_packets.h"
#include "unit.h"

namespace quibra::sim {
namespace {

constexpr int32_t kFromFirst = 0xFFFF;
constexpr size_t kRequestBytes = 4;
constexpr size_t kRequestWithPacket = 6;
constexpr size_t kMemoryRequestBytes = 1;

}  // namespace

bool Unit::FitsShortFileRequest(int32_t id, size_t length) {
  if (id == static_cast<int32_t>(Msg::kSingleFile))
    return length == kRequestBytes || length == kRequestWithPacket;
  if (id == static_cast<int32_t>(Msg::kFileRead)) return length == kMemoryRequestBytes;
  return (id == static_cast<int32_t>(Msg::kPacketAck) ||
          id == static_cast<int32_t>(Msg::kPacketNak)) &&
         length == kShortAckLength;
}

void Unit::build_short_train(uint8_t code, std::span<const uint8_t> data,
                             std::span<const uint8_t> head) {
  short_train_.clear();
  short_at_ = 0;
  for (auto& packet : NumberedPackets(data, kShortPacketData, 2, head)) {
    packet.insert(packet.begin(), code);
    short_train_.push_back(std::move(packet));
  }
}

void Unit::build_short_file_train(int32_t file_index, int32_t byte_limit) {
  short_file_ = file_index;
  const auto& file = files_[static_cast<size_t>(file_index)];
  const size_t length =
      byte_limit == 0 ? file.size() : std::min(file.size(), static_cast<size_t>(byte_limit));
  const uint32_t size =
      take_train_fault(FaultKind::OversizeFile, 0) ? kOversizeFile : static_cast<uint32_t>(length);
  build_short_train(CodeOf(Msg::kSingleFile), std::span(file).first(length),
                    SingleFileHead(size, file_index));
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
  if (code == CodeOf(Msg::kFileRead)) {
    short_file_ = -1;
    build_short_train(code, exercise_memory_, {});
    return short_train_packet(0, code);
  }

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
