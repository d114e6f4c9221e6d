#include "file_packets.h"

#include <algorithm>

namespace quibra::sim {
namespace {

constexpr uint8_t kFirstPacketBit = 0x80;

}  // namespace

std::vector<std::vector<uint8_t>> NumberedPackets(std::span<const uint8_t> data, size_t per_packet,
                                                  int number_bytes,
                                                  std::span<const uint8_t> head) {
  const size_t count = std::max<size_t>(1, (data.size() + per_packet - 1) / per_packet);
  std::vector<std::vector<uint8_t>> packets;
  packets.reserve(count);
  for (size_t i = 0; i < count; ++i) {
    const size_t number = count - 1 - i;
    const uint8_t first = i == 0 ? kFirstPacketBit : 0;
    std::vector<uint8_t> packet;
    if (number_bytes == 1) {
      packet.push_back(static_cast<uint8_t>(number | first));
    } else {
      packet.push_back(static_cast<uint8_t>((number >> 8) | first));
      packet.push_back(static_cast<uint8_t>(number & 0xFF));
    }
    if (i == 0) packet.insert(packet.end(), head.begin(), head.end());
    const size_t from = std::min(data.size(), i * per_packet);
    const size_t to = std::min(data.size(), from + per_packet);
    packet.insert(packet.end(), data.begin() + static_cast<std::ptrdiff_t>(from),
                  data.begin() + static_cast<std::ptrdiff_t>(to));
    packets.push_back(std::move(packet));
  }
  return packets;
}

std::vector<uint8_t> SingleFileHead(uint32_t size, int32_t file_index) {
  std::vector<uint8_t> head;
  for (int b = 0; b < 4; ++b)
    head.push_back(static_cast<uint8_t>(size >> (8 * b)));
  head.push_back(static_cast<uint8_t>(file_index & 0xFF));
  head.push_back(static_cast<uint8_t>((file_index >> 8) & 0xFF));
  head.push_back(0);
  return head;
}

}  // namespace quibra::sim
