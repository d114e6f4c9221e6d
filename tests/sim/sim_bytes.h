// Frames shared by the simulator's tests. Every checksum written out here was worked out bit by
// bit (CRC-16, generator 0x8005, register 0, augmented), not with the simulator's code; Request
// seals with the library's, which the simulator does not share.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

#include "protocol/checksum.h"

namespace quibra::sim::testing {

using Bytes = std::vector<uint8_t>;

// Requests as the library sends them.
inline const Bytes kRead9006 = {0xA3, 0x06, 0x00, 0x00, 0x05, 0x4B, 0x96};
inline const Bytes kRead9021 = {0xA3, 0x15, 0x00, 0x00, 0x05, 0x37, 0x90};
inline const Bytes kCommand9010 = {0xA3, 0x0A, 0x00, 0x00, 0x05, 0xBB, 0x96};
inline const Bytes kKeepAlive9024 = {0xA3, 0x18, 0x00, 0x00, 0x05, 0x53, 0x93};
// 9005 carrying 0x40..0x56.
inline const Bytes kWrite9005 = {0xA3, 0x05, 0x00, 0x00, 0x1C, 0x40, 0x41, 0x42, 0x43, 0x44,
                                 0x45, 0x46, 0x47, 0x48, 0x49, 0x4A, 0x4B, 0x4C, 0x4D, 0x4E,
                                 0x4F, 0x50, 0x51, 0x52, 0x53, 0x54, 0x55, 0x56, 0x76, 0xF1};

// The 9006 answer of a unit whose user settings are all zero.
inline const Bytes kAnswer9006Zero = [] {
  Bytes answer = {0x5C, 0x06, 0x00, 0x00, 0x1C};
  answer.resize(28, 0x00);
  answer.push_back(0x8B);
  answer.push_back(0x2F);
  return answer;
}();

// A request frame of the code and payload, sealed.
inline Bytes Request(uint8_t code, const Bytes& payload) {
  Bytes f(payload.size() + 7, 0);  // sized first: inserting trips a compiler bounds warning
  f[0] = 0xA3;
  f[1] = code;
  f[3] = static_cast<uint8_t>((5 + payload.size()) >> 8);
  f[4] = static_cast<uint8_t>((5 + payload.size()) & 0xFF);
  std::copy(payload.begin(), payload.end(), f.begin() + 5);
  const uint16_t crc = protocol::Crc16Compute(f.data(), f.size());
  f[f.size() - 2] = static_cast<uint8_t>(crc >> 8);
  f[f.size() - 1] = static_cast<uint8_t>(crc & 0xFF);
  return f;
}

}  // namespace quibra::sim::testing
