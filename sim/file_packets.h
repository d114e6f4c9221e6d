// How a unit cuts a file transfer into packets: they count down to 0, and the first one's number
// is the count of packets that follow, with bit 7 of its first number byte set. A serial 9011
// train numbers its packets in one byte; a single-file train, and every train in the short
// form, in two (high byte first).
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace quibra::sim {

// Each packet's number bytes, then (on the first packet only) `head`, then its share of the
// data, per_packet bytes at most. An empty file still makes one packet.
std::vector<std::vector<uint8_t>> NumberedPackets(std::span<const uint8_t> data, size_t per_packet,
                                                  int number_bytes,
                                                  std::span<const uint8_t> head = {});

// The size an OversizeFile fault announces: one byte more than a download may hold.
inline constexpr uint32_t kOversizeFile = 262145;

// The header of a single file's first packet: the file size (32 bits, low byte first), the file
// index (16 bits, low byte first) and a zero byte.
std::vector<uint8_t> SingleFileHead(uint32_t size, int32_t file_index);

}  // namespace quibra::sim
